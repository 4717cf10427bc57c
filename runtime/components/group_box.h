#pragma once
// The group box kind (0x10009) on the platform's "BUTTON" control with the group-box style: a
// titled frame that contains other controls. It erases its client area with its background brush
// and passes its children's notifications and colour queries back to the child that sent them.

#include "runtime/components/component.h"
#include "runtime/form/blocks/group_box_block.h"

namespace runtime::components {

const KindRecord& group_box_kind();

namespace GroupBoxProperty {
inline constexpr int Caption = 0;
inline constexpr int TitleAlignment = 1;
inline constexpr int TextColour = 2;
inline constexpr int BackgroundColour = 3;
inline constexpr int Font = 4;
}  // namespace GroupBoxProperty

class GroupBox final : public Component {
public:
    GroupBox(WindowId window, ControlId control, form::GroupBoxBlock block);

    static Component* create(const CreateRequest& request);
    int property_changed(int index, const PropertyData& data);
    int read_property(int index, PropertyData& data);
    std::vector<std::uint8_t> save_properties() const;

    const form::GroupBoxBlock& block() const { return m_block; }
    // The colour its brush fills the client area with.
    platform::Colour brush_colour() const { return m_brush; }

private:
    void apply_font();
    void remake_brush();

    form::GroupBoxBlock m_block;
    platform::Colour m_brush = 0;
};

}  // namespace runtime::components
