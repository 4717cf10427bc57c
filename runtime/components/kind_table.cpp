// The two kind tables (core library 51 slots, extended library 5) and their lookup.

#include "runtime/components/button.h"
#include "runtime/components/combo_box.h"
#include "runtime/components/common_dialog.h"
#include "runtime/components/component.h"
#include "runtime/components/edit_box.h"
#include "runtime/components/group_box.h"
#include "runtime/components/label.h"
#include "runtime/components/picture_box.h"
#include "runtime/components/transparent_label.h"
#include "runtime/components/window_kind.h"

#include <array>

namespace runtime::components {
namespace {

struct KindTables {
    std::array<const KindRecord*, kCoreKindSlots> core{};
    std::array<const KindRecord*, kExtendedKindSlots> extended{};
};

KindTables& tables()
{
    static KindTables kinds;
    return kinds;
}

// The slot of a kind identifier, or null when either half is out of range.
const KindRecord** slot_of(KindId kind)
{
    auto bits = static_cast<std::uint32_t>(kind);
    std::uint32_t library = bits >> 16;
    std::uint32_t position = bits & 0xFFFF;
    if (position == 0)
        return nullptr;
    KindTables& kinds = tables();
    if (library == 1 && position <= kinds.core.size())
        return &kinds.core[position - 1];
    if (library == 2 && position <= kinds.extended.size())
        return &kinds.extended[position - 1];
    return nullptr;
}

}  // namespace

const KindRecord* find_kind(KindId kind)
{
    const KindRecord** slot = slot_of(kind);
    return slot ? *slot : nullptr;
}

bool register_kind(KindId kind, const KindRecord* record)
{
    const KindRecord** slot = slot_of(kind);
    if (!slot)
        return false;
    *slot = record;
    return true;
}

void register_builtin_kinds()
{
    register_kind(Kind::Window, &window_kind_record());
    register_kind(Kind::EditBox, &edit_box_kind());
    register_kind(Kind::PictureBox, &picture_box_kind());
    register_kind(Kind::GroupBox, &group_box_kind());
    register_kind(Kind::Label, &label_kind());
    register_kind(Kind::Button, &button_kind());
    register_kind(Kind::ComboBox, &combo_box_kind());
    register_kind(Kind::CommonDialog, &common_dialog_kind());
    register_kind(Kind::TransparentLabel, &transparent_label_kind());
}

}  // namespace runtime::components
