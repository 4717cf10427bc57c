// Whole files on POSIX file systems: flock for sharing; new files written in place, existing ones
// replaced through mkostemp, fsync and rename.

#include "platform/file_system.h"

#include "platform/text_encoding.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor)
        : m_descriptor(descriptor)
    {
    }
    ~FileDescriptor()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_descriptor; }
    bool valid() const { return m_descriptor >= 0; }
    // Closing can report a late write error (e.g. on a network file system).
    bool close()
    {
        int descriptor = m_descriptor;
        m_descriptor = -1;
        return ::close(descriptor) == 0;
    }

private:
    int m_descriptor;
};

// The new content of a file being replaced, under a hidden name in the target's folder; removed
// again unless it was renamed over the target.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target)
        : m_path(folder_of(target) + ".certmaker-XXXXXX")
        , m_file(::mkostemp(m_path.data(), O_CLOEXEC))
        , m_created(m_file.valid())
    {
    }
    ~TemporaryFile()
    {
        if (m_created && !m_kept)
            ::unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool created() const { return m_created; }
    int get() const { return m_file.get(); }
    bool close() { return m_file.close(); }
    bool rename_to(const std::string& target)
    {
        m_kept = ::rename(m_path.c_str(), target.c_str()) == 0;
        return m_kept;
    }

private:
    static std::string folder_of(const std::string& path)
    {
        std::string::size_type slash = path.rfind('/');
        return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }

    std::string m_path;
    FileDescriptor m_file;
    bool m_created;
    bool m_kept = false;
};

// False only when another process holds a conflicting lock; file systems without flock support
// do not stop the command.
bool take_lock(int descriptor, int operation)
{
    while (::flock(descriptor, operation | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        return errno != EWOULDBLOCK;
    }
    return true;
}

FileReplaceFailure failure_from_error(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileReplaceFailure::NoSuchFolder;
    case EACCES:
    case EPERM:
        return FileReplaceFailure::NoPermission;
    case EROFS:
        return FileReplaceFailure::ReadOnly;
    case EISDIR:
        return FileReplaceFailure::IsFolder;
    case ENOSPC:
    case EDQUOT:
        return FileReplaceFailure::DiskFull;
    case EFBIG:
        return FileReplaceFailure::TooLarge;
    case ENAMETOOLONG:
        return FileReplaceFailure::NameTooLong;
    case ETXTBSY:
    case EBUSY:
        return FileReplaceFailure::Locked;
    default:
        return FileReplaceFailure::WriteError;
    }
}

bool write_all(int descriptor, std::span<const std::uint8_t> bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t put = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        written += static_cast<std::size_t>(put);
    }
    return true;
}

FileReplaceFailure rewrite_in_place(int descriptor, std::span<const std::span<const std::uint8_t>> parts)
{
    if (::ftruncate(descriptor, 0) != 0)
        return failure_from_error(errno);
    for (std::span<const std::uint8_t> part : parts) {
        if (!write_all(descriptor, part))
            return failure_from_error(errno);
    }
    if (::fsync(descriptor) != 0)
        return failure_from_error(errno);
    return FileReplaceFailure::None;
}

// A name nothing has yet is written in place: there is no old content for a failure to lose, and
// the file is removed again unless all of the new content reached it. Exists when another program
// made the file since it was looked at.
enum class NewFile { Written, Exists, Failed };

NewFile write_new_file(const std::string& target, std::span<const std::span<const std::uint8_t>> parts,
                       FileReplaceFailure& failure)
{
    FileDescriptor file(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file.valid()) {
        if (errno == EEXIST)
            return NewFile::Exists;
        failure = failure_from_error(errno);
        return NewFile::Failed;
    }
    bool written = true;
    for (std::span<const std::uint8_t> part : parts) {
        if (!write_all(file.get(), part)) {
            written = false;
            break;
        }
    }
    if (written && file.close())
        return NewFile::Written;
    failure = failure_from_error(errno);
    ::unlink(target.c_str());
    return NewFile::Failed;
}

}  // namespace

FileRead read_whole_file(std::string_view name, std::uint64_t max_length, const FileBuffer& buffer)
{
    // Non-blocking open so that a named pipe cannot hang the program; only regular files are read.
    std::string path = os_file_name(name);
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid())
        return {FileReadStatus::CannotOpen};
    if (!take_lock(file.get(), LOCK_SH))
        return {FileReadStatus::Locked};
    struct stat status { };
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return {FileReadStatus::CannotOpen};
    if (status.st_size <= 0)
        return {FileReadStatus::Empty};
    if (static_cast<std::uintmax_t>(status.st_size) > max_length)
        return {FileReadStatus::TooLarge};
    auto length = static_cast<std::size_t>(status.st_size);
    std::uint8_t* bytes = buffer(length);
    if (!bytes)
        return {FileReadStatus::OutOfMemory};
    std::size_t total = 0;
    while (total < length) {
        ssize_t got = ::read(file.get(), bytes + total, length - total);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return {FileReadStatus::ReadError};
        }
        if (got == 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    // The file may have shrunk since its length was taken.
    if (total == 0)
        return {FileReadStatus::Empty};
    return {FileReadStatus::Read, total};
}

FileReplaceFailure replace_file(std::string_view name, std::span<const std::span<const std::uint8_t>> parts)
{
    std::string target = os_file_name(name);

    // What the name is now, without opening it: opening a named pipe or a device could block or
    // have effects of its own. A link is followed; the file it names is replaced and it stays a link.
    struct stat status { };
    if (::lstat(target.c_str(), &status) != 0) {
        if (errno != ENOENT)
            return failure_from_error(errno);
        FileReplaceFailure failure = FileReplaceFailure::None;
        if (write_new_file(target, parts, failure) != NewFile::Exists)
            return failure;
        // Made by another program a moment ago: it is replaced like any file that was there.
        if (::lstat(target.c_str(), &status) != 0)
            return failure_from_error(errno);
    }
    if (S_ISLNK(status.st_mode)) {
        char resolved[PATH_MAX];
        if (!::realpath(target.c_str(), resolved) || ::lstat(resolved, &status) != 0)
            return failure_from_error(errno);
        target = resolved;
    }
    if (S_ISDIR(status.st_mode))
        return FileReplaceFailure::IsFolder;
    if (!S_ISREG(status.st_mode))
        return FileReplaceFailure::NotRegularFile;

    // The file being replaced is held under the exclusive lock until the new content has taken its
    // place, so that a program that has it locked keeps it. Opening it for writing also asks
    // whether this user may change it at all.
    FileDescriptor held(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!held.valid())
        return failure_from_error(errno);
    struct stat now { };
    if (::fstat(held.get(), &now) != 0 || !S_ISREG(now.st_mode))
        return FileReplaceFailure::NotRegularFile;
    if (!take_lock(held.get(), LOCK_EX))
        return FileReplaceFailure::Locked;

    TemporaryFile temporary(target);
    if (!temporary.created()) {
        // A file this user may change in a folder where he may not create one: it can only be
        // rewritten in place, as it always could be.
        if (errno == EACCES || errno == EPERM)
            return rewrite_in_place(held.get(), parts);
        return failure_from_error(errno);
    }
    // The new file takes the old one's owner and permissions where it may.
    (void)::fchown(temporary.get(), status.st_uid, status.st_gid);
    (void)::fchmod(temporary.get(), status.st_mode & 07777);
    for (std::span<const std::uint8_t> part : parts) {
        if (!write_all(temporary.get(), part))
            return failure_from_error(errno);
    }
    // The old content goes only once the new content is on the disk.
    if (::fsync(temporary.get()) != 0)
        return failure_from_error(errno);
    if (!temporary.close())
        return failure_from_error(errno);
    if (!temporary.rename_to(target))
        return failure_from_error(errno);
    return FileReplaceFailure::None;
}

std::FILE* open_file(std::string_view name, const char* mode)
{
    return std::fopen(os_file_name(name).c_str(), mode);
}

ProgramLocation program_location()
{
    std::string path(PATH_MAX, '\0');
    ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0)
        return {};
    path.resize(static_cast<std::size_t>(length));
    std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos)
        return {{}, runtime_file_name(path)};
    return {runtime_file_name(path.substr(0, slash)), runtime_file_name(path.substr(slash + 1))};
}

bool change_current_folder(std::string_view folder)
{
    return ::chdir(os_file_name(folder).c_str()) == 0;
}

}  // namespace platform
