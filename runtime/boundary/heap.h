#pragma once
// The runtime heap behind the allocate, reallocate and release entries. Every text or byte set the
// runtime hands to the application comes from here; constants in the pool are never freed.

#include <cstddef>

namespace runtime {

// A new block of `count` bytes (contents undefined). Failure reports "分配 %d 字节内存失败!" and
// ends the program.
void* heap_allocate(std::size_t count);
// Null: allocate. A pointer into the constant pool: a new block holding the first
// min(count, pool end - block) bytes from it; the constant stays. Otherwise resize the block.
void* heap_reallocate(void* block, std::size_t count);
// Ignores null and pointers into the constant pool.
void heap_release(void* block);

// Copies for the application: a new zero-terminated text (null for an empty one, so the caller
// gets "nothing to release" for the empty text), and a new byte set block (null for no bytes).
char* heap_copy_text(const char* text, std::size_t length);
void* heap_copy_byte_set(const void* bytes, std::size_t count);
// A new byte set block for `count` bytes (contents undefined), or null without a report when the
// count does not fit a byte set or the heap has no room: for sizes that come from outside.
void* heap_try_allocate_byte_set(std::size_t count);

// Requests above `limit` bytes fail as if the heap were exhausted (0 removes the limit). For tests
// of the exhaustion report.
void set_heap_request_limit(std::size_t limit);

}  // namespace runtime
