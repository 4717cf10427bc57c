// The real main window description loads: every unit becomes a live component under the window,
// and the window opens centred on the screen.

#include "app/data/embedded_data.h"
#include "app/handlers.h"
#include "app/main_window.h"
#include "platform/native_window.h"
#include "platform/system_colours.h"
#include "runtime/components/component.h"
#include "runtime/components/window_kind.h"
#include "runtime/windows/initialise.h"
#include "runtime/windows/input_events.h"
#include "runtime/windows/window_loading.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

#include <gtest/gtest.h>

namespace {

using namespace runtime;

TEST(MainWindowLoad, EveryUnitBecomesALiveComponentAndTheWindowOpensCentred)
{
    components::register_builtin_kinds();
    create_hidden_owner_window();
    install_input_filter();
    app::data::Span form = app::data::form_description();
    ASSERT_EQ(load_form_description({form.data, form.size}, &app::handler_table(), window_table()),
              form::FormError::None);
    WindowEntry* entry = window_table().find(app::kMainWindow);
    ASSERT_NE(entry, nullptr);

    ASSERT_TRUE(create_window(*entry, NewInstance::No, Modal::No, 0));
    components::WindowObject* window = window_object(*entry);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(platform::is_visible(window->handle()));
    for (const form::UnitRecord& record : entry->unit.units.records()) {
        const auto* component = static_cast<const components::Component*>(record.object());
        ASSERT_NE(component, nullptr) << std::hex << record.id();
        EXPECT_TRUE(platform::is_window(component->handle())) << std::hex << record.id();
        if (component != window) {
            EXPECT_EQ(platform::top_level_ancestor(component->handle()), window->handle());
        }
    }

    // Placement 1: centred at the stored outer size, whatever the stored left and top.
    const form::UnitRecord& own = entry->unit.units.record(0);
    platform::Rect outer = platform::window_rect(window->handle());
    platform::Rect work = platform::screen_work_area();
    EXPECT_EQ(outer.width(), own.width());
    EXPECT_EQ(outer.height(), own.height());
    EXPECT_NEAR(outer.left - work.left, work.right - outer.right, 1);

    destroy_remaining_windows();
    EXPECT_FALSE(window_is_live(*entry));
    window_table().clear();
}

}  // namespace
