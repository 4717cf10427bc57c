// Fonts from stored LOGFONTs: one handle per description, the face mapping for faces the system
// lacks, and sizes as the description gives them.

#include "platform/text_encoding.h"
#include "platform/win32/fonts_win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace platform {
namespace {

LogFont with_face(const char* utf8_face, std::int32_t height)
{
    LogFont font = default_gui_log_font();
    std::memset(font.face_name, 0, sizeof font.face_name);
    std::string face = gbk_from_utf8(utf8_face);
    std::memcpy(font.face_name, face.c_str(), face.size());
    font.height = height;
    return font;
}

struct SelectedFont {
    std::wstring face;
    TEXTMETRICW metrics{};
};

SelectedFont selected(HFONT font)
{
    SelectedFont result;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    result.face = face;
    GetTextMetricsW(dc, &result.metrics);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return result;
}

TEST(Fonts, OneHandlePerDescriptionWhateverFollowsTheFaceName)
{
    LogFont font = with_face("宋体", -12);
    HFONT first = font_handle(font);
    ASSERT_NE(first, nullptr);
    LogFont same = font;
    same.face_name[30] = 'x';  // after the terminator: kept as stored, describes nothing
    EXPECT_EQ(font_handle(same), first);
    LogFont taller = font;
    taller.height = -20;
    EXPECT_NE(font_handle(taller), first);
}

TEST(Fonts, MissingFacesMapToTheCjkFamiliesAndHeightsAreCharacterHeights)
{
    struct Case {
        const char* face;
        const wchar_t* stored;
        const wchar_t* mapped;
    };
    const Case cases[] = {
        {"宋体", L"宋体", L"Noto Serif CJK SC"},
        {"黑体", L"黑体", L"Noto Sans CJK SC"},
    };
    for (const Case& c : cases) {
        SelectedFont font = selected(font_handle(with_face(c.face, -24)));
        EXPECT_TRUE(font.face == c.stored || font.face == c.mapped) << c.face << " gave face " << font.face.size();
        // A negative height is the character height: the cell less its internal leading (Wine's
        // rounding of these faces' metrics may add a pixel).
        EXPECT_NEAR(font.metrics.tmHeight - font.metrics.tmInternalLeading, 24, 1) << c.face;
    }
    // A positive height is the cell height.
    SelectedFont cell = selected(font_handle(with_face("宋体", 24)));
    EXPECT_NEAR(cell.metrics.tmHeight, 24, 1);
    // A face no system has still gives a font.
    EXPECT_NE(font_handle(with_face("No Such Face 123", -12)), nullptr);
}

}  // namespace
}  // namespace platform
