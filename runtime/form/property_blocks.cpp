#include "runtime/form/property_blocks.h"

namespace runtime::form {

FormError check_property_block(KindId kind, std::span<const std::uint8_t> block)
{
    FormError error = FormError::None;
    visit_block_type(kind, [&](auto type) {
        using Block = typename decltype(type)::type;
        auto result = read_property_block<Block>(block);
        if (!result)
            error = result.error();
    });
    return error;
}

const char* kind_english_name(KindId kind)
{
    switch (kind) {
    case Kind::Window:
        return "window";
    case Kind::MenuItem:
        return "MenuItem";
    case Kind::EditBox:
        return "EditBox";
    case Kind::PictureBox:
        return "PicBox";
    case Kind::GroupBox:
        return "GroupBox";
    case Kind::Label:
        return "Label";
    case Kind::Button:
        return "Button";
    case Kind::ComboBox:
        return "ComboBox";
    case Kind::CommonDialog:
        return "CommonDlg";
    case Kind::TransparentLabel:
        return "TransLabel";
    default:
        return nullptr;
    }
}

}  // namespace runtime::form
