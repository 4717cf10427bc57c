#include "runtime/boundary/heap.h"

#include "platform/dialogs.h"
#include "runtime/boundary/program_state.h"
#include "tests/support/exit_status.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

// A constant pool of our own: 64 known bytes.
struct PoolFixture : testing::Test {
    std::array<std::uint8_t, 64> pool{};
    runtime::ProgramHeader header{};

    void SetUp() override
    {
        for (std::size_t i = 0; i < pool.size(); ++i)
            pool[i] = static_cast<std::uint8_t>(i + 1);
        header.constant_pool = reinterpret_cast<runtime::Word>(pool.data());
        header.constant_pool_size = pool.size();
        runtime::adopt_program_header(header);
    }
    void TearDown() override { runtime::adopt_program_header(runtime::ProgramHeader{}); }
};

TEST_F(PoolFixture, ReleaseIgnoresNullAndEveryPointerIntoThePool)
{
    runtime::heap_release(nullptr);
    runtime::heap_release(pool.data());
    runtime::heap_release(pool.data() + 17);
    runtime::heap_release(pool.data() + pool.size() - 1);
    // Had any of them been freed, the sanitizers (and the allocator) would object; the pool is intact.
    EXPECT_EQ(pool[17], 18);
    EXPECT_TRUE(runtime::in_constant_pool(pool.data()));
    EXPECT_FALSE(runtime::in_constant_pool(pool.data() + pool.size()));
}

TEST_F(PoolFixture, ReallocatingAPoolPointerCopiesWhatThePoolHoldsAndLeavesItAlone)
{
    std::uint8_t* near_end = pool.data() + pool.size() - 10;
    auto* copy = static_cast<std::uint8_t*>(runtime::heap_reallocate(near_end, 100));
    ASSERT_NE(copy, near_end);
    EXPECT_EQ(std::memcmp(copy, near_end, 10), 0);
    copy[0] = 0;
    EXPECT_EQ(near_end[0], 55);

    // Shrinking copies only what is asked for.
    auto* small = static_cast<std::uint8_t*>(runtime::heap_reallocate(pool.data(), 3));
    EXPECT_EQ(small[0], 1);
    EXPECT_EQ(small[2], 3);
    runtime::heap_release(small);
    runtime::heap_release(copy);
}

TEST_F(PoolFixture, ReallocatingNullAllocatesAndHeapBlocksKeepTheirContent)
{
    auto* block = static_cast<char*>(runtime::heap_reallocate(nullptr, 4));
    std::memcpy(block, "abc", 4);
    block = static_cast<char*>(runtime::heap_reallocate(block, 4096));
    EXPECT_STREQ(block, "abc");
    runtime::heap_release(block);
}

TEST(HeapCopies, EmptyTextsAndByteSetsComeBackAsNull)
{
    EXPECT_EQ(runtime::heap_copy_text("", 0), nullptr);
    EXPECT_EQ(runtime::heap_copy_byte_set("x", 0), nullptr);
    char* text = runtime::heap_copy_text("abc", 2);
    EXPECT_STREQ(text, "ab");
    runtime::heap_release(text);
    void* bytes = runtime::heap_copy_byte_set("xyz", 3);
    EXPECT_EQ(static_cast<runtime::ByteSetHeader*>(bytes)->dimensions, 1);
    EXPECT_EQ(runtime::byte_set_count(bytes), 3);
    EXPECT_EQ(std::memcmp(runtime::byte_set_data(bytes), "xyz", 3), 0);
    runtime::heap_release(bytes);
}

TEST(HeapDeathTest, ExhaustionReportsTheRequestedCountAndEndsWithMinusOne)
{
    EXPECT_EXIT(
        {
            platform::ScriptedDialogService dialogs;
            platform::set_dialog_service(&dialogs);
            runtime::set_heap_request_limit(1000);
            runtime::heap_allocate(100000);
        },
        test_support::ended_with_minus_one(), "分配 100000 字节内存失败!");
}

}  // namespace
