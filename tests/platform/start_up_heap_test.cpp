// The heap a start takes is made present in one step when the platform starts: the first blocks the
// window asks for (a face's glyph tables, the backing store, a template) find their pages already
// there instead of faulting each one in. Checked in a fresh process, this program run again for one
// test, since the blocks this process has already freed and taken back would prove nothing.

#include "tests/support/process.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace platform_test {
namespace {

constexpr const char* kChildVariable = "CERTMAKER_START_UP_HEAP_CHILD";
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizersOwnTheHeap = true;
#else
constexpr bool kSanitizersOwnTheHeap = false;
#endif

// Pages of [block, block + bytes) that are present, and how many lie wholly inside it.
std::pair<std::size_t, std::size_t> present_pages(const void* block, std::size_t bytes)
{
    auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    auto first = (reinterpret_cast<std::uintptr_t>(block) + page - 1) & ~(page - 1);
    auto end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(page - 1);
    std::size_t count = (end - first) / page;
    std::vector<unsigned char> flags(count);
    if (::mincore(reinterpret_cast<void*>(first), end - first, flags.data()) != 0)
        return {0, count};
    std::size_t present = 0;
    for (unsigned char flag : flags)
        present += flag & 1u;
    return {present, count};
}

// Linux 5.14 and later; earlier kernels refuse the request.
bool kernel_makes_pages_present()
{
#ifdef MADV_POPULATE_WRITE
    auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    void* probe = ::mmap(nullptr, page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (probe == MAP_FAILED)
        return false;
    bool made = ::madvise(probe, page, MADV_POPULATE_WRITE) == 0;
    ::munmap(probe, page);
    return made;
#else
    return false;
#endif
}

TEST(StartUpHeap, ChildFindsItsFirstBlocksPresent)
{
    if (!std::getenv(kChildVariable))
        GTEST_SKIP() << "run as a child by StartUpHeap.FirstBlocksOfAFreshProcessNeedNoPageFaults";
    // As large as one face's glyph offsets, and as the window's backing store. Both are kept until
    // the end: a block given back would be handed out again to the next one.
    std::vector<std::unique_ptr<void, decltype(&std::free)>> blocks;
    for (std::size_t bytes : {std::size_t{512} << 10, std::size_t{680} << 10}) {
        blocks.emplace_back(std::malloc(bytes), &std::free);
        ASSERT_NE(blocks.back(), nullptr);
        auto [present, pages] = present_pages(blocks.back().get(), bytes);
        EXPECT_EQ(present, pages) << bytes / 1024 << " KB block";
    }
}

TEST(StartUpHeap, FirstBlocksOfAFreshProcessNeedNoPageFaults)
{
    if (kSanitizersOwnTheHeap)
        GTEST_SKIP() << "the sanitizers' allocator keeps its own heap";
    if (std::getenv(kChildVariable))
        GTEST_SKIP() << "a child run";
    if (!kernel_makes_pages_present())
        GTEST_SKIP() << "this kernel cannot make pages present in advance; the platform starts without it";
    ::setenv(kChildVariable, "1", 1);
    test_support::ProcessRequest request;
    request.program = std::filesystem::read_symlink("/proc/self/exe");
    request.arguments = {"--gtest_filter=StartUpHeap.ChildFindsItsFirstBlocksPresent"};
    request.errors = test_support::ErrorOutput::WithOutput;
    test_support::ProcessRun run = test_support::run_process(request);
    ::unsetenv(kChildVariable);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exit_code, 0) << run.output;
}

}  // namespace
}  // namespace platform_test
