// The dialog service on the system's common dialogs and message box. The requests' flags are the
// common dialogs' own, passed on as they are.

#include "platform/dialogs.h"

#include "platform/text_encoding.h"
#include "platform/win32/fonts_win32.h"
#include "platform/win32/native_window_win32.h"
#include "platform/win32/win32.h"

#include <commdlg.h>

#include <cstring>
#include <string>
#include <vector>

namespace platform {
namespace {

std::wstring wide_from_gbk(std::string_view gbk)
{
    std::u16string text = utf16_from_gbk(gbk);
    return std::wstring(text.begin(), text.end());
}

std::string gbk_from_wide(const wchar_t* text)
{
    std::wstring_view view(text);
    return gbk_from_utf16(std::u16string(view.begin(), view.end()));
}

HWND owner_window(WindowHandle owner)
{
    HWND native = owner ? native_window_handle(owner) : nullptr;
    return native ? native : GetActiveWindow();
}

// "jpg图片|*.jpg|所有文件|*.*||" becomes the system's "jpg图片\0*.jpg\0所有文件\0*.*\0\0".
std::wstring native_filter(const std::string& filter)
{
    std::wstring wide = wide_from_gbk(filter);
    // Pairs end at an empty description and pattern.
    if (std::size_t end = wide.find(L"||"); end != std::wstring::npos)
        wide.resize(end + 1);
    for (wchar_t& c : wide) {
        if (c == L'|')
            c = L'\0';
    }
    if (wide.empty() || wide.back() != L'\0')
        wide.push_back(L'\0');
    wide.push_back(L'\0');
    return wide;
}

DWORD native_file_flags(std::uint32_t flags)
{
    struct FlagPair {
        std::uint32_t ours;
        DWORD system;
    };
    constexpr FlagPair kFlags[] = {
        {FileDialogFlag::HideReadOnly, OFN_HIDEREADONLY},   {FileDialogFlag::CreatePrompt, OFN_CREATEPROMPT},
        {FileDialogFlag::FileMustExist, OFN_FILEMUSTEXIST}, {FileDialogFlag::OverwritePrompt, OFN_OVERWRITEPROMPT},
        {FileDialogFlag::PathMustExist, OFN_PATHMUSTEXIST}, {FileDialogFlag::NoChangeDirectory, OFN_NOCHANGEDIR},
    };
    DWORD result = OFN_EXPLORER;
    for (const FlagPair& pair : kFlags) {
        if (flags & pair.ours)
            result |= pair.system;
    }
    return result;
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
    // The dialog starts on the face that stands in for a missing one.
    std::wstring face = installed_face_name(
        wide_from_gbk(std::string_view(font.face_name, strnlen(font.face_name, sizeof font.face_name))));
    if (face.size() >= LF_FACESIZE)
        face.resize(LF_FACESIZE - 1);
    std::memcpy(native.lfFaceName, face.c_str(), (face.size() + 1) * sizeof(wchar_t));
    return native;
}

LogFont log_font_from_native(const LOGFONTW& native)
{
    LogFont font;
    font.height = native.lfHeight;
    font.width = native.lfWidth;
    font.escapement = native.lfEscapement;
    font.orientation = native.lfOrientation;
    font.weight = native.lfWeight;
    font.italic = native.lfItalic;
    font.underline = native.lfUnderline;
    font.strike_out = native.lfStrikeOut;
    font.char_set = native.lfCharSet;
    font.out_precision = native.lfOutPrecision;
    font.clip_precision = native.lfClipPrecision;
    font.quality = native.lfQuality;
    font.pitch_and_family = native.lfPitchAndFamily;
    std::string face = gbk_from_wide(stored_face_name(native.lfFaceName).c_str());
    std::string_view kept = cut_at_character(face, sizeof font.face_name - 1);
    std::memcpy(font.face_name, kept.data(), kept.size());
    return font;
}

UINT icon_flag(MessageBoxIcon icon)
{
    switch (icon) {
    case MessageBoxIcon::Error:
        return MB_ICONERROR;
    case MessageBoxIcon::Warning:
        return MB_ICONWARNING;
    case MessageBoxIcon::Information:
        return MB_ICONINFORMATION;
    case MessageBoxIcon::None:
        break;
    }
    return 0;
}

class Win32DialogService final : public DialogService {
public:
    void show_message_box(const MessageBoxRequest& request) override
    {
        std::wstring text = wide_from_gbk(request.text);
        std::wstring title = wide_from_gbk(request.title);
        MessageBoxW(owner_window(0), text.c_str(), title.c_str(), MB_OK | icon_flag(request.icon));
    }

    FileDialogAnswer ask_file(const FileDialogRequest& request) override
    {
        // Room for the longest path the wide-character calls take.
        constexpr std::size_t kPathCapacity = 32768;
        std::vector<wchar_t> path(kPathCapacity, L'\0');
        std::wstring initial = wide_from_gbk(request.initial_file_name);
        if (initial.size() < kPathCapacity)
            std::copy(initial.begin(), initial.end(), path.begin());
        std::wstring title = wide_from_gbk(request.title);
        std::wstring filter = request.filter.empty() ? std::wstring() : native_filter(request.filter);
        std::wstring folder = wide_from_gbk(request.initial_directory);
        std::wstring extension = wide_from_gbk(request.default_extension);

        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner_window(request.owner);
        dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
        dialog.nFilterIndex = filter.empty() ? 0 : static_cast<DWORD>(std::max(request.initial_filter_index, 0));
        dialog.lpstrFile = path.data();
        dialog.nMaxFile = static_cast<DWORD>(kPathCapacity);
        dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
        dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
        dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        dialog.Flags = native_file_flags(request.flags);
        BOOL chosen = request.mode == FileDialogMode::Save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
        FileDialogAnswer answer;
        if (chosen) {
            answer.confirmed = true;
            answer.path = gbk_from_wide(path.data());
        }
        return answer;
    }

    FontDialogAnswer ask_font(const FontDialogRequest& request) override
    {
        LOGFONTW font = native_log_font(request.font);
        CHOOSEFONTW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner_window(request.owner);
        dialog.lpLogFont = &font;
        dialog.rgbColors = static_cast<COLORREF>(request.colour & 0x00FFFFFF);
        dialog.Flags = CF_SCREENFONTS | CF_EFFECTS;
        // A request without a face or a size starts the dialog empty.
        if (request.font.face_name[0] != '\0' || request.font.height != 0)
            dialog.Flags |= CF_INITTOLOGFONTSTRUCT;
        FontDialogAnswer answer;
        if (!ChooseFontW(&dialog))
            return answer;
        answer.confirmed = true;
        answer.font = log_font_from_native(font);
        answer.colour = static_cast<std::uint32_t>(dialog.rgbColors);
        return answer;
    }
};

DialogService* g_installed = nullptr;

}  // namespace

DialogService& dialog_service()
{
    static Win32DialogService system_service;
    return g_installed ? *g_installed : system_service;
}

void set_dialog_service(DialogService* service)
{
    g_installed = service;
}

}  // namespace platform
