// Fonts made by GDI from a LOGFONT as it is stored. A face the system does not have is mapped as on
// every backend: the Song-style faces to a CJK serif, the black faces to a CJK sans.

#include "platform/win32/fonts_win32.h"

#include "platform/text_encoding.h"

#include <array>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace platform {
namespace {

constexpr std::size_t kFaceCapacity = LF_FACESIZE;  // 32 wide characters, the terminator included

struct FaceMapping {
    const wchar_t* stored;
    const wchar_t* installed;
};

constexpr std::array<FaceMapping, 5> kFaceMappings = {{
    {L"宋体", L"Noto Serif CJK SC"},
    {L"新宋体", L"Noto Serif CJK SC"},
    {L"", L"Noto Serif CJK SC"},
    {L"黑体", L"Noto Sans CJK SC"},
    {L"微软雅黑", L"Noto Sans CJK SC"},
}};

int CALLBACK note_face_found(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool face_installed(const std::wstring& face)
{
    static std::map<std::wstring, bool> known;
    if (auto it = known.find(face); it != known.end())
        return it->second;
    bool found = false;
    if (!face.empty() && face.size() < kFaceCapacity) {
        HDC screen = GetDC(nullptr);
        LOGFONTW query{};
        query.lfCharSet = DEFAULT_CHARSET;
        std::memcpy(query.lfFaceName, face.c_str(), (face.size() + 1) * sizeof(wchar_t));
        EnumFontFamiliesExW(screen, &query, note_face_found, reinterpret_cast<LPARAM>(&found), 0);
        ReleaseDC(nullptr, screen);
    }
    known.emplace(face, found);
    return found;
}

}  // namespace

std::wstring installed_face_name(const std::wstring& face)
{
    if (face_installed(face))
        return face;
    for (const FaceMapping& mapping : kFaceMappings) {
        if (face == mapping.stored)
            return mapping.installed;
    }
    return face;
}

std::wstring stored_face_name(const std::wstring& installed)
{
    for (const FaceMapping& mapping : kFaceMappings) {
        if (installed == mapping.installed && !face_installed(mapping.stored))
            return mapping.stored;
    }
    return installed;
}

namespace {

std::wstring face_from_gbk(const char* face, std::size_t capacity)
{
    std::size_t length = strnlen(face, capacity);
    std::u16string text = utf16_from_gbk(std::string_view(face, length));
    std::wstring wide(text.begin(), text.end());
    if (wide.size() >= kFaceCapacity)
        wide.resize(kFaceCapacity - 1);
    return wide;
}

// The same description gives the same font: the key is the stored bytes up to the face's terminator
// (what follows it does not describe the font).
std::string font_key(const LogFont& font)
{
    LogFont normal = font;
    std::size_t length = strnlen(normal.face_name, sizeof normal.face_name);
    std::memset(normal.face_name + length, 0, sizeof normal.face_name - length);
    return std::string(reinterpret_cast<const char*>(&normal), sizeof normal);
}

LOGFONTW native_log_font(const LogFont& font)
{
    LOGFONTW native{};
    native.lfHeight = font.height;
    native.lfWidth = font.width;
    native.lfEscapement = font.escapement;
    native.lfOrientation = font.orientation;
    native.lfWeight = font.weight;
    native.lfItalic = font.italic;
    native.lfUnderline = font.underline;
    native.lfStrikeOut = font.strike_out;
    native.lfCharSet = font.char_set;
    native.lfOutPrecision = font.out_precision;
    native.lfClipPrecision = font.clip_precision;
    native.lfQuality = font.quality;
    native.lfPitchAndFamily = font.pitch_and_family;
    std::wstring face = installed_face_name(face_from_gbk(font.face_name, sizeof font.face_name));
    std::memcpy(native.lfFaceName, face.c_str(), (face.size() + 1) * sizeof(wchar_t));
    return native;
}

}  // namespace

HFONT font_handle(const LogFont& font)
{
    // Fonts are made on the UI thread only, but the cache costs nothing to guard.
    static std::mutex guard;
    static std::map<std::string, HFONT> fonts;
    std::lock_guard lock(guard);
    std::string key = font_key(font);
    if (auto it = fonts.find(key); it != fonts.end())
        return it->second;
    LOGFONTW native = native_log_font(font);
    HFONT made = CreateFontIndirectW(&native);
    if (!made) {
        LOGFONTW fallback = native_log_font(default_gui_log_font());
        made = CreateFontIndirectW(&fallback);
    }
    if (!made)
        made = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts.emplace(std::move(key), made);
    return made;
}

}  // namespace platform
