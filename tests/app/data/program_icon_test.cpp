// The program's icon as embedded in the executable: the committed files, byte for byte, one per
// size in order, each a picture of its size; and at 16 pixels still a sheet of paper with a red seal.

#include "app/data/embedded_data.h"
#include "app/start.h"

#include <QImage>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

std::vector<std::uint8_t> committed_icon(int size)
{
    std::ifstream file(std::string(CERTMAKER_SOURCE_DIR) + "/app/data/icons/certmaker_" + std::to_string(size) + ".png",
                       std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

QImage decoded(const app::data::Span& file)
{
    return QImage::fromData(file.data, static_cast<int>(file.size), "PNG");
}

TEST(ProgramIcon, EmbedsTheCommittedFileOfEverySize)
{
    const auto files = app::data::program_icon();
    ASSERT_EQ(files.size(), std::size(kSizes));
    const runtime::ProgramIcon handed = app::program_icon();
    ASSERT_EQ(handed.count, files.size());
    for (std::size_t index = 0; index < files.size(); ++index) {
        SCOPED_TRACE(kSizes[index]);
        const std::vector<std::uint8_t> expected = committed_icon(kSizes[index]);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(std::vector<std::uint8_t>(files[index].data, files[index].data + files[index].size), expected);
        EXPECT_EQ(decoded(files[index]).size(), QSize(kSizes[index], kSizes[index]));
        EXPECT_EQ(handed.files[index].data, files[index].data);
        EXPECT_EQ(handed.files[index].size, files[index].size);
    }
}

TEST(ProgramIcon, SmallestSizeShowsPaperAndARedSeal)
{
    const QImage icon = decoded(app::data::program_icon().front()).convertToFormat(QImage::Format_ARGB32);
    int paper = 0;
    int seal = 0;
    int clear = 0;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QColor colour = icon.pixelColor(x, y);
            if (colour.alpha() == 0)
                ++clear;
            else if (colour.alpha() == 255 && colour.lightness() > 200 && colour.saturation() < 120)
                ++paper;
            else if (colour.alpha() == 255 && colour.red() > 150 && colour.green() < 90 && colour.blue() < 90)
                ++seal;
        }
    }
    // Enough of each to read at a glance; the corners stay transparent, so the sheet has a shape.
    EXPECT_GE(paper, 40);
    EXPECT_GE(seal, 12);
    EXPECT_GT(clear, 0);
    EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0);
}

}  // namespace
