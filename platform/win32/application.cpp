// Bringing the platform up and down: the common controls, the message queue, the default icon.

#include "platform/win32/native_window_internal_win32.h"

#include "platform/win32/native_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace platform {

namespace {

bool g_started = false;
HICON g_big_icon = nullptr;
HICON g_small_icon = nullptr;

// The icon of a PNG file, made by the system; nullptr when it does not decode.
HICON icon_from_png(std::span<const std::uint8_t> file, int& size)
{
    if (file.size() < 24 || file.size() > static_cast<std::size_t>(INT_MAX))
        return nullptr;
    // The PNG header gives the size: width at byte 16, height at 20, both big-endian.
    size = static_cast<int>(file[16]) << 24 | file[17] << 16 | file[18] << 8 | file[19];
    return CreateIconFromResourceEx(const_cast<PBYTE>(file.data()), static_cast<DWORD>(file.size()), TRUE, 0x00030000,
                                    0, 0, LR_DEFAULTCOLOR);
}

void apply_icons(HWND hwnd)
{
    if (g_big_icon)
        SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_big_icon));
    if (g_small_icon)
        SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_small_icon));
}

std::string utf8_from_wide(const wchar_t* text)
{
    int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(length) - 1);
    return utf8;
}

}  // namespace

std::vector<std::string> command_line_arguments(int argc, char** argv)
{
    std::vector<std::string> arguments;
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int index = 0; index < count; ++index)
            arguments.push_back(utf8_from_wide(wide[index]));
        LocalFree(wide);
        return arguments;
    }
    // Without the wide command line, argv is in the ANSI code page.
    for (int index = 0; index < argc && argv && argv[index]; ++index) {
        int length = MultiByteToWideChar(CP_ACP, 0, argv[index], -1, nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(std::max(length, 1)), L'\0');
        MultiByteToWideChar(CP_ACP, 0, argv[index], -1, wide.data(), length);
        arguments.push_back(utf8_from_wide(wide.c_str()));
    }
    return arguments;
}

void give_default_icon(HWND hwnd)
{
    apply_icons(hwnd);
}

void start_platform(int, char**, Display display)
{
    // Every window is the system's, on whatever desktop runs; offscreen, only synthesised input
    // reaches them.
    if (g_started)
        return;
    ignore_system_pointer(display == Display::Offscreen);
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    start_message_queue();
    g_started = true;
}

bool platform_started()
{
    return g_started;
}

int set_default_window_icon(std::span<const std::span<const std::uint8_t>> png_files)
{
    if (!g_started)
        return 0;
    const int big = GetSystemMetrics(SM_CXICON);
    const int small = GetSystemMetrics(SM_CXSMICON);
    HICON best_big = nullptr;
    HICON best_small = nullptr;
    int big_distance = INT_MAX;
    int small_distance = INT_MAX;
    int sizes = 0;
    std::vector<HICON> made;
    for (std::span<const std::uint8_t> file : png_files) {
        int size = 0;
        HICON icon = icon_from_png(file, size);
        if (!icon)
            continue;
        ++sizes;
        made.push_back(icon);
        // The sizes nearest to the system's large and small icons are kept.
        int to_big = std::abs(size - big);
        int to_small = std::abs(size - small);
        if (to_big < big_distance) {
            big_distance = to_big;
            best_big = icon;
        }
        if (to_small < small_distance) {
            small_distance = to_small;
            best_small = icon;
        }
    }
    for (HICON icon : made) {
        if (icon != best_big && icon != best_small)
            DestroyIcon(icon);
    }
    if (sizes == 0)
        return 0;
    g_big_icon = best_big;
    g_small_icon = best_small;
    for (WindowHandle handle : top_level_windows())
        apply_icons(native_window_handle(handle));
    return sizes;
}

void stop_platform()
{
    if (!g_started)
        return;
    destroy_all_windows();
    stop_message_queue();
    g_started = false;
}

}  // namespace platform
