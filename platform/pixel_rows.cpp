#include "platform/pixel_rows.h"

#include "platform/processor_features.h"

#include <bit>
#include <cstring>

#ifdef CERTMAKER_ASKS_PROCESSOR_FEATURES
#include <immintrin.h>
#define CERTMAKER_PACK_WITH_SSSE3 1
#endif

namespace platform {
namespace {

// Pixels are read a word at a time in the byte order of a little-endian word.
static_assert(std::endian::native == std::endian::little);

// Eight pixels make three whole little-endian 64-bit words: blue, green, red of each in turn.
int pack_words(const std::uint32_t* pixels, int width, std::uint8_t* out)
{
    int x = 0;
    for (; x + 8 <= width; x += 8, out += 24) {
        std::uint64_t pairs[4];
        std::memcpy(pairs, pixels + x, sizeof pairs);
        constexpr std::uint64_t kColour = 0xFFFFFF;
        std::uint64_t p0 = pairs[0] & kColour, p1 = pairs[0] >> 32 & kColour;
        std::uint64_t p2 = pairs[1] & kColour, p3 = pairs[1] >> 32 & kColour;
        std::uint64_t p4 = pairs[2] & kColour, p5 = pairs[2] >> 32 & kColour;
        std::uint64_t p6 = pairs[3] & kColour, p7 = pairs[3] >> 32 & kColour;
        const std::uint64_t words[3] = {p0 | p1 << 24 | p2 << 48, p2 >> 16 | p3 << 8 | p4 << 32 | p5 << 56,
                                        p5 >> 8 | p6 << 16 | p7 << 40};
        std::memcpy(out, words, sizeof words);
    }
    return x;
}

#ifdef CERTMAKER_PACK_WITH_SSSE3
// Sixteen pixels at a time: each group of four drops its fourth bytes with one byte shuffle, and
// the four 12-byte results are joined into three 16-byte stores. Chosen at run time, since the
// processors the program is built for need not have the instruction.
__attribute__((target("ssse3"), always_inline)) inline int pack_sixteen_at_a_time(const std::uint32_t* pixels,
                                                                                  int width, std::uint8_t* out)
{
    const __m128i drop_fourth = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    for (; x + 16 <= width; x += 16, out += 48) {
        const auto* in = reinterpret_cast<const __m128i*>(pixels + x);
        __m128i a = _mm_shuffle_epi8(_mm_loadu_si128(in), drop_fourth);
        __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(in + 1), drop_fourth);
        __m128i c = _mm_shuffle_epi8(_mm_loadu_si128(in + 2), drop_fourth);
        __m128i d = _mm_shuffle_epi8(_mm_loadu_si128(in + 3), drop_fourth);
        auto* target = reinterpret_cast<__m128i*>(out);
        _mm_storeu_si128(target, _mm_or_si128(a, _mm_slli_si128(b, 12)));
        _mm_storeu_si128(target + 1, _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        _mm_storeu_si128(target + 2, _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
    }
    return x;
}

__attribute__((target("ssse3"))) int pack_shuffled(const std::uint32_t* pixels, int width, std::uint8_t* out)
{
    return pack_sixteen_at_a_time(pixels, width, out);
}

// The same instructions in their newer encoding, where the processor has it. The older encoding
// runs several times slower while the upper halves of the wide vector registers are in use, as Qt's
// drawing routines can leave them; the newer one does not care, and marks them unused on return.
__attribute__((target("avx"))) int pack_shuffled_wide(const std::uint32_t* pixels, int width, std::uint8_t* out)
{
    return pack_sixteen_at_a_time(pixels, width, out);
}
#endif

}  // namespace

void pack_bgr24_row(const std::uint32_t* pixels, int width, std::uint8_t* out)
{
    int x = 0;
#ifdef CERTMAKER_PACK_WITH_SSSE3
    if (processor_has_avx())
        x = pack_shuffled_wide(pixels, width, out);
    else if (processor_has_ssse3())
        x = pack_shuffled(pixels, width, out);
#endif
    x += pack_words(pixels + x, width - x, out + static_cast<std::size_t>(x) * 3);
    for (out += static_cast<std::size_t>(x) * 3; x < width; ++x, out += 3) {
        std::uint32_t p = pixels[x];
        out[0] = static_cast<std::uint8_t>(p);
        out[1] = static_cast<std::uint8_t>(p >> 8);
        out[2] = static_cast<std::uint8_t>(p >> 16);
    }
}

}  // namespace platform
