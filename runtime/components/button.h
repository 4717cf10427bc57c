#pragma once
// The button kind (0x1000B) on the platform's standard "BUTTON" control: caption or picture,
// alignment, font, and the window's default push button. Raises event 0 when clicked (mouse,
// Space, its mnemonic, or Enter as the default button) and -7 / -8 on gaining / losing the focus.
//
// The window's keyboard handling drives Enter and mnemonics:
//   - Enter, when the focused control does not want it (interface 8): if the focused control's
//     kind gives `default activation` (interface 10) and it answers 1, and its window is enabled,
//     call activate_button on it; otherwise, unless the window moves the focus with Enter, take the
//     first unit in unit order whose kind answers 1 to `default activation` and whose window is
//     enabled, and call activate_button on it.
//   - A mnemonic letter (mnemonic_of on the control's caption) of a kind with flag 0x800: call
//     activate_button.
// The button's parent passes BN_CLICKED back to it (reflect_to_child); that is how clicks by mouse
// and Space become events.

#include "platform/graphics.h"
#include "runtime/components/component.h"
#include "runtime/form/blocks/button_block.h"
#include "runtime/imaging/decoded_picture.h"

#include <memory>
#include <optional>

namespace runtime::components {

const KindRecord& button_kind();

namespace ButtonProperty {
inline constexpr int Picture = 0;
inline constexpr int DefaultButton = 1;
inline constexpr int Caption = 2;
inline constexpr int HorizontalAlignment = 3;
inline constexpr int VerticalAlignment = 4;
inline constexpr int Font = 5;
}  // namespace ButtonProperty

// Native style of a button from its property block (without the runtime's bits).
std::uint32_t button_style(const form::ButtonBlock& block);

class Button final : public Component {
public:
    Button(WindowId window, ControlId control, form::ButtonBlock block);
    ~Button() override;

    static Component* create(const CreateRequest& request);
    int property_changed(int index, const PropertyData& data);
    int read_property(int index, PropertyData& data);
    std::vector<std::uint8_t> save_properties() const;
    // 1 when the button is the window's default push button.
    int default_activation() const;
    // Raises the clicked event (0); true when a handler ran.
    bool activate();

    const form::ButtonBlock& block() const { return m_block; }

private:
    void prepare_picture();
    void apply_font();
    void replace_style_bits(std::uint32_t mask, std::uint32_t bits);

    form::ButtonBlock m_block;
    // The picture shown instead of the caption, alive as long as the native window shows it.
    std::optional<imaging::DecodedPicture> m_picture;
    std::unique_ptr<platform::Bitmap> m_bitmap;
};

// Raises the button's clicked event as a click does; for the window's Enter and mnemonic handling.
// False for a component that is not a button or when no handler ran.
bool activate_button(Component* component);

}  // namespace runtime::components
