#pragma once

#include <cstddef>

namespace platform {

// The memory a start takes, made ready in one step before the first window is built.
//
// Until the first window is painted the program allocates about 5 MB: the font configuration, the
// tables of the two faces the window shows (half a megabyte each), the window's backing store and
// the first template. Every page of it, touched for the first time, costs a page fault, and on
// some machines (virtual ones above all) a fault costs 15 us or more: 1,400 of them were a fifth of
// the time from start to first paint. Asking the kernel for all the pages at once costs a small
// part of that.
//
// So the heap is grown by kStartUpHeapBytes and its pages are made present together. Blocks up to
// kLargestHeapBlock come from the heap rather than from mappings of their own, which would start
// with no pages again; that is the most the C library allows, and where its own adaptive limit ends
// up once a large block has been freed (a photo decoded again then reuses the pages of the last).
// The heap keeps kStartUpHeapBytes free at its top from then on, so that what is freed and taken
// again while the program runs is not given back and faulted in once more.
//
// Does nothing where the C library's allocator is not the one in use (under the sanitizers) or
// where the kernel cannot make pages present in advance.
inline constexpr std::size_t kStartUpHeapBytes = std::size_t{6} << 20;
inline constexpr std::size_t kLargestHeapBlock = std::size_t{32} << 20;

void prepare_start_up_heap();

}  // namespace platform
