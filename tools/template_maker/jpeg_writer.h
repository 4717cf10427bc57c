#pragma once
// Baseline JFIF encoding with libjpeg, with the chroma sampling chosen by the caller.

#include <QImage>

#include <cstdint>
#include <optional>
#include <vector>

namespace template_maker {

enum class LumaSampling { TwoByTwo, OneByOne };

struct JpegSettings {
    LumaSampling sampling = LumaSampling::OneByOne;
    int quality = 90;
};

// Encodes the image (any format; alpha is dropped) as an 8-bit, three-component YCbCr baseline JPEG
// with a JFIF header. Returns nothing when libjpeg fails.
std::optional<std::vector<std::uint8_t>> encode_jpeg(const QImage& image, JpegSettings settings);

}  // namespace template_maker
