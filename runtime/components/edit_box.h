#pragma once
// The edit box kind (0x10005) on the platform's standard "EDIT" control: content, border, colours,
// font, selection, text limit, single or multi-line, alignment, letter case, password character,
// input modes that filter typed characters and normalise the text when the focus leaves, and an
// optional spin button beside a single-line box.
//
// Events: 0 content changed (once per change, and once after every content write), 1 spin pressed
// (spin mode 2; +1 up, -1 down), -7 / -8 focus gained / lost (lost after the normalisation).
// The parent passes the control's notifications and colour queries back to it (reflect_to_child).

#include "platform/native_window.h"
#include "runtime/components/component.h"
#include "runtime/form/blocks/edit_box_block.h"

#include <cstdint>
#include <string>

namespace runtime::components {

const KindRecord& edit_box_kind();

// Property indices minus 8.
namespace EditBoxProperty {
inline constexpr int Content = 0;
inline constexpr int Border = 1;
inline constexpr int TextColour = 2;
inline constexpr int BackgroundColour = 3;
inline constexpr int Font = 4;
inline constexpr int HideSelection = 5;
inline constexpr int MaximumLength = 6;
inline constexpr int MultiLine = 7;
inline constexpr int ScrollBars = 8;
inline constexpr int Alignment = 9;
inline constexpr int InputMode = 10;
inline constexpr int PasswordCharacter = 11;
inline constexpr int LetterCase = 12;
inline constexpr int SpinMode = 13;
inline constexpr int SpinLowerBound = 14;
inline constexpr int SpinUpperBound = 15;
inline constexpr int SelectionStart = 16;
inline constexpr int SelectionLength = 17;
inline constexpr int SelectedText = 18;
inline constexpr int DataSource = 19;
inline constexpr int DataColumn = 20;
}  // namespace EditBoxProperty

namespace EditBoxEvent {
inline constexpr int ContentChanged = 0;
inline constexpr int SpinPressed = 1;
}  // namespace EditBoxEvent

// Native style of an edit box from its property block (without the runtime's bits).
std::uint32_t edit_box_style(const form::EditBoxBlock& block);

class EditBox final : public Component {
public:
    EditBox(WindowId window, ControlId control, form::EditBoxBlock block, bool design_mode);
    ~EditBox() override;

    static Component* create(const CreateRequest& request);
    int property_changed(int index, const PropertyData& data);
    int read_property(int index, PropertyData& data);
    std::vector<std::uint8_t> save_properties() const;
    int wants_key(int key_code) const;

    const form::EditBoxBlock& block() const { return m_block; }
    platform::WindowHandle spin() const { return m_spin; }

    // For the subclass procedure.
    std::intptr_t handle_message(platform::Message& message, const platform::WindowProcedure& previous);

private:
    void apply_font();
    void apply_border();
    void apply_selection();
    void apply_password_character();
    void make_spin(const CreateRequest& request);
    void place_spin();
    void press_spin(int step);
    void normalise_text();
    void raise(std::int32_t event, std::int32_t argument = 0, int argument_count = 0);

    form::EditBoxBlock m_block;
    bool m_design_mode = false;
    bool m_setting_text = false;  // a content write is under way: its own notifications raise nothing
    platform::WindowHandle m_spin = 0;
    std::string m_read_text;  // what the last text read handed out
};

}  // namespace runtime::components
