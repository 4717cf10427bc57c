#include "runtime/files/byte_buffer.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

namespace runtime {
namespace {

struct SmallBlockPool {
    std::mutex mutex;
    bool enabled = false;
    std::array<bool, kSmallBlockSlots> used{};
    alignas(16) std::array<std::array<std::uint8_t, kSmallBlockSize>, kSmallBlockSlots> slots{};

    std::uint8_t* take()
    {
        std::lock_guard lock(mutex);
        if (!enabled)
            return nullptr;
        for (std::size_t i = 0; i < kSmallBlockSlots; ++i) {
            if (!used[i]) {
                used[i] = true;
                return slots[i].data();
            }
        }
        return nullptr;
    }

    void give_back(std::uint8_t* block)
    {
        std::lock_guard lock(mutex);
        auto index = static_cast<std::size_t>(block - slots[0].data()) / kSmallBlockSize;
        used[index] = false;
    }

    std::size_t in_use()
    {
        std::lock_guard lock(mutex);
        std::size_t count = 0;
        for (bool slot : used)
            count += slot ? 1 : 0;
        return count;
    }
};

SmallBlockPool& pool()
{
    static SmallBlockPool instance;
    return instance;
}

}  // namespace

ByteBuffer::~ByteBuffer()
{
    release_block();
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr))
    , m_capacity(std::exchange(other.m_capacity, 0))
    , m_length(std::exchange(other.m_length, 0))
    , m_pooled(std::exchange(other.m_pooled, false))
{
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept
{
    if (this != &other) {
        release_block();
        m_data = std::exchange(other.m_data, nullptr);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_length = std::exchange(other.m_length, 0);
        m_pooled = std::exchange(other.m_pooled, false);
    }
    return *this;
}

void ByteBuffer::release_block()
{
    if (m_data) {
        if (m_pooled)
            pool().give_back(m_data);
        else
            std::free(m_data);
    }
    m_data = nullptr;
    m_capacity = 0;
    m_length = 0;
    m_pooled = false;
}

bool ByteBuffer::resize(std::size_t length)
{
    if (length == 0) {
        release_block();
        return true;
    }
    if (m_pooled && length <= kSmallBlockSize) {
        m_length = length;
        return true;
    }
    if (m_data && !m_pooled && m_capacity >= length && m_capacity - length <= kByteBufferMaxUnused) {
        m_length = length;
        return true;
    }
    if (length <= kSmallBlockSize) {
        if (std::uint8_t* slot = pool().take()) {
            if (m_data)
                std::memcpy(slot, m_data, m_length < length ? m_length : length);
            release_block();
            m_data = slot;
            m_capacity = kSmallBlockSize;
            m_length = length;
            m_pooled = true;
            return true;
        }
    }
    if (length > SIZE_MAX - kByteBufferSlack)
        return false;
    std::size_t capacity = length + kByteBufferSlack;
    std::uint8_t* block = nullptr;
    if (m_data && !m_pooled) {
        block = static_cast<std::uint8_t*>(std::realloc(m_data, capacity));
        if (!block)
            return false;
    } else {
        block = static_cast<std::uint8_t*>(std::malloc(capacity));
        if (!block)
            return false;
        if (m_data) {
            std::memcpy(block, m_data, m_length < length ? m_length : length);
            pool().give_back(m_data);
        }
    }
    m_data = block;
    m_capacity = capacity;
    m_length = length;
    m_pooled = false;
    return true;
}

bool ByteBuffer::append(const void* bytes, std::size_t count)
{
    if (count == 0)
        return true;
    std::size_t old_length = m_length;
    if (count > SIZE_MAX - old_length || !resize(old_length + count))
        return false;
    if (bytes)
        std::memcpy(m_data + old_length, bytes, count);
    else
        std::memset(m_data + old_length, 0, count);
    return true;
}

void enable_small_block_pool(bool enabled)
{
    std::lock_guard lock(pool().mutex);
    pool().enabled = enabled;
}

std::size_t small_block_slots_in_use()
{
    return pool().in_use();
}

}  // namespace runtime
