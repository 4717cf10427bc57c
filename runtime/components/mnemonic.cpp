#include "runtime/components/mnemonic.h"

#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace runtime::components {

std::optional<std::uint32_t> mnemonic_of(std::string_view gbk)
{
    std::size_t step = 1;
    for (std::size_t i = 0; i < gbk.size(); i += step) {
        // The later bytes of a multibyte character are never an "&".
        step = platform::multibyte_character_length(gbk.substr(i));
        if (step > 1 || gbk[i] != '&' || i + 1 >= gbk.size())
            continue;
        auto next = static_cast<unsigned char>(gbk[i + 1]);
        if (next == '&') {
            step = 2;
            continue;
        }
        std::string_view marked = gbk.substr(i + 1);
        if (platform::multibyte_character_length(marked) > 1)
            return platform::gbk_char_code(marked);
        if (next >= 'a' && next <= 'z')
            next = static_cast<unsigned char>(next - 'a' + 'A');
        return next;
    }
    return std::nullopt;
}

}  // namespace runtime::components
