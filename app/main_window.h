#pragma once
// The main window and the controls the handlers address, by their stored identifiers.

#include "runtime/boundary/values.h"

namespace app {

inline constexpr runtime::WindowId kMainWindow = 0x52010001;

namespace control {
inline constexpr runtime::ControlId Window = runtime::kWindowOwnUnit;
inline constexpr runtime::ControlId KindSelector = 0x16010251;     // 组合框证件类型
inline constexpr runtime::ControlId Preview = 0x16010039;          // 标签生成
inline constexpr runtime::ControlId NameLabel = 0x16010084;        // 标签10
inline constexpr runtime::ControlId SexLabel = 0x16010085;         // 标签11
inline constexpr runtime::ControlId AgeLabel = 0x16010086;         // 标签12
inline constexpr runtime::ControlId SecondNameLabel = 0x16010087;  // 标签13
inline constexpr runtime::ControlId DateLabel = 0x160100B6;        // 透明标签1
inline constexpr runtime::ControlId NumberLabel = 0x160100B7;      // 透明标签2
inline constexpr runtime::ControlId NameBox = 0x1601024C;          // 编辑框1
inline constexpr runtime::ControlId SexBox = 0x1601024B;           // 编辑框2
inline constexpr runtime::ControlId DateBox = 0x16010247;          // 编辑框3
inline constexpr runtime::ControlId AgeBox = 0x1601024A;           // 编辑框4
inline constexpr runtime::ControlId NumberBox = 0x16010245;        // 编辑框5
inline constexpr runtime::ControlId CommonDialog = 0x1601004A;     // 通用对话框
inline constexpr runtime::ControlId Photo = 0x16010047;            // 图片框1
}  // namespace control

// Property indices the handlers use.
namespace property {
inline constexpr std::int32_t Left = 0;
inline constexpr std::int32_t Top = 1;
inline constexpr std::int32_t Visible = 5;
inline constexpr std::int32_t EditContent = 8;
inline constexpr std::int32_t EditFont = 12;
inline constexpr std::int32_t LabelCaption = 8;
inline constexpr std::int32_t LabelFont = 15;
inline constexpr std::int32_t LabelBackgroundPicture = 18;
inline constexpr std::int32_t TransparentLabelCaption = 8;
inline constexpr std::int32_t TransparentLabelFont = 10;
inline constexpr std::int32_t ComboContent = 9;
inline constexpr std::int32_t ComboFont = 18;
inline constexpr std::int32_t WindowPlacement = 18;
inline constexpr std::int32_t PictureBoxPicture = 10;
inline constexpr std::int32_t DialogType = 8;
inline constexpr std::int32_t DialogFileName = 10;
inline constexpr std::int32_t DialogFontName = 25;
inline constexpr std::int32_t DialogFontSize = 26;
}  // namespace property

namespace dialog_type {
inline constexpr std::int32_t OpenFile = 0;
inline constexpr std::int32_t SaveFile = 1;
inline constexpr std::int32_t Font = 2;
}  // namespace dialog_type

}  // namespace app
