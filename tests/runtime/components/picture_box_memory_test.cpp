// Shown in the picture box, a tiny file that declares a huge picture costs memory by the size of the
// box, not by the size it declares. Each file is shown in a child process of its own (this program
// run again for one test), and the child's peak resident memory, from the kernel's accounting of the
// finished child, is set against a child that goes through the same steps with no picture. Under
// the sanitizers their own overhead is in both figures alike.

#include "runtime/components/picture_box.h"

#include "platform/message_loop.h"
#include "platform/native_window.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace runtime::components {
namespace {

constexpr const char* kPictureVariable = "CERTMAKER_SHOWN_PICTURE";
constexpr const char* kModeVariable = "CERTMAKER_SHOWN_MODE";
constexpr long kAllowedGrowthKilobytes = 150L * 1024;

// The child: a 200 x 160 box in the given display mode shows the file (an empty path: nothing) and
// paints it once.
TEST(PictureBoxMemory, ChildShowsOnePicture)
{
    const char* path = std::getenv(kPictureVariable);
    const char* mode = std::getenv(kModeVariable);
    if (!path || !mode)
        GTEST_SKIP() << "run as a child by PictureBoxMemory.HugeDeclaredPicturesCostWhatTheBoxShows";
    std::vector<std::uint8_t> bytes;
    if (*path) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_FALSE(bytes.empty());
    }
    constexpr const char* kParentClass = "PictureBoxMemoryParent";
    platform::register_window_class(kParentClass, platform::ClassInfo{});
    platform::CreateParams params;
    params.class_name = kParentClass;
    params.style = platform::WS_POPUP | platform::WS_VISIBLE;
    params.width = 300;
    params.height = 300;
    platform::WindowHandle parent = platform::create_window(params);
    ASSERT_NE(parent, 0);
    CreateRequest request;
    request.style_bits = platform::WS_VISIBLE;
    request.parent = parent;
    request.child_id = 1;
    request.width = 200;
    request.height = 160;
    request.window = 0x52010001;
    request.control = 0x16010001;
    auto create = reinterpret_cast<CreateOperation>(picture_box_kind().interface_function(Interface::Create));
    auto* box = static_cast<PictureBox*>(create(request));
    ASSERT_NE(box, nullptr);
    box->property_changed(PictureBoxProperty::DisplayMode, PropertyData{static_cast<Word>(std::atoi(mode)), 0});
    box->property_changed(PictureBoxProperty::Picture,
                          PropertyData{reinterpret_cast<Word>(bytes.data()), static_cast<Word>(bytes.size())});
    platform::process_waiting_messages();
    platform::update_window(box->handle());
    platform::destroy_window(parent);
    platform::process_waiting_messages();
}

// Peak resident kilobytes of a child showing `path` in `mode`; -1 when it failed.
long child_peak_kilobytes(const std::string& path, int mode)
{
    std::vector<std::string> variables;
    for (char** entry = environ; *entry; ++entry)
        variables.emplace_back(*entry);
    variables.push_back(std::string(kPictureVariable) + "=" + path);
    variables.push_back(std::string(kModeVariable) + "=" + std::to_string(mode));
    std::vector<char*> envp;
    envp.reserve(variables.size() + 1);
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string filter = "--gtest_filter=PictureBoxMemory.ChildShowsOnePicture";
    char* argv[] = {program.data(), filter.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

TEST(PictureBoxMemory, HugeDeclaredPicturesCostWhatTheBoxShows)
{
    if (std::getenv(kPictureVariable))
        GTEST_SKIP() << "a child run";
    std::filesystem::path folder = std::filesystem::path(CERTMAKER_SOURCE_DIR) / "tests/runtime/imaging/shown";
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".py")
            files.push_back(entry.path().string());
    }
    ASSERT_GE(files.size(), 5u);
    // Natural size, stretched, fitted.
    for (int mode : {0, 1, 2}) {
        long idle = child_peak_kilobytes("", mode);
        ASSERT_GT(idle, 0) << "mode " << mode;
        for (const std::string& file : files) {
            long peak = child_peak_kilobytes(file, mode);
            EXPECT_GT(peak, 0) << file;
            EXPECT_LT(peak - idle, kAllowedGrowthKilobytes)
                << std::filesystem::path(file).filename().string() << " in mode " << mode << ": " << peak / 1024
                << " MB against " << idle / 1024 << " MB idle";
            std::printf("[ memory   ] mode %d %-28s peak %6.1f MB, idle %6.1f MB\n", mode,
                        std::filesystem::path(file).filename().string().c_str(), peak / 1024.0, idle / 1024.0);
        }
    }
}

}  // namespace
}  // namespace runtime::components
