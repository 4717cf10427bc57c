#include "runtime/form/byte_reader.h"

#include "runtime/form/byte_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using namespace runtime::form;

TEST(ByteReader, RunningOffTheEndSticksAndYieldsNothing)
{
    const std::uint8_t bytes[] = {0x78, 0x56, 0x34, 0x12, 0xAB, 'h', 'i'};
    ByteReader in(bytes);
    EXPECT_EQ(in.dword(), 0x12345678u);
    EXPECT_EQ(in.word(), 0x68ABu);
    EXPECT_FALSE(in.failed());
    EXPECT_EQ(in.dword(), 0u);  // 1 byte left
    EXPECT_TRUE(in.failed());
    EXPECT_EQ(in.error(), FormError::Truncated);
    EXPECT_EQ(in.byte(), 0u);  // even a read that would fit yields nothing after a failure
    EXPECT_TRUE(in.counted_text().empty());

    const std::uint8_t unterminated[] = {'a', 'b', 'c'};
    ByteReader text(unterminated, FormError::RecordOverrun);
    EXPECT_EQ(text.zero_terminated_text(), "");
    EXPECT_EQ(text.error(), FormError::RecordOverrun);

    const std::uint8_t counted[] = {5, 0, 0, 0, 'a', 'b'};
    ByteReader short_text(counted);
    EXPECT_EQ(short_text.counted_text(), "");
    EXPECT_TRUE(short_text.failed());
}

TEST(ByteReader, TextListsUseTheEscapedCountFromFFFFOn)
{
    ByteWriter out;
    std::vector<std::string> few = {"a", "", "bc"};
    out.text_list(few);
    std::vector<std::string> many(0x10001, "x");
    many[0x10000] = "last";
    out.text_list(many);
    // A short list whose count is stored the long way reads the same.
    out.word(0xFFFF);
    out.dword(1);
    out.counted_text("one");

    ByteReader in(out.data());
    EXPECT_EQ(in.text_list(), few);
    EXPECT_EQ(in.text_list(), many);
    EXPECT_EQ(in.text_list(), std::vector<std::string>{"one"});
    EXPECT_TRUE(in.at_end());
    EXPECT_FALSE(in.failed());

    // A count that no remaining bytes could hold fails before anything is allocated.
    const std::uint8_t huge[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0};
    ByteReader bad(huge);
    EXPECT_TRUE(bad.text_list().empty());
    EXPECT_EQ(bad.error(), FormError::CountOverrun);
}

TEST(ByteReader, FontsAreEmptyOrSixtyBytesKeptWhole)
{
    platform::LogFont font;
    font.height = -10;
    font.weight = 400;
    font.char_set = 134;
    std::memcpy(font.face_name, "face\0junk after", 15);
    ByteWriter out;
    out.font(font);
    out.font(std::nullopt);
    out.counted_bytes(std::vector<std::uint8_t>(59, 0));

    ByteReader in(out.data());
    auto read = in.font();
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(std::memcmp(&*read, &font, sizeof font), 0);  // bytes after the face name's 0 are kept
    EXPECT_FALSE(in.font().has_value());
    EXPECT_FALSE(in.failed());
    EXPECT_FALSE(in.font().has_value());
    EXPECT_EQ(in.error(), FormError::FontLength);
}

TEST(ByteReader, SizeHelpersRefuseOverflow)
{
    constexpr auto max = std::numeric_limits<std::size_t>::max();
    EXPECT_EQ(checked_multiply(max / 2, 2), max - 1);
    EXPECT_FALSE(checked_multiply(max / 2 + 1, 2).has_value());
    EXPECT_EQ(checked_multiply(0, max), 0u);
    EXPECT_FALSE(checked_add(max, 1).has_value());
    EXPECT_EQ(checked_add(max - 1, 1), max);
}
