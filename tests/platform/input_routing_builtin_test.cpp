#include "window_test_support.h"

#include "platform/input_synthesis.h"
#include "platform/key_codes.h"
#include "platform/qt/native_window_qt.h"
#include "platform/text_encoding.h"

#include <QLineEdit>

namespace platform_test {
namespace {

// A standard control made of a Qt line edit, whose procedure passes everything to the default.
class BuiltinInputTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (!is_window_class_registered("TestLineEdit")) {
            ClassInfo info;
            info.procedure = recording_procedure;
            register_builtin_window_class("TestLineEdit", info,
                                          [](NativeWindow&, const CreateParams&) -> QWidget* { return new QLineEdit; });
        }
        top = make_shown_top_level(0, 0, 300, 100);
        edit = make_child(top, 10, 10, 200, 24, 0, 0, 0, "TestLineEdit");
        set_focus(edit);
        process_waiting_messages();
    }

    QString text() const { return static_cast<QLineEdit*>(find_window(edit)->client.data())->text(); }

    WindowHandle top = 0;
    WindowHandle edit = 0;
};

TEST_F(BuiltinInputTest, TheQtControlGetsTypedTextAfterTheFilter)
{
    set_input_filter([](WindowHandle, Message& message) {
        if (message.id != WM_CHAR)
            return FilterVerdict::Pass;
        if (message.wparam == 'a')
            message.wparam = 'z';
        return message.wparam == 'b' ? FilterVerdict::Swallow : FilterVerdict::Pass;
    });
    synthesize_key_stroke(edit, 'A');
    synthesize_key_stroke(edit, 'B');
    synthesize_key_stroke(edit, 'C');
    EXPECT_EQ(text(), QStringLiteral("zc"));
    synthesize_text_input(edit, gbk_from_utf8("光a棍"));
    EXPECT_EQ(text(), QStringLiteral(u"zc光z棍"));
    // Keys without characters still work the control.
    synthesize_key_stroke(edit, VK_BACK);
    EXPECT_EQ(text(), QStringLiteral(u"zc光z"));
}

TEST_F(BuiltinInputTest, AProcedureThatDoesNotCallTheDefaultKeepsInputFromTheControl)
{
    log.handler = [this](WindowHandle window, Message& message) -> std::optional<std::intptr_t> {
        if (window == edit && message.id == WM_CHAR && message.wparam == 'q')
            return 0;
        return std::nullopt;
    };
    synthesize_key_stroke(edit, 'Q');
    synthesize_key_stroke(edit, 'W');
    EXPECT_EQ(text(), QStringLiteral("w"));
    // Mouse messages report coordinates of the control's client area.
    log.clear();
    synthesize_click(edit, Point{15, 5});
    std::vector<Received> presses = log.of(WM_LBUTTONDOWN);
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].window, edit);
    EXPECT_EQ(presses[0].message.lparam, make_lparam(15, 5));
}

TEST_F(WindowTest, TopLevelMoveReportsTheClientOriginOnTheScreen)
{
    WindowHandle window = make_top_level(40, 50, 200, 100, WS_CAPTION | WS_SYSMENU);
    log.clear();
    move_window(window, 60, 70, 200, 100);
    std::vector<Received> moves = log.of(WM_MOVE);
    ASSERT_EQ(moves.size(), 1u);
    Point origin = client_to_screen(window, Point{0, 0});
    EXPECT_EQ(origin, (Point{63, 92}));
    EXPECT_EQ(moves[0].message.lparam, make_lparam(origin.x, origin.y));
}

}  // namespace
}  // namespace platform_test
