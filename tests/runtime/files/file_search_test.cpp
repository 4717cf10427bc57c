#include "runtime/files/file_search.h"

#include "platform/text_encoding.h"
#include "runtime/boundary/entry_table.h"
#include "runtime/boundary/heap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace Service = runtime::Service;
using runtime::Word;
namespace Attribute = runtime::FileAttribute;

struct FileSearch : testing::Test {
    fs::path folder;

    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("certmaker-search-" + std::to_string(std::random_device{}()) + "-" +
                                              testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder / "sub.jpg");
        for (const char* name : {"a.JPG", "b.jpg", "c.png", ".hidden.jpg", "r.jpg", "照片.jpg"})
            std::ofstream(folder / fs::u8path(name)) << "x";
        fs::permissions(folder / "r.jpg", fs::perms::owner_write, fs::perm_options::remove);
    }
    void TearDown() override
    {
        // Windows removes no read-only file.
        std::error_code error;
        fs::permissions(folder / "r.jpg", fs::perms::owner_write, fs::perm_options::add, error);
        fs::remove_all(folder);
    }

    // The pattern as the program holds it: its own text encoding, folder included.
    std::string pattern(const char* name_utf8) const
    {
        std::u8string path = (folder / fs::u8path(name_utf8)).u8string();
        return platform::gbk_from_utf8(std::string(path.begin(), path.end()));
    }

    // One call of service 0; the answer converted back for comparison and released.
    static std::optional<std::string> next(const std::string& pattern, std::uint32_t mask, Word& handle)
    {
        Word answer = runtime::entry_table().runtime_service(
            Service::FindNextFile, reinterpret_cast<Word>(pattern.c_str()), mask, reinterpret_cast<Word>(&handle));
        if (!answer)
            return std::nullopt;
        auto* text = reinterpret_cast<char*>(answer);
        std::string name = platform::utf8_from_gbk(text);
        runtime::heap_release(text);
        return name;
    }

    // Every name one search hands out, until it runs out.
    static std::vector<std::string> all(const std::string& pattern, std::uint32_t mask)
    {
        Word handle = 0;
        std::vector<std::string> names;
        while (auto name = next(pattern, mask, handle)) {
            EXPECT_NE(handle, 0u);
            names.push_back(*name);
            if (names.size() > 20)
                break;
        }
        EXPECT_EQ(handle, 0u) << "a search that ran out leaves the caller's word at 0";
        return names;
    }
};

TEST_F(FileSearch, NamesMatchThePatternAndTheAttributeMask)
{
    using Names = std::vector<std::string>;
    struct Case {
        const char* pattern;
        std::uint32_t mask;
        Names expected;
    };
    const Case cases[] = {
        // Letters compare without case; hidden names and folders only when asked for.
        {"*.jpg", 0, {"a.JPG", "b.jpg", "r.jpg", "照片.jpg"}},
        {"*.jpg", Attribute::ReadOnly | Attribute::Archive, {"a.JPG", "b.jpg", "r.jpg", "照片.jpg"}},
        {"*.jpg", Attribute::Hidden, {".hidden.jpg", "a.JPG", "b.jpg", "r.jpg", "照片.jpg"}},
        {"*.jpg", Attribute::Folder, {"a.JPG", "b.jpg", "r.jpg", "sub.jpg", "照片.jpg"}},
        // '?' is one character, whatever its length in bytes.
        {"?.jpg", 0, {"a.JPG", "b.jpg", "r.jpg"}},
        {"??.jpg", 0, {"照片.jpg"}},
        {"*", 0, {"a.JPG", "b.jpg", "c.png", "r.jpg", "照片.jpg"}},
        {"c.png", 0, {"c.png"}},
        {"*.gif", 0, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(all(pattern(c.pattern), c.mask), c.expected) << c.pattern << " mask " << c.mask;

    EXPECT_EQ(all(pattern("missing/*"), 0), Names{});
    EXPECT_EQ(runtime::open_file_search_count(), 0u);
}

TEST_F(FileSearch, TheHandleInTheCallersWordCarriesTheSearchUntilItIsClosed)
{
    Word handle = 0;
    ASSERT_EQ(next(pattern("*.jpg"), 0, handle), "a.JPG");
    Word first = handle;
    EXPECT_NE(first, 0u);
    // While the word holds the search, the pattern of later calls does not restart it.
    EXPECT_EQ(next(pattern("*.png"), 0, handle), "b.jpg");
    EXPECT_EQ(handle, first);

    // Service 1 closes it and clears the word; the next call starts afresh.
    runtime::entry_table().runtime_service(Service::CloseFileSearch, reinterpret_cast<Word>(&handle), 0, 0);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(runtime::open_file_search_count(), 0u);
    EXPECT_EQ(next(pattern("*.png"), 0, handle), "c.png");
    EXPECT_NE(handle, first) << "handles are not reused";

    // A stale or made-up handle is not followed: it starts a new search.
    Word stale = first;
    EXPECT_EQ(next(pattern("*.png"), 0, stale), "c.png");
    runtime::close_file_search(&stale);
    runtime::close_file_search(&handle);

    // Null words and patterns answer nothing and open nothing.
    runtime::entry_table().runtime_service(Service::CloseFileSearch, 0, 0, 0);
    EXPECT_EQ(runtime::find_next_file(pattern("*").c_str(), 0, nullptr), nullptr);
    Word unused = 0;
    EXPECT_EQ(runtime::find_next_file(nullptr, 0, &unused), nullptr);
    EXPECT_EQ(runtime::find_next_file("", 0, &unused), nullptr);
    EXPECT_EQ(runtime::open_file_search_count(), 0u);
}

}  // namespace
