// The certificate maker end to end on Linux: a file-size limit set by the shell that starts the
// driver, saves onto a device and a FIFO, and what the other systems do differently.

#include "certmaker_drive_fixture.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace drive_test {

std::vector<RefusedSave> special_files_refusing_a_save(const fs::path& folder)
{
    EXPECT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    const std::string f = utf8_of(folder) + "/";
    return {{"/dev/full", "box 保存失败: 无法保存文件“/dev/full”：不是普通文件。\nok save /dev/full", ""},
            {"pipe", "box 保存失败: 无法保存文件“" + f + "pipe”：不是普通文件。", "pipe"}};
}

std::uint32_t button_face_colour()
{
    return 0xF0F0F0;
}

std::string name_character_outside_gbk()
{
    return "䶮";
}

namespace {

TEST_F(CertmakerDrive, ASaveThatFailsPartWayKeepsTheOldFileAndLeavesNoNewOne)
{
    std::ofstream(folder / "old.bmp", std::ios::binary) << "the certificate saved yesterday";
    // Files may grow to 100 blocks (at most 100 KiB) in the driver's process; the signal that would
    // end it is ignored, so the write itself fails, onto the old file and under a new name alike.
    test_support::ProcessRun run = drive("save old.bmp\nsave new.bmp\nclose\n",
                                         {"/bin/sh", "-c", "trap '' XFSZ; ulimit -f 100; exec \"$0\" \"$@\""});
    expect_all_ok(run);
    EXPECT_NE(run.output.find("old.bmp”：文件超出了系统允许的大小。"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("new.bmp”：文件超出了系统允许的大小。"), std::string::npos) << run.output;
    EXPECT_EQ(read_file(folder / "old.bmp"), "the certificate saved yesterday");
    EXPECT_EQ(names_in(folder), (std::vector<std::string>{"old.bmp", "test.script"}));
}

}  // namespace

}  // namespace drive_test
