// Whole files through the wide-character calls: Chinese names, the share mode as the lock, and what
// may never be opened.

#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "platform/win32/win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::FileReadStatus;
using platform::FileReplaceFailure;

class Win32Files : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temporary[MAX_PATH];
        ASSERT_NE(GetTempPathW(MAX_PATH, temporary), 0u);
        m_folder = std::wstring(temporary) + L"certmaker-files-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_folder.c_str(), nullptr);
    }
    void TearDown() override
    {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((m_folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                DeleteFileW((m_folder + L"\\" + found.cFileName).c_str());
            while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(m_folder.c_str());
    }
    // A runtime name (GB18030) for a file in the test's folder.
    std::string name(const std::u16string& file) const
    {
        std::u16string path(m_folder.begin(), m_folder.end());
        return platform::gbk_from_utf16(path + u"\\" + file);
    }
    platform::FileRead read(const std::string& file)
    {
        return platform::read_whole_file(file, 1000, [this](std::size_t length) {
            m_read.assign(length, 0);
            return m_read.data();
        });
    }
    std::size_t files_in_folder() const
    {
        std::size_t count = 0;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((m_folder + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return 0;
        do
            count += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
        while (FindNextFileW(search, &found));
        FindClose(search);
        return count;
    }

    std::wstring m_folder;
    std::vector<std::uint8_t> m_read;
};

TEST_F(Win32Files, AChineseNameIsWrittenReplacedAndReadWhole)
{
    const std::string certificate = name(u"证书.bmp");
    const std::uint8_t first[] = {1, 2, 3};
    const std::uint8_t second[] = {4, 5};
    std::span<const std::uint8_t> both[] = {first, second};
    ASSERT_EQ(platform::replace_file(certificate, both), FileReplaceFailure::None);
    EXPECT_NE(GetFileAttributesW((m_folder + L"\\证书.bmp").c_str()), INVALID_FILE_ATTRIBUTES);

    std::span<const std::uint8_t> only_second[] = {second};
    ASSERT_EQ(platform::replace_file(certificate, only_second), FileReplaceFailure::None);
    platform::FileRead got = read(certificate);
    ASSERT_EQ(got.status, FileReadStatus::Read);
    EXPECT_EQ(std::vector<std::uint8_t>(m_read.begin(), m_read.begin() + got.length),
              std::vector<std::uint8_t>({4, 5}));
    // No temporary file stays behind.
    EXPECT_EQ(files_in_folder(), 1u);

    std::FILE* file = platform::open_file(certificate, "rb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
}

TEST_F(Win32Files, AFileAnotherProgramHoldsIsLockedAndKeepsItsContent)
{
    const std::string held = name(u"held");
    const std::uint8_t old_content[] = {7};
    const std::uint8_t new_content[] = {8, 9};
    std::span<const std::uint8_t> old_parts[] = {old_content};
    std::span<const std::uint8_t> new_parts[] = {new_content};
    ASSERT_EQ(platform::replace_file(held, old_parts), FileReplaceFailure::None);

    HANDLE other = CreateFileW((m_folder + L"\\held").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::replace_file(held, new_parts), FileReplaceFailure::Locked);
    EXPECT_EQ(read(held).status, FileReadStatus::Locked);
    CloseHandle(other);

    platform::FileRead got = read(held);
    ASSERT_EQ(got.status, FileReadStatus::Read);
    ASSERT_EQ(got.length, 1u);
    EXPECT_EQ(m_read[0], 7);
    EXPECT_EQ(files_in_folder(), 1u);
}

TEST_F(Win32Files, FoldersDevicesAndMissingFoldersAreRefused)
{
    const std::uint8_t byte[] = {1};
    std::span<const std::uint8_t> parts[] = {byte};
    std::u16string folder(m_folder.begin(), m_folder.end());
    EXPECT_EQ(platform::replace_file(platform::gbk_from_utf16(folder), parts), FileReplaceFailure::IsFolder);
    EXPECT_EQ(read(platform::gbk_from_utf16(folder)).status, FileReadStatus::CannotOpen);
    EXPECT_EQ(platform::replace_file("NUL", parts), FileReplaceFailure::NotRegularFile);
    EXPECT_EQ(platform::replace_file("CON", parts), FileReplaceFailure::NotRegularFile);
    EXPECT_EQ(read("CON").status, FileReadStatus::CannotOpen);
    EXPECT_EQ(platform::replace_file(name(u"none\\x.bmp"), parts), FileReplaceFailure::NoSuchFolder);
    EXPECT_EQ(read(name(u"none")).status, FileReadStatus::CannotOpen);
}

}  // namespace
