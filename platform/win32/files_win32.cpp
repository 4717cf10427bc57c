// Whole files on Windows: the wide-character calls for every name, the share mode of the open file
// as the lock, a temporary file in the same folder, FlushFileBuffers, then ReplaceFileW (or
// MoveFileExW for a new file) to put it in place.

#include "platform/file_system.h"
#include "platform/win32/win32.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace platform {
namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle = INVALID_HANDLE_VALUE)
        : m_handle(handle)
    {
    }
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    void reset(HANDLE handle)
    {
        close();
        m_handle = handle;
    }
    bool close()
    {
        HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
    }

private:
    HANDLE m_handle;
};

std::wstring wide_name(std::string_view name)
{
    return file_system_path(name).wstring();
}

// The full name Windows resolves `name` to ("\\.\CON" for a device name), or empty.
std::wstring full_name(const std::wstring& name)
{
    DWORD needed = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return {};
    std::wstring full(needed, L'\0');
    DWORD length = GetFullPathNameW(name.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return {};
    full.resize(length);
    return full;
}

bool names_device(const std::wstring& full)
{
    return full.rfind(L"\\\\.\\", 0) == 0 || full.rfind(L"\\\\?\\GLOBALROOT", 0) == 0;
}

std::wstring folder_of(const std::wstring& full)
{
    std::wstring::size_type separator = full.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : full.substr(0, separator + 1);
}

FileReplaceFailure failure_from_error(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return FileReplaceFailure::NoSuchFolder;
    case ERROR_ACCESS_DENIED:
        return FileReplaceFailure::NoPermission;
    case ERROR_WRITE_PROTECT:
        return FileReplaceFailure::ReadOnly;
    case ERROR_DIRECTORY:
        return FileReplaceFailure::IsFolder;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileReplaceFailure::DiskFull;
    case ERROR_FILE_TOO_LARGE:
        return FileReplaceFailure::TooLarge;
    case ERROR_FILENAME_EXCED_RANGE:
        return FileReplaceFailure::NameTooLong;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return FileReplaceFailure::Locked;
    default:
        return FileReplaceFailure::WriteError;
    }
}

FileReplaceFailure last_failure()
{
    return failure_from_error(GetLastError());
}

bool write_all(HANDLE file, std::span<const std::uint8_t> bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        // WriteFile counts in 32 bits.
        constexpr std::size_t kMaxChunk = 1u << 30;
        DWORD chunk = static_cast<DWORD>(std::min(bytes.size() - written, kMaxChunk));
        DWORD put = 0;
        if (!WriteFile(file, bytes.data() + written, chunk, &put, nullptr) || put == 0)
            return false;
        written += put;
    }
    return true;
}

FileReplaceFailure write_parts(HANDLE file, std::span<const std::span<const std::uint8_t>> parts)
{
    for (std::span<const std::uint8_t> part : parts) {
        if (!write_all(file, part))
            return last_failure();
    }
    return FileReplaceFailure::None;
}

FileReplaceFailure rewrite_in_place(HANDLE file, std::span<const std::span<const std::uint8_t>> parts)
{
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN) || !SetEndOfFile(file))
        return last_failure();
    if (FileReplaceFailure failure = write_parts(file, parts); failure != FileReplaceFailure::None)
        return failure;
    if (!FlushFileBuffers(file))
        return last_failure();
    return FileReplaceFailure::None;
}

// The new content under a hidden name in the target's folder; deleted again unless it took the
// target's place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::wstring& folder)
    {
        // A name of the process, the time and a counter; a clash with an existing file takes the next.
        static unsigned counter = 0;
        for (int attempt = 0; attempt < 100 && !m_file.valid(); ++attempt) {
            m_path = folder + L".certmaker-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                     std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
            m_file.reset(
                CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            m_error = m_file.valid() ? ERROR_SUCCESS : GetLastError();
            if (m_error != ERROR_FILE_EXISTS && m_error != ERROR_ALREADY_EXISTS)
                break;
        }
    }
    ~TemporaryFile()
    {
        m_file.close();
        if (is_created() && !m_kept)
            DeleteFileW(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool created() const { return is_created(); }
    DWORD error() const { return m_error; }
    HANDLE get() const { return m_file.get(); }
    bool close() { return m_file.close(); }
    const std::wstring& path() const { return m_path; }
    void keep() { m_kept = true; }

private:
    bool is_created() const { return m_error == ERROR_SUCCESS; }

    std::wstring m_path;
    FileHandle m_file;
    DWORD m_error = ERROR_FILE_NOT_FOUND;
    bool m_kept = false;
};

// The file a link names, so that the link itself stays.
std::wstring final_name(HANDLE file, const std::wstring& fallback)
{
    DWORD needed = GetFinalPathNameByHandleW(file, nullptr, 0, FILE_NAME_NORMALIZED);
    if (needed == 0)
        return fallback;
    std::wstring path(needed, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, path.data(), needed, FILE_NAME_NORMALIZED);
    if (length == 0 || length >= needed)
        return fallback;
    path.resize(length);
    return path;
}

}  // namespace

FileRead read_whole_file(std::string_view name, std::uint64_t max_length, const FileBuffer& buffer)
{
    std::wstring path = full_name(wide_name(name));
    if (path.empty() || names_device(path))
        return {FileReadStatus::CannotOpen};
    // Others may read meanwhile, nobody may write.
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        DWORD error = GetLastError();
        return {error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? FileReadStatus::Locked
                                                                                  : FileReadStatus::CannotOpen};
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return {FileReadStatus::CannotOpen};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return {FileReadStatus::CannotOpen};
    if (size.QuadPart <= 0)
        return {FileReadStatus::Empty};
    if (static_cast<std::uint64_t>(size.QuadPart) > max_length || static_cast<std::uint64_t>(size.QuadPart) > SIZE_MAX)
        return {FileReadStatus::TooLarge};
    auto length = static_cast<std::size_t>(size.QuadPart);
    std::uint8_t* bytes = buffer(length);
    if (!bytes)
        return {FileReadStatus::OutOfMemory};
    std::size_t total = 0;
    while (total < length) {
        constexpr std::size_t kMaxChunk = 1u << 30;
        DWORD chunk = static_cast<DWORD>(std::min(length - total, kMaxChunk));
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes + total, chunk, &got, nullptr))
            return {FileReadStatus::ReadError};
        if (got == 0)
            break;
        total += got;
    }
    if (total == 0)
        return {FileReadStatus::Empty};
    return {FileReadStatus::Read, total};
}

FileReplaceFailure replace_file(std::string_view name, std::span<const std::span<const std::uint8_t>> parts)
{
    std::wstring target = full_name(wide_name(name));
    if (target.empty())
        return last_failure();
    // Device names (CON, NUL, COM1, \\.\...) are never opened: that could block or have effects.
    if (names_device(target))
        return FileReplaceFailure::NotRegularFile;

    DWORD attributes = GetFileAttributesW(target.c_str());
    bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (!replacing) {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            return failure_from_error(error);
    }
    if (replacing && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileReplaceFailure::IsFolder;

    // The file being replaced is held with no sharing while the new content is written, so that a
    // program that has it open keeps it, and nobody changes it meanwhile. Opening it for writing
    // also asks whether this user may change it at all.
    FileHandle held;
    if (replacing) {
        held.reset(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!held.valid())
            return last_failure();
        if (GetFileType(held.get()) != FILE_TYPE_DISK)
            return FileReplaceFailure::NotRegularFile;
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            target = final_name(held.get(), target);
    }

    TemporaryFile temporary(folder_of(target));
    if (!temporary.created()) {
        // A file this user may change in a folder where he may not create one: it can only be
        // rewritten in place, as it always could be.
        if (replacing && temporary.error() == ERROR_ACCESS_DENIED)
            return rewrite_in_place(held.get(), parts);
        return failure_from_error(temporary.error());
    }
    if (FileReplaceFailure failure = write_parts(temporary.get(), parts); failure != FileReplaceFailure::None)
        return failure;
    // The old content goes only once the new content is on the disk; a new file needs no flush.
    if (replacing && !FlushFileBuffers(temporary.get()))
        return last_failure();
    if (!temporary.close())
        return last_failure();

    if (!replacing) {
        if (!MoveFileExW(temporary.path().c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
            return last_failure();
        temporary.keep();
        return FileReplaceFailure::None;
    }
    // Windows replaces no file that is open, ours included: the hold ends the moment before.
    // ReplaceFileW keeps the old file's attributes, owner and permissions.
    held.close();
    if (ReplaceFileW(target.c_str(), temporary.path().c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
        temporary.keep();
        return FileReplaceFailure::None;
    }
    DWORD error = GetLastError();
    // Where the system cannot replace (some network and FAT volumes), a plain move over it still can.
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION && error != ERROR_ACCESS_DENIED &&
        MoveFileExW(temporary.path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        temporary.keep();
        return FileReplaceFailure::None;
    }
    return failure_from_error(error);
}

std::FILE* open_file(std::string_view name, const char* mode)
{
    std::wstring wide_mode;
    for (const char* c = mode; *c; ++c)
        wide_mode.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return _wfopen(wide_name(name).c_str(), wide_mode.c_str());
}

ProgramLocation program_location()
{
    // Long paths can exceed MAX_PATH; 32767 wide characters is the system's own limit.
    std::wstring path(32768, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size())
        return {};
    path.resize(length);
    std::wstring::size_type separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos)
        return {{}, runtime_name_of_path(path)};
    return {runtime_name_of_path(path.substr(0, separator)), runtime_name_of_path(path.substr(separator + 1))};
}

bool change_current_folder(std::string_view folder)
{
    return SetCurrentDirectoryW(wide_name(folder).c_str()) != 0;
}

}  // namespace platform
