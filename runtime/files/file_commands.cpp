#include "runtime/files/file_commands.h"

#include "platform/file_system.h"
#include "runtime/boundary/commands.h"
#include "runtime/boundary/heap.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace runtime {
namespace {

FileFailure failure_from_platform(platform::FileReplaceFailure failure)
{
    using platform::FileReplaceFailure;
    switch (failure) {
    case FileReplaceFailure::None:
        return FileFailure::None;
    case FileReplaceFailure::NoSuchFolder:
        return FileFailure::NoSuchFolder;
    case FileReplaceFailure::NoPermission:
        return FileFailure::NoPermission;
    case FileReplaceFailure::ReadOnly:
        return FileFailure::ReadOnly;
    case FileReplaceFailure::IsFolder:
        return FileFailure::IsFolder;
    case FileReplaceFailure::NotRegularFile:
        return FileFailure::NotRegularFile;
    case FileReplaceFailure::Locked:
        return FileFailure::Locked;
    case FileReplaceFailure::DiskFull:
        return FileFailure::DiskFull;
    case FileReplaceFailure::TooLarge:
        return FileFailure::TooLarge;
    case FileReplaceFailure::NameTooLong:
        return FileFailure::NameTooLong;
    case FileReplaceFailure::WriteError:
        break;
    }
    return FileFailure::WriteError;
}

ReadFileStatus status_from_platform(platform::FileReadStatus status)
{
    using platform::FileReadStatus;
    switch (status) {
    case FileReadStatus::Read:
        return ReadFileStatus::Read;
    case FileReadStatus::CannotOpen:
        return ReadFileStatus::CannotOpen;
    case FileReadStatus::Locked:
        return ReadFileStatus::Locked;
    case FileReadStatus::Empty:
        return ReadFileStatus::Empty;
    case FileReadStatus::ReadError:
        return ReadFileStatus::ReadError;
    case FileReadStatus::TooLarge:
        return ReadFileStatus::TooLarge;
    case FileReadStatus::OutOfMemory:
        return ReadFileStatus::OutOfMemory;
    }
    return ReadFileStatus::ReadError;
}

FileFailure g_last_write_failure = FileFailure::None;

}  // namespace

ReadFileResult read_whole_file(const std::string& name)
{
    if (name.empty())
        return {ReadFileStatus::EmptyName};
    // The bytes go straight into the byte set handed to the caller: one copy in memory, never three.
    void* block = nullptr;
    auto into_byte_set = [&block](std::size_t length) -> std::uint8_t* {
        block = heap_try_allocate_byte_set(length);
        return block ? static_cast<std::uint8_t*>(block) + kByteSetHeaderSize : nullptr;
    };
    // A byte set counts its bytes in 32 bits.
    constexpr std::uint64_t kMaxLength = static_cast<std::uint64_t>(INT32_MAX) - kByteSetHeaderSize;
    platform::FileRead read = platform::read_whole_file(name, kMaxLength, into_byte_set);
    if (read.status != platform::FileReadStatus::Read) {
        if (block)
            heap_release(block);
        return {status_from_platform(read.status)};
    }
    // The file may have shrunk since its length was taken.
    if (read.length < static_cast<std::size_t>(byte_set_count(block))) {
        auto count = static_cast<std::int32_t>(read.length);
        std::memcpy(static_cast<std::uint8_t*>(block) + offsetof(ByteSetHeader, count), &count, sizeof count);
    }
    return {ReadFileStatus::Read, block};
}

FileFailure write_whole_file(const std::string& name, std::span<const std::span<const std::uint8_t>> parts)
{
    if (name.empty())
        return FileFailure::NoName;
    return failure_from_platform(platform::replace_file(name, parts));
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
