#pragma once
// Shared helpers of the imaging tests: a temporary folder, ImageMagick as the independent encoder and
// decoder, the decoded picture's layouts read back as RGBA, and a pixel comparison.

#include "runtime/imaging/decoded_picture.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace imaging_test {

using Bytes = std::vector<std::uint8_t>;

class TempDir {
public:
    // A new folder of our own: creating one that exists already fails, so another name is tried.
    TempDir()
    {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::random_device random;
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            std::filesystem::path candidate = base / ("imaging-" + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error))
                m_path = candidate;
        }
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

inline Bytes read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void write_file(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Runs ImageMagick's convert with the given arguments (already quoted where needed).
inline bool convert(const std::string& arguments)
{
    std::string command = "convert " + arguments + " 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

struct RgbaImage {
    int width = 0;
    int height = 0;
    Bytes rgba;  // top row first

    const std::uint8_t* at(int x, int y) const { return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
};

// A PAM file of depth 1 to 4 (grey, grey and alpha, RGB, RGBA) as RGBA.
inline std::optional<RgbaImage> parse_pam(const Bytes& bytes)
{
    std::size_t end = 0;
    std::string text(bytes.begin(), bytes.end());
    std::size_t header_end = text.find("ENDHDR\n");
    if (text.rfind("P7\n", 0) != 0 || header_end == std::string::npos)
        return std::nullopt;
    end = header_end + 7;
    std::istringstream header(text.substr(3, header_end - 3));
    RgbaImage image;
    int depth = 0;
    int maxval = 0;
    std::string key;
    while (header >> key) {
        if (key == "WIDTH")
            header >> image.width;
        else if (key == "HEIGHT")
            header >> image.height;
        else if (key == "DEPTH")
            header >> depth;
        else if (key == "MAXVAL")
            header >> maxval;
        else
            header >> key;
    }
    std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    if (maxval != 255 || depth < 1 || depth > 4 || bytes.size() < end + count * depth)
        return std::nullopt;
    image.rgba.resize(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* in = bytes.data() + end + i * depth;
        std::uint8_t* out = image.rgba.data() + i * 4;
        if (depth <= 2) {
            out[0] = out[1] = out[2] = in[0];
            out[3] = depth == 2 ? in[1] : 255;
        } else {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = depth == 4 ? in[3] : 255;
        }
    }
    return image;
}

// ImageMagick's own decoding of `source` (a path, optionally with a [frame] suffix).
inline std::optional<RgbaImage> reference_decode(const TempDir& dir, const std::string& source)
{
    std::string out = dir.file("reference.pam");
    if (!convert("'" + source + "' +repage -depth 8 pam:'" + out + "'"))
        return std::nullopt;
    return parse_pam(read_file(out));
}

// The decoded picture's pixel block read back by its documented layout (not for icons).
inline RgbaImage rgba_of(const runtime::imaging::DecodedPicture& picture)
{
    using runtime::imaging::PictureKind;
    RgbaImage image;
    image.width = picture.width;
    image.height = picture.height;
    image.rgba.resize(static_cast<std::size_t>(picture.width) * picture.height * 4);
    const std::uint8_t* block = picture.pixels.data();
    std::size_t w = picture.width;
    std::size_t h = picture.height;
    for (std::size_t y = 0; y < h; ++y) {
        for (std::size_t x = 0; x < w; ++x) {
            std::uint8_t* out = image.rgba.data() + (y * w + x) * 4;
            std::uint8_t b = 0, g = 0, r = 0, a = 255;
            switch (picture.kind) {
            case PictureKind::Jpeg:
            case PictureKind::Bmp: {
                const std::uint8_t* p = block + ((h - 1 - y) * w + x) * 3;
                b = p[0], g = p[1], r = p[2];
                break;
            }
            case PictureKind::Png: {
                const std::uint8_t* p = block + (y * w + x) * 4;
                b = p[0], g = p[1], r = p[2], a = p[3];
                break;
            }
            case PictureKind::Gif:
            case PictureKind::Pcx8: {
                std::size_t stride = (picture.pixels.size() - runtime::imaging::kBitmapPrefixBytes) / h;
                std::uint8_t index = block[runtime::imaging::kBitmapPrefixBytes + y * stride + x];
                const std::uint8_t* entry = block + runtime::imaging::kBitmapHeaderBytes + std::size_t{index} * 4;
                b = entry[0], g = entry[1], r = entry[2];
                break;
            }
            case PictureKind::Pcx1: {
                std::size_t stride = picture.pixels.size() / h;
                bool set = (block[y * stride + x / 8] >> (7 - x % 8)) & 1;
                b = g = r = set ? 255 : 0;
                break;
            }
            default:
                break;
            }
            out[0] = r, out[1] = g, out[2] = b, out[3] = a;
        }
    }
    return image;
}

// Empty when the images agree: sizes equal, alpha equal, colours within `tolerance` wherever the
// pixel is not fully transparent. Otherwise a description of the first difference.
inline std::string compare_images(const RgbaImage& ours, const RgbaImage& reference, int tolerance)
{
    std::ostringstream problem;
    if (ours.width != reference.width || ours.height != reference.height) {
        problem << "size " << ours.width << "x" << ours.height << " vs " << reference.width << "x" << reference.height;
        return problem.str();
    }
    for (int y = 0; y < ours.height; ++y) {
        for (int x = 0; x < ours.width; ++x) {
            const std::uint8_t* a = ours.at(x, y);
            const std::uint8_t* b = reference.at(x, y);
            bool alpha_differs = a[3] != b[3];
            bool colour_differs = false;
            for (int c = 0; c < 3 && a[3] != 0; ++c)
                colour_differs = colour_differs || std::abs(a[c] - b[c]) > tolerance;
            if (alpha_differs || colour_differs) {
                problem << "pixel (" << x << "," << y << ") ours " << int(a[0]) << "," << int(a[1]) << "," << int(a[2])
                        << "," << int(a[3]) << " reference " << int(b[0]) << "," << int(b[1]) << "," << int(b[2]) << ","
                        << int(b[3]);
                return problem.str();
            }
        }
    }
    return {};
}

inline void put_u16(Bytes& bytes, std::size_t at, std::uint16_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void put_u32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::uint32_t get_u32(const Bytes& bytes, std::size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

}  // namespace imaging_test
