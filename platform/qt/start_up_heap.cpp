#include "platform/qt/start_up_heap_qt.h"

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#endif

namespace platform {

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
namespace {

// Older C library headers lack the name; older kernels refuse the request, which then changes
// nothing.
#ifndef MADV_POPULATE_WRITE
constexpr int MADV_POPULATE_WRITE = 23;
#endif

std::uintptr_t program_break()
{
    return reinterpret_cast<std::uintptr_t>(::sbrk(0));
}

}  // namespace

void prepare_start_up_heap()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    // Grow the heap once by the whole amount: a block of that size, taken from the heap and given
    // back, leaves it at the top, and the top padding keeps it there.
    if (mallopt(M_TOP_PAD, static_cast<int>(kStartUpHeapBytes)) != 1 ||
        mallopt(M_MMAP_THRESHOLD, static_cast<int>(kLargestHeapBlock)) != 1)
        return;
    std::uintptr_t before = program_break();
    void* block = std::malloc(kStartUpHeapBytes);
    // The compiler would otherwise leave out a block nobody reads.
    asm volatile("" : : "r"(block) : "memory");
    std::free(block);
    std::uintptr_t after = program_break();
    if (!block || before == static_cast<std::uintptr_t>(-1) || after <= before)
        return;
    auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    std::uintptr_t end = after & ~(page - 1);
    std::uintptr_t begin = std::max((before + page - 1) & ~(page - 1), end - std::min(end, kStartUpHeapBytes));
    if (begin < end)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}
#else
void prepare_start_up_heap()
{
}
#endif

}  // namespace platform
