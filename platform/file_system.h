#pragma once
// Whole files on the file system: reading one into memory its caller provides, replacing one as a
// whole, opening one for the C library's streams, and where the program itself lies.
//
// Names are runtime texts (text_encoding.h); each implementation hands them to the system in its
// own form (UTF-8 bytes on Linux, the wide-character calls on Windows).
//
// Sharing: reading keeps writers out while it reads, replacing keeps everyone out of the file it
// replaces; a file held against us is the failure Locked. On Linux the locks are advisory (flock)
// and coordinate with programs that lock too; on Windows they are the share mode of the open file.
//
// Replacing writes the bytes to a temporary file in the same folder, puts it to the disk, then
// puts it in the old file's place. A failure at any point leaves the old file as it was and no
// temporary file behind. Where no file has the name yet there is nothing to keep: the Linux
// backend writes the new file in place and removes it again if the write fails.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// The name as a path for the standard library's file-system functions and streams. On Windows the
// path holds UTF-16 and reaches the wide-character calls, so that any name opens, a Chinese one
// included; never build a path from the runtime's bytes directly.
std::filesystem::path file_system_path(std::string_view name);
std::string runtime_name_of_path(const std::filesystem::path& path);

enum class FileReadStatus { Read, CannotOpen, Locked, Empty, ReadError, TooLarge, OutOfMemory };

// Asked once with the file's length; answers where that many bytes go, or null when there is no room.
using FileBuffer = std::function<std::uint8_t*(std::size_t length)>;

struct FileRead {
    FileReadStatus status = FileReadStatus::CannotOpen;
    // With Read: the bytes placed, at most the length asked for (the file may have shrunk meanwhile,
    // never to nothing). With ReadError or Empty the buffer may have been asked for; it holds nothing.
    std::size_t length = 0;
};

// Reads a regular file whole. A file longer than `max_length` is TooLarge, one without bytes Empty;
// pipes, devices and folders cannot be opened, and opening never waits for another program.
FileRead read_whole_file(std::string_view name, std::uint64_t max_length, const FileBuffer& buffer);

enum class FileReplaceFailure {
    None,
    NoSuchFolder,
    NoPermission,
    ReadOnly,
    IsFolder,
    NotRegularFile,
    Locked,
    DiskFull,
    TooLarge,
    NameTooLong,
    WriteError,
};

// Makes the parts, one after another, the new content of `name`. A link is followed and stays a
// link; the new file takes the old one's permissions where the system lets it.
FileReplaceFailure replace_file(std::string_view name, std::span<const std::span<const std::uint8_t>> parts);

// fopen with a runtime name (`mode` as fopen takes it); null when it cannot be opened.
std::FILE* open_file(std::string_view name, const char* mode);

// The running program's file: its folder (without a final separator; empty when the system cannot
// tell) and its file name, as runtime texts.
struct ProgramLocation {
    std::string folder;
    std::string file_name;
};
ProgramLocation program_location();

// Makes `folder` the current folder; false when it cannot.
bool change_current_folder(std::string_view folder);

}  // namespace platform
