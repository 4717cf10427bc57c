#include "app/text_compare.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCompare, NullIsTheEmptyTextAndBytesCompareUnsigned)
{
    struct Case {
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, 0},
        {nullptr, "", 0},
        {"", nullptr, 0},
        {nullptr, "\xB9\xE2\xB9\xF7\xD6\xA4", -1},  // null against "光棍证"
        {"\xB9\xE2\xB9\xF7\xD6\xA4", nullptr, 1},
        {"\xB9", "A", 1},  // 0xB9 is greater than 0x41 as an unsigned byte
        {"A", "\xB9", -1},
        {"abc", "abc", 0},
        {"ab", "abc", -1},  // the shorter text ends first
        {"abc", "ab", 1},
        {"\xB9\xE2 ", "\xB9\xE2", 1},  // no trimming
        {"a", "A", 1},                 // no case folding
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a ? c.a : "(null)") + " vs " + (c.b ? c.b : "(null)"));
        EXPECT_EQ(app::compare_texts(c.a, c.b), c.expected);
    }
}

}  // namespace
