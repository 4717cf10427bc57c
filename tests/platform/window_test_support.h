#pragma once
// Shared by the window tests: a window class that records every message it gets, and a fixture
// that destroys what a test made.

#include "platform/input_filter.h"
#include "platform/message_loop.h"
#include "platform/native_window.h"
#include "platform/system_colours.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace platform_test {

using namespace platform;

struct Received {
    WindowHandle window = 0;
    Message message;
};

// What the recording class's windows received, and an optional handler that runs before the
// default procedure (its result is used when it returns a value).
struct MessageLog {
    std::vector<Received> messages;
    std::function<std::optional<std::intptr_t>(WindowHandle, Message&)> handler;

    std::vector<Received> of(std::uint32_t id) const
    {
        std::vector<Received> found;
        for (const Received& received : messages) {
            if (received.message.id == id)
                found.push_back(received);
        }
        return found;
    }
    std::vector<std::uint32_t> ids_of(WindowHandle window) const
    {
        std::vector<std::uint32_t> ids;
        for (const Received& received : messages) {
            if (received.window == window)
                ids.push_back(received.message.id);
        }
        return ids;
    }
    void clear() { messages.clear(); }
};

inline MessageLog*& current_log()
{
    static MessageLog* log = nullptr;
    return log;
}

inline std::intptr_t recording_procedure(WindowHandle window, Message& message)
{
    if (MessageLog* log = current_log()) {
        log->messages.push_back(Received{window, message});
        if (log->handler) {
            if (std::optional<std::intptr_t> result = log->handler(window, message))
                return *result;
        }
    }
    return default_window_procedure(window, message);
}

// "Recorder": button-face brush, double clicks. "RecorderNoBrush": null brush, no double clicks.
inline void register_recorder_classes()
{
    if (!is_window_class_registered("Recorder")) {
        ClassInfo info;
        info.style = CS_DBLCLKS;
        info.background = Brush::system(SystemColour::ButtonFace);
        info.procedure = recording_procedure;
        register_window_class("Recorder", info);
        ClassInfo plain;
        plain.procedure = recording_procedure;
        register_window_class("RecorderNoBrush", plain);
    }
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        register_recorder_classes();
        current_log() = &log;
    }
    void TearDown() override
    {
        set_input_filter({});
        log.handler = {};
        for (WindowHandle window : made)
            destroy_window(window);
        process_waiting_messages();
        // A quit message a test left behind must not reach the next test.
        while (quit_waiting())
            dispatch_one_message(Wait::No);
        current_log() = nullptr;
    }

    WindowHandle make_top_level(int x, int y, int width, int height, std::uint32_t style = WS_POPUP,
                                std::uint32_t ex_style = 0, const char* class_name = "Recorder")
    {
        CreateParams params;
        params.class_name = class_name;
        params.style = style;
        params.ex_style = ex_style;
        params.x = x;
        params.y = y;
        params.width = width;
        params.height = height;
        WindowHandle window = create_window(params);
        made.push_back(window);
        return window;
    }

    WindowHandle make_child(WindowHandle parent, int x, int y, int width, int height, std::uint32_t style = 0,
                            std::uint32_t ex_style = 0, int id = 0, const char* class_name = "Recorder")
    {
        CreateParams params;
        params.class_name = class_name;
        params.style = WS_CHILD | WS_VISIBLE | style;
        params.ex_style = ex_style;
        params.x = x;
        params.y = y;
        params.width = width;
        params.height = height;
        params.parent = parent;
        params.id = id;
        return create_window(params);
    }

    // A shown top-level window, with its queued Qt events (exposure, activation) delivered.
    WindowHandle make_shown_top_level(int x, int y, int width, int height, std::uint32_t style = WS_POPUP)
    {
        WindowHandle window = make_top_level(x, y, width, height, style);
        show_window(window, ShowCommand::Show);
        process_waiting_messages();
        return window;
    }

    MessageLog log;
    std::vector<WindowHandle> made;
};

}  // namespace platform_test
