#pragma once
// Whole-file reading into a byte buffer and writing byte sets to a file.
//
// Sharing: reading takes a shared advisory lock (other readers welcome, writers kept out), writing
// an exclusive one; a file locked against us is a failure, as a sharing violation would be. The
// locks are advisory (flock): they coordinate with programs that lock too.

#include "runtime/files/byte_buffer.h"

#include <span>
#include <string>

namespace runtime {

enum class ReadFileStatus { Read, EmptyName, CannotOpen, Locked, Empty, ReadError, OutOfMemory };
enum class WriteFileStatus { Written, EmptyName, CannotOpen, Locked, WriteError };

// `name` is passed to the file system unchanged (GBK bytes on this system). On anything but Read
// the buffer is left empty.
ReadFileStatus read_whole_file(const std::string& name, ByteBuffer& contents);
// Creates or truncates `name` and writes the parts one after another.
WriteFileStatus write_whole_file(const std::string& name, std::span<const std::span<const std::uint8_t>> parts);

}  // namespace runtime
