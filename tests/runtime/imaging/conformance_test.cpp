// Every decoder against ImageMagick: files ImageMagick makes at run time are decoded by us and by
// ImageMagick, and compared pixel by pixel. Lossless formats must match exactly; JPEG within a small
// tolerance for IDCT differences.

#include "imaging_test_support.h"

#include "runtime/imaging/gif_decoder.h"
#include "runtime/imaging/icon_decoder.h"
#include "runtime/imaging/picture_decoder.h"
#include "runtime/imaging/probe.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace imaging_test;
using runtime::imaging::PictureKind;

// An odd-sized, colourful picture, so that row padding and every channel matter.
const std::string kSource = "rose: -crop 37x23+10+10 +repage";

// Turns a bottom-up BMP into the same picture stored top-down (negative height, rows reversed).
Bytes bmp_top_down(const Bytes& bottom_up)
{
    Bytes out = bottom_up;
    std::uint32_t offset = get_u32(out, 10);
    auto width = static_cast<std::int32_t>(get_u32(out, 18));
    auto height = static_cast<std::int32_t>(get_u32(out, 22));
    std::uint16_t bits = out[28] | (out[29] << 8);
    std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    for (std::int32_t y = 0; y < height; ++y) {
        std::copy_n(bottom_up.begin() + offset + (height - 1 - y) * stride, stride, out.begin() + offset + y * stride);
    }
    put_u32(out, 22, static_cast<std::uint32_t>(-height));
    return out;
}

// A 1-bit, version-3 PCX of a PBM picture (ImageMagick's writer only makes 8- and 24-bit PCX), with
// lines padded to an even length and runs for repeated bytes.
Bytes pcx1_from_pbm(const Bytes& pbm)
{
    std::string text(pbm.begin(), pbm.end());
    std::istringstream header(text);
    std::string magic;
    int width = 0, height = 0;
    header >> magic >> width >> height;
    std::size_t data = static_cast<std::size_t>(header.tellg()) + 1;
    std::size_t packed = (width + 7) / 8;
    std::size_t line = (packed + 1) & ~std::size_t{1};
    Bytes out(128, 0);
    out[0] = 10, out[1] = 3, out[2] = 1, out[3] = 1;
    put_u16(out, 8, static_cast<std::uint16_t>(width - 1));
    put_u16(out, 10, static_cast<std::uint16_t>(height - 1));
    out[16 + 3] = out[16 + 4] = out[16 + 5] = 255;  // palette entry 1 white
    out[65] = 1;
    put_u16(out, 66, static_cast<std::uint16_t>(line));
    for (int y = 0; y < height; ++y) {
        Bytes row(line, 0xFF);
        for (std::size_t i = 0; i < packed; ++i)
            row[i] = static_cast<std::uint8_t>(~pbm[data + y * packed + i]);  // PBM: 1 is black
        for (std::size_t i = 0; i < line;) {
            std::size_t run = 1;
            while (i + run < line && row[i + run] == row[i] && run < 63)
                ++run;
            if (run > 1 || row[i] >= 0xC0)
                out.push_back(static_cast<std::uint8_t>(0xC0 | run));
            out.push_back(row[i]);
            i += run;
        }
    }
    return out;
}

struct StillCase {
    const char* name;
    std::string make;  // convert arguments that write the file named by %OUT%
    const char* file;
    PictureKind kind;
    int tolerance;
    std::function<Bytes(const Bytes&)> rewrite = nullptr;  // turns ImageMagick's file into the one to decode
};

std::string with_output(std::string make, const std::string& out)
{
    std::size_t at = make.find("%OUT%");
    make.replace(at, 5, "'" + out + "'");
    return make;
}

TEST(DecoderConformance, StillPicturesMatchImageMagick)
{
    const std::vector<StillCase> cases = {
        {"bmp 1-bit", kSource + " -monochrome BMP3:%OUT%", "b1.bmp", PictureKind::Bmp, 0},
        {"bmp 4-bit", kSource + " -colors 16 -compress none BMP3:%OUT%", "b4.bmp", PictureKind::Bmp, 0},
        {"bmp 8-bit", kSource + " -type palette -compress none BMP3:%OUT%", "b8.bmp", PictureKind::Bmp, 0},
        {"bmp 24-bit", kSource + " -type truecolor BMP3:%OUT%", "b24.bmp", PictureKind::Bmp, 0},
        {"bmp 32-bit", kSource + " -alpha set -define bmp3:alpha=true BMP3:%OUT%", "b32.bmp", PictureKind::Bmp, 0},
        {"bmp 1-bit top-down", kSource + " -monochrome BMP3:%OUT%", "t1.bmp", PictureKind::Bmp, 0, bmp_top_down},
        {"bmp 4-bit top-down", kSource + " -colors 16 -compress none BMP3:%OUT%", "t4.bmp", PictureKind::Bmp, 0,
         bmp_top_down},
        {"bmp 8-bit top-down", kSource + " -type palette -compress none BMP3:%OUT%", "t8.bmp", PictureKind::Bmp, 0,
         bmp_top_down},
        {"bmp 24-bit top-down", kSource + " -type truecolor BMP3:%OUT%", "t24.bmp", PictureKind::Bmp, 0, bmp_top_down},
        {"bmp 32-bit top-down", kSource + " -alpha set -define bmp3:alpha=true BMP3:%OUT%", "t32.bmp", PictureKind::Bmp,
         0, bmp_top_down},
        {"pcx 8-bit", kSource + " -type palette %OUT%", "p8.pcx", PictureKind::Pcx8, 0},
        {"pcx 1-bit", kSource + " -monochrome pbm:%OUT%", "p1.pcx", PictureKind::Pcx1, 0, pcx1_from_pbm},
        {"png with alpha",
         kSource + " \\( -size 37x23 gradient:white-black \\) -alpha off -compose CopyOpacity -composite PNG32:%OUT%",
         "alpha.png", PictureKind::Png, 0},
        {"png with palette", kSource + " PNG8:%OUT%", "palette.png", PictureKind::Png, 0},
        {"png greyscale 16-bit", kSource + " -colorspace gray -depth 16 PNG:%OUT%", "grey16.png", PictureKind::Png, 1},
        {"gif", kSource + " %OUT%", "still.gif", PictureKind::Gif, 0},
        {"gif interlaced", kSource + " -interlace GIF %OUT%", "interlaced.gif", PictureKind::Gif, 0},
        {"jpeg baseline 2x2", kSource + " -sampling-factor 2x2 -quality 90 %OUT%", "base22.jpg", PictureKind::Jpeg, 2},
        {"jpeg baseline 1x1", kSource + " -sampling-factor 1x1 -quality 90 %OUT%", "base11.jpg", PictureKind::Jpeg, 2},
        {"jpeg progressive 2x2", kSource + " -sampling-factor 2x2 -interlace Plane %OUT%", "prog22.jpg",
         PictureKind::Jpeg, 2},
        {"jpeg progressive 1x1", kSource + " -sampling-factor 1x1 -interlace Plane %OUT%", "prog11.jpg",
         PictureKind::Jpeg, 2},
        {"jpeg greyscale", kSource + " -colorspace gray %OUT%", "grey.jpg", PictureKind::Jpeg, 2},
        {"jpeg greyscale progressive", kSource + " -colorspace gray -interlace Plane %OUT%", "greyprog.jpg",
         PictureKind::Jpeg, 2},
    };
    TempDir dir;
    for (const StillCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.file(c.file);
        ASSERT_TRUE(convert(with_output(c.make, path)));
        // A rewritten file must show the picture ImageMagick made, so the reference is taken first.
        auto reference = reference_decode(dir, path);
        ASSERT_TRUE(reference);
        if (c.rewrite)
            write_file(path, c.rewrite(read_file(path)));
        Bytes bytes = read_file(path);
        ASSERT_EQ(runtime::imaging::probe_picture(bytes), c.kind);
        auto picture = runtime::imaging::decode_picture(bytes);
        ASSERT_TRUE(picture) << runtime::imaging::decode_error_name(picture.error());
        EXPECT_EQ(picture->kind, c.kind);
        EXPECT_EQ(compare_images(rgba_of(*picture), *reference, c.tolerance), "");
    }
}

// Frames one by one through the block walk: differing frame sizes, transparency, interlaced rows, and
// local colour tables (ImageMagick gives each later frame its own, since their colours differ).
TEST(DecoderConformance, GifFramesMatchImageMagick)
{
    TempDir dir;
    std::string path = dir.file("anim.gif");
    ASSERT_TRUE(convert("-delay 7 " + kSource +
                        " \\( rose: -crop 37x23+20+5 +repage -modulate 100,100,30 \\) "
                        "\\( rose: -negate -crop 30x20+5+5 +repage -fuzz 15% -transparent '#9fdfe0' \\) "
                        "\\( rose: -crop 20x10+30+30 +repage -interlace GIF \\) -loop 0 '" +
                        path + "'"));
    Bytes bytes = read_file(path);
    auto stream = runtime::imaging::GifStream::open(bytes);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->screen_width(), 37);
    EXPECT_EQ(stream->screen_height(), 23);
    bool saw_transparency = false;
    for (int index = 0; index < 4; ++index) {
        SCOPED_TRACE(index);
        auto frame = stream->next_frame();
        ASSERT_TRUE(frame) << runtime::imaging::decode_error_name(frame.error());
        EXPECT_EQ(frame->delay, 7);
        EXPECT_TRUE(frame->interlaced);
        auto reference = reference_decode(dir, path + "[" + std::to_string(index) + "]");
        ASSERT_TRUE(reference);
        ASSERT_EQ(frame->width, reference->width);
        ASSERT_EQ(frame->height, reference->height);
        for (int y = 0; y < frame->height; ++y) {
            for (int x = 0; x < frame->width; ++x) {
                std::uint8_t i = frame->index_at(x, y);
                const std::uint8_t* entry = frame->palette() + static_cast<std::size_t>(i) * 4;
                const std::uint8_t* expected = reference->at(x, y);
                if (expected[3] == 0) {
                    saw_transparency = true;
                    ASSERT_TRUE(frame->has_transparency);
                    ASSERT_EQ(i, frame->transparent_index);
                    continue;
                }
                ASSERT_EQ(entry[2], expected[0]) << x << "," << y;
                ASSERT_EQ(entry[1], expected[1]) << x << "," << y;
                ASSERT_EQ(entry[0], expected[2]) << x << "," << y;
            }
        }
    }
    EXPECT_TRUE(saw_transparency);
    EXPECT_TRUE(stream->at_end());
    // The walk loops: after the last frame comes the first again.
    auto again = stream->next_frame();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->width, 37);
}

// Builds an icon or cursor file whose entries are the bitmaps of BMP files (height doubled, a mask
// appended that makes the left third transparent), or a PNG file as it is.
struct IconEntrySource {
    Bytes file;
    bool png = false;
};

Bytes icon_file(std::uint16_t type, const std::vector<IconEntrySource>& entries)
{
    Bytes out(6 + 16 * entries.size(), 0);
    put_u16(out, 2, type);
    put_u16(out, 4, static_cast<std::uint16_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        Bytes image;
        int width = 0, height = 0;
        if (entries[i].png) {
            image = entries[i].file;
            width = static_cast<int>(image[16] << 24 | image[17] << 16 | image[18] << 8 | image[19]);
            height = static_cast<int>(image[20] << 24 | image[21] << 16 | image[22] << 8 | image[23]);
        } else {
            const Bytes& bmp = entries[i].file;
            std::uint32_t offset = get_u32(bmp, 10);
            width = static_cast<int>(get_u32(bmp, 18));
            height = static_cast<int>(get_u32(bmp, 22));
            image.assign(bmp.begin() + 14, bmp.end());
            image.resize(offset - 14 + ((width * (bmp[28] | bmp[29] << 8) + 31) / 32) * 4 * height);
            put_u32(image, 8, static_cast<std::uint32_t>(height * 2));
            std::size_t mask_stride = static_cast<std::size_t>((width + 31) / 32) * 4;
            for (int y = 0; y < height; ++y) {
                for (std::size_t b = 0; b < mask_stride; ++b) {
                    std::uint8_t mask = 0;
                    for (int bit = 0; bit < 8; ++bit) {
                        if (static_cast<int>(b * 8 + bit) < width / 3)
                            mask |= 0x80 >> bit;
                    }
                    image.push_back(mask);
                }
            }
        }
        std::size_t entry = 6 + 16 * i;
        out[entry] = static_cast<std::uint8_t>(width);
        out[entry + 1] = static_cast<std::uint8_t>(height);
        out[entry + 2] = 0;
        put_u32(out, entry + 8, static_cast<std::uint32_t>(image.size()));
        put_u32(out, entry + 12, static_cast<std::uint32_t>(out.size()));
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}

TEST(DecoderConformance, IconAndCursorEntriesMatchImageMagick)
{
    struct EntryCase {
        const char* name;
        std::string make;
        bool png;
    };
    const std::vector<EntryCase> entries = {
        {"1-bit", kSource + " -monochrome BMP3:%OUT%", false},
        {"4-bit", kSource + " -colors 16 -compress none BMP3:%OUT%", false},
        {"8-bit", kSource + " -type palette -compress none BMP3:%OUT%", false},
        {"24-bit", kSource + " -type truecolor BMP3:%OUT%", false},
        {"32-bit", kSource + " -alpha set -define bmp3:alpha=true BMP3:%OUT%", false},
        {"png",
         kSource + " \\( -size 37x23 gradient:white-black \\) -alpha off -compose CopyOpacity -composite "
                   "PNG32:%OUT%",
         true},
    };
    TempDir dir;
    std::vector<IconEntrySource> sources;
    std::vector<RgbaImage> expected;
    for (const EntryCase& e : entries) {
        std::string path = dir.file(std::string("entry") + (e.png ? ".png" : ".bmp"));
        ASSERT_TRUE(convert(with_output(e.make, path)));
        sources.push_back({read_file(path), e.png});
        auto reference = reference_decode(dir, path);
        ASSERT_TRUE(reference);
        // The mask made by icon_file clears the left third of bitmap entries; a 32-bit entry with its own
        // alpha (ImageMagick's is opaque) is not masked.
        if (!e.png && e.name != std::string("32-bit")) {
            for (int y = 0; y < reference->height; ++y) {
                for (int x = 0; x < reference->width / 3; ++x)
                    reference->rgba[(static_cast<std::size_t>(y) * reference->width + x) * 4 + 3] = 0;
            }
        }
        expected.push_back(*reference);
    }
    for (std::uint16_t type : {1, 2}) {
        // With no entry 32 pixels wide the last entry is used; each entry in turn is made the last one.
        for (std::size_t last = 0; last < sources.size(); ++last) {
            SCOPED_TRACE(std::string(type == 1 ? "icon " : "cursor ") + entries[last].name);
            std::vector<IconEntrySource> chosen(sources.begin(), sources.begin() + static_cast<long>(last) + 1);
            Bytes file = icon_file(type, chosen);
            auto image = runtime::imaging::decode_icon_image(file);
            ASSERT_TRUE(image) << runtime::imaging::decode_error_name(image.error());
            EXPECT_EQ(image->entry, static_cast<int>(last));
            RgbaImage ours{image->width, image->height, image->pixels};
            for (std::size_t i = 0; i < ours.rgba.size(); i += 4)
                std::swap(ours.rgba[i], ours.rgba[i + 2]);
            EXPECT_EQ(compare_images(ours, expected[last], 0), "");
            auto picture = runtime::imaging::decode_picture(file);
            ASSERT_TRUE(picture);
            EXPECT_EQ(picture->kind, type == 1 ? PictureKind::Icon : PictureKind::Cursor);
            EXPECT_TRUE(picture->icon);
            EXPECT_TRUE(picture->pixels.empty());
        }
    }
}

}  // namespace
