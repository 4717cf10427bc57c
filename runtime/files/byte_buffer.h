#pragma once
// The runtime's growable byte block: picture storage, file reading and the window snapshot collect
// bytes in it.
//
// Allocating n bytes takes n + 128 from the process heap. Resizing to n keeps the block when its
// capacity is at least n and no more than 256 bytes would be left unused, otherwise reallocates to
// n + 128; resizing to 0 frees it. When the small-block pool is enabled, blocks of up to 512 bytes
// come from 96 shared slots of 512 bytes and stay in their slot on every resize that still fits.

#include <cstddef>
#include <cstdint>

namespace runtime {

class ByteBuffer {
public:
    ByteBuffer() = default;
    ~ByteBuffer();
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;
    ByteBuffer(ByteBuffer&& other) noexcept;
    ByteBuffer& operator=(ByteBuffer&& other) noexcept;

    // False when memory could not be had; the buffer is then unchanged.
    [[nodiscard]] bool resize(std::size_t length);
    // Copies `count` bytes after the current length, or appends zero bytes when `bytes` is null.
    [[nodiscard]] bool append(const void* bytes, std::size_t count);
    void clear() { (void)resize(0); }

    std::uint8_t* data() { return m_data; }
    const std::uint8_t* data() const { return m_data; }
    std::size_t length() const { return m_length; }
    std::size_t capacity() const { return m_capacity; }
    bool in_small_block_pool() const { return m_pooled; }

private:
    void release_block();

    std::uint8_t* m_data = nullptr;
    std::size_t m_capacity = 0;
    std::size_t m_length = 0;
    bool m_pooled = false;
};

inline constexpr std::size_t kByteBufferSlack = 128;
inline constexpr std::size_t kByteBufferMaxUnused = 256;
inline constexpr std::size_t kSmallBlockSize = 512;
inline constexpr std::size_t kSmallBlockSlots = 96;

// The shared pool of small blocks is off until enabled; blocks already handed out stay valid
// after it is disabled.
void enable_small_block_pool(bool enabled);
std::size_t small_block_slots_in_use();

}  // namespace runtime
