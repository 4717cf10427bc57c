#pragma once
// The common dialog kind (0x1001F): no appearance of its own; it holds the settings of the
// platform's open-file, save-file and font dialogs, shows the one its `dialog type` selects when
// opened, and keeps the results in its properties. Dialog type 3 (help) has no help viewer on this
// platform: opening it always gives 0.

#include "platform/dialogs.h"
#include "runtime/components/common_dialog_operations.h"
#include "runtime/components/component.h"
#include "runtime/form/blocks/common_dialog_block.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace runtime::components {

inline constexpr char kCommonDialogClassName[] = "_Kestrin_CommonDlg";

const KindRecord& common_dialog_kind();

namespace CommonDialogProperty {
inline constexpr int Type = 0;
inline constexpr int Title = 1;
inline constexpr int FileName = 2;
inline constexpr int Filter = 3;
inline constexpr int InitialFilter = 4;
inline constexpr int InitialDirectory = 5;
inline constexpr int DefaultExtension = 6;
inline constexpr int CreatePrompt = 7;
inline constexpr int FileMustExist = 8;
inline constexpr int OverwritePrompt = 9;
inline constexpr int PathMustExist = 10;
inline constexpr int KeepDirectory = 11;
inline constexpr int FontColour = 12;
inline constexpr int Bold = 13;
inline constexpr int Italic = 14;
inline constexpr int StrikeOut = 15;
inline constexpr int Underline = 16;
inline constexpr int FontName = 17;
inline constexpr int FontSize = 18;
inline constexpr int HelpFile = 19;
inline constexpr int HelpCommand = 20;
inline constexpr int HelpTopic = 21;
}  // namespace CommonDialogProperty

enum class DialogType : std::uint32_t {
    Open = 0,
    Save = 1,
    Font = 2,
    Help = 3,
};
inline constexpr std::int32_t kHighestHelpCommand = 5;

// a x b / c rounded to the nearest integer, halves away from zero; -1 when c is 0.
std::int32_t multiply_divide(std::int32_t a, std::int32_t b, std::int32_t c);

// The filter as the file dialog takes it: trailing white space removed, then "||" appended unless
// the text is empty or already ends with "||".
std::string file_dialog_filter(std::string_view filter);

class CommonDialog final : public Component {
public:
    CommonDialog(WindowId window, ControlId control, form::CommonDialogBlock block);

    static Component* create(const CreateRequest& request);
    int property_changed(int index, const PropertyData& data);
    int read_property(int index, PropertyData& data);
    std::vector<std::uint8_t> save_properties() const;

    // Shows the dialog its type selects, modally; 1 when the user confirmed it (the results are
    // then in the properties), else 0 and nothing changes.
    int open();

    platform::FileDialogRequest file_request() const;
    platform::FontDialogRequest font_request() const;

    const form::CommonDialogBlock& block() const { return m_block; }

private:
    int open_file_dialog();
    int open_font_dialog();

    form::CommonDialogBlock m_block;
};

// open_common_dialog (common_dialog_operations.h), the runtime's "common dialog open" command, is
// implemented with the kind: it opens the component when it is a common dialog, else gives 0.

}  // namespace runtime::components
