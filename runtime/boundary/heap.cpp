#include "runtime/boundary/heap.h"

#include "runtime/boundary/program_state.h"
#include "runtime/boundary/values.h"
#include "runtime/diagnostics/error_report.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace runtime {
namespace {

std::size_t g_request_limit = 0;

bool over_limit(std::size_t count)
{
    return g_request_limit != 0 && count > g_request_limit;
}

}  // namespace

void* heap_allocate(std::size_t count)
{
    // malloc(0) may return null; a zero-byte block is still a block the caller may release.
    void* block = over_limit(count) ? nullptr : std::malloc(count == 0 ? 1 : count);
    if (!block)
        report_allocation_failure(count);
    return block;
}

void* heap_reallocate(void* block, std::size_t count)
{
    if (!block)
        return heap_allocate(count);
    if (in_constant_pool(block)) {
        void* copy = heap_allocate(count);
        auto available = static_cast<std::size_t>(program_state().pool_end - static_cast<const std::uint8_t*>(block));
        std::memcpy(copy, block, std::min(count, available));
        return copy;
    }
    void* resized = over_limit(count) ? nullptr : std::realloc(block, count == 0 ? 1 : count);
    if (!resized)
        report_allocation_failure(count);
    return resized;
}

void heap_release(void* block)
{
    if (!block || in_constant_pool(block))
        return;
    std::free(block);
}

char* heap_copy_text(const char* text, std::size_t length)
{
    if (!text || length == 0)
        return nullptr;
    auto* copy = static_cast<char*>(heap_allocate(length + 1));
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    return copy;
}

void* heap_copy_byte_set(const void* bytes, std::size_t count)
{
    if (count == 0)
        return nullptr;
    // A byte set's count is a 32-bit field.
    if (count > static_cast<std::size_t>(INT32_MAX) - kByteSetHeaderSize)
        report_allocation_failure(count);
    auto* block = static_cast<std::uint8_t*>(heap_allocate(kByteSetHeaderSize + count));
    ByteSetHeader header{1, static_cast<std::int32_t>(count)};
    std::memcpy(block, &header, sizeof header);
    if (bytes)
        std::memcpy(block + kByteSetHeaderSize, bytes, count);
    else
        std::memset(block + kByteSetHeaderSize, 0, count);
    return block;
}

void* heap_try_allocate_byte_set(std::size_t count)
{
    if (count == 0 || count > static_cast<std::size_t>(INT32_MAX) - kByteSetHeaderSize)
        return nullptr;
    std::size_t total = kByteSetHeaderSize + count;
    auto* block = over_limit(total) ? nullptr : static_cast<std::uint8_t*>(std::malloc(total));
    if (!block)
        return nullptr;
    ByteSetHeader header{1, static_cast<std::int32_t>(count)};
    std::memcpy(block, &header, sizeof header);
    return block;
}

void set_heap_request_limit(std::size_t limit)
{
    g_request_limit = limit;
}

}  // namespace runtime
