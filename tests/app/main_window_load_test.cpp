// The real main window description loads: every unit becomes a live component under the window,
// the window opens centred on the screen, and every control sits where the description puts it.
// Both backends run these tests against the same expectation: the stored description itself.

#include "app/data/embedded_data.h"
#include "app/handlers.h"
#include "app/main_window.h"
#include "app/runtime_link.h"
#include "platform/input_synthesis.h"
#include "platform/message_loop.h"
#include "platform/messages.h"
#include "platform/native_window.h"
#include "platform/system_colours.h"
#include "platform/text_encoding.h"
#include "runtime/boundary/entry_table.h"
#include "runtime/components/component.h"
#include "runtime/components/window_kind.h"
#include "runtime/form/form_description.h"
#include "runtime/windows/initialise.h"
#include "runtime/windows/input_events.h"
#include "runtime/windows/window_loading.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace runtime;

class MainWindowLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        components::register_builtin_kinds();
        create_hidden_owner_window();
        install_input_filter();
        ASSERT_EQ(load_form_description({m_form.data, m_form.size}, &app::handler_table(), window_table()),
                  form::FormError::None);
        m_entry = window_table().find(app::kMainWindow);
        ASSERT_NE(m_entry, nullptr);
        ASSERT_TRUE(create_window(*m_entry, NewInstance::No, Modal::No, 0));
        m_window = window_object(*m_entry);
        ASSERT_NE(m_window, nullptr);
    }

    void TearDown() override
    {
        destroy_remaining_windows();
        EXPECT_TRUE(m_entry == nullptr || !window_is_live(*m_entry));
        window_table().clear();
    }

    app::data::Span m_form = app::data::form_description();
    WindowEntry* m_entry = nullptr;
    components::WindowObject* m_window = nullptr;
};

TEST_F(MainWindowLoad, EveryUnitBecomesALiveComponentAndTheWindowOpensCentred)
{
    EXPECT_TRUE(platform::is_visible(m_window->handle()));
    for (const form::UnitRecord& record : m_entry->unit.units.records()) {
        const auto* component = static_cast<const components::Component*>(record.object());
        ASSERT_NE(component, nullptr) << std::hex << record.id();
        EXPECT_TRUE(platform::is_window(component->handle())) << std::hex << record.id();
        if (component != m_window) {
            EXPECT_EQ(platform::top_level_ancestor(component->handle()), m_window->handle());
        }
    }

    // Placement 1: centred at the stored outer size, whatever the stored left and top.
    const form::UnitRecord& own = m_entry->unit.units.record(0);
    platform::Rect outer = platform::window_rect(m_window->handle());
    platform::Rect work = platform::screen_work_area();
    EXPECT_EQ(outer.width(), own.width());
    EXPECT_EQ(outer.height(), own.height());
    EXPECT_NEAR(outer.left - work.left, work.right - outer.right, 1);
}

// What the handlers read back through the entry table is the stored place and outer size of every
// control, whatever the window system does with the native control: the drop-down combo box keeps
// its stored height although the system sizes its field from the font, the edit boxes keep theirs
// with a sunken client edge, and the never-shown common dialog reads its stored rectangle. Only the
// window's own left and top follow the centring.
TEST_F(MainWindowLoad, EveryControlReadsItsStoredGeometryThroughGetProperty)
{
    auto description = form::read_form_description({m_form.data, m_form.size});
    ASSERT_TRUE(description.ok());
    const form::WindowUnit* stored = form::find_window_unit(description.value(), app::kMainWindow);
    ASSERT_NE(stored, nullptr);
    ASSERT_EQ(stored->units.records().size(), 25U);

    platform::Rect outer = platform::window_rect(m_window->handle());
    auto read = [](ControlId control, std::int32_t index) {
        PropertyValue value = entry_table().get_property(app::kMainWindow, control, index, -1);
        return static_cast<std::int32_t>(static_cast<SignedWord>(value.low));
    };
    for (const form::UnitRecord& unit : stored->units.records()) {
        bool own = unit.id() == kWindowOwnUnit;
        std::int32_t expected[4] = {own ? outer.left : unit.left(), own ? outer.top : unit.top(), unit.width(),
                                    unit.height()};
        std::int32_t actual[4] = {read(unit.id(), 0), read(unit.id(), 1), read(unit.id(), 2), read(unit.id(), 3)};
        EXPECT_EQ(std::vector<std::int32_t>(actual, actual + 4), std::vector<std::int32_t>(expected, expected + 4))
            << "control " << std::hex << unit.id() << " (left, top, width, height)";
    }
}

// A user clicks into the name field, selects its text with Ctrl+A and types a name: the field holds
// only the new name, and both name overlays of the preview show it. The field sits in the group
// box, not directly in the window, so its change notification has to find the group box.
TEST_F(MainWindowLoad, TypingANameReplacesTheFieldAndMirrorsItIntoThePreview)
{
    app::link_runtime(entry_table());
    const form::UnitRecord* field = m_entry->unit.units.find(app::control::NameBox);
    ASSERT_NE(field, nullptr);
    platform::WindowHandle handle = static_cast<const components::Component*>(field->object())->handle();
    platform::Rect client = platform::client_rect(handle);
    platform::synthesize_click(handle, platform::Point{client.width() / 2, client.height() / 2});
    platform::synthesize_key_stroke(handle, 'A', platform::KeyState::Ctrl);
    std::string name = platform::gbk_from_utf8("李小龙");
    platform::synthesize_text_input(handle, name);
    platform::process_waiting_messages();

    auto text = [](ControlId control, std::int32_t index) {
        PropertyValue value = entry_table().get_property(app::kMainWindow, control, index, -1);
        std::string result = value.low ? reinterpret_cast<const char*>(value.low) : "";
        entry_table().release(reinterpret_cast<void*>(value.low));
        return result;
    };
    EXPECT_EQ(text(app::control::NameBox, app::property::EditContent), name);
    EXPECT_EQ(text(app::control::NameLabel, app::property::LabelCaption), name);
    EXPECT_EQ(text(app::control::SecondNameLabel, app::property::LabelCaption), name);
}

}  // namespace
