#include "runtime/components/window_kind.h"

#include "tests/runtime/components/controls_test_support.h"
#include "tests/runtime/windows/window_test_support.h"

namespace window_test {
namespace {

constexpr platform::Colour kPicture = 0x3366CC;
constexpr platform::Colour kOtherPicture = 0xCC6633;
constexpr platform::Colour kBackground = 0x00FF00;
constexpr int kPictureLayoutIndex = 4;  // property 12
constexpr int kPictureIndex = 3;        // property 11

struct WindowBackground : WindowTest {
    void SetUp() override
    {
        WindowTest::SetUp();
        form::WindowBlock block;
        block.background_colour = kBackground;
        block.picture = controls_test::solid_bmp(20, 10, kPicture);
        install_windows({{kWindow, {{kOwnUnit, window_unit(block)}}}});
        ASSERT_TRUE(load());
        platform::process_waiting_messages();
        m_client = platform::client_rect(window_handle());
        ASSERT_GT(m_client.width(), 60);
        ASSERT_GT(m_client.height(), 40);
    }
    WindowObject& window() { return *window_object(entry()); }
    void set_layout(std::int32_t layout)
    {
        window().property_changed(kPictureLayoutIndex, controls_test::integer_data(layout));
    }
    // The client area as the window erases it.
    std::unique_ptr<platform::DeviceContext> render()
    {
        auto context = controls_test::surface(m_client.width(), m_client.height());
        auto context_word = reinterpret_cast<std::uintptr_t>(context.get());
        platform::send_message(window_handle(), platform::WM_ERASEBKGND, context_word);
        return context;
    }
    platform::Rect m_client;
};

using controls_test::pixel_at;

TEST_F(WindowBackground, PictureIsDrawnOverTheBackgroundColourByItsLayout)
{
    int right = m_client.width() - 1;
    int bottom = m_client.height() - 1;

    set_layout(0);  // top-left, natural size
    auto natural = render();
    EXPECT_EQ(pixel_at(*natural, 19, 9), kPicture);
    EXPECT_EQ(pixel_at(*natural, 20, 0), kBackground);
    EXPECT_EQ(pixel_at(*natural, 0, 10), kBackground);
    EXPECT_EQ(pixel_at(*natural, right, bottom), kBackground);

    set_layout(1);  // tiled over the whole client area
    auto tiled = render();
    EXPECT_EQ(pixel_at(*tiled, 0, 0), kPicture);
    EXPECT_EQ(pixel_at(*tiled, right, bottom), kPicture);

    set_layout(2);  // centred in natural size
    auto centred = render();
    int left = (m_client.width() - 20) / 2;
    int top = (m_client.height() - 10) / 2;
    EXPECT_EQ(pixel_at(*centred, left, top), kPicture);
    EXPECT_EQ(pixel_at(*centred, left + 19, top + 9), kPicture);
    EXPECT_EQ(pixel_at(*centred, left - 1, top), kBackground);
    EXPECT_EQ(pixel_at(*centred, left, top + 10), kBackground);

    set_layout(3);  // stretched over the client area
    auto stretched = render();
    EXPECT_EQ(pixel_at(*stretched, 0, 0), kPicture);
    EXPECT_EQ(pixel_at(*stretched, right, bottom), kPicture);
    EXPECT_EQ(pixel_at(*stretched, right / 2, bottom / 2), kPicture);
}

TEST_F(WindowBackground, LayoutIsClampedOnWrite)
{
    PropertyData data;
    for (auto [written, stored] : {std::pair{7, 3}, std::pair{-2, 0}, std::pair{2, 2}}) {
        set_layout(written);
        window().read_property(kPictureLayoutIndex, data);
        EXPECT_EQ(data.word1, static_cast<Word>(stored)) << "written " << written;
    }
}

TEST_F(WindowBackground, NewPictureBytesReplaceTheDecodedPicture)
{
    set_layout(3);
    EXPECT_EQ(pixel_at(*render(), 5, 5), kPicture);

    // Bytes that do not decode leave the background colour, and are still read back as written.
    std::vector<std::uint8_t> garbage{'B', 'M', 1, 2, 3};
    window().property_changed(kPictureIndex, controls_test::byte_data(garbage));
    EXPECT_EQ(pixel_at(*render(), 5, 5), kBackground);
    EXPECT_EQ(pixel_at(*render(), 5, 5), kBackground);
    PropertyData data;
    window().read_property(kPictureIndex, data);
    EXPECT_EQ(data.word2, garbage.size());

    // A good picture after them is decoded afresh.
    std::vector<std::uint8_t> other = controls_test::solid_bmp(8, 8, kOtherPicture);
    window().property_changed(kPictureIndex, controls_test::byte_data(other));
    EXPECT_EQ(pixel_at(*render(), 5, 5), kOtherPicture);
}

}  // namespace
}  // namespace window_test
