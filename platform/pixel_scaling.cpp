#include "platform/pixel_scaling.h"

#include <algorithm>

namespace platform {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000U;

constexpr std::uint32_t red_of(std::uint32_t p)
{
    return (p >> 16) & 0xFF;
}

constexpr std::uint32_t green_of(std::uint32_t p)
{
    return (p >> 8) & 0xFF;
}

constexpr std::uint32_t blue_of(std::uint32_t p)
{
    return p & 0xFF;
}

constexpr std::uint32_t opaque_pixel(std::uint64_t red, std::uint64_t green, std::uint64_t blue)
{
    return kOpaque | static_cast<std::uint32_t>((red & 0xFF) << 16) | static_cast<std::uint32_t>((green & 0xFF) << 8) |
           static_cast<std::uint32_t>(blue & 0xFF);
}

}  // namespace

std::vector<AxisSpan> axis_spans(int from, int to)
{
    std::vector<AxisSpan> spans(static_cast<std::size_t>(from));
    for (int i = 0; i < from; ++i) {
        std::uint64_t start = static_cast<std::uint64_t>(i) * static_cast<std::uint64_t>(to);
        auto first = static_cast<int>(start / static_cast<std::uint64_t>(from));
        std::uint64_t boundary = static_cast<std::uint64_t>(first + 1) * static_cast<std::uint64_t>(from);
        std::uint64_t end = start + static_cast<std::uint64_t>(to);
        spans[static_cast<std::size_t>(i)] = {first, static_cast<std::uint32_t>(std::min(end, boundary) - start)};
    }
    return spans;
}

AreaReducer::AreaReducer(int source_width, int source_height, int width, int height, std::uint32_t* out,
                         std::size_t out_stride)
    : m_source_width(source_width)
    , m_width(width)
    , m_height(height)
    , m_out(out)
    , m_out_stride(out_stride)
    , m_columns(axis_spans(source_width, width))
    , m_rows(axis_spans(source_height, height))
    , m_total(static_cast<std::uint64_t>(source_width) * static_cast<std::uint64_t>(source_height))
    , m_row(static_cast<std::size_t>(width) * 3)
    , m_current(static_cast<std::size_t>(width) * 3)
    , m_next(static_cast<std::size_t>(width) * 3)
{
}

void AreaReducer::add_row(int y, const std::uint32_t* pixels)
{
    std::fill(m_row.begin(), m_row.end(), 0);
    const auto step = static_cast<std::uint32_t>(m_width);
    for (int x = 0; x < m_source_width; ++x) {
        const AxisSpan& span = m_columns[static_cast<std::size_t>(x)];
        std::uint32_t p = pixels[x];
        std::uint64_t* to = &m_row[static_cast<std::size_t>(span.first) * 3];
        to[0] += static_cast<std::uint64_t>(red_of(p)) * span.weight;
        to[1] += static_cast<std::uint64_t>(green_of(p)) * span.weight;
        to[2] += static_cast<std::uint64_t>(blue_of(p)) * span.weight;
        if (span.weight < step) {
            std::uint32_t rest = step - span.weight;
            to[3] += static_cast<std::uint64_t>(red_of(p)) * rest;
            to[4] += static_cast<std::uint64_t>(green_of(p)) * rest;
            to[5] += static_cast<std::uint64_t>(blue_of(p)) * rest;
        }
    }
    const AxisSpan& span = m_rows[static_cast<std::size_t>(y)];
    const auto row_step = static_cast<std::uint64_t>(m_height);
    for (std::size_t i = 0; i < m_row.size(); ++i)
        m_current[i] += m_row[i] * span.weight;
    if (span.weight < row_step) {
        // This row finishes the current result row and starts the next.
        for (std::size_t i = 0; i < m_row.size(); ++i)
            m_next[i] += m_row[i] * (row_step - span.weight);
        finish_row(span.first);
    } else if (y + 1 == static_cast<int>(m_rows.size()) ||
               m_rows[static_cast<std::size_t>(y) + 1].first != span.first) {
        finish_row(span.first);
    }
}

void AreaReducer::finish_row(int y)
{
    std::uint32_t* line = m_out + static_cast<std::size_t>(y) * m_out_stride;
    std::uint64_t half = m_total / 2;
    for (int x = 0; x < m_width; ++x) {
        const std::uint64_t* c = &m_current[static_cast<std::size_t>(x) * 3];
        line[x] = opaque_pixel((c[0] + half) / m_total, (c[1] + half) / m_total, (c[2] + half) / m_total);
    }
    m_current.swap(m_next);
    std::fill(m_next.begin(), m_next.end(), 0);
}

namespace {

// Where each result pixel samples one axis: the lower source pixel and the weight of the upper one
// in 1/256ths. Centres map to centres; samples outside the source clamp to its edge pixels.
struct AxisSample {
    int lower = 0;
    std::uint32_t upper_weight = 0;
};

std::vector<AxisSample> axis_samples(int from, int to)
{
    std::vector<AxisSample> samples(static_cast<std::size_t>(to));
    for (int j = 0; j < to; ++j) {
        // (j + 1/2) * from / to - 1/2, in 1/256ths of a source pixel.
        std::int64_t position =
            ((2 * static_cast<std::int64_t>(j) + 1) * from * 256) / (2 * static_cast<std::int64_t>(to)) - 128;
        position = std::clamp<std::int64_t>(position, 0, static_cast<std::int64_t>(from - 1) * 256);
        auto lower = static_cast<int>(position / 256);
        auto weight = static_cast<std::uint32_t>(position % 256);
        if (lower + 1 >= from)
            weight = 0;
        samples[static_cast<std::size_t>(j)] = {lower, weight};
    }
    return samples;
}

std::uint32_t mix(std::uint32_t a, std::uint32_t b, std::uint32_t weight_b)
{
    // Per channel a + (b - a) * w / 256, rounded; weights are in 1/256ths.
    const std::uint32_t weight_a = 256 - weight_b;
    std::uint32_t red = (red_of(a) * weight_a + red_of(b) * weight_b + 128) >> 8;
    std::uint32_t green = (green_of(a) * weight_a + green_of(b) * weight_b + 128) >> 8;
    std::uint32_t blue = (blue_of(a) * weight_a + blue_of(b) * weight_b + 128) >> 8;
    return opaque_pixel(red, green, blue);
}

}  // namespace

void bilinear_scale(const std::uint32_t* source, int width, int height, std::size_t source_stride,
                    std::uint32_t* target, int target_width, int target_height, std::size_t target_stride)
{
    if (width <= 0 || height <= 0 || target_width <= 0 || target_height <= 0)
        return;
    const std::vector<AxisSample> columns = axis_samples(width, target_width);
    const std::vector<AxisSample> rows = axis_samples(height, target_height);
    for (int y = 0; y < target_height; ++y) {
        const AxisSample& row = rows[static_cast<std::size_t>(y)];
        const std::uint32_t* upper_line = source + static_cast<std::size_t>(row.lower) * source_stride;
        const std::uint32_t* lower_line =
            row.upper_weight ? upper_line + source_stride : upper_line;  // the next row down, when it weighs
        std::uint32_t* out = target + static_cast<std::size_t>(y) * target_stride;
        for (int x = 0; x < target_width; ++x) {
            const AxisSample& column = columns[static_cast<std::size_t>(x)];
            const int right = column.upper_weight ? column.lower + 1 : column.lower;
            std::uint32_t top = mix(upper_line[column.lower], upper_line[right], column.upper_weight);
            std::uint32_t bottom = mix(lower_line[column.lower], lower_line[right], column.upper_weight);
            out[x] = mix(top, bottom, row.upper_weight);
        }
    }
}

}  // namespace platform
