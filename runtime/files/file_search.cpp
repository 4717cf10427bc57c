#include "runtime/files/file_search.h"

#include "platform/file_system.h"
#include "runtime/boundary/heap.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

namespace runtime {
namespace {

// A search takes its matches when it starts and hands them out in name order, so that a folder
// changing meanwhile cannot make it repeat or skip a name.
struct Search {
    std::vector<std::string> names;  // the program's text encoding
    std::size_t next = 0;
};

// A program that never closes its searches cannot make the runtime hold more than this many.
constexpr std::size_t kMaxOpenSearches = 64;

std::map<Word, Search>& searches()
{
    static std::map<Word, Search> table;
    return table;
}

// Handles are never reused, so a stale handle in a caller's word finds nothing.
Word g_next_handle = 1;

// UTF-8 to code points; a byte that does not start a valid sequence stands for itself.
std::u32string code_points(const std::string& utf8)
{
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        char32_t value = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= utf8.size();
        for (int k = 1; valid && k < length; ++k) {
            auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            value = (value << 6) | (next & 0x3F);
        }
        if (!valid) {
            out.push_back(lead);
            ++i;
            continue;
        }
        out.push_back(value);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

char32_t fold(char32_t c)
{
    return (c >= U'A' && c <= U'Z') ? c - U'A' + U'a' : c;
}

// '*' any run, '?' one character; iterative, with one backtracking point, so no pattern can make it
// take more than length(pattern) x length(name) steps.
bool wildcard_match(const std::u32string& pattern, const std::u32string& name)
{
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::u32string::npos;
    std::size_t star_name = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || fold(pattern[p]) == fold(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            star = p++;
            star_name = n;
        } else if (star != std::u32string::npos) {
            p = star + 1;
            n = ++star_name;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}

std::uint32_t attributes_of(const std::filesystem::directory_entry& entry, const std::string& name)
{
    std::error_code error;
    std::uint32_t attributes = 0;
    if (entry.is_directory(error))
        attributes |= FileAttribute::Folder;
    else if (!entry.is_regular_file(error))
        attributes |= FileAttribute::System;  // devices, pipes, sockets
    if (!name.empty() && name[0] == '.')
        attributes |= FileAttribute::Hidden;
    auto permissions = entry.status(error).permissions();
    if (!error && (permissions & std::filesystem::perms::owner_write) == std::filesystem::perms::none)
        attributes |= FileAttribute::ReadOnly;
    return attributes;
}

std::vector<std::string> matching_names(const std::string& pattern_text, std::uint32_t mask)
{
    // The pattern is split as a path (at '/', and on Windows at '\\' too) once it is in the file
    // system's form, where a separator byte can be nothing else.
    std::filesystem::path pattern = platform::file_system_path(pattern_text);
    std::filesystem::path folder = pattern.has_parent_path() ? pattern.parent_path() : std::filesystem::path(".");
    std::u8string name_pattern = pattern.filename().u8string();
    std::u32string wanted = code_points(std::string(name_pattern.begin(), name_pattern.end()));
    constexpr std::uint32_t kOnlyWhenAsked = FileAttribute::Hidden | FileAttribute::System | FileAttribute::Folder;

    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error)
        return names;
    for (auto it = std::filesystem::begin(entries); it != std::filesystem::end(entries); it.increment(error)) {
        if (error)
            break;
        std::u8string utf8_name = it->path().filename().u8string();
        std::string name(utf8_name.begin(), utf8_name.end());
        if (!wildcard_match(wanted, code_points(name)))
            continue;
        std::uint32_t attributes = attributes_of(*it, name);
        if ((attributes & kOnlyWhenAsked & ~mask) != 0)
            continue;
        names.push_back(platform::runtime_name_of_path(it->path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

char* find_next_file(const char* pattern, std::uint32_t attributes, Word* handle)
{
    if (!handle)
        return nullptr;
    auto found = searches().find(*handle);
    if (found == searches().end()) {
        *handle = 0;
        if (!pattern || !*pattern || searches().size() >= kMaxOpenSearches)
            return nullptr;
        Word fresh = g_next_handle++;
        found = searches().emplace(fresh, Search{matching_names(pattern, attributes), 0}).first;
        *handle = fresh;
    }
    Search& search = found->second;
    if (search.next >= search.names.size()) {
        searches().erase(found);
        *handle = 0;
        return nullptr;
    }
    const std::string& name = search.names[search.next++];
    return heap_copy_text(name.c_str(), name.size());
}

void close_file_search(Word* handle)
{
    if (!handle || *handle == 0)
        return;
    searches().erase(*handle);
    *handle = 0;
}

std::size_t open_file_search_count()
{
    return searches().size();
}

}  // namespace runtime
