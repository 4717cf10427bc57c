#include "platform/text_encoding.h"

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

TEST(TextEncoding, BytesThatDoNotConvertAreReplacedNotDropped)
{
    // A lone lead byte at the end, and a character GBK cannot hold.
    EXPECT_EQ(platform::utf8_from_gbk("A\xB9"), "A\xEF\xBF\xBD");
    EXPECT_EQ(platform::gbk_from_utf8("a\xF0\x9F\x98\x80" "b"), "a?b");
}

}  // namespace
