// Fuzzes the stored form description reader and every kind's property block reader. Nothing here
// may reach the runtime error report: only the reader's own, non-exiting functions are called.

#include "runtime/form/form_description.h"
#include "runtime/form/form_listing.h"
#include "runtime/form/property_blocks.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

runtime::HandlerResult some_handler(const std::int32_t*, int)
{
    return {};
}

const runtime::KindId kKinds[] = {
    runtime::Kind::Window,   runtime::Kind::EditBox,      runtime::Kind::PictureBox,
    runtime::Kind::GroupBox, runtime::Kind::Label,        runtime::Kind::Button,
    runtime::Kind::ComboBox, runtime::Kind::CommonDialog, runtime::Kind::TransparentLabel};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::span<const std::uint8_t> bytes(data, size);

    auto description = runtime::form::read_form_description(bytes);
    if (description.ok()) {
        static const runtime::HandlerEntry entries[] = {{0, some_handler}, {0x30, some_handler}};
        (void)runtime::form::relocate_handlers(*description, {entries, 2});
        // Walk every accessor of every record, as loading and the listing do.
        (void)runtime::form::list_form_description(*description);
        auto rewritten = runtime::form::write_form_description(*description);
        // Records are written back one after another in table order, whatever order they were read
        // in: what is written reads back and writes back byte for byte.
        auto reread = runtime::form::read_form_description(rewritten);
        if (!reread.ok())
            __builtin_trap();
        auto written_again = runtime::form::write_form_description(*reread);
        if (written_again != rewritten)
            __builtin_trap();
        for (auto& window : description->windows) {
            runtime::form::UnitTable copy = window.units;
            for (auto& record : copy.records()) {
                record.set_tag("tag");
                record.set_mouse_pointer(bytes.first(size < 7 ? size : 7));
                record.set_left(1);
            }
            swap(copy, window.units);
        }
    }

    for (runtime::KindId kind : kKinds)
        (void)runtime::form::check_property_block(kind, bytes);
    return 0;
}
