// Shared main of every test executable: the platform (on Linux, Qt's offscreen platform), GoogleTest
// with death tests that re-run the executable (safe with the platform's threads).

#include "platform/application.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#endif

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
#ifndef _WIN32
    // Qt wants a private runtime folder; without one it warns on every start (death tests included).
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        std::string folder = "/tmp/certmaker-tests-runtime-" + std::to_string(::getuid());
        ::mkdir(folder.c_str(), 0700);
        ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    }
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    platform::start_platform(argc, argv, platform::Display::Offscreen);
    int result = RUN_ALL_TESTS();
    platform::stop_platform();
    return result;
}
