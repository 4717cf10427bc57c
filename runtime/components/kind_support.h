#pragma once
// Small pieces every kind of this folder shares: the property table with the eight common entries
// in front, and the wiring between a native window and its component object.

#include "platform/native_window.h"
#include "runtime/components/component.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace runtime::components {

inline constexpr std::uint16_t kCommonPropertyFlags = 0xE000;
inline constexpr std::uint16_t kCoreLibraryPropertyFlags = 0x8000;
inline constexpr std::uint16_t kExtendedLibraryPropertyFlags = 0x0000;

// left, top, width, height, tag, visible, disabled, mouse pointer.
inline constexpr std::array<PropertyEntry, 8> kCommonPropertyEntries = {{
    {TypeCode::Number, kCommonPropertyFlags},
    {TypeCode::Number, kCommonPropertyFlags},
    {TypeCode::Number, kCommonPropertyFlags},
    {TypeCode::Number, kCommonPropertyFlags},
    {TypeCode::Text, kCommonPropertyFlags},
    {TypeCode::Logical, kCommonPropertyFlags},
    {TypeCode::Logical, kCommonPropertyFlags},
    {TypeCode::MousePointer, kCommonPropertyFlags},
}};

// The kind's whole property table: the common entries, then its own type codes with `flags`.
template <std::size_t N>
constexpr std::array<PropertyEntry, 8 + N> property_table(const std::array<std::uint16_t, N>& own_type_codes,
                                                          std::uint16_t flags)
{
    std::array<PropertyEntry, 8 + N> table{};
    for (std::size_t i = 0; i < 8; ++i)
        table[i] = kCommonPropertyEntries[i];
    for (std::size_t i = 0; i < N; ++i)
        table[8 + i] = PropertyEntry{own_type_codes[i], flags};
    return table;
}

// The four operations every kind of this folder offers, handed to its class: the static create and
// the members property_changed, save_properties and read_property. A kind with further operations
// answers those first and hands the rest here.
template <class KindClass> Operation standard_operation(int number)
{
    switch (number) {
    case Interface::Create:
        return as_operation(+[](const CreateRequest& request) -> Component* { return KindClass::create(request); });
    case Interface::PropertyChanged:
        return as_operation(+[](Component* component, int index, const PropertyData& data) -> int {
            return static_cast<KindClass*>(component)->property_changed(index, data);
        });
    case Interface::SaveProperties:
        return as_operation(+[](Component* component) -> std::optional<std::vector<std::uint8_t>> {
            return static_cast<KindClass*>(component)->save_properties();
        });
    case Interface::ReadProperty:
        return as_operation(+[](Component* component, int index, PropertyData& data) -> int {
            return static_cast<KindClass*>(component)->read_property(index, data);
        });
    default:
        return nullptr;
    }
}

// Registers a window class of the runtime's own the first time it is asked for: the given class
// styles, the arrow cursor and no background brush (the kind paints all of its window itself).
// False when the class cannot be registered.
bool register_kind_class(const std::string& name, std::uint32_t class_style, platform::WindowProcedure procedure);

// The component object of a window made by one of these kinds (kept in the window's user data).
template <class T> T* component_of_window(platform::WindowHandle handle)
{
    return reinterpret_cast<T*>(platform::window_user_data(handle));
}

// A subclass procedure for a standard control whose kind handles its messages in a member
// `handle_message(message, previous)`; messages of a window without its component go straight on.
template <class KindClass>
std::intptr_t forward_to_component(platform::WindowHandle handle, platform::Message& message,
                                   const platform::WindowProcedure& previous)
{
    auto* component = component_of_window<KindClass>(handle);
    if (!component)
        return previous(handle, message);
    return component->handle_message(message, previous);
}

// The event record of a component's event with no arguments.
EventRecord event_of(const Component& component, std::int32_t event);

}  // namespace runtime::components
