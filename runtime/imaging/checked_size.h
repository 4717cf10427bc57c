#pragma once
// Overflow-checked size arithmetic for the decoders. Every size that comes from a file goes through
// these before anything is allocated or indexed with it.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace runtime::imaging {

// The largest pixel block a decoder will allocate. A photo for a certificate is a few megabytes; a
// header that asks for more than this is either hostile or useless to us, and refusing it keeps a
// 60000 x 60000 declaration from taking gigabytes.
inline constexpr std::size_t kMaxPixelBlockBytes = std::size_t{512} * 1024 * 1024;

inline std::optional<std::size_t> checked_multiply(std::size_t a, std::size_t b)
{
    std::size_t product = 0;
    if (__builtin_mul_overflow(a, b, &product))
        return std::nullopt;
    return product;
}

inline std::optional<std::size_t> checked_add(std::size_t a, std::size_t b)
{
    std::size_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return std::nullopt;
    return sum;
}

// a x b x c, or none on overflow.
inline std::optional<std::size_t> checked_multiply(std::size_t a, std::size_t b, std::size_t c)
{
    auto ab = checked_multiply(a, b);
    if (!ab)
        return std::nullopt;
    return checked_multiply(*ab, c);
}

// `value` rounded up to a multiple of `alignment` (a power of two), or none on overflow.
inline std::optional<std::size_t> checked_align_up(std::size_t value, std::size_t alignment)
{
    auto padded = checked_add(value, alignment - 1);
    if (!padded)
        return std::nullopt;
    return *padded & ~(alignment - 1);
}

// Bytes of a row of `width` pixels at `bits_per_pixel`, padded to a multiple of `alignment` bytes.
inline std::optional<std::size_t> checked_row_bytes(std::size_t width, std::size_t bits_per_pixel,
                                                    std::size_t alignment)
{
    auto bits = checked_multiply(width, bits_per_pixel);
    if (!bits)
        return std::nullopt;
    auto bytes = checked_add(*bits, 7);
    if (!bytes)
        return std::nullopt;
    return checked_align_up(*bytes / 8, alignment);
}

// A pixel block size that a decoder may allocate: the product fits and stays within the cap.
inline std::optional<std::size_t> checked_block_size(std::size_t row_bytes, std::size_t rows, std::size_t extra = 0)
{
    auto body = checked_multiply(row_bytes, rows);
    if (!body)
        return std::nullopt;
    auto total = checked_add(*body, extra);
    if (!total || *total > kMaxPixelBlockBytes)
        return std::nullopt;
    return total;
}

}  // namespace runtime::imaging
