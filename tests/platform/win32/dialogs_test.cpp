// The system's common dialogs answered as a user would, from a second thread: the request's title,
// filter pairs and file name reach the dialog, and the chosen path comes back.

#include "platform/dialogs.h"
#include "platform/text_encoding.h"
#include "platform/win32/win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace platform {
namespace {

// Control ids of the file dialog: the file type list and the file name box.
constexpr int kFileTypeList = 0x470;
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;

HWND wait_for_window(const wchar_t* title)
{
    for (int tries = 0; tries < 200; ++tries) {
        if (HWND found = FindWindowW(nullptr, title))
            return found;
        Sleep(50);
    }
    return nullptr;
}

std::vector<std::wstring> list_items(HWND list)
{
    std::vector<std::wstring> items;
    auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

TEST(FileDialogs, TitleFilterAndNameReachTheDialogAndThePathComesBack)
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    FileDialogRequest request;
    request.mode = FileDialogMode::Save;
    request.title = gbk_from_utf8("保存证书");
    request.filter = gbk_from_utf8("位图|*.bmp|所有文件|*.*||");
    request.initial_filter_index = 2;
    request.initial_directory = gbk_from_utf16(std::u16string(folder, folder + wcslen(folder)));
    request.initial_file_name = gbk_from_utf8("证书.bmp");
    request.flags = FileDialogFlag::HideReadOnly | FileDialogFlag::NoChangeDirectory;

    std::vector<std::wstring> types;
    std::wstring shown_name;
    std::thread user([&] {
        HWND dialog = wait_for_window(L"保存证书");
        if (!dialog)
            return;
        types = list_items(GetDlgItem(dialog, kFileTypeList));
        HWND name = GetDlgItem(dialog, kFileNameCombo);
        if (!name)
            name = GetDlgItem(dialog, kFileNameEdit);
        wchar_t text[MAX_PATH] = {};
        GetWindowTextW(name, text, MAX_PATH);
        shown_name = text;
        SetWindowTextW(name, L"另一个.bmp");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    FileDialogAnswer answer = dialog_service().ask_file(request);
    user.join();

    EXPECT_EQ(types, (std::vector<std::wstring>{L"位图", L"所有文件"}));
    EXPECT_EQ(shown_name, L"证书.bmp");
    ASSERT_TRUE(answer.confirmed);
    std::string expected = request.initial_directory + gbk_from_utf8("另一个.bmp");
    EXPECT_EQ(answer.path, expected);
}

TEST(FontDialogs, TheChosenFontAndColourComeBackAsStored)
{
    FontDialogRequest request;
    request.font = default_gui_log_font();
    request.font.height = -16;
    request.font.weight = 700;
    request.colour = 0x0000FF;
    std::wstring shown_face;
    std::thread user([&] {
        HWND dialog = nullptr;
        for (int tries = 0; tries < 200 && !dialog; ++tries, Sleep(50))
            dialog = FindWindowW(L"#32770", nullptr);
        if (!dialog)
            return;
        Sleep(200);
        // The face list's edit shows the face the dialog chose.
        wchar_t face[LF_FACESIZE] = {};
        GetDlgItemTextW(dialog, 0x470, face, LF_FACESIZE);
        shown_face = face;
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    FontDialogAnswer answer = dialog_service().ask_font(request);
    user.join();
    ASSERT_TRUE(answer.confirmed);
    EXPECT_EQ(answer.font.height, -16);
    EXPECT_EQ(answer.font.weight, 700);
    EXPECT_EQ(answer.colour, 0x0000FFu);
    // The dialog shows the face that stands in for the missing "宋体"; the answer names "宋体".
    EXPECT_TRUE(shown_face == L"宋体" || shown_face == L"Noto Serif CJK SC") << shown_face.size();
    EXPECT_EQ(std::string(answer.font.face_name), gbk_from_utf8("宋体"));
}

}  // namespace
}  // namespace platform
