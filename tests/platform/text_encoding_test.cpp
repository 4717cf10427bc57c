#include "platform/text_encoding.h"

#include "platform/messages.h"

#include <gtest/gtest.h>

namespace {

TEST(TextEncoding, GbkRoundTripsThroughUtf8AndUtf16)
{
    // "光棍证" in GBK.
    const std::string gbk = "\xB9\xE2\xB9\xF7\xD6\xA4";
    EXPECT_EQ(platform::gbk_from_utf8("光棍证"), gbk);
    EXPECT_EQ(platform::utf8_from_gbk(gbk), "光棍证");
    EXPECT_EQ(platform::utf16_from_gbk(gbk), u"光棍证");
    EXPECT_EQ(platform::gbk_from_utf16(u"光棍证"), gbk);
    EXPECT_EQ(platform::utf8_from_gbk(""), "");
}

TEST(TextEncoding, EveryUnicodeCharacterRoundTripsAndGbkKeepsItsBytes)
{
    struct Case {
        const char* utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {"光", "\xB9\xE2"},                  // GBK: its GBK bytes
        {"䶮", "\xFE\x9F"},                  // outside GBK's Unicode mapping, two bytes
        {"\U0001F600", "\x94\x39\xFC\x36"},  // an emoji: four bytes
        {"Ü", "\x81\x30\x89\x35"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(platform::gbk_from_utf8(c.utf8), c.bytes);
        EXPECT_EQ(platform::utf8_from_gbk(c.bytes), c.utf8);
        EXPECT_EQ(platform::gbk_from_utf16(platform::utf16_from_gbk(c.bytes)), c.bytes);
        EXPECT_EQ(platform::runtime_file_name(platform::os_file_name(c.bytes)), c.bytes);
    }
    // Only input that is not well formed is replaced.
    EXPECT_EQ(platform::utf8_from_gbk("A\xB9"), "A\xEF\xBF\xBD");
    EXPECT_EQ(platform::gbk_from_utf8("a\xF0\x9F"
                                      "b"),
              "a?b");
}

TEST(TextEncoding, WalkingAndCuttingNeverSplitACharacter)
{
    const std::string emoji = "\x94\x39\xFC\x36";
    EXPECT_EQ(platform::multibyte_character_length("a"), 1u);
    EXPECT_EQ(platform::multibyte_character_length("\xB9\xE2"), 2u);
    EXPECT_EQ(platform::multibyte_character_length(emoji), 4u);
    EXPECT_EQ(platform::multibyte_character_length("\xB9"), 1u);          // a lone lead byte
    EXPECT_EQ(platform::multibyte_character_length("\x94\x39\xFC"), 2u);  // a cut four-byte form

    // "ab" + emoji + "光": cuts land before the emoji until all four of its bytes fit.
    const std::string text = "ab" + emoji + "\xB9\xE2";
    EXPECT_EQ(platform::cut_at_character(text, 5), "ab");
    EXPECT_EQ(platform::cut_at_character(text, 6), "ab" + emoji);
    EXPECT_EQ(platform::cut_at_character(text, 7), "ab" + emoji);
    EXPECT_EQ(platform::cut_at_character(text, 99), text);

    // Character messages carry the whole character.
    EXPECT_EQ(platform::gbk_char_code(emoji), 0x9439FC36u);
    EXPECT_EQ(platform::gbk_from_char_code(0x9439FC36u), emoji);
    EXPECT_EQ(platform::gbk_from_char_code(platform::gbk_char_code("\xB9\xE2")), "\xB9\xE2");
}

}  // namespace
