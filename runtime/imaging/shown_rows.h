#pragma once
// Keeping only what is shown of a picture while it is decoded. Rows go in one at a time, in the
// order the file stores them, and are either averaged down to the size the picture is drawn at or
// cut to the part a natural-size box shows; no row is kept once it has gone in, so memory follows
// the size shown, not the size the file declares.
//
// The averaging is the platform's halftone shrinking to the last bit (the same whole-number
// weights, the same rounding), so a picture reduced here is drawn exactly as the whole picture
// converted and shrunk at paint time would be.

#include "runtime/imaging/decoded_picture.h"

#include "platform/graphics.h"
#include "platform/pixel_scaling.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace runtime::imaging {

// What a decoder keeps of a width x height picture shown as `shown`: none when it keeps it all
// (shown whole, or the picture is no larger than what is shown).
struct KeptSize {
    ShownAs as = ShownAs::Whole;
    int width = 0;
    int height = 0;
};
std::optional<KeptSize> kept_size(const ShownSize& shown, int width, int height);

class ShownRows {
public:
    // Rows of width x height, handed in top row first or bottom row first as `order` says, kept as
    // `kept` says. None when memory is short.
    static std::optional<ShownRows> create(int width, int height, KeptSize kept, platform::RowOrder order);

    // The next `count` stored rows, all equal to `bgr` (width x 3 bytes blue, green, red). Rows
    // beyond the picture's height are ignored.
    void add_rows(const std::uint8_t* bgr, int count = 1);
    // Whether every row that counts has gone in (a crop of rows stored top row first needs no more
    // once its last row is in), so that a decoder may stop reading.
    bool has_all_rows() const
    {
        if (m_kept.as == ShownAs::Cropped && m_order == platform::RowOrder::TopDown)
            return m_added >= m_kept.height;
        return m_added >= m_height;
    }
    // The result: blue, green, red rows of kept width x 3 bytes, bottom row first. Rows that were
    // never handed in are black.
    PixelBlock take_pixels() { return std::move(m_pixels); }
    // A decoded picture of `kind` holding the result, with the declared size as its natural size.
    DecodedPicture take_picture(PictureKind kind, platform::Colour laid_over = 0);

private:
    struct OpenRow {
        int row = -1;
        std::vector<std::uint64_t> sums;
    };

    ShownRows() = default;
    void add_to(int row, std::uint64_t weight);
    void finish(OpenRow& open);
    std::uint8_t* result_row(int row);

    int m_width = 0;
    int m_height = 0;
    KeptSize m_kept;
    platform::RowOrder m_order = platform::RowOrder::TopDown;
    int m_added = 0;
    PixelBlock m_pixels;
    // Averaging only: the platform's own weights, so the pixels equal its shrinking.
    std::vector<platform::AxisSpan> m_columns;
    std::vector<platform::AxisSpan> m_rows;
    std::vector<int> m_pending;  // per result row: source rows still to come
    std::uint64_t m_total = 0;   // the weight every result pixel's sum carries
    std::vector<std::uint64_t> m_row_sums;
    std::vector<OpenRow> m_open;
};

}  // namespace runtime::imaging
