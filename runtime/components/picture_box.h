#pragma once
// The picture box (kind 0x10006, "_Kestrin_PicBox"): one picture given as file bytes, over a solid
// background, natural size, stretched or fitted, with an optional border; a GIF of several frames
// plays through the GIF animator.

#include "runtime/components/component.h"
#include "runtime/components/gif_animator.h"
#include "runtime/files/byte_buffer.h"
#include "runtime/form/blocks/picture_box_block.h"
#include "runtime/imaging/decoded_picture.h"

#include "platform/device_context.h"
#include "platform/graphics.h"
#include "platform/messages.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace runtime::components {

const KindRecord& picture_box_kind();

inline constexpr const char* kPictureBoxClassName = "_Kestrin_PicBox";

// Own property indices (property index minus 8).
namespace PictureBoxProperty {
inline constexpr int Border = 0;
inline constexpr int BackgroundColour = 1;
inline constexpr int Picture = 2;
inline constexpr int DisplayMode = 3;
inline constexpr int Animate = 4;
inline constexpr int DataSource = 5;
inline constexpr int DataColumn = 6;
}  // namespace PictureBoxProperty

enum class DisplayMode : std::uint32_t {
    Natural = 0,        // natural size at the top-left corner
    Stretch = 1,        // stretched to the client area
    Fit = 2,            // centred, shrunk if needed, never enlarged
    SizeToPicture = 3,  // the window takes the picture's size (only from a stored block)
};

// Where a picture of w x h goes in a client area of W x H in the given display mode.
platform::Rect picture_placement(DisplayMode mode, int client_width, int client_height, int picture_width,
                                 int picture_height);

// Sent by the animator's worker (posted) when a new frame waits on the canvas.
inline constexpr std::uint32_t kPresentFrameMessage = platform::WM_APP + 0x0601;

class PictureBox final : public Component {
public:
    static PictureBox* create(const CreateRequest& request);

    int property_changed(int index, const PropertyData& data);
    int read_property(int index, PropertyData& data);
    std::vector<std::uint8_t> save_properties() const;

    const form::PictureBoxBlock& properties() const { return m_properties; }
    std::span<const std::uint8_t> picture_bytes() const;
    const imaging::DecodedPicture* decoded_picture() const { return m_decoded ? &*m_decoded : nullptr; }
    DisplayMode applied_display_mode() const { return m_applied_mode; }
    platform::Colour resolved_background() const { return m_background; }
    bool animating() const { return m_animation_flag && m_decoded && m_decoded->kind == imaging::PictureKind::Gif; }
    const GifAnimator& animator() const { return m_animator; }

    // The window procedure of the class hands every message of the box's window here.
    std::intptr_t handle_message_for(platform::WindowHandle handle, platform::Message& message);

private:
    PictureBox(const CreateRequest& request, form::PictureBoxBlock properties);

    void paint(const platform::PaintRequest& request);
    void paint_still(platform::DeviceContext& context, const platform::Rect& place);
    void decode_picture(imaging::ShownSize shown);
    imaging::ShownSize shown_size() const;
    bool decoded_as_shown() const;
    platform::Rect still_placement(const platform::Rect& client) const;
    void paint_animation(platform::DeviceContext& context);

    bool set_picture();
    void store_picture(const std::uint8_t* bytes, std::size_t count);
    void free_picture();
    void apply_display_mode(DisplayMode mode);
    void size_to_picture();
    void apply_border();
    void resolve_background();
    void start_animation();
    void invalidate_changed_frame_area();
    platform::Rect animation_placement() const;

    form::PictureBoxBlock m_properties;  // the picture bytes live in m_picture instead
    ByteBuffer m_picture;
    std::optional<imaging::DecodedPicture> m_decoded;
    imaging::ShownSize m_decoded_for;  // how the box showed the picture when it was decoded
    // The still picture as it is drawn: converted and scaled once, for the size and background it
    // was made for; made again only when either changes.
    std::unique_ptr<platform::Bitmap> m_shown;
    platform::Colour m_shown_background = 0;
    platform::Colour m_background = 0;
    DisplayMode m_applied_mode = DisplayMode::Natural;
    bool m_design_mode = false;
    bool m_animation_flag = false;       // GIFs go to the animator
    bool m_animation_requested = false;  // property 12
    bool m_animation_started = false;    // the first paint of the animated picture has started it
    bool m_first_paint_pending = false;
    GifAnimator m_animator;
};

// Passes the stored block's data source and data column, in that order and each with flag 0, to
// `convert`, and returns the block written anew with what it gave back. None when the block cannot
// be read.
using TextConverter = std::string (*)(const std::string& text, int flag, void* context);
std::optional<std::vector<std::uint8_t>> convert_picture_box_texts(std::span<const std::uint8_t> block,
                                                                   TextConverter convert, void* context);

}  // namespace runtime::components
