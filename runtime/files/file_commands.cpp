#include "runtime/files/file_commands.h"

#include "runtime/boundary/commands.h"
#include "runtime/boundary/heap.h"

#include <cerrno>
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

}  // namespace

ReadFileStatus read_whole_file(const std::string& name, ByteBuffer& contents)
{
    contents.clear();
    if (name.empty())
        return ReadFileStatus::EmptyName;
    // Non-blocking open so that a named pipe cannot hang the program; only regular files are read.
    FileDescriptor file(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid())
        return ReadFileStatus::CannotOpen;
    if (!take_lock(file.get(), LOCK_SH))
        return ReadFileStatus::Locked;
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return ReadFileStatus::CannotOpen;
    if (status.st_size <= 0)
        return ReadFileStatus::Empty;
    auto length = static_cast<std::size_t>(status.st_size);
    if (!contents.resize(length))
        return ReadFileStatus::OutOfMemory;
    std::size_t total = 0;
    while (total < length) {
        ssize_t got = ::read(file.get(), contents.data() + total, length - total);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            contents.clear();
            return ReadFileStatus::ReadError;
        }
        if (got == 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    // The file may have shrunk since its length was taken.
    if (total == 0) {
        contents.clear();
        return ReadFileStatus::Empty;
    }
    (void)contents.resize(total);
    return ReadFileStatus::Read;
}

WriteFileStatus write_whole_file(const std::string& name, std::span<const std::span<const std::uint8_t>> parts)
{
    if (name.empty())
        return WriteFileStatus::EmptyName;
    // Truncate only once the exclusive lock is held, so that a file another process is using keeps
    // its content when we are refused.
    FileDescriptor file(::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    if (!file.valid())
        return WriteFileStatus::CannotOpen;
    if (!take_lock(file.get(), LOCK_EX))
        return WriteFileStatus::Locked;
    struct stat status {};
    if (::fstat(file.get(), &status) == 0 && S_ISREG(status.st_mode) && ::ftruncate(file.get(), 0) != 0)
        return WriteFileStatus::WriteError;
    for (std::span<const std::uint8_t> part : parts) {
        std::size_t written = 0;
        while (written < part.size()) {
            ssize_t put = ::write(file.get(), part.data() + written, part.size() - written);
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                return WriteFileStatus::WriteError;
            }
            written += static_cast<std::size_t>(put);
        }
    }
    if (!file.close())
        return WriteFileStatus::WriteError;
    return WriteFileStatus::Written;
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
    ByteBuffer contents;
    if (read_whole_file(text_argument(arguments[0]), contents) != ReadFileStatus::Read)
        return;
    result->low = reinterpret_cast<Word>(heap_copy_byte_set(contents.data(), contents.length()));
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
    if (write_whole_file(text_argument(arguments[0]), parts) == WriteFileStatus::Written)
        result->low = 1;
}

}  // namespace commands
}  // namespace runtime
