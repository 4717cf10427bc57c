// The certificate maker end to end: the real program (start routine, runtime, message loop) driven
// by certmaker-drive with synthetic input, answering its dialogs from the script.

#include "certmaker_drive_fixture.h"

#include "runtime/imaging/picture_decoder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace drive_test {

namespace {

using DriveRun = test_support::ProcessRun;

// Where each kind puts 标签10..13 and the two transparent labels: the kind table of the program.
struct Row {
    const char* name;
    int name_left, name_top, sex_top, age_top;  // name_left 0: kinds 7-16 leave these three alone
    int second_left, second_top, number_left, number_top, date_left, date_top;
    bool refresh;
};
const Row kRows[16] = {
    {"光棍证", 329, 53, 73, 92, 372, 142, 419, 281, 381, 269, true},
    {"聊天许可证", 324, 56, 81, 104, 363, 141, 419, 281, 381, 269, true},
    {"爱神证", 324, 58, 82, 103, 365, 149, 395, 285, 394, 269, true},
    {"超级美眉证", 324, 53, 74, 93, 360, 141, 417, 279, 386, 266, true},
    {"初吻证", 324, 59, 82, 102, 365, 148, 394, 285, 395, 268, true},
    {"赌神证", 324, 53, 75, 94, 360, 142, 408, 283, 373, 271, true},
    {"超级帅哥证", 0, 0, 0, 0, 360, 142, 418, 280, 382, 266, false},
    {"处男证", 0, 0, 0, 0, 369, 154, 413, 265, 380, 252, false},
    {"色狼证", 0, 0, 0, 0, 361, 141, 417, 283, 380, 269, true},
    {"网恋许可证", 0, 0, 0, 0, 361, 141, 418, 281, 380, 269, true},
    {"良家妇女证", 0, 0, 0, 0, 359, 153, 414, 283, 380, 269, true},
    {"灌水证", 0, 0, 0, 0, 360, 142, 410, 267, 372, 253, true},
    {"潜水证", 0, 0, 0, 0, 360, 142, 410, 283, 372, 269, true},
    {"忽悠证", 0, 0, 0, 0, 360, 142, 410, 267, 372, 253, true},
    {"良好市民证", 0, 0, 0, 0, 360, 142, 410, 283, 372, 269, true},
    {"浆糊证", 0, 0, 0, 0, 360, 142, 410, 275, 372, 261, true},
};

std::string place(const std::string& control, int left, int top)
{
    return "expect " + control + " 0 " + std::to_string(left) + "\nexpect " + control + " 1 " + std::to_string(top) +
           "\n";
}

TEST_F(CertmakerDrive, EveryKindMovesTheOverlaysToItsBlanks)
{
    // Kinds 7-16 at start keep the stored places; after a kind 1-6 they keep that kind's.
    std::string script;
    int name_left = 324, name_top = 53, sex_left = 326, sex_top = 75, age_left = 326, age_top = 94;
    script += "type 编辑框5 NO.7\n";
    for (int pass = 0; pass < 2; ++pass) {
        for (int k = (pass == 0 ? 6 : 0); k < 16; ++k) {
            const Row& row = kRows[k];
            // A new date typed, then both transparent captions overwritten behind the program's
            // back: only the caption refresh of a kind that runs it brings the typed texts back.
            std::string date = "date" + std::to_string(pass) + "-" + std::to_string(k);
            script += "type 编辑框3 " + date + "\nset 透明标签1 8 stale\nset 透明标签2 8 stale\n";
            script += "kind " + std::string(row.name) + "\n";
            script += "expect 透明标签1 8 " + (row.refresh ? date : std::string("stale")) + "\n";
            script += "expect 透明标签2 8 " + std::string(row.refresh ? "NO.7" : "stale") + "\n";
            if (row.name_left != 0) {
                name_left = sex_left = age_left = row.name_left;
                name_top = row.name_top;
                sex_top = row.sex_top;
                age_top = row.age_top;
            }
            script += place("标签10", name_left, name_top) + place("标签11", sex_left, sex_top) +
                      place("标签12", age_left, age_top) + place("标签13", row.second_left, row.second_top) +
                      place("透明标签2", row.number_left, row.number_top) +
                      place("透明标签1", row.date_left, row.date_top);
            script += "expect 组合框证件类型 9 " + std::string(row.name) + "\n";
        }
    }
    script += "close\n";
    expect_all_ok(drive(script));
}

TEST_F(CertmakerDrive, FieldsAreMirroredVerbatim)
{
    std::string long_name(40, 'W');
    std::string script = "type 编辑框1  王 五 \n"
                         "expect 标签10 8  王 五 \n"
                         "expect 标签13 8  王 五 \n"
                         "type 编辑框2 女\nexpect 标签11 8 女\n"
                         "type 编辑框4 \nexpect 标签12 8 \n"
                         "type 编辑框5 " +
                         long_name + "\nexpect 透明标签2 8 " + long_name +
                         "\n"
                         "type 编辑框3 2020年1月1日\nexpect 透明标签1 8 2020年1月1日\n"
                         "expect 标签10 8  王 五 \n"
                         "type 编辑框1 \nexpect 标签10 8 \nexpect 标签13 8 \n"
                         "close\n";
    expect_all_ok(drive(script));
}

TEST_F(CertmakerDrive, PhotosOfEveryFormatShowInThePhotoBox)
{
    const char* photos[] = {"photo.jpg", "photo.png", "photo.bmp", "photo.gif", "photo.pcx", "photo.ico"};
    std::string script;
    for (const char* photo : photos) {
        copy_photo(std::string(photo).substr(6), photo);
        script += "photo " + std::string(photo) + "\nexpect 通用对话框 10 " + utf8_of(folder) + "/" + photo + "\n";
        script += "save " + std::string(photo) + ".bmp\n";
    }
    std::ofstream(folder / "notes.txt") << "not a picture";
    // A file that is no picture: the box keeps its bytes and shows only its background.
    script += "photo notes.txt\nexpect 图片框1 10 13 "
              "bf891ea46ead4993e89aa7da02ab8c23dd50f29e9aae64607105363a5f070e03\nsave notes.bmp\nclose\n";
    DriveRun run = drive(script);
    expect_all_ok(run);
    for (const char* photo : photos) {
        SCOPED_TRACE(photo);
        EXPECT_NE(run.output.find(std::string("ok photo ") + photo), std::string::npos) << run.output;
        // The middle of the photo box (window (434, 84), the capture starting at window x -2) shows the
        // red-to-blue gradient, not the white placeholder.
        std::string bmp = read_file(folder / (std::string(photo) + ".bmp"));
        ASSERT_EQ(bmp.size(), 511734u);
        const auto* pixel =
            reinterpret_cast<const std::uint8_t*>(bmp.data() + std::ptrdiff_t{54 + (327 - 84) * 1560 + 436 * 3});
        EXPECT_GT(pixel[0], 60) << "blue";
        EXPECT_LT(pixel[1], 60) << "green";
        EXPECT_GT(pixel[2], 60) << "red";
    }
    std::string blank = read_file(folder / "notes.bmp");
    ASSERT_EQ(blank.size(), 511734u);
    const auto* pixel =
        reinterpret_cast<const std::uint8_t*>(blank.data() + std::ptrdiff_t{54 + (327 - 84) * 1560 + 436 * 3});
    std::uint32_t face = button_face_colour();
    EXPECT_EQ(pixel[0], face & 0xFF);  // the button face
    EXPECT_EQ(pixel[1], (face >> 8) & 0xFF);
    EXPECT_EQ(pixel[2], face >> 16);
}

TEST_F(CertmakerDrive, CancelledDialogsChangeNothingAndTheFileNameCarriesOver)
{
    copy_photo("png", "me.png");
    std::string me = utf8_of(folder) + "/me.png";
    std::string script = "get 图片框1 10\n"
                         "photo cancel\n"
                         "photo me.png\n"
                         "save cancel\n"
                         "expect 通用对话框 10 " +
                         me +
                         "\n"
                         "font cancel\n"
                         "expect 标签10 15 0 0 0 0 0 9 宋体\n"
                         "close\n";
    DriveRun run = drive(script);
    expect_all_ok(run);
}

TEST_F(CertmakerDrive, TheFontGoesToTheTwelveControlsAsSizeAndFaceOnly)
{
    std::string script = "font 黑体 12\n";
    for (const char* control : {"标签10", "标签11", "标签12", "标签13"})
        script += "expect " + std::string(control) + " 15 0 0 0 0 0 12 黑体\n";
    for (const char* control : {"透明标签1", "透明标签2"})
        script += "expect " + std::string(control) + " 10 0 0 0 0 0 12 黑体\n";
    for (const char* control : {"编辑框1", "编辑框2", "编辑框3", "编辑框4", "编辑框5"})
        script += "expect " + std::string(control) + " 12 0 0 0 0 0 12 黑体\n";
    script += "expect 组合框证件类型 18 0 0 0 0 0 12 黑体\n";
    // Not the preview, the captions, the group box or the buttons.
    script += "expect 标签生成 15 0 0 0 0 0 9 宋体\nexpect 标签2 15 0 0 0 0 0 9 宋体\n";
    // A tall font: the single-line edit boxes grow, the overlay labels keep their size.
    script += "font 黑体 36\nexpect 标签10 3 14\nexpect 标签10 2 56\nget 编辑框1 3\nclose\n";
    DriveRun run = drive(script);
    expect_all_ok(run);
    std::string::size_type at = run.output.find("ok get 编辑框1 3 = ");
    ASSERT_NE(at, std::string::npos);
    int height = std::atoi(run.output.c_str() + at + std::strlen("ok get 编辑框1 3 = "));
    EXPECT_GT(height, 24);
}

TEST_F(CertmakerDrive, TheSavedCertificateIsThePreviewAsA24BitBmp)
{
    std::string script = "kind 光棍证\nsave certificate.jpg\nclose\n";
    expect_all_ok(drive(script));
    std::string bmp = read_file(folder / "certificate.jpg");
    ASSERT_EQ(bmp.size(), 511734u);
    auto dword = [&](std::size_t at) {
        std::uint32_t value = 0;
        std::memcpy(&value, bmp.data() + at, 4);
        return value;
    };
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(dword(2), 511734u);
    EXPECT_EQ(dword(10), 54u);
    EXPECT_EQ(dword(18), 520u);
    EXPECT_EQ(dword(22), 328u);
    EXPECT_EQ(bmp[28], 24);
    EXPECT_EQ(dword(34), 1560u * 328u);

    // The template area, away from the overlays, is the template's own decoding pixel for pixel:
    // the label's client area starts inside its 1-pixel border, the template at (9, 5) in it.
    std::string jpeg = read_file(fs::path(CERTMAKER_SOURCE_DIR) / "app/data/templates/kind01.jpg");
    auto decoded = runtime::imaging::decode_picture(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size()));
    ASSERT_TRUE(decoded);
    const std::uint8_t* pixels = decoded->pixels.data();
    int mismatches = 0;
    for (int y = 0; y < 316; ++y) {
        for (int x = 0; x < 240; ++x) {  // the left page: no overlay lies there
            const std::uint8_t* expected = pixels + (static_cast<std::size_t>(315 - y) * 500 + x) * 3;
            int bx = x + 10;
            int by = y + 6;
            const char* got =
                bmp.data() + 54 + static_cast<std::size_t>(327 - by) * 1560 + static_cast<std::size_t>(bx) * 3;
            if (std::memcmp(expected, got, 3) != 0)
                ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(CertmakerDrive, ClosingTheWindowEndsTheRunWithExitCodeZero)
{
    DriveRun run = drive("close\n");
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.output.find("ok close"), std::string::npos);

    // A line that fails makes the driver exit with 3.
    DriveRun failing = drive("expect 标签10 8 nobody\nclose\n");
    EXPECT_EQ(failing.exit_code, 3);
    EXPECT_NE(failing.output.find("FAIL expect"), std::string::npos);
}

TEST_F(CertmakerDrive, ChineseAndSpacedNamesAreTheNamesOnDisk)
{
    fs::path chinese = folder / utf8_path("证书 输出");
    fs::create_directories(chinese);
    copy_photo("jpg", "证书 输出/照片 样本.jpg");
    // Typed through the input method: a name character outside GBK and an emoji reach the
    // certificate unchanged, and a save under such a name makes exactly that name.
    const std::string rare = name_character_outside_gbk() + "😀";
    std::string script = "photo 证书 输出/照片 样本.jpg\n"
                         "get 图片框1 10\n"
                         "type 编辑框1 " +
                         rare + "王\nexpect 标签10 8 " + rare + "王\nexpect 标签13 8 " + rare +
                         "王\n"
                         "save 证书 输出/我的 证书.bmp\n"
                         "save 证书 输出/" +
                         rare + ".bmp\nclose\n";
    DriveRun run = drive(script);
    expect_all_ok(run);
    EXPECT_NE(run.output.find("ok get 图片框1 10 = " + byte_set_line(chinese / utf8_path("照片 样本.jpg"))),
              std::string::npos)
        << run.output;
    std::vector<std::string> names{rare + ".bmp", "我的 证书.bmp", "照片 样本.jpg"};
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names_in(chinese), names);
    EXPECT_EQ(fs::file_size(chinese / utf8_path("我的 证书.bmp")), 511734u);
    EXPECT_EQ(read_file(chinese / utf8_path("我的 证书.bmp")), read_file(chinese / utf8_path(rare + ".bmp")));
}

TEST_F(CertmakerDrive, AFailedSaveSaysWhyAndChangesNothing)
{
    fs::create_directories(folder / utf8_path("输出"));
    const std::string f = utf8_of(folder) + "/";
    std::vector<std::string> boxes = {"box 保存失败: 无法保存文件“" + f + "没有的文件夹/证书.bmp”：文件夹不存在。",
                                      "box 保存失败: 无法保存文件“" + f + "输出”：这是一个文件夹。"};
    std::vector<std::string> names = {"test.script", "输出"};
    std::string script = "type 编辑框1 张三\n"
                         "save 没有的文件夹/证书.bmp\n"
                         "save 输出\n";
    for (const RefusedSave& save : special_files_refusing_a_save(folder)) {
        script += "save " + save.path + "\n";
        boxes.push_back(save.box);
        if (!save.left_behind.empty())
            names.push_back(save.left_behind);
    }
    script += "expect 标签10 8 张三\nclose\n";
    DriveRun run = drive(script);
    expect_all_ok(run);
    EXPECT_LT(run.wall_seconds, 10.0);  // a pipe once held the program for good
    for (const std::string& box : boxes)
        EXPECT_NE(run.output.find(box), std::string::npos) << box << "\n" << run.output;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names_in(folder), names);
    EXPECT_TRUE(fs::is_empty(folder / utf8_path("输出")));
}

TEST_F(CertmakerDrive, APhotoTooLargeForAByteSetLeavesTheBoxBlank)
{
    std::ofstream(folder / "big.jpg", std::ios::binary).flush();
    fs::resize_file(folder / "big.jpg", std::uintmax_t{4} << 30);  // sparse
    DriveRun run = drive("photo big.jpg\nexpect 图片框1 10 0 "
                         "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855\nclose\n");
    expect_all_ok(run);
    EXPECT_EQ(run.output.find("box "), std::string::npos) << run.output;
}

}  // namespace

namespace {

// The counts the driver prints after "counts": decoded, converted, scaled.
std::vector<std::array<long, 3>> counts_in(const std::string& output)
{
    std::vector<std::array<long, 3>> counts;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::array<long, 3> c{};
        if (std::sscanf(line.c_str(), "ok counts = decoded %ld converted %ld scaled %ld", &c[0], &c[1], &c[2]) == 3)
            counts.push_back(c);
    }
    return counts;
}

TEST_F(CertmakerDrive, PicturesAreDecodedOncePerKindTemplatesWithoutConversionAndNothingPerKeystrokeOrSave)
{
    fs::copy_file(fs::path(CERTMAKER_SOURCE_DIR) / "examples/sample_photo.jpg", folder / "photo.jpg");
    DriveRun run = drive("counts\n"
                         "kind 聊天许可证\ncounts\n"  // a new kind: its template, decoded once, into its bitmap
                         "kind 光棍证\ncounts\n"      // and back
                         "kind 光棍证\ncounts\n"      // the kind already shown: nothing
                         "photo photo.jpg\ncounts\n"  // the photo: decoded and scaled once
                         "kind 爱神证\ncounts\n"      // the photo box is not redone by a switch
                         "type 编辑框3 2026年12月4日\ncounts\n"
                         "type 编辑框1 丘比特\ncounts\n"
                         "save out.bmp\ncounts\n"
                         "close\n");
    expect_all_ok(run);
    std::vector<std::array<long, 3>> c = counts_in(run.output);
    ASSERT_EQ(c.size(), 9u) << run.output;
    auto step = [&](std::size_t i) {
        return std::array<long, 3>{c[i][0] - c[i - 1][0], c[i][1] - c[i - 1][1], c[i][2] - c[i - 1][2]};
    };
    using Step = std::array<long, 3>;
    EXPECT_EQ(step(1), (Step{1, 0, 0})) << run.output;
    EXPECT_EQ(step(2), (Step{1, 0, 0})) << run.output;
    EXPECT_EQ(step(3), (Step{0, 0, 0})) << run.output;
    EXPECT_EQ(step(4), (Step{1, 1, 1})) << run.output;
    EXPECT_EQ(step(5), (Step{1, 0, 0})) << run.output;
    for (std::size_t i = 6; i < c.size(); ++i)
        EXPECT_EQ(step(i), (Step{0, 0, 0})) << "step " << i << "\n" << run.output;
}

// The client-area paints the driver prints after "counts", in order.
std::vector<long> paints_in(const std::string& output)
{
    std::vector<long> paints;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::size_t at = line.find(" painted ");
        if (line.rfind("ok counts", 0) == 0 && at != std::string::npos)
            paints.push_back(std::stol(line.substr(at + 9)));
    }
    return paints;
}

TEST_F(CertmakerDrive, AKindSwitchOrAFieldPaintsWhatItChangesOnce)
{
    // A switch changes the preview, moves six overlays and rewrites captions: each window it
    // touches is painted once when the handler returns, not once per move or caption.
    DriveRun run = drive("counts\n"
                         "kind 聊天许可证\ncounts\n"
                         "kind 光棍证\ncounts\n"
                         "type 编辑框1 丘比特\ncounts\n"
                         "close\n");
    expect_all_ok(run);
    std::vector<long> paints = paints_in(run.output);
    ASSERT_EQ(paints.size(), 4u) << run.output;
    EXPECT_LE(paints[1] - paints[0], 12) << run.output;
    EXPECT_LE(paints[2] - paints[1], 12) << run.output;
    EXPECT_LE(paints[3] - paints[2], 6) << run.output;
}

TEST_F(CertmakerDrive, WaitLetsTheProgramSleepInItsOwnLoop)
{
    DriveRun quick = drive("kind 光棍证\n");
    DriveRun waiting = drive("kind 光棍证\nwait 3000\nget 编辑框1 0\n");
    expect_all_ok(quick);
    expect_all_ok(waiting);
    EXPECT_NE(waiting.output.find("ok wait 3000"), std::string::npos) << waiting.output;
    EXPECT_GE(waiting.wall_seconds, 3.0);
    EXPECT_GT(quick.cpu_seconds, 0.0);  // starting the program costs some: the measure works
    // Spinning through the wait costs up to three seconds of CPU more than the quick run (about one
    // on a machine busy with other work); sleeping costs next to nothing.
    EXPECT_LT(waiting.cpu_seconds - quick.cpu_seconds, 0.5)
        << "quick run " << quick.cpu_seconds << " s, with the wait " << waiting.cpu_seconds << " s";
}

}  // namespace

}  // namespace drive_test
