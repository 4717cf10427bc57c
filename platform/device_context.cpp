#include "platform/device_context_qt.h"

namespace platform {

DeviceContext::DeviceContext(std::unique_ptr<Impl> impl)
    : m_impl(std::move(impl))
{
}

DeviceContext::~DeviceContext()
{
    if (m_impl && m_impl->owned_painter)
        m_impl->owned_painter->end();
}

int DeviceContext::width() const
{
    return m_impl->width;
}

int DeviceContext::height() const
{
    return m_impl->height;
}

void DeviceContext::set_stretch_mode(StretchMode mode)
{
    m_impl->stretch_mode = mode;
}

StretchMode DeviceContext::stretch_mode() const
{
    return m_impl->stretch_mode;
}

void DeviceContext::fill_rect(const Rect& rect, Colour colour)
{
    if (rect.empty())
        return;
    m_impl->painter->fillRect(qt_rect(rect), qt_colour(colour));
}

int display_bits_per_pixel()
{
    return 32;
}

std::unique_ptr<DeviceContext> device_context_for_painter(QPainter& painter, int width, int height)
{
    auto impl = std::make_unique<DeviceContext::Impl>();
    impl->painter = &painter;
    impl->width = width;
    impl->height = height;
    return std::make_unique<DeviceContext>(std::move(impl));
}

std::unique_ptr<DeviceContext> memory_device_context(int width, int height, Colour fill)
{
    auto impl = std::make_unique<DeviceContext::Impl>();
    impl->owned_image = std::make_unique<QImage>(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    impl->owned_image->fill(qt_colour(fill));
    impl->owned_painter = std::make_unique<QPainter>(impl->owned_image.get());
    impl->painter = impl->owned_painter.get();
    impl->width = width;
    impl->height = height;
    return std::make_unique<DeviceContext>(std::move(impl));
}

const QImage* memory_image(DeviceContext& context)
{
    return context.impl().owned_image.get();
}

}  // namespace platform
