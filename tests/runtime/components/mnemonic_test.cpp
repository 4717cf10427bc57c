#include "runtime/components/mnemonic.h"

#include "platform/messages.h"
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace runtime::components {
namespace {

TEST(MnemonicTest, MarkedCharacterOfACaption)
{
    EXPECT_EQ(mnemonic_of("&OK"), 'O');
    EXPECT_EQ(mnemonic_of("Sa&ve"), 'V');
    EXPECT_EQ(mnemonic_of("a&&b"), std::nullopt);
    EXPECT_EQ(mnemonic_of("a&&&b"), 'B');
    EXPECT_EQ(mnemonic_of("end&"), std::nullopt);
    EXPECT_EQ(mnemonic_of(""), std::nullopt);
    std::string chinese = platform::gbk_from_utf8("字体(&F)");
    EXPECT_EQ(mnemonic_of(chinese), 'F');
    std::string marked_chinese = platform::gbk_from_utf8("&字");
    ASSERT_EQ(marked_chinese.size(), 3u);
    EXPECT_EQ(mnemonic_of(marked_chinese),
              static_cast<std::uint32_t>(static_cast<unsigned char>(marked_chinese[1]) << 8 |
                                         static_cast<unsigned char>(marked_chinese[2])));
    // A character outside GBK is marked whole, by its four bytes.
    std::string marked_emoji = platform::gbk_from_utf8("&\U0001F600x");
    ASSERT_EQ(marked_emoji.size(), 6u);
    EXPECT_EQ(mnemonic_of(marked_emoji), platform::gbk_char_code(marked_emoji.substr(1, 4)));
    EXPECT_EQ(mnemonic_of(platform::gbk_from_utf8("\U0001F600&b")), 'B');
}

}  // namespace
}  // namespace runtime::components
