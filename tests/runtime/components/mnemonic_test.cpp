#include "runtime/components/mnemonic.h"

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
}

}  // namespace
}  // namespace runtime::components
