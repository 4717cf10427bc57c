#include "runtime/form/form_description.h"

#include "runtime/form/byte_reader.h"
#include "runtime/form/byte_writer.h"

#include <utility>

namespace runtime::form {

Result<FormDescription> read_form_description(std::span<const std::uint8_t> block)
{
    FormDescription description;
    if (block.empty())
        return description;

    ByteReader in(block);
    ByteReader list(in.counted_bytes());
    if (in.failed())
        return in.error();
    if (list.size() % 8 != 0)
        return FormError::WindowListLength;
    std::size_t count = list.size() / 8;
    description.windows.resize(count);
    for (auto& window : description.windows) {
        window.id = list.signed_dword();
        if (!is_valid_identifier(window.id))
            return FormError::InvalidWindowId;
    }
    for (auto& window : description.windows)
        window.placeholder = list.dword();

    for (auto& window : description.windows) {
        window.value_a = in.dword();
        window.value_b = in.dword();
        window.text_a = in.counted_text();
        window.text_b = in.counted_text();
        std::uint32_t unit_count = in.dword();
        auto body = in.counted_bytes();
        if (in.failed())
            return in.error();
        auto units = UnitTable::parse(body, unit_count);
        if (!units)
            return units.error();
        window.units = std::move(units).value();
    }
    auto rest = in.bytes(in.remaining());
    description.trailing.assign(rest.begin(), rest.end());
    return description;
}

std::vector<std::uint8_t> write_form_description(const FormDescription& description)
{
    ByteWriter out;
    out.dword(static_cast<std::uint32_t>(description.windows.size() * 8));
    for (const auto& window : description.windows)
        out.dword(static_cast<std::uint32_t>(window.id));
    for (const auto& window : description.windows)
        out.dword(window.placeholder);
    for (const auto& window : description.windows) {
        out.dword(window.value_a);
        out.dword(window.value_b);
        out.counted_text(window.text_a);
        out.counted_text(window.text_b);
        out.dword(static_cast<std::uint32_t>(window.units.size()));
        out.counted_bytes(window.units.serialise());
    }
    out.bytes(description.trailing);
    return out.take();
}

FormError relocate_handlers(FormDescription& description, const HandlerTable& table)
{
    for (auto& window : description.windows) {
        if (FormError error = window.units.relocate_handlers(table); error != FormError::None)
            return error;
    }
    return FormError::None;
}

const WindowUnit* find_window_unit(const FormDescription& description, WindowId id)
{
    if (!is_valid_identifier(id))
        return nullptr;
    for (const auto& window : description.windows) {
        if (window.id == id)
            return &window;
    }
    return nullptr;
}

WindowUnit* find_window_unit(FormDescription& description, WindowId id)
{
    return const_cast<WindowUnit*>(find_window_unit(std::as_const(description), id));
}

}  // namespace runtime::form
