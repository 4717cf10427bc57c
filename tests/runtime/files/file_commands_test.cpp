#include "runtime/files/file_commands.h"

#include "platform/text_encoding.h"
#include "runtime/boundary/commands.h"
#include "runtime/boundary/heap.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using runtime::TypedValue;

struct FileCommands : testing::Test {
    fs::path folder;

    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("certmaker-files-" + std::to_string(::getpid()) + "-" +
                                              testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    static TypedValue text(const std::string& value)
    {
        return TypedValue{reinterpret_cast<runtime::Word>(value.c_str()), 0, runtime::DataType::Text};
    }
    static TypedValue bytes(const void* block)
    {
        return TypedValue{reinterpret_cast<runtime::Word>(block), 0, runtime::DataType::ByteSet};
    }
    static std::string file_content(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::string byte_set_string(const TypedValue& value)
    {
        const void* block = reinterpret_cast<const void*>(value.low);
        return std::string(reinterpret_cast<const char*>(runtime::byte_set_data(block)),
                           static_cast<std::size_t>(runtime::byte_set_count(block)));
    }

    TypedValue read(const std::string& name)
    {
        TypedValue argument = text(name);
        TypedValue result;
        runtime::commands::read_file(&result, 1, &argument);
        EXPECT_EQ(result.type, runtime::DataType::ByteSet);
        return result;
    }

    int write(const std::string& name, std::initializer_list<TypedValue> sets)
    {
        std::vector<TypedValue> arguments{text(name)};
        arguments.insert(arguments.end(), sets.begin(), sets.end());
        TypedValue result;
        runtime::commands::write_file(&result, static_cast<int>(arguments.size()), arguments.data());
        EXPECT_EQ(result.type, runtime::DataType::Integer);
        return static_cast<int>(result.low);
    }
};

TEST_F(FileCommands, ReadGivesTheWholeFileOrAnEmptyByteSet)
{
    std::string content(100000, '\0');
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 7);
    std::ofstream(folder / "photo.bin", std::ios::binary) << content;
    std::ofstream(folder / "empty.bin", std::ios::binary).flush();

    TypedValue whole = read((folder / "photo.bin").string());
    ASSERT_NE(whole.low, 0u);
    EXPECT_EQ(byte_set_string(whole), content);
    runtime::heap_release(reinterpret_cast<void*>(whole.low));

    EXPECT_EQ(read((folder / "empty.bin").string()).low, 0u);
    EXPECT_EQ(read((folder / "missing.bin").string()).low, 0u);
    EXPECT_EQ(read("").low, 0u);
    EXPECT_EQ(read(folder.string()).low, 0u);  // a folder is not a file
    TypedValue null_name{0, 0, runtime::DataType::Text};
    TypedValue result;
    runtime::commands::read_file(&result, 1, &null_name);
    EXPECT_EQ(result.low, 0u);
}

TEST_F(FileCommands, WriteConcatenatesItsByteSetsAndTruncates)
{
    void* three = runtime::heap_copy_byte_set("abc", 3);
    void* four = runtime::heap_copy_byte_set("defg", 4);
    fs::path target = folder / "out.bmp";
    std::ofstream(target, std::ios::binary) << std::string(50, 'x');

    EXPECT_EQ(write(target.string(), {bytes(three), bytes(four)}), 1);
    EXPECT_EQ(file_content(target), "abcdefg");

    // An empty byte set (null) writes nothing; the file is truncated to 0.
    EXPECT_EQ(write(target.string(), {bytes(nullptr)}), 1);
    EXPECT_TRUE(fs::exists(target));
    EXPECT_EQ(fs::file_size(target), 0u);

    // Arguments that are not byte sets add nothing.
    TypedValue a_text = text("zz");
    EXPECT_EQ(write(target.string(), {bytes(three), a_text, bytes(four)}), 1);
    EXPECT_EQ(file_content(target), "abcdefg");

    runtime::heap_release(three);
    runtime::heap_release(four);
}

TEST_F(FileCommands, WriteFailuresGiveZeroAndLeaveNoFileBehind)
{
    void* three = runtime::heap_copy_byte_set("abc", 3);
    EXPECT_EQ(write("", {bytes(three)}), 0);
    fs::path nowhere = folder / "no-such-folder" / "out.bmp";
    EXPECT_EQ(write(nowhere.string(), {bytes(three)}), 0);
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));
    // A full disk: the write error is reported, not success.
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(write("/dev/full", {bytes(three)}), 0);
    }
    runtime::heap_release(three);
}

TEST_F(FileCommands, AFileLockedByAnotherProcessIsNeitherReadNorTruncated)
{
    fs::path target = folder / "busy.bin";
    std::ofstream(target, std::ios::binary) << "precious";
    // flock locks belong to the open file description; a second open in this process conflicts like
    // another process would.
    int other = ::open(target.c_str(), O_RDONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);

    EXPECT_EQ(read(target.string()).low, 0u);
    void* three = runtime::heap_copy_byte_set("abc", 3);
    EXPECT_EQ(write(target.string(), {bytes(three)}), 0);
    EXPECT_EQ(file_content(target), "precious");

    ::flock(other, LOCK_UN);
    EXPECT_EQ(write(target.string(), {bytes(three)}), 1);
    EXPECT_EQ(file_content(target), "abc");
    ::close(other);
    runtime::heap_release(three);
}

TEST_F(FileCommands, NamesReachTheFileSystemAsUtf8)
{
    // "照片 样本" and an emoji in the runtime's text; on disk the same name in UTF-8.
    const std::string utf8 = "照片 样本\U0001F600.jpg";
    std::string name = (folder / "").string() + platform::gbk_from_utf8(utf8);
    void* three = runtime::heap_copy_byte_set("abc", 3);
    EXPECT_EQ(write(name, {bytes(three)}), 1);
    EXPECT_EQ(file_content(folder / utf8), "abc");
    TypedValue back = read(name);
    EXPECT_EQ(byte_set_string(back), "abc");
    runtime::heap_release(reinterpret_cast<void*>(back.low));
    runtime::heap_release(three);
}

TEST_F(FileCommands, AFailedWriteSaysWhyWithoutBlocking)
{
    fs::create_directories(folder / "folder");
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    // A reader on the pipe, so that a write which wrongly opens it fails this test instead of hanging.
    int pipe_reader = ::open((folder / "pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(pipe_reader, 0);
    std::ofstream(folder / "busy.bmp", std::ios::binary) << "precious";
    int other = ::open((folder / "busy.bmp").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(other, LOCK_SH), 0);
    struct Case {
        std::string name;
        runtime::FileFailure failure;
    };
    const Case cases[] = {
        {"", runtime::FileFailure::NoName},
        {(folder / "missing" / "out.bmp").string(), runtime::FileFailure::NoSuchFolder},
        {(folder / "busy.bmp" / "out.bmp").string(), runtime::FileFailure::NoSuchFolder},
        {(folder / "folder").string(), runtime::FileFailure::IsFolder},
        {(folder / "pipe").string(), runtime::FileFailure::NotRegularFile},
        {"/dev/full", runtime::FileFailure::NotRegularFile},
        {(folder / "busy.bmp").string(), runtime::FileFailure::Locked},
    };
    void* three = runtime::heap_copy_byte_set("abc", 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(write(c.name, {bytes(three)}), 0);
        TypedValue reason;
        runtime::commands::file_failure(&reason, 0, nullptr);
        EXPECT_EQ(static_cast<std::int32_t>(reason.low), static_cast<std::int32_t>(c.failure));
    }
    ::close(other);
    ::close(pipe_reader);
    EXPECT_EQ(file_content(folder / "busy.bmp"), "precious");
    // Nothing else appeared: no temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 3);
    runtime::heap_release(three);
}

TEST_F(FileCommands, ReplacingKeepsTheLinkAndThePermissions)
{
    fs::path real = folder / "real.bmp";
    std::ofstream(real, std::ios::binary) << "old";
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, folder / "link.bmp");
    // A reader that opened the old file keeps reading the old content.
    std::ifstream reader(real, std::ios::binary);

    void* four = runtime::heap_copy_byte_set("new!", 4);
    EXPECT_EQ(write((folder / "link.bmp").string(), {bytes(four)}), 1);
    EXPECT_TRUE(fs::is_symlink(folder / "link.bmp"));
    EXPECT_EQ(file_content(real), "new!");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
    runtime::heap_release(four);
}

TEST_F(FileCommands, AWritableFileInAFolderThatIsNotIsRewrittenInPlace)
{
    fs::path target = folder / "shared.bmp";
    std::ofstream(target, std::ios::binary) << "old content";
    fs::permissions(target, fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec));
    const std::uint8_t fresh[] = {'n', 'e', 'w'};
    const std::span<const std::uint8_t> parts[] = {fresh};
    auto write_as_user = [&] { return runtime::write_whole_file(target.string(), parts); };
    runtime::FileFailure failure = runtime::FileFailure::WriteError;
    if (::geteuid() == 0) {
        // The folder belongs to root and is closed to others; an ordinary user may write the file only.
        pid_t child = ::fork();
        if (child == 0)
            ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 ? static_cast<int>(write_as_user()) : 99);
        int status = 0;
        ::waitpid(child, &status, 0);
        failure = static_cast<runtime::FileFailure>(WEXITSTATUS(status));
    } else {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        failure = write_as_user();
        fs::permissions(folder, fs::perms::owner_all);
    }
    EXPECT_EQ(failure, runtime::FileFailure::None);
    EXPECT_EQ(file_content(target), "new");
}

TEST_F(FileCommands, AFileTooLargeForAByteSetIsRefusedQuietly)
{
    // Sparse: no disk space taken. 2 GiB can never be one byte set, whatever the memory.
    fs::path big = folder / "big.jpg";
    std::ofstream(big, std::ios::binary).flush();
    fs::resize_file(big, std::uintmax_t{2} << 30);
    EXPECT_EQ(read(big.string()).low, 0u);
    // What the heap cannot give is refused too, without the allocation failure report.
    std::ofstream(folder / "small.jpg", std::ios::binary) << std::string(4096, 'x');
    runtime::set_heap_request_limit(1024);
    EXPECT_EQ(read((folder / "small.jpg").string()).low, 0u);
    runtime::set_heap_request_limit(0);
}

}  // namespace
