#pragma once
// The component model: what the runtime knows of a component kind (its kind record, property table
// and interface function handing out operations by number), the component object every control and
// window is, and the notifications components send back to the runtime.
//
// The runtime reaches a kind only through its record and its interface function; a kind reaches the
// runtime only through the notifications at the end of this file.

#include "platform/device_context.h"
#include "platform/log_font.h"
#include "platform/messages.h"
#include "platform/window_handle.h"
#include "runtime/boundary/values.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace runtime::components {

// ---- Property tables ----------------------------------------------------------------------------

// Two words handed between the runtime and a kind: integers in word 1; texts as a pointer to a
// zero-terminated text in word 1; byte data as pointer (word 1) and count (word 2); 8-byte values
// in both words. A kind owns nothing it is handed (it copies what it keeps); what a kind hands out
// stays valid until the property next changes.
struct PropertyData {
    Word word1 = 0;
    Word word2 = 0;
};

// Property type codes: what a property's value is.
namespace TypeCode {
inline constexpr std::uint16_t Integer = 1000;  // an integer chosen from a list
inline constexpr std::uint16_t Number = 1001;
inline constexpr std::uint16_t Real = 1002;
inline constexpr std::uint16_t Logical = 1003;
inline constexpr std::uint16_t DateTime = 1004;
inline constexpr std::uint16_t Text = 1005;
inline constexpr std::uint16_t Pick = 1006;  // index into a fixed list of choices
inline constexpr std::uint16_t Text1007 = 1007;
inline constexpr std::uint16_t Text1008 = 1008;
inline constexpr std::uint16_t Picture = 1009;
inline constexpr std::uint16_t Icon = 1010;
inline constexpr std::uint16_t MousePointer = 1011;
inline constexpr std::uint16_t Sound = 1012;
inline constexpr std::uint16_t Font = 1013;
inline constexpr std::uint16_t Colour = 1014;
inline constexpr std::uint16_t ColourOrNone = 1015;  // 0xFF000000: none
inline constexpr std::uint16_t FileName = 1016;
inline constexpr std::uint16_t BackgroundColour = 1017;  // 0xFF000000: the button-face colour
inline constexpr std::uint16_t DataSource = 1018;
inline constexpr std::uint16_t DataColumn = 1020;
inline constexpr std::uint16_t CustomData = 1023;
inline constexpr std::uint16_t CustomData1024 = 1024;
}  // namespace TypeCode

inline constexpr std::uint32_t kDefaultColour = 0xFF000000;

struct PropertyEntry {
    std::uint16_t type_code = 0;
    std::uint16_t flags = 0;  // 0xE000 common, 0x8000 core library, 0 extended library; not consulted
};

// ---- Kind records ------------------------------------------------------------------------------

namespace KindFlag {
inline constexpr std::uint32_t Mnemonic = 0x4;  // may raise events too
inline constexpr std::uint32_t NeverRecreated = 0x10;
inline constexpr std::uint32_t MessageFilter = 0x20;
inline constexpr std::uint32_t RaisesEvents = 0x40;
inline constexpr std::uint32_t Container = 0x80;
inline constexpr std::uint32_t TabControl = 0x100;
inline constexpr std::uint32_t ContainsEditField = 0x200;  // an edit field inside raises as the control
inline constexpr std::uint32_t MnemonicRadio = 0x400;
inline constexpr std::uint32_t MnemonicPress = 0x800;  // also: eligible as default button
inline constexpr std::uint32_t MnemonicToggle = 0x1000;
inline constexpr std::uint32_t MnemonicFocusOnward = 0x2000;
inline constexpr std::uint32_t MnemonicGroupFocusOnward = 0x4000;
inline constexpr std::uint32_t NoNativeWindow = 0x8000;  // function provider: never shown
inline constexpr std::uint32_t NotFocusable = 0x10000;
inline constexpr std::uint32_t Notify8004AfterRecreation = 0x100000;
inline constexpr std::uint32_t ContainsChildWindow = 0x200000;
}  // namespace KindFlag

// Interface numbers.
namespace Interface {
inline constexpr int Create = 1;
inline constexpr int PropertyChanged = 4;
inline constexpr int SaveProperties = 5;
inline constexpr int ReadProperty = 6;
inline constexpr int IconData = 7;
inline constexpr int WantsKey = 8;
inline constexpr int ConvertTexts = 9;
inline constexpr int DefaultActivation = 10;
inline constexpr int FilterMessage = 11;
}  // namespace Interface

// Private messages the runtime sends to every component's native window.
namespace PrivateMessage {
inline constexpr std::uint32_t Created = 0x806F;          // all units of the window exist and are placed
inline constexpr std::uint32_t ChildrenChanged = 0x8004;  // to the window after loading, to a parent after re-creation
inline constexpr std::uint32_t LoadFinished = 0x8076;     // the window is shown and its events are raised
}  // namespace PrivateMessage

class Component;

// What `create` is given.
struct CreateRequest {
    std::span<const std::uint8_t> block;  // the stored (or saved) property block
    std::uint32_t style_bits = 0;         // from the runtime: disabled, tab stop
    platform::WindowHandle parent = 0;    // a component's parent window; the window kind: its owner
    int child_id = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    WindowId window = 0;
    ControlId control = 0;
    bool design_mode = false;
    bool modal = false;  // window kind only: the window is being loaded modally
};

// Operations, by interface number. `create` returns null when the block cannot be read (a version
// above the kind's highest included) or the native window cannot be made.
using CreateOperation = Component* (*)(const CreateRequest& request);
// Index is the property index minus 8. Returns 1 when the change needs re-creation.
using PropertyChangedOperation = int (*)(Component* component, int index, const PropertyData& data);
// The serialised property block, in the stored format at the kind's highest version; nothing on failure.
using SavePropertiesOperation = std::optional<std::vector<std::uint8_t>> (*)(Component* component);
// Index is the property index minus 8. Returns 1 when the index is known and `data` filled.
using ReadPropertyOperation = int (*)(Component* component, int index, PropertyData& data);
using WantsKeyOperation = int (*)(Component* component, int key_code);
using DefaultActivationOperation = int (*)(Component* component);

using Operation = void (*)();
// Returns the kind's operation for an interface number, or null; cast to the operation's type.
using InterfaceFunction = Operation (*)(int number);

template <class T> Operation as_operation(T function)
{
    return reinterpret_cast<Operation>(function);
}

struct KindRecord {
    const char* chinese_name = nullptr;  // UTF-8 in the source; e.g. "标签"
    const char* english_name = nullptr;  // e.g. "Label"
    std::uint32_t flags = 0;
    int property_count = 0;  // including the 8 common properties
    const PropertyEntry* properties = nullptr;
    InterfaceFunction interface_function = nullptr;
};

// ---- Component objects -------------------------------------------------------------------------

// The run-time object of one control or window. Kinds derive from it; the runtime reaches the
// object only through the kind's operations, and reads the handle and identifiers here.
class Component {
public:
    Component(WindowId window, ControlId control)
        : m_window(window)
        , m_control(control)
    {
    }
    virtual ~Component() = default;
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    platform::WindowHandle handle() const { return m_handle; }
    WindowId window_id() const { return m_window; }
    ControlId control_id() const { return m_control; }

protected:
    void set_handle(platform::WindowHandle handle) { m_handle = handle; }

private:
    platform::WindowHandle m_handle = 0;
    WindowId m_window;
    ControlId m_control;
};

// ---- Kind tables -------------------------------------------------------------------------------

inline constexpr int kCoreKindSlots = 51;
inline constexpr int kExtendedKindSlots = 5;

// Library number in the high 16 bits, 1-based slot in the low 16 bits; both bounds-checked. Empty
// slots find nothing.
const KindRecord* find_kind(KindId kind);
// Puts a record into its slot (tests use this for kinds of their own). Returns false when the
// identifier is out of range.
bool register_kind(KindId kind, const KindRecord* record);
// Registers the kinds this runtime provides.
void register_builtin_kinds();

// ---- Notifications from components to the runtime ----------------------------------------------

inline constexpr int kMaxPlainEventArguments = 5;

// A plain event record; the raiser clears the result before raising.
struct EventRecord {
    WindowId window = 0;
    ControlId control = 0;  // 0: the window's own unit
    std::int32_t event = 0;
    int argument_count = 0;
    std::int32_t arguments[kMaxPlainEventArguments] = {};
    bool result_present = false;
    std::int32_t result = 0;
};

// Looks the handler up and calls it; returns true when a handler ran. Implemented by event dispatch.
bool raise_event(EventRecord& record);
// A false result from a handler that returned one: the raiser skips the platform's default processing.
inline bool cancelled_by_handler(const EventRecord& record)
{
    return record.result_present && record.result == 0;
}

// Sent by every component (and the window object) once its native window is gone.
void notify_unit_destroyed(WindowId window, ControlId control);

// The idle callback list of the message loop.
using IdleRoutine = void (*)(std::intptr_t argument);
void add_idle_callback(platform::WindowHandle window, IdleRoutine routine, std::intptr_t argument);
void remove_idle_callback(platform::WindowHandle window);

// ---- Helpers for kinds -------------------------------------------------------------------------

// What every kind's window procedure passes on first: on WM_SETFOCUS the control is remembered as
// its window's focused control and raises event -7, on WM_KILLFOCUS it raises -8. Returns false
// (the kind goes on handling the message as usual).
bool handle_common_message(const Component& component, const platform::Message& message);

// A stored background colour made paintable: 0xFF000000 is the system's button-face colour.
platform::Colour resolve_background_colour(std::uint32_t stored);

// The system's default GUI font as a 60-byte LOGFONT (what a font of 0 stored bytes stands for).
const platform::LogFont& default_gui_log_font();

// Rebuilds the native window of a loaded control from its saved property block (what the runtime
// does when `property changed` returns 1). Kinds with flag 0x10 are never rebuilt. Returns whether
// a new native window was made.
bool recreate_component(WindowId window, ControlId control);

// Whether a control of the window is being rebuilt right now (events of the window are not
// dispatched meanwhile).
bool recreation_in_progress(WindowId window);

}  // namespace runtime::components
