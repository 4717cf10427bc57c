#pragma once
// The one routine through which every fatal runtime error ends the program: it composes the report,
// shows it in a message box titled "错误" (unless an installed hook deals with it) and ends the
// program with exit code -1. Texts are GBK.

#include "runtime/boundary/values.h"

#include <optional>
#include <string>
#include <string_view>

namespace runtime {

[[noreturn]] void report_runtime_error(std::string_view message, std::int32_t code, WindowId window, ControlId control);
// Numbered errors 1..11 (the application's checks); any other number reports with an empty message.
[[noreturn]] void report_numbered_error(std::int32_t code, WindowId window, ControlId control);
// "分配 %d 字节内存失败!" with the requested count.
[[noreturn]] void report_allocation_failure(std::size_t count);

// Builds the report text exactly as the message box shows it (without the hook and the exit).
std::string compose_report_text(std::string_view message, std::int32_t code, WindowId window, ControlId control);
// The detail text alone ("\r\n%d, %d", the tag lines, the final "\r\n").
std::string compose_report_detail(WindowId window, ControlId control);

// Number of reports started; once it is 1 or more no event is dispatched.
int runtime_error_count();

// An installed hook gets the message plus detail text and the code; nonzero means it dealt with
// the report (the program ends all the same).
using ErrorHook = int (*)(const char* text, std::int32_t code);
void set_error_hook(ErrorHook hook);

// How the report finds the tag texts of the window and the control. The window table installs
// itself at initialisation; tests install small tables of their own.
class ReportLookup {
public:
    struct Unit {
        bool is_menu_item = false;
        std::string tag;  // GBK
    };
    virtual ~ReportLookup() = default;
    // The tag of the window's own unit, or nothing when no description has that identifier.
    virtual std::optional<std::string> window_tag(WindowId window) const = 0;
    // The unit named by `control` (0: the window's first unit), or nothing.
    virtual std::optional<Unit> find_unit(WindowId window, ControlId control) const = 0;
};
void set_report_lookup(const ReportLookup* lookup);

}  // namespace runtime
