#pragma once
// The label kind (0x1000A): a self-drawn panel with an optional gradient frame, a background
// (picture, gradient or plain colour) and a caption with an optional relief effect. Every pixel of
// its client area is painted by the label itself.

#include "platform/device_context.h"
#include "platform/region.h"
#include "runtime/components/component.h"
#include "runtime/form/blocks/label_block.h"
#include "runtime/imaging/decoded_picture.h"

#include <memory>
#include <optional>

namespace runtime::components {

inline constexpr char kLabelClassName[] = "_Kestrin_Label";
// A private message that raises the label's event 0 with its two parameters and returns the result.
inline constexpr std::uint32_t kLabelFeedbackMessage = 0x8075;

const KindRecord& label_kind();

// Own property indices as the kind receives them (the application's index minus 8).
namespace LabelProperty {
inline constexpr int Caption = 0;
inline constexpr int Effect = 1;
inline constexpr int BorderStyle = 2;
inline constexpr int FrameWidth = 3;
inline constexpr int FrameColour1 = 4;
inline constexpr int FrameColour3 = 6;
inline constexpr int Font = 7;
inline constexpr int TextColour = 8;
inline constexpr int BackgroundColour = 9;
inline constexpr int BackgroundPicture = 10;
inline constexpr int Layout = 11;
inline constexpr int BackgroundGradient = 12;
inline constexpr int GradientColour1 = 13;
inline constexpr int GradientColour3 = 15;
inline constexpr int HorizontalAlignment = 16;
inline constexpr int WordWrap = 17;
inline constexpr int VerticalAlignment = 18;
inline constexpr int DataSource = 19;
inline constexpr int DataColumn = 20;
}  // namespace LabelProperty

enum class PictureLayout : std::uint32_t {
    TopLeft = 0,  // natural size at the top-left corner
    Tiled = 1,
    FitCentred = 2,  // never enlarged; shrunk to fit keeping its proportions
};

// Where a picture of the given size goes in `area` when fitted and centred.
platform::Rect fitted_picture_rect(const platform::Rect& area, int picture_width, int picture_height);

enum class Border : std::uint32_t {
    None = 0,
    ClientEdge = 1,
    ModalFrame = 2,
    StaticEdge = 3,
    ClientEdgeAndModalFrame = 4,
    SingleLine = 5,
    GradientFrame = 6,  // drawn by the label itself
};
inline constexpr int kMinimumFrameWidth = 5;

class Label final : public Component {
public:
    Label(WindowId window, ControlId control, form::LabelBlock block);

    static Component* create(const CreateRequest& request);
    int property_changed(int index, const PropertyData& data);
    int read_property(int index, PropertyData& data);
    std::vector<std::uint8_t> save_properties() const;

    // Paints the client area on `context`; only what meets `area` needs painting.
    void paint(platform::DeviceContext& context, const platform::Region& area);

    const form::LabelBlock& block() const { return m_block; }

private:
    friend std::intptr_t label_window_procedure(platform::WindowHandle handle, platform::Message& message);

    void apply_border();
    // The decoded background picture, decoding it on first use; a picture that does not decode is
    // dropped for good.
    const imaging::DecodedPicture* background_picture();
    platform::Region draw_background_picture(platform::DeviceContext& context, const imaging::DecodedPicture& picture,
                                             const platform::Rect& rect, const platform::Region& area,
                                             platform::Region fill, platform::Colour background);

    form::LabelBlock m_block;
    std::optional<imaging::DecodedPicture> m_picture;
    // The bitmap of the picture last shown, until the next picture is decoded into it.
    std::shared_ptr<platform::Bitmap> m_reusable_bitmap;
};

std::intptr_t label_window_procedure(platform::WindowHandle handle, platform::Message& message);

}  // namespace runtime::components
