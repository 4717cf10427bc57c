#include "runtime/imaging/shown_rows.h"

#include "runtime/imaging/checked_size.h"

#include <algorithm>
#include <cstring>

namespace runtime::imaging {

std::optional<KeptSize> kept_size(const ShownSize& shown, int width, int height)
{
    if (shown.as == ShownAs::Whole || shown.width <= 0 || shown.height <= 0 || width <= 0 || height <= 0)
        return std::nullopt;
    KeptSize kept{shown.as, std::min(shown.width, width), std::min(shown.height, height)};
    if (shown.as == ShownAs::Fitted) {
        PictureSize fitted = fitted_size(shown.width, shown.height, width, height);
        // A picture fitted to nothing is still kept at one pixel, so that it exists.
        kept.width = std::max(fitted.width, 1);
        kept.height = std::max(fitted.height, 1);
    }
    if (kept.width == width && kept.height == height)
        return std::nullopt;
    return kept;
}

std::optional<ShownRows> ShownRows::create(int width, int height, KeptSize kept, platform::RowOrder order)
{
    if (width <= 0 || height <= 0 || kept.width <= 0 || kept.height <= 0 || kept.width > width || kept.height > height)
        return std::nullopt;
    auto row_bytes = checked_multiply(static_cast<std::size_t>(kept.width), 3);
    auto total = row_bytes ? checked_block_size(*row_bytes, static_cast<std::size_t>(kept.height)) : std::nullopt;
    if (!total)
        return std::nullopt;
    ShownRows rows;
    rows.m_width = width;
    rows.m_height = height;
    rows.m_kept = kept;
    rows.m_order = order;
    // Rows never handed in stay black.
    rows.m_pixels = PixelBlock::allocate(*total, PixelBlock::Fill::Zero);
    if (rows.m_pixels.empty())
        return std::nullopt;
    if (kept.as != ShownAs::Cropped) {
        rows.m_columns = platform::axis_spans(width, kept.width);
        rows.m_rows = platform::axis_spans(height, kept.height);
        rows.m_pending.assign(static_cast<std::size_t>(kept.height), 0);
        for (const platform::AxisSpan& span : rows.m_rows) {
            ++rows.m_pending[static_cast<std::size_t>(span.first)];
            if (span.weight < static_cast<std::uint32_t>(kept.height))
                ++rows.m_pending[static_cast<std::size_t>(span.first) + 1];
        }
        rows.m_total = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
        rows.m_row_sums.assign(*row_bytes, 0);
    }
    return rows;
}

std::uint8_t* ShownRows::result_row(int row)
{
    return m_pixels.data() +
           static_cast<std::size_t>(m_kept.height - 1 - row) * static_cast<std::size_t>(m_kept.width) * 3;
}

void ShownRows::add_rows(const std::uint8_t* bgr, int count)
{
    count = std::min(count, m_height - m_added);
    if (count <= 0 || m_pixels.empty())
        return;
    auto top_row = [this](int added) { return m_order == platform::RowOrder::TopDown ? added : m_height - 1 - added; };
    const std::size_t kept_bytes = static_cast<std::size_t>(m_kept.width) * 3;

    if (m_kept.as == ShownAs::Cropped) {
        for (int i = 0; i < count; ++i) {
            int row = top_row(m_added++);
            if (row < m_kept.height)
                std::memcpy(result_row(row), bgr, kept_bytes);
        }
        return;
    }

    // The row's columns are summed once for every copy of it.
    std::fill(m_row_sums.begin(), m_row_sums.end(), 0);
    const auto step = static_cast<std::uint32_t>(m_kept.width);
    for (int x = 0; x < m_width; ++x) {
        const platform::AxisSpan& span = m_columns[static_cast<std::size_t>(x)];
        const std::uint8_t* p = bgr + static_cast<std::size_t>(x) * 3;
        std::uint64_t* to = &m_row_sums[static_cast<std::size_t>(span.first) * 3];
        for (int c = 0; c < 3; ++c)
            to[c] += static_cast<std::uint64_t>(p[c]) * span.weight;
        if (span.weight < step) {
            std::uint32_t rest = step - span.weight;
            for (int c = 0; c < 3; ++c)
                to[3 + c] += static_cast<std::uint64_t>(p[c]) * rest;
        }
    }
    const auto row_step = static_cast<std::uint32_t>(m_kept.height);
    for (int i = 0; i < count; ++i) {
        const platform::AxisSpan& span = m_rows[static_cast<std::size_t>(top_row(m_added++))];
        add_to(span.first, span.weight);
        if (span.weight < row_step)
            add_to(span.first + 1, row_step - span.weight);
    }
}

void ShownRows::add_to(int row, std::uint64_t weight)
{
    auto open = std::find_if(m_open.begin(), m_open.end(), [row](const OpenRow& o) { return o.row == row; });
    if (open == m_open.end()) {
        open = std::find_if(m_open.begin(), m_open.end(), [](const OpenRow& o) { return o.row < 0; });
        if (open == m_open.end()) {
            m_open.push_back(OpenRow{-1, std::vector<std::uint64_t>(m_row_sums.size(), 0)});
            open = m_open.end() - 1;
        }
        open->row = row;
    }
    for (std::size_t i = 0; i < m_row_sums.size(); ++i)
        open->sums[i] += m_row_sums[i] * weight;
    if (--m_pending[static_cast<std::size_t>(row)] == 0)
        finish(*open);
}

void ShownRows::finish(OpenRow& open)
{
    std::uint8_t* out = result_row(open.row);
    const std::uint64_t half = m_total / 2;
    for (std::size_t i = 0; i < open.sums.size(); ++i)
        out[i] = static_cast<std::uint8_t>((open.sums[i] + half) / m_total);
    std::fill(open.sums.begin(), open.sums.end(), 0);
    open.row = -1;
}

DecodedPicture ShownRows::take_picture(PictureKind kind, platform::Colour laid_over)
{
    DecodedPicture picture;
    picture.kind = kind;
    picture.width = m_kept.width;
    picture.height = m_kept.height;
    picture.natural_width = m_width;
    picture.natural_height = m_height;
    picture.kept = m_kept.as;
    picture.kept_over = laid_over;
    picture.pixels = take_pixels();
    return picture;
}

}  // namespace runtime::imaging
