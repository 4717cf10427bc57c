#include "runtime/files/byte_buffer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(ByteBuffer, CapacityFollowsTheSlackAndUnusedRules)
{
    runtime::ByteBuffer buffer;
    ASSERT_TRUE(buffer.resize(1000));
    EXPECT_EQ(buffer.capacity(), 1128u);  // n + 128
    std::uint8_t* block = buffer.data();

    // Still fits with no more than 256 bytes unused: the block stays.
    ASSERT_TRUE(buffer.resize(1100));
    EXPECT_EQ(buffer.capacity(), 1128u);
    ASSERT_TRUE(buffer.resize(872));  // 1128 - 872 = 256 unused
    EXPECT_EQ(buffer.capacity(), 1128u);
    EXPECT_EQ(buffer.data(), block);

    // 257 unused: reallocated to n + 128.
    ASSERT_TRUE(buffer.resize(871));
    EXPECT_EQ(buffer.capacity(), 999u);
    // Growing past the capacity: n + 128.
    ASSERT_TRUE(buffer.resize(5000));
    EXPECT_EQ(buffer.capacity(), 5128u);
    EXPECT_EQ(buffer.length(), 5000u);

    ASSERT_TRUE(buffer.resize(0));
    EXPECT_EQ(buffer.data(), nullptr);
    EXPECT_EQ(buffer.capacity(), 0u);
}

TEST(ByteBuffer, AppendCopiesAfterTheLengthOrAddsZeros)
{
    runtime::ByteBuffer buffer;
    ASSERT_TRUE(buffer.append("abc", 3));
    ASSERT_TRUE(buffer.append(nullptr, 2));
    ASSERT_TRUE(buffer.append("de", 2));
    ASSERT_EQ(buffer.length(), 7u);
    EXPECT_EQ(std::memcmp(buffer.data(), "abc\0\0de", 7), 0);
    // Content survives every reallocation.
    ASSERT_TRUE(buffer.append(nullptr, 10000));
    EXPECT_EQ(std::memcmp(buffer.data(), "abc\0\0de", 7), 0);
}

TEST(ByteBuffer, SmallBlocksComeFromThePoolAndStayWhileTheyFit)
{
    runtime::enable_small_block_pool(true);
    std::size_t before = runtime::small_block_slots_in_use();
    {
        runtime::ByteBuffer buffer;
        ASSERT_TRUE(buffer.append("xyz", 3));
        EXPECT_TRUE(buffer.in_small_block_pool());
        EXPECT_EQ(runtime::small_block_slots_in_use(), before + 1);
        std::uint8_t* slot = buffer.data();
        ASSERT_TRUE(buffer.resize(512));
        EXPECT_EQ(buffer.data(), slot);
        ASSERT_TRUE(buffer.resize(3));
        EXPECT_EQ(buffer.data(), slot);

        // Outgrowing the slot moves the content to the heap and frees the slot.
        ASSERT_TRUE(buffer.resize(513));
        EXPECT_FALSE(buffer.in_small_block_pool());
        EXPECT_EQ(std::memcmp(buffer.data(), "xyz", 3), 0);
        EXPECT_EQ(runtime::small_block_slots_in_use(), before);
    }
    // All 96 slots taken: the next small block comes from the heap.
    std::vector<runtime::ByteBuffer> buffers(runtime::kSmallBlockSlots + 1);
    for (auto& buffer : buffers)
        ASSERT_TRUE(buffer.resize(16));
    EXPECT_FALSE(buffers.back().in_small_block_pool());
    EXPECT_EQ(buffers.back().capacity(), 144u);
    buffers.clear();
    EXPECT_EQ(runtime::small_block_slots_in_use(), before);
    runtime::enable_small_block_pool(false);

    runtime::ByteBuffer unpooled;
    ASSERT_TRUE(unpooled.resize(10));
    EXPECT_FALSE(unpooled.in_small_block_pool());
}

}  // namespace
