// The window's keyboard handling: Enter and mnemonic letters.
//
//   Units ........ live controls of a window and what their kinds answer
//   Enter ........ the default push button
//   Mnemonics .... the "&"-marked letter of a caption

#include "runtime/windows/keyboard_handling.h"

#include "platform/key_codes.h"
#include "platform/native_window.h"
#include "runtime/components/button.h"
#include "runtime/components/component.h"
#include "runtime/components/mnemonic.h"
#include "runtime/windows/window_system.h"
#include "runtime/windows/window_table.h"

#include <optional>

namespace runtime {
namespace {

using components::Component;
using components::KindRecord;
namespace KindFlag = components::KindFlag;
namespace Interface = components::Interface;

// ---- Units -------------------------------------------------------------------------------------

struct LiveUnit {
    std::size_t index = 0;
    const form::UnitRecord* record = nullptr;
    Component* component = nullptr;
    const KindRecord* kind = nullptr;
};

// The unit at `index` when it has a component with a live native window and a known kind.
std::optional<LiveUnit> live_unit(const form::UnitTable& units, std::size_t index)
{
    const form::UnitRecord& record = units.record(index);
    if (record.is_menu_item())
        return std::nullopt;
    Component* component = component_of(record);
    if (!component || !platform::is_window(component->handle()))
        return std::nullopt;
    const KindRecord* kind = components::find_kind(record.kind());
    if (!kind)
        return std::nullopt;
    return LiveUnit{index, &record, component, kind};
}

std::optional<LiveUnit> live_unit_by_id(const form::UnitTable& units, ControlId control)
{
    for (std::size_t index = 0; index < units.size(); ++index) {
        if (units.record(index).id() == control)
            return live_unit(units, index);
    }
    return std::nullopt;
}

template <class OperationType> OperationType operation_of(const KindRecord& kind, int number)
{
    if (!kind.interface_function)
        return nullptr;
    return reinterpret_cast<OperationType>(kind.interface_function(number));
}

bool wants_key(const LiveUnit& unit, int key_code)
{
    auto wants = operation_of<components::WantsKeyOperation>(*unit.kind, Interface::WantsKey);
    return wants && wants(unit.component, key_code) == 1;
}

bool is_enabled_default_button(const LiveUnit& unit)
{
    auto answer = operation_of<components::DefaultActivationOperation>(*unit.kind, Interface::DefaultActivation);
    return answer && answer(unit.component) == 1 && platform::is_enabled(unit.component->handle());
}

// Edit boxes and controls with an edit field take plain letters as text.
bool takes_text(const LiveUnit& unit)
{
    return unit.record->kind() == Kind::EditBox || (unit.kind->flags & KindFlag::ContainsEditField);
}

bool can_take_focus(const LiveUnit& unit)
{
    if (unit.index == 0 || !unit.record->tab_stop())
        return false;
    if (unit.kind->flags & (KindFlag::NoNativeWindow | KindFlag::NotFocusable))
        return false;
    return platform::is_visible(unit.component->handle()) && platform::is_enabled(unit.component->handle());
}

// ---- Enter -------------------------------------------------------------------------------------

// FIXME: which values of the window's property 28 make Enter move the focus to the next control is
// not known; until it is, Enter never moves the focus and always goes to the default button.
bool moves_focus_with_enter(const WindowEntry&)
{
    return false;
}

KeyHandled handle_enter(const WindowEntry& entry, ControlId focused)
{
    const form::UnitTable& units = entry.unit.units;
    if (std::optional<LiveUnit> unit = live_unit_by_id(units, focused)) {
        if (wants_key(*unit, platform::VK_RETURN))
            return KeyHandled::No;
        if (is_enabled_default_button(*unit)) {
            components::activate_button(unit->component);
            return KeyHandled::Yes;
        }
    }
    if (moves_focus_with_enter(entry))
        return KeyHandled::No;
    for (std::size_t index = 1; index < units.size(); ++index) {
        std::optional<LiveUnit> unit = live_unit(units, index);
        if (unit && is_enabled_default_button(*unit)) {
            components::activate_button(unit->component);
            return KeyHandled::Yes;
        }
    }
    return KeyHandled::No;
}

// ---- Mnemonics ---------------------------------------------------------------------------------

bool is_mnemonic_key(const platform::Message& message, const std::optional<LiveUnit>& focused)
{
    auto key = static_cast<int>(message.wparam);
    bool letter_or_digit = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    if (!letter_or_digit || (message.key_state & platform::KeyState::Ctrl))
        return false;
    if (message.id == platform::WM_SYSKEYDOWN)
        return message.key_state & platform::KeyState::Alt;
    if (message.id != platform::WM_KEYDOWN || (message.key_state & platform::KeyState::Alt))
        return false;
    return !(focused && takes_text(*focused));
}

// The control after `from` in tab order, going round to the first one; ties in tab order go by
// unit order.
std::optional<LiveUnit> next_in_tab_order(const form::UnitTable& units, const LiveUnit& from)
{
    auto before = [](const LiveUnit& a, const LiveUnit& b) {
        return a.record->tab_order() != b.record->tab_order() ? a.record->tab_order() < b.record->tab_order()
                                                              : a.index < b.index;
    };
    std::optional<LiveUnit> next;
    std::optional<LiveUnit> first;
    for (std::size_t index = 1; index < units.size(); ++index) {
        std::optional<LiveUnit> unit = live_unit(units, index);
        if (!unit || index == from.index || !can_take_focus(*unit))
            continue;
        if (!first || before(*unit, *first))
            first = unit;
        if (before(from, *unit) && (!next || before(*unit, *next)))
            next = unit;
    }
    return next ? next : first;
}

KeyHandled handle_mnemonic(const WindowEntry& entry, std::uint32_t letter)
{
    constexpr std::uint32_t kMnemonicKinds =
        KindFlag::MnemonicPress | KindFlag::MnemonicFocusOnward | KindFlag::MnemonicGroupFocusOnward;
    const form::UnitTable& units = entry.unit.units;
    for (std::size_t index = 1; index < units.size(); ++index) {
        std::optional<LiveUnit> unit = live_unit(units, index);
        if (!unit || !(unit->kind->flags & kMnemonicKinds))
            continue;
        platform::WindowHandle handle = unit->component->handle();
        if (!platform::is_visible(handle) || !platform::is_enabled(handle))
            continue;
        if (components::mnemonic_of(platform::window_text(handle)) != letter)
            continue;
        if (unit->kind->flags & KindFlag::MnemonicPress) {
            components::activate_button(unit->component);
        } else if (std::optional<LiveUnit> next = next_in_tab_order(units, *unit)) {
            platform::set_focus(next->component->handle());
        }
        return KeyHandled::Yes;
    }
    return KeyHandled::No;
}

}  // namespace

KeyHandled handle_window_key(WindowId window, ControlId focused, const platform::Message& message)
{
    if (message.id != platform::WM_KEYDOWN && message.id != platform::WM_SYSKEYDOWN)
        return KeyHandled::No;
    const WindowEntry* entry = window_table().find(window);
    if (!entry || !window_is_live(*entry))
        return KeyHandled::No;
    if (message.id == platform::WM_KEYDOWN && message.wparam == static_cast<std::uintptr_t>(platform::VK_RETURN))
        return handle_enter(*entry, focused);
    if (is_mnemonic_key(message, live_unit_by_id(entry->unit.units, focused)))
        return handle_mnemonic(*entry, static_cast<std::uint32_t>(message.wparam));
    return KeyHandled::No;
}

}  // namespace runtime
