#pragma once
// Shared by the tests of the label, transparent label, button, group box and common dialog kinds: a
// top-level parent window that passes notifications back to its controls (as the window kind
// does), a stored window whose units have event tables that record what they are raised with, and
// helpers to create components through their kind's interface and to read pixels.

#include "runtime/components/component.h"
#include "runtime/components/notification_reflection.h"
#include "runtime/windows/event_dispatch.h"
#include "runtime/windows/window_table.h"

#include "tests/runtime/form/form_test_support.h"

#include "platform/message_loop.h"
#include "platform/native_window.h"
#include "platform/qt/device_context_qt.h"
#include "platform/screen_capture.h"

#include <gtest/gtest.h>

#include <QImage>

#include <memory>
#include <vector>

namespace controls_test {

using namespace runtime;
using namespace runtime::components;

inline constexpr WindowId kWindow = 0x52010001;
inline constexpr ControlId kFirstControl = 0x16010100;
inline constexpr char kParentClass[] = "ControlsTestParent";

// ---- Events ------------------------------------------------------------------------------------

struct RaisedEvent {
    ControlId control = 0;
    std::int32_t event = 0;
    std::vector<std::int32_t> arguments;
};

inline std::vector<RaisedEvent>& raised_events()
{
    static std::vector<RaisedEvent> events;
    return events;
}

inline HandlerResult recording_handler(const std::int32_t* arguments, int count)
{
    std::vector<std::int32_t> words(arguments, arguments + count);
    raised_events().push_back(RaisedEvent{event_source().control, 0, std::move(words)});
    return {true, 77};
}

// Each event number has its own offset so that the record can tell them apart.
inline std::uint32_t offset_of_event(std::int32_t event)
{
    return 0x1000 + static_cast<std::uint32_t>(event + 16) * 0x10;
}

inline constexpr std::int32_t kRecordedEvents[] = {-8, -7, 0};

inline HandlerResult record_event(std::int32_t event, const std::int32_t* arguments, int count)
{
    HandlerResult result = recording_handler(arguments, count);
    raised_events().back().event = event;
    return result;
}
inline HandlerResult on_lost_focus(const std::int32_t* a, int n)
{
    return record_event(-8, a, n);
}
inline HandlerResult on_got_focus(const std::int32_t* a, int n)
{
    return record_event(-7, a, n);
}
inline HandlerResult on_event_0(const std::int32_t* a, int n)
{
    return record_event(0, a, n);
}

inline const HandlerTable& recording_handlers()
{
    static const HandlerEntry entries[] = {{offset_of_event(-8), on_lost_focus},
                                           {offset_of_event(-7), on_got_focus},
                                           {offset_of_event(0), on_event_0}};
    static const HandlerTable table{entries, 3};
    return table;
}

// Fills the window table with one window whose units are the given kinds, control identifiers
// kFirstControl, kFirstControl + 1, ..., each with handlers for events -8, -7 and 0.
inline void install_event_window(const std::vector<KindId>& kinds)
{
    form::UnitFields window = form_test::window_fields();
    window.events.clear();
    std::vector<form_test::StoredUnit> units{{form_test::kOwnUnit, form::write_unit_record(window)}};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        form::UnitFields fields;
        fields.kind = kinds[i];
        fields.name = "control";
        for (std::int32_t event : kRecordedEvents)
            fields.events.push_back({event, offset_of_event(event), nullptr});
        units.emplace_back(kFirstControl + static_cast<ControlId>(i), form::write_unit_record(fields));
    }
    auto description = form::read_form_description(form_test::stored_block(units, kWindow));
    ASSERT_TRUE(description.ok());
    ASSERT_EQ(form::relocate_handlers(description.value(), recording_handlers()), form::FormError::None);
    window_table().fill(std::move(description).value());
    raised_events().clear();
}

// ---- Windows and components --------------------------------------------------------------------

inline std::intptr_t parent_procedure(platform::WindowHandle handle, platform::Message& message)
{
    if (std::optional<std::intptr_t> answer = reflect_to_child(handle, message))
        return *answer;
    return platform::default_window_procedure(handle, message);
}

// A shown top-level window of the given client colour.
inline platform::WindowHandle make_parent(int width, int height, platform::Colour colour)
{
    std::string class_name = std::string(kParentClass) + std::to_string(colour);
    if (!platform::is_window_class_registered(class_name)) {
        platform::ClassInfo info;
        info.background = platform::Brush::solid(colour);
        info.procedure = parent_procedure;
        platform::register_window_class(class_name, info);
    }
    platform::CreateParams params;
    params.class_name = class_name;
    params.style = platform::WS_POPUP | platform::WS_VISIBLE;
    params.x = 30;
    params.y = 30;
    params.width = width;
    params.height = height;
    platform::WindowHandle window = platform::create_window(params);
    platform::process_waiting_messages();
    return window;
}

template <class T>
T* create_component(const KindRecord& kind, platform::WindowHandle parent, std::span<const std::uint8_t> block,
                    platform::Rect place, ControlId control = kFirstControl,
                    std::uint32_t style_bits = platform::WS_VISIBLE)
{
    CreateRequest request;
    request.block = block;
    request.style_bits = style_bits;
    request.parent = parent;
    request.child_id = static_cast<int>(control & 0xFFFF);
    request.left = place.left;
    request.top = place.top;
    request.width = place.width();
    request.height = place.height();
    request.window = kWindow;
    request.control = control;
    auto create = reinterpret_cast<CreateOperation>(kind.interface_function(Interface::Create));
    return static_cast<T*>(create(request));
}

inline int write_property(const KindRecord& kind, Component* component, int index, PropertyData data)
{
    auto changed = reinterpret_cast<PropertyChangedOperation>(kind.interface_function(Interface::PropertyChanged));
    return changed(component, index, data);
}

inline PropertyData read_property(const KindRecord& kind, Component* component, int index)
{
    auto read = reinterpret_cast<ReadPropertyOperation>(kind.interface_function(Interface::ReadProperty));
    PropertyData data;
    EXPECT_EQ(read(component, index, data), 1) << "index " << index;
    return data;
}

inline PropertyData integer_data(std::int32_t value)
{
    return PropertyData{static_cast<Word>(static_cast<std::uint32_t>(value)), 0};
}

inline PropertyData text_data(const char* text)
{
    return PropertyData{reinterpret_cast<Word>(text), 0};
}

inline PropertyData byte_data(const std::vector<std::uint8_t>& bytes)
{
    return PropertyData{bytes.empty() ? 0 : reinterpret_cast<Word>(bytes.data()), static_cast<Word>(bytes.size())};
}

inline std::int32_t as_integer(const PropertyData& data)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(data.word1));
}

// ---- Pixels ------------------------------------------------------------------------------------

// A 24-bit BMP of one colour (0x00BBGGRR).
inline std::vector<std::uint8_t> solid_bmp(int width, int height, platform::Colour colour)
{
    std::size_t row = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::size_t size = 54 + row * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> out(size, 0);
    auto put32 = [&out](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(size));
    put32(10, 54);  // pixel data offset
    put32(14, 40);  // information header size
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    out[26] = 1;   // planes
    out[28] = 24;  // bits per pixel
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = out.data() + 54 + static_cast<std::size_t>(y) * row + static_cast<std::size_t>(x) * 3;
            pixel[0] = static_cast<std::uint8_t>(colour >> 16);
            pixel[1] = static_cast<std::uint8_t>(colour >> 8);
            pixel[2] = static_cast<std::uint8_t>(colour);
        }
    }
    return out;
}

// An offscreen surface of the given size, filled with a colour no test paints with.
inline constexpr platform::Colour kUnpainted = 0x123456;

inline std::unique_ptr<platform::DeviceContext> surface(int width, int height)
{
    return platform::memory_device_context(width, height, kUnpainted);
}

inline platform::Colour pixel_at(platform::DeviceContext& context, int x, int y)
{
    const QImage* image = platform::memory_image(context);
    return platform::colour_from_qt(QColor(image->pixel(x, y)));
}

// Where the ink of each colour of a text effect lies: the mean position of the pixels close to
// the text colour (red), to white and to black, and how many there are, on a grey ground.
struct EffectInk {
    double red_x = 0, red_y = 0, white_x = 0, white_y = 0, black_x = 0, black_y = 0;
    int red = 0, white = 0, black = 0;
};

inline EffectInk effect_ink(platform::DeviceContext& context, const platform::Rect& rect)
{
    EffectInk ink;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            platform::Colour c = pixel_at(context, x, y);
            int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
            if (r > 200 && g < 90 && b < 90) {
                ink.red_x += x, ink.red_y += y, ++ink.red;
            } else if (r > 220 && g > 220 && b > 220) {
                ink.white_x += x, ink.white_y += y, ++ink.white;
            } else if (r < 40 && g < 40 && b < 40) {
                ink.black_x += x, ink.black_y += y, ++ink.black;
            }
        }
    }
    if (ink.red)
        ink.red_x /= ink.red, ink.red_y /= ink.red;
    if (ink.white)
        ink.white_x /= ink.white, ink.white_y /= ink.white;
    if (ink.black)
        ink.black_x /= ink.black, ink.black_y /= ink.black;
    return ink;
}

// Checks the relief effects 0-3 given the ink each one painted: none plain; 1 white showing below
// and right of the text; 2 white above and left, the text itself one pixel down and right; 3 a
// black shadow below and right.
inline void expect_text_effects(const EffectInk (&ink)[4])
{
    for (int effect = 0; effect < 4; ++effect)
        ASSERT_GT(ink[effect].red, 5) << "effect " << effect;
    EXPECT_EQ(ink[0].white + ink[0].black, 0);
    EXPECT_GT(ink[1].white, 5);
    EXPECT_GT(ink[1].white_x, ink[1].red_x);
    EXPECT_GT(ink[1].white_y, ink[1].red_y);
    EXPECT_NEAR(ink[1].red_x, ink[0].red_x, 0.5);
    EXPECT_GT(ink[2].white, 5);
    EXPECT_LT(ink[2].white_x, ink[2].red_x);
    EXPECT_LT(ink[2].white_y, ink[2].red_y);
    EXPECT_NEAR(ink[2].red_x - ink[0].red_x, 1.0, 0.5);
    EXPECT_NEAR(ink[2].red_y - ink[0].red_y, 1.0, 0.5);
    EXPECT_GT(ink[3].black, 5);
    EXPECT_EQ(ink[3].white, 0);
    EXPECT_GT(ink[3].black_x, ink[3].red_x);
    EXPECT_GT(ink[3].black_y, ink[3].red_y);
}

// Whether any pixel inside `rect` differs from `colour`.
inline bool any_pixel_other_than(const platform::Bitmap& bitmap, const platform::Rect& rect, platform::Colour colour)
{
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (bitmap.pixel(x, y) != colour)
                return true;
        }
    }
    return false;
}

}  // namespace controls_test
