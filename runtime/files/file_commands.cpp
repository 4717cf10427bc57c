#include "runtime/files/file_commands.h"

#include "platform/text_encoding.h"
#include "runtime/boundary/commands.h"
#include "runtime/boundary/heap.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace runtime {
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

FileFailure failure_from_error(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileFailure::NoSuchFolder;
    case EACCES:
    case EPERM:
        return FileFailure::NoPermission;
    case EROFS:
        return FileFailure::ReadOnly;
    case EISDIR:
        return FileFailure::IsFolder;
    case ENOSPC:
    case EDQUOT:
        return FileFailure::DiskFull;
    case EFBIG:
        return FileFailure::TooLarge;
    case ENAMETOOLONG:
        return FileFailure::NameTooLong;
    case ETXTBSY:
    case EBUSY:
        return FileFailure::Locked;
    default:
        return FileFailure::WriteError;
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

FileFailure rewrite_in_place(int descriptor, std::span<const std::span<const std::uint8_t>> parts)
{
    if (::ftruncate(descriptor, 0) != 0)
        return failure_from_error(errno);
    for (std::span<const std::uint8_t> part : parts) {
        if (!write_all(descriptor, part))
            return failure_from_error(errno);
    }
    if (::fsync(descriptor) != 0)
        return failure_from_error(errno);
    return FileFailure::None;
}

// The mode a newly created file gets: read and write for everyone the umask allows. umask can only
// be read by setting it; files are written on the UI thread alone.
mode_t new_file_mode()
{
    mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

FileFailure g_last_write_failure = FileFailure::None;

}  // namespace

ReadFileResult read_whole_file(const std::string& name)
{
    if (name.empty())
        return {ReadFileStatus::EmptyName};
    // Non-blocking open so that a named pipe cannot hang the program; only regular files are read.
    std::string path = platform::os_file_name(name);
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid())
        return {ReadFileStatus::CannotOpen};
    if (!take_lock(file.get(), LOCK_SH))
        return {ReadFileStatus::Locked};
    struct stat status { };
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return {ReadFileStatus::CannotOpen};
    if (status.st_size <= 0)
        return {ReadFileStatus::Empty};
    // A byte set counts its bytes in 32 bits.
    if (static_cast<std::uintmax_t>(status.st_size) > static_cast<std::uintmax_t>(INT32_MAX) - kByteSetHeaderSize)
        return {ReadFileStatus::TooLarge};
    auto length = static_cast<std::size_t>(status.st_size);
    // The bytes go straight into the byte set handed to the caller: one copy in memory, never three.
    void* block = heap_try_allocate_byte_set(length);
    if (!block)
        return {ReadFileStatus::OutOfMemory};
    auto* bytes = static_cast<std::uint8_t*>(block) + kByteSetHeaderSize;
    std::size_t total = 0;
    while (total < length) {
        ssize_t got = ::read(file.get(), bytes + total, length - total);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            heap_release(block);
            return {ReadFileStatus::ReadError};
        }
        if (got == 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    // The file may have shrunk since its length was taken.
    if (total == 0) {
        heap_release(block);
        return {ReadFileStatus::Empty};
    }
    if (total < length) {
        auto count = static_cast<std::int32_t>(total);
        std::memcpy(static_cast<std::uint8_t*>(block) + offsetof(ByteSetHeader, count), &count, sizeof count);
    }
    return {ReadFileStatus::Read, block};
}

FileFailure write_whole_file(const std::string& name, std::span<const std::span<const std::uint8_t>> parts)
{
    if (name.empty())
        return FileFailure::NoName;
    std::string target = platform::os_file_name(name);

    // What the name is now, without opening it: opening a named pipe or a device could block or
    // have effects of its own. A link is followed; the file it names is replaced and it stays a link.
    struct stat status { };
    bool replacing = ::lstat(target.c_str(), &status) == 0;
    if (!replacing && errno != ENOENT)
        return failure_from_error(errno);
    if (replacing && S_ISLNK(status.st_mode)) {
        char resolved[PATH_MAX];
        if (!::realpath(target.c_str(), resolved) || ::lstat(resolved, &status) != 0)
            return failure_from_error(errno);
        target = resolved;
    }
    if (replacing && S_ISDIR(status.st_mode))
        return FileFailure::IsFolder;
    if (replacing && !S_ISREG(status.st_mode))
        return FileFailure::NotRegularFile;

    // The file being replaced is held under the exclusive lock until the new content has taken its
    // place, so that a program that has it locked keeps it. Opening it for writing also asks
    // whether this user may change it at all.
    FileDescriptor held(replacing ? ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC) : -1);
    if (replacing) {
        if (!held.valid())
            return failure_from_error(errno);
        struct stat now { };
        if (::fstat(held.get(), &now) != 0 || !S_ISREG(now.st_mode))
            return FileFailure::NotRegularFile;
        if (!take_lock(held.get(), LOCK_EX))
            return FileFailure::Locked;
    }

    TemporaryFile temporary(target);
    if (!temporary.created()) {
        // A file this user may change in a folder where he may not create one: it can only be
        // rewritten in place, as it always could be.
        if (replacing && (errno == EACCES || errno == EPERM))
            return rewrite_in_place(held.get(), parts);
        return failure_from_error(errno);
    }
    if (replacing) {
        // The new file takes the old one's owner and permissions where it may.
        (void)::fchown(temporary.get(), status.st_uid, status.st_gid);
        (void)::fchmod(temporary.get(), status.st_mode & 07777);
    } else {
        (void)::fchmod(temporary.get(), new_file_mode());
    }
    for (std::span<const std::uint8_t> part : parts) {
        if (!write_all(temporary.get(), part))
            return failure_from_error(errno);
    }
    // The old content goes only once the new content is on the disk; a new file needs no flush.
    if (replacing && ::fsync(temporary.get()) != 0)
        return failure_from_error(errno);
    if (!temporary.close())
        return failure_from_error(errno);
    if (!temporary.rename_to(target))
        return failure_from_error(errno);
    return FileFailure::None;
}

namespace {

std::string text_argument(const TypedValue& value)
{
    if (value.type != DataType::Text || value.low == 0)
        return {};
    return reinterpret_cast<const char*>(value.low);
}

}  // namespace

namespace commands {

void read_file(TypedValue* result, int count, const TypedValue* arguments)
{
    *result = TypedValue{0, 0, DataType::ByteSet};
    if (count < 1)
        return;
    ReadFileResult read = read_whole_file(text_argument(arguments[0]));
    result->low = reinterpret_cast<Word>(read.byte_set);
}

void write_file(TypedValue* result, int count, const TypedValue* arguments)
{
    *result = TypedValue{0, 0, DataType::Integer};
    if (count < 1)
        return;
    // Only byte-set arguments are written; anything else adds nothing to the file.
    std::vector<std::span<const std::uint8_t>> parts;
    for (int i = 1; i < count; ++i) {
        const TypedValue& argument = arguments[i];
        if (argument.type != DataType::ByteSet || argument.low == 0)
            continue;
        const void* block = reinterpret_cast<const void*>(argument.low);
        std::int32_t length = byte_set_count(block);
        if (length > 0)
            parts.emplace_back(byte_set_data(block), static_cast<std::size_t>(length));
    }
    g_last_write_failure = write_whole_file(text_argument(arguments[0]), parts);
    if (g_last_write_failure == FileFailure::None)
        result->low = 1;
}

void file_failure(TypedValue* result, int, const TypedValue*)
{
    *result = TypedValue{static_cast<Word>(static_cast<std::int32_t>(g_last_write_failure)), 0, DataType::Integer};
}

}  // namespace commands
}  // namespace runtime
