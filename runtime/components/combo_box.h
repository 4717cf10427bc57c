#pragma once
// The combo box kind (0x1000E) on the platform's standard "COMBOBOX" control: simple, drop-down or
// drop-down list style, items with item data, current selection, the edit part's text, limit and
// selection, colours and font.
//
// Events: 0 item selected (raised through a message the control posts to itself once the platform
// confirms the user's choice, so that the new selection and text are in place), 1 edit text changed,
// 2 list dropping down, 3 list closed, 4 double click, -7 / -8 focus gained / lost. A program's
// change of the selection raises nothing. The parent passes the control's notifications and colour
// queries back to it (reflect_to_child).

#include "platform/native_window.h"
#include "runtime/components/component.h"
#include "runtime/form/blocks/combo_box_block.h"

#include <cstdint>
#include <string>
#include <vector>

namespace runtime::components {

const KindRecord& combo_box_kind();

// Property indices minus 8.
namespace ComboBoxProperty {
inline constexpr int Style = 0;
inline constexpr int Content = 1;
inline constexpr int MaximumLength = 2;
inline constexpr int SelectionStart = 3;
inline constexpr int SelectionLength = 4;
inline constexpr int SelectedText = 5;
inline constexpr int Sorted = 6;
inline constexpr int ExtraItemHeight = 7;
inline constexpr int TextColour = 8;
inline constexpr int BackgroundColour = 9;
inline constexpr int Font = 10;
inline constexpr int CurrentSelection = 11;
inline constexpr int Items = 12;
inline constexpr int ItemData = 13;
inline constexpr int DataSource = 14;
inline constexpr int DataColumn = 15;
inline constexpr int BindingOption = 16;
}  // namespace ComboBoxProperty

namespace ComboBoxEvent {
inline constexpr int ItemSelected = 0;
inline constexpr int EditTextChanged = 1;
inline constexpr int DroppingDown = 2;
inline constexpr int ClosedUp = 3;
inline constexpr int DoubleClick = 4;
}  // namespace ComboBoxEvent

namespace ComboBoxStyle {
inline constexpr std::uint32_t Simple = 0;
inline constexpr std::uint32_t DropDown = 1;
inline constexpr std::uint32_t DropDownList = 2;
}  // namespace ComboBoxStyle

// The height a dropped list has room for: a window of a drop-down style is at least this high.
inline constexpr int kComboDropDownHeight = 160;
// The message a combo box posts to itself to raise "item selected" after the choice is complete.
inline constexpr std::uint32_t kComboItemSelectedMessage = 0x8120;

// Native style of a combo box from its property block (without the runtime's bits).
std::uint32_t combo_box_style(const form::ComboBoxBlock& block);

class ComboBox final : public Component {
public:
    ComboBox(WindowId window, ControlId control, form::ComboBoxBlock block, bool design_mode);
    ~ComboBox() override;

    static Component* create(const CreateRequest& request);
    int property_changed(int index, const PropertyData& data);
    int read_property(int index, PropertyData& data);
    std::vector<std::uint8_t> save_properties() const;

    const form::ComboBoxBlock& block() const { return m_block; }

    // For the subclass procedure.
    std::intptr_t handle_message(platform::Message& message, const platform::WindowProcedure& previous);

private:
    bool has_edit() const { return m_block.style != ComboBoxStyle::DropDownList; }
    void fill_items();
    void apply_edit_selection();
    void raise(std::int32_t event);

    form::ComboBoxBlock m_block;
    bool m_design_mode = false;
    std::string m_read_text;                 // what the last text read handed out
    std::vector<std::uint8_t> m_read_bytes;  // what the last item list read handed out
};

}  // namespace runtime::components
