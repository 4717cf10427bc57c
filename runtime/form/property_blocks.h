#pragma once
// The serialised property blocks of every kind the main window uses, and dispatch by kind
// identifier for code that handles any of them (tools, the start-up check, fuzzing).

#include "runtime/form/blocks/button_block.h"
#include "runtime/form/blocks/combo_box_block.h"
#include "runtime/form/blocks/common_dialog_block.h"
#include "runtime/form/blocks/edit_box_block.h"
#include "runtime/form/blocks/group_box_block.h"
#include "runtime/form/blocks/label_block.h"
#include "runtime/form/blocks/picture_box_block.h"
#include "runtime/form/blocks/transparent_label_block.h"
#include "runtime/form/blocks/window_block.h"

#include <type_traits>

namespace runtime::form {

template <class Block> struct BlockType {
    using type = Block;
};

// Calls visit(BlockType<Block>{}) with the block type of `kind`; false for a kind without one.
template <class Visitor> bool visit_block_type(KindId kind, Visitor&& visit)
{
    switch (kind) {
    case Kind::Window:
        visit(BlockType<WindowBlock>{});
        return true;
    case Kind::EditBox:
        visit(BlockType<EditBoxBlock>{});
        return true;
    case Kind::PictureBox:
        visit(BlockType<PictureBoxBlock>{});
        return true;
    case Kind::GroupBox:
        visit(BlockType<GroupBoxBlock>{});
        return true;
    case Kind::Label:
        visit(BlockType<LabelBlock>{});
        return true;
    case Kind::Button:
        visit(BlockType<ButtonBlock>{});
        return true;
    case Kind::ComboBox:
        visit(BlockType<ComboBoxBlock>{});
        return true;
    case Kind::CommonDialog:
        visit(BlockType<CommonDialogBlock>{});
        return true;
    case Kind::TransparentLabel:
        visit(BlockType<TransparentLabelBlock>{});
        return true;
    default:
        return false;
    }
}

// Reads the block as its kind would; None when it reads, or when the kind has no known block.
FormError check_property_block(KindId kind, std::span<const std::uint8_t> block);

// The kind's English name ("Label"), or nullptr for a kind this system does not know.
const char* kind_english_name(KindId kind);

}  // namespace runtime::form
