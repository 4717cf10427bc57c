// Shared main of every test executable: the platform on Qt's offscreen platform, GoogleTest with
// death tests that re-run the executable (safe with the platform's threads).

#include "platform/application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    platform::start_platform(argc, argv, platform::Display::Offscreen);
    int result = RUN_ALL_TESTS();
    platform::stop_platform();
    return result;
}
