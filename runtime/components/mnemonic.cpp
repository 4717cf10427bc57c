#include "runtime/components/mnemonic.h"

namespace runtime::components {

std::optional<std::uint32_t> mnemonic_of(std::string_view gbk)
{
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        auto byte = static_cast<unsigned char>(gbk[i]);
        if (byte >= 0x81 && i + 1 < gbk.size()) {
            ++i;  // the trail byte of a double-byte character is never an "&"
            continue;
        }
        if (byte != '&' || i + 1 >= gbk.size())
            continue;
        auto next = static_cast<unsigned char>(gbk[i + 1]);
        if (next == '&') {
            ++i;
            continue;
        }
        if (next >= 0x81 && i + 2 < gbk.size())
            return static_cast<std::uint32_t>(next << 8 | static_cast<unsigned char>(gbk[i + 2]));
        if (next >= 'a' && next <= 'z')
            next = static_cast<unsigned char>(next - 'a' + 'A');
        return next;
    }
    return std::nullopt;
}

}  // namespace runtime::components
