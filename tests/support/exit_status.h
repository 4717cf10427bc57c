// The status a program that ends with -1 leaves its parent: POSIX keeps the low eight bits (255),
// Windows the whole 32-bit exit code (0xFFFFFFFF, which reads back as -1).

#pragma once

#include <gtest/gtest.h>

namespace test_support {

#ifdef _WIN32
inline constexpr int kEndedWithMinusOne = -1;
#else
inline constexpr int kEndedWithMinusOne = 255;
#endif

inline testing::ExitedWithCode ended_with_minus_one()
{
    return testing::ExitedWithCode(kEndedWithMinusOne);
}

}  // namespace test_support
