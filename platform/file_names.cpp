#include "platform/file_system.h"

#include "platform/text_encoding.h"

namespace platform {

// A path made from char8_t text is UTF-8 on every system: the library converts it to the wide form
// on Windows and keeps the bytes on Linux.
std::filesystem::path file_system_path(std::string_view name)
{
    std::string utf8 = os_file_name(name);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string runtime_name_of_path(const std::filesystem::path& path)
{
    std::u8string utf8 = path.u8string();
    return runtime_file_name(std::string(utf8.begin(), utf8.end()));
}

}  // namespace platform
