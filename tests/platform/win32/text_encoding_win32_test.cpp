// Windows' conversions give the Linux build's bytes, with or without code page 54936 on the system
// (Wine has none: four-byte codes are then computed).

#include "platform/file_system.h"
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace {

TEST(Win32TextEncoding, FourByteCharactersBrokenInputAndNamesConvertAsOnLinux)
{
    const std::string emoji = "\x94\x39\xFC\x36";  // U+1F600
    EXPECT_EQ(platform::gbk_from_utf8("\U0001F600"), emoji);
    EXPECT_EQ(platform::utf16_from_gbk(emoji), u"\U0001F600");
    EXPECT_EQ(platform::gbk_from_utf8("\xB9\xE2"), "??");  // GBK bytes are no UTF-8: a stray byte, a cut lead
    EXPECT_EQ(platform::gbk_from_utf8("a\xF0\x9F"
                                      "b"),
              "a?b");
    EXPECT_EQ(platform::gbk_from_utf16(std::u16string(u"x") + char16_t(0xD800) + u"y"), "x?y");
    EXPECT_EQ(platform::utf8_from_gbk("A\xB9"), "A\xEF\xBF\xBD");

    // A file name reaches the wide calls as its UTF-16.
    const std::string name = "\xB9\xE2" + emoji + ".bmp";
    EXPECT_EQ(platform::file_system_path(name).wstring(), L"光\U0001F600.bmp");
    EXPECT_EQ(platform::runtime_name_of_path(platform::file_system_path(name)), name);
}

}  // namespace
