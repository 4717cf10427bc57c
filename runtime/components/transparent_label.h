#pragma once
// The transparent label kind (0x20005): text with no background of its own. Painting draws only
// the glyphs; after every property write and every move the windows beneath it repaint the covered
// area first, back to front, and the text is then drawn again on top.

#include "platform/device_context.h"
#include "platform/region.h"
#include "runtime/components/component.h"
#include "runtime/form/blocks/transparent_label_block.h"

namespace runtime::components {

inline constexpr char kTransparentLabelClassName[] = "_Kestrin_TransLabel";

const KindRecord& transparent_label_kind();

namespace TransparentLabelProperty {
inline constexpr int Caption = 0;
inline constexpr int Effect = 1;
inline constexpr int Font = 2;
inline constexpr int TextColour = 3;
inline constexpr int HorizontalAlignment = 4;
inline constexpr int WordWrap = 5;
inline constexpr int VerticalAlignment = 6;
}  // namespace TransparentLabelProperty

class TransparentLabel final : public Component {
public:
    TransparentLabel(WindowId window, ControlId control, form::TransparentLabelBlock block);

    static Component* create(const CreateRequest& request);
    int property_changed(int index, const PropertyData& data);
    int read_property(int index, PropertyData& data);
    std::vector<std::uint8_t> save_properties() const;

    // Draws the caption on `context` (client coordinates); touches no pixel outside the glyphs.
    void paint(platform::DeviceContext& context);

    const form::TransparentLabelBlock& block() const { return m_block; }

private:
    form::TransparentLabelBlock m_block;
};

// Invalidates, with erasing, every visible window of the label's top-level window inside the
// label's rectangle, from the bottom of the Z order up (each parent before its children), then the
// label without erasing so that its text is drawn again on top, and paints it all at once in one
// pass. While a RefreshBatch is open the paint waits for the outermost batch to close.
void refresh_beneath(platform::WindowHandle label);

// Holds back the paints of refresh_beneath while it lives, so that everything one event handler
// changes (a label moved left, then down, then given a new caption) is painted once, when the
// outermost batch closes. The invalidations happen at once, so a message loop that runs inside the
// batch (a modal dialog) still paints everything in its own time.
class RefreshBatch {
public:
    RefreshBatch();
    ~RefreshBatch();
    RefreshBatch(const RefreshBatch&) = delete;
    RefreshBatch& operator=(const RefreshBatch&) = delete;
};

// Paints now what refreshes of an open batch hold back (nothing when none are waiting).
void complete_pending_refreshes();

std::intptr_t transparent_label_window_procedure(platform::WindowHandle handle, platform::Message& message);

}  // namespace runtime::components
