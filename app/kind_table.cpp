#include "app/kind_table.h"

#include "app/main_window.h"

namespace app {
namespace {

constexpr std::int32_t S = kLeftOfNameLabel;
constexpr OverlayPosition kKeep{};

}  // namespace

// Columns: 标签10, 标签11, 标签12, 标签13, 透明标签2, 透明标签1 (left, top).
const std::array<KindLayout, 16> kKindLayouts = {{
    {{{{329, 53}, {S, 73}, {S, 92}, {372, 142}, {419, 281}, {381, 269}}}, 1, true},   // 光棍证
    {{{{324, 56}, {S, 81}, {S, 104}, {363, 141}, {419, 281}, {381, 269}}}, 1, true},  // 聊天许可证
    {{{{324, 58}, {S, 82}, {S, 103}, {365, 149}, {395, 285}, {394, 269}}}, 1, true},  // 爱神证
    {{{{324, 53}, {S, 74}, {S, 93}, {360, 141}, {417, 279}, {386, 266}}}, 1, true},   // 超级美眉证
    {{{{324, 59}, {S, 82}, {S, 102}, {365, 148}, {394, 285}, {395, 268}}}, 1, true},  // 初吻证
    {{{{324, 53}, {S, 75}, {S, 94}, {360, 142}, {408, 283}, {373, 271}}}, 1, true},   // 赌神证
    {{{kKeep, kKeep, kKeep, {360, 142}, {418, 280}, {382, 266}}}, 2, false},          // 超级帅哥证
    {{{kKeep, kKeep, kKeep, {369, 154}, {413, 265}, {380, 252}}}, 3, false},          // 处男证
    {{{kKeep, kKeep, kKeep, {361, 141}, {417, 283}, {380, 269}}}, 3, true},           // 色狼证
    {{{kKeep, kKeep, kKeep, {361, 141}, {418, 281}, {380, 269}}}, 2, true},           // 网恋许可证
    {{{kKeep, kKeep, kKeep, {359, 153}, {414, 283}, {380, 269}}}, 2, true},           // 良家妇女证
    {{{kKeep, kKeep, kKeep, {360, 142}, {410, 267}, {372, 253}}}, 2, true},           // 灌水证
    {{{kKeep, kKeep, kKeep, {360, 142}, {410, 283}, {372, 269}}}, 3, true},           // 潜水证
    {{{kKeep, kKeep, kKeep, {360, 142}, {410, 267}, {372, 253}}}, 3, true},           // 忽悠证
    {{{kKeep, kKeep, kKeep, {360, 142}, {410, 283}, {372, 269}}}, 3, true},           // 良好市民证
    {{{kKeep, kKeep, kKeep, {360, 142}, {410, 275}, {372, 261}}}, 3, true},           // 浆糊证
}};

const MoveOrder& move_order(int order)
{
    static const MoveOrder kOrders[3] = {
        {{NameOverlay, SexOverlay, AgeOverlay, SecondNameOverlay, NumberOverlay, DateOverlay}, 6},
        {{SecondNameOverlay, NumberOverlay, DateOverlay}, 3},
        {{NumberOverlay, DateOverlay, SecondNameOverlay}, 3},
    };
    return kOrders[(order >= 1 && order <= 3) ? order - 1 : 0];
}

runtime::ControlId overlay_control(Overlay overlay)
{
    switch (overlay) {
    case NameOverlay:
        return control::NameLabel;
    case SexOverlay:
        return control::SexLabel;
    case AgeOverlay:
        return control::AgeLabel;
    case SecondNameOverlay:
        return control::SecondNameLabel;
    case NumberOverlay:
        return control::NumberLabel;
    case DateOverlay:
    case OverlayCount:
        break;
    }
    return control::DateLabel;
}

}  // namespace app
