#pragma once
// Whole-file reading into a byte set and writing byte sets to a file.
//
// Names are runtime texts; they reach the file system through the platform's file-name conversion.
//
// Sharing: reading takes a shared advisory lock (other readers welcome, writers kept out), writing
// an exclusive one on the file it replaces; a file locked against us is a failure, as a sharing
// violation would be. The locks are advisory (flock): they coordinate with programs that lock too.
//
// Writing replaces the file as a whole: the bytes go to a temporary file in the same folder, which
// is then renamed over the target. A failure at any point leaves the old file as it was and no
// temporary file behind. A name no file has yet is written in place on Linux, and removed again
// if the write fails.

#include "runtime/boundary/commands.h"

#include <cstdint>
#include <span>
#include <string>

namespace runtime {

enum class ReadFileStatus { Read, EmptyName, CannotOpen, Locked, Empty, ReadError, TooLarge, OutOfMemory };

struct ReadFileResult {
    ReadFileStatus status = ReadFileStatus::EmptyName;
    void* byte_set = nullptr;  // a runtime heap byte set block when Read; the caller releases it
};

// The whole file in one new byte set, read straight into it. A file that cannot be one byte set
// (2 GiB and more) or for which the heap has no room is refused, never reported.
ReadFileResult read_whole_file(const std::string& name);
// Writes the parts one after another as the new content of `name`.
FileFailure write_whole_file(const std::string& name, std::span<const std::span<const std::uint8_t>> parts);

}  // namespace runtime
