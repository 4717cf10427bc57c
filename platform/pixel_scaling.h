#pragma once
// Scaling of 32-bit pixels, the same on every backend: shrinking by area averaging (each result
// pixel is the mean of the source area it covers) and enlarging by bilinear sampling.
//
// Pixels are 32-bit words 0xAARRGGBB as both backends keep them in memory (blue, green, red,
// alpha bytes); results are opaque (alpha 0xFF) and the source's alpha byte is ignored.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// One axis of an area-averaging reduction from `from` pixels to `to` pixels (to <= from). Measured
// in units of 1/to of a source pixel, source pixel i covers [i*to, (i+1)*to) and result pixel j
// covers [j*from, (j+1)*from): the weights are whole numbers and each result pixel's sum to `from`.
// A source pixel straddles at most one boundary, so it feeds at most two result pixels.
struct AxisSpan {
    int first = 0;             // the result pixel the source pixel starts in
    std::uint32_t weight = 0;  // its share there; the rest, if any, goes to first + 1
};

std::vector<AxisSpan> axis_spans(int from, int to);

// Reduces rows handed in one at a time, top row first, into `width` x `height` pixels at `out`
// (rows `out_stride` pixels apart); each source row is read once and forgotten, so memory follows
// the result's size.
class AreaReducer {
public:
    AreaReducer(int source_width, int source_height, int width, int height, std::uint32_t* out, std::size_t out_stride);

    void add_row(int y, const std::uint32_t* pixels);

private:
    void finish_row(int y);

    int m_source_width;
    int m_width;
    int m_height;
    std::uint32_t* m_out;
    std::size_t m_out_stride;
    std::vector<AxisSpan> m_columns;
    std::vector<AxisSpan> m_rows;
    std::uint64_t m_total;
    std::vector<std::uint64_t> m_row;
    std::vector<std::uint64_t> m_current;
    std::vector<std::uint64_t> m_next;
};

// Rows in, `reduced_width` x `reduced_height` pixels out (each at most the source's own), where
// `read_row(y, row)` writes source row y. Without a reduction the rows land in `out` directly.
template <typename RowFunction>
void reduce_rows(int width, int height, int reduced_width, int reduced_height, std::uint32_t* out,
                 std::size_t out_stride, RowFunction read_row)
{
    if (reduced_width == width && reduced_height == height) {
        for (int y = 0; y < height; ++y)
            read_row(y, out + static_cast<std::size_t>(y) * out_stride);
        return;
    }
    std::vector<std::uint32_t> row(static_cast<std::size_t>(width));
    AreaReducer reducer(width, height, reduced_width, reduced_height, out, out_stride);
    for (int y = 0; y < height; ++y) {
        read_row(y, row.data());
        reducer.add_row(y, row.data());
    }
}

// Bilinear sampling of `source` (width x height, rows `source_stride` pixels apart) onto `target`
// (target_width x target_height), sampling at pixel centres: an axis of equal size is copied as it
// is. Meant for enlarging; shrinking this way skips pixels.
void bilinear_scale(const std::uint32_t* source, int width, int height, std::size_t source_stride,
                    std::uint32_t* target, int target_width, int target_height, std::size_t target_stride);

}  // namespace platform
