// The certificate maker end to end on Windows: a save onto a file another program holds open, and
// what Windows does differently.

#include "certmaker_drive_fixture.h"

#include "platform/win32/win32.h"

namespace drive_test {

// Windows has no FIFOs in the file system, and its devices (NUL, CON) are names in every folder,
// not files a save dialog offers: no special file to refuse.
std::vector<RefusedSave> special_files_refusing_a_save(const fs::path&)
{
    return {};
}

// The system's own button face (the window system's colour scheme, not the stored default).
std::uint32_t button_face_colour()
{
    COLORREF colour = GetSysColor(COLOR_BTNFACE);
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

// Code page 54936 (GB18030) keeps every character; without it (Wine 8 lacks it) the text goes
// through GBK, where a character such as 䶮 has no code.
std::string name_character_outside_gbk()
{
    return IsValidCodePage(54936) ? "䶮" : "";
}

namespace {

TEST_F(CertmakerDrive, ASaveOntoAFileHeldOpenSaysSoAndKeepsTheOldFile)
{
    std::ofstream(folder / "old.bmp", std::ios::binary) << "the certificate saved yesterday";
    // Held as an editor holds a file it has open: no one else may read, write or delete it.
    HANDLE held = CreateFileW((folder / "old.bmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    test_support::ProcessRun run = drive("save old.bmp\nclose\n");
    CloseHandle(held);
    expect_all_ok(run);
    EXPECT_NE(run.output.find("box 保存失败: 无法保存文件“" + utf8_of(folder) + "/old.bmp”：文件被其他程序占用。"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(read_file(folder / "old.bmp"), "the certificate saved yesterday");
    EXPECT_EQ(names_in(folder), (std::vector<std::string>{"old.bmp", "test.script"}));
}

}  // namespace

}  // namespace drive_test
