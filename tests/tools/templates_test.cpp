// The committed certificate templates and photo placeholder: their JPEG frame headers (read here
// marker by marker, independently of any decoder), and their blanks, which must lie clear of print
// wherever the kind selector puts an overlay label.

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes read_committed(const std::string& name)
{
    std::ifstream file(std::string(CERTMAKER_SOURCE_DIR) + "/app/data/templates/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string kind_file(int kind)
{
    return std::string("kind") + (kind < 10 ? "0" : "") + std::to_string(kind) + ".jpg";
}

// ---------------------------------------------------------------------------------------------
// Marker walk up to the first scan.

struct Component {
    int id;
    int sampling;  // horizontal factor in the high nibble, vertical in the low one
};

struct FrameHeader {
    int start_of_frame;  // the SOFn marker's second byte (0xC0 for baseline)
    int frame_count;
    bool jfif;
    int precision;
    int height;
    int width;
    std::vector<Component> components;
    bool ends_with_eoi;
};

class Reader {
public:
    explicit Reader(const Bytes& bytes)
        : m_bytes(bytes)
    {
    }

    std::optional<int> byte()
    {
        if (m_at >= m_bytes.size())
            return std::nullopt;
        return m_bytes[m_at++];
    }

    std::optional<int> word()
    {
        auto high = byte();
        auto low = byte();
        if (!high || !low)
            return std::nullopt;
        return *high << 8 | *low;
    }

    bool skip(std::size_t count)
    {
        if (count > m_bytes.size() - m_at)
            return false;
        m_at += count;
        return true;
    }

    std::size_t position() const { return m_at; }

private:
    const Bytes& m_bytes;
    std::size_t m_at = 0;
};

bool is_start_of_frame(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<FrameHeader> read_frame_header(const Bytes& bytes)
{
    Reader reader(bytes);
    if (reader.word() != 0xFFD8)
        return std::nullopt;
    FrameHeader header{};
    bool first_segment = true;
    for (;;) {
        auto prefix = reader.byte();
        if (prefix != 0xFF)
            return std::nullopt;
        auto marker = reader.byte();
        while (marker == 0xFF)
            marker = reader.byte();
        if (!marker)
            return std::nullopt;
        auto length = reader.word();
        if (!length || *length < 2)
            return std::nullopt;
        const std::size_t segment_start = reader.position();
        if (*marker == 0xE0 && first_segment) {
            std::string identifier;
            for (int index = 0; index < 5; ++index) {
                auto c = reader.byte();
                if (!c)
                    return std::nullopt;
                identifier += static_cast<char>(*c);
            }
            header.jfif = identifier == std::string("JFIF\0", 5);
        } else if (is_start_of_frame(*marker)) {
            ++header.frame_count;
            header.start_of_frame = *marker;
            auto precision = reader.byte();
            auto height = reader.word();
            auto width = reader.word();
            auto count = reader.byte();
            if (!precision || !height || !width || !count)
                return std::nullopt;
            header.precision = *precision;
            header.height = *height;
            header.width = *width;
            for (int index = 0; index < *count; ++index) {
                auto id = reader.byte();
                auto sampling = reader.byte();
                auto table = reader.byte();
                if (!id || !sampling || !table)
                    return std::nullopt;
                header.components.push_back({*id, *sampling});
            }
        } else if (*marker == 0xDA) {
            break;
        }
        first_segment = false;
        if (!reader.skip(static_cast<std::size_t>(*length - 2) - (reader.position() - segment_start)))
            return std::nullopt;
    }
    header.ends_with_eoi = bytes.size() >= 2 && bytes[bytes.size() - 2] == 0xFF && bytes.back() == 0xD9;
    return header;
}

void expect_baseline_jfif(const FrameHeader& header, int width, int height, int luma_sampling)
{
    EXPECT_TRUE(header.jfif);
    EXPECT_EQ(header.start_of_frame, 0xC0);
    EXPECT_EQ(header.frame_count, 1);
    EXPECT_EQ(header.precision, 8);
    EXPECT_EQ(header.width, width);
    EXPECT_EQ(header.height, height);
    ASSERT_EQ(header.components.size(), 3u);
    EXPECT_EQ(header.components[0].sampling, luma_sampling);
    EXPECT_EQ(header.components[1].sampling, 0x11);
    EXPECT_EQ(header.components[2].sampling, 0x11);
    EXPECT_TRUE(header.ends_with_eoi);
}

// Kinds 1, 2, 3, 5 and 6 carry chroma at half resolution both ways; the others at full.
int luma_sampling_of(int kind)
{
    return kind == 1 || kind == 2 || kind == 3 || kind == 5 || kind == 6 ? 0x22 : 0x11;
}

TEST(Templates, AreBaselineJfifOf500By316WithTheirKindsSampling)
{
    for (int kind = 1; kind <= 16; ++kind) {
        SCOPED_TRACE(kind_file(kind));
        const Bytes bytes = read_committed(kind_file(kind));
        ASSERT_FALSE(bytes.empty());
        auto header = read_frame_header(bytes);
        ASSERT_TRUE(header.has_value());
        expect_baseline_jfif(*header, 500, 316, luma_sampling_of(kind));
    }
}

TEST(Templates, PhotoPlaceholderIsBaselineJfifOf79By90)
{
    const Bytes bytes = read_committed("photo_placeholder.jpg");
    ASSERT_FALSE(bytes.empty());
    auto header = read_frame_header(bytes);
    ASSERT_TRUE(header.has_value());
    EXPECT_TRUE(header->jfif);
    EXPECT_EQ(header->start_of_frame, 0xC0);
    EXPECT_EQ(header->width, 79);
    EXPECT_EQ(header->height, 90);
    EXPECT_EQ(header->components.size(), 3u);
    EXPECT_TRUE(header->ends_with_eoi);
}

TEST(Templates, HeaderWalkRefusesTruncatedAndForeignBytes)
{
    // Guards the walk above against passing on damaged files.
    const Bytes whole = read_committed(kind_file(1));
    ASSERT_GT(whole.size(), 200u);
    EXPECT_FALSE(read_frame_header(Bytes(whole.begin(), whole.begin() + 40)).has_value());
    EXPECT_FALSE(read_frame_header(Bytes{0x89, 'P', 'N', 'G'}).has_value());
    Bytes no_end(whole.begin(), whole.end() - 2);
    auto header = read_frame_header(no_end);
    ASSERT_TRUE(header.has_value());
    EXPECT_FALSE(header->ends_with_eoi);
}

TEST(Templates, EveryKindHasItsOwnPicture)
{
    std::set<Bytes> seen;
    for (int kind = 1; kind <= 16; ++kind)
        EXPECT_TRUE(seen.insert(read_committed(kind_file(kind))).second) << kind_file(kind);
}

// ---------------------------------------------------------------------------------------------
// Blanks. The preview label stands at window (-2, 0) with a one-pixel border and centres the
// 500 x 316 template in its 518 x 326 client area, so template pixel (x, y) is window (x + 8, y + 6).

struct Place {
    int left;
    int top;
};

struct KindPlaces {
    Place name, sex, age, second_name, number, issue_date;
};

// Window coordinates; kinds 7 to 16 leave name, sex and age where the window opens them.
const KindPlaces kPlaces[16] = {
    {{329, 53}, {329, 73}, {329, 92}, {372, 142}, {419, 281}, {381, 269}},
    {{324, 56}, {324, 81}, {324, 104}, {363, 141}, {419, 281}, {381, 269}},
    {{324, 58}, {324, 82}, {324, 103}, {365, 149}, {395, 285}, {394, 269}},
    {{324, 53}, {324, 74}, {324, 93}, {360, 141}, {417, 279}, {386, 266}},
    {{324, 59}, {324, 82}, {324, 102}, {365, 148}, {394, 285}, {395, 268}},
    {{324, 53}, {324, 75}, {324, 94}, {360, 142}, {408, 283}, {373, 271}},
    {{324, 53}, {326, 75}, {326, 94}, {360, 142}, {418, 280}, {382, 266}},
    {{324, 53}, {326, 75}, {326, 94}, {369, 154}, {413, 265}, {380, 252}},
    {{324, 53}, {326, 75}, {326, 94}, {361, 141}, {417, 283}, {380, 269}},
    {{324, 53}, {326, 75}, {326, 94}, {361, 141}, {418, 281}, {380, 269}},
    {{324, 53}, {326, 75}, {326, 94}, {359, 153}, {414, 283}, {380, 269}},
    {{324, 53}, {326, 75}, {326, 94}, {360, 142}, {410, 267}, {372, 253}},
    {{324, 53}, {326, 75}, {326, 94}, {360, 142}, {410, 283}, {372, 269}},
    {{324, 53}, {326, 75}, {326, 94}, {360, 142}, {410, 267}, {372, 253}},
    {{324, 53}, {326, 75}, {326, 94}, {360, 142}, {410, 283}, {372, 269}},
    {{324, 53}, {326, 75}, {326, 94}, {360, 142}, {410, 275}, {372, 261}},
};

struct Blank {
    const char* label;
    Place place;
    int width;
    int height;
};

// Counts pixels inside the label's rectangle that fail the test.
template <typename Fails> int count_pixels(const QImage& image, const Blank& blank, Fails fails)
{
    int count = 0;
    for (int y = blank.place.top - 6; y < blank.place.top - 6 + blank.height; ++y)
        for (int x = blank.place.left - 8; x < blank.place.left - 8 + blank.width; ++x)
            count += fails(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// The window opens on kind 1's template with every label where the form description puts it.
const KindPlaces kOpeningPlaces = {{324, 53}, {326, 75}, {326, 94}, {377, 142}, {418, 281}, {380, 267}};

struct Layout {
    int kind;
    const KindPlaces* places;
};

TEST(Templates, BlanksLieUnderTheOverlayLabels)
{
    std::vector<Layout> layouts{{1, &kOpeningPlaces}};
    for (int kind = 1; kind <= 16; ++kind)
        layouts.push_back({kind, &kPlaces[kind - 1]});
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(kind_file(layout.kind) + (layout.places == &kOpeningPlaces ? " as the window opens" : ""));
        const Bytes bytes = read_committed(kind_file(layout.kind));
        QImage image;
        ASSERT_TRUE(image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "JPEG"));
        ASSERT_EQ(image.size(), QSize(500, 316));
        const KindPlaces& places = *layout.places;

        // The four opaque labels paint white; what lies under them should be white paper already.
        const Blank opaque[] = {{"name", places.name, 56, 14},
                                {"sex", places.sex, 26, 12},
                                {"age", places.age, 56, 13},
                                {"second name", places.second_name, 37, 14}};
        for (const Blank& blank : opaque) {
            const int off_white = count_pixels(image, blank, [](QRgb pixel) {
                return qRed(pixel) < 225 || qGreen(pixel) < 225 || qBlue(pixel) < 225;
            });
            EXPECT_EQ(off_white, 0) << blank.label;
        }

        // The transparent labels show what is beneath: the seal's red may be there, printed
        // (dark) text may not.
        const Blank transparent[] = {{"number", places.number, 40, 13}, {"issue date", places.issue_date, 66, 11}};
        for (const Blank& blank : transparent) {
            const int printed = count_pixels(image, blank, [](QRgb pixel) {
                return std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}) < 140;
            });
            EXPECT_EQ(printed, 0) << blank.label;
        }
    }
}

}  // namespace
