#pragma once
// System colours and metrics as a current desktop of the classic kind reports them, whatever the
// real desktop: stored sizes and colours of forms depend on these numbers.

#include "platform/device_context.h"

namespace platform {

// Colour indices.
namespace SystemColour {
inline constexpr int ScrollBar = 0;
inline constexpr int Desktop = 1;
inline constexpr int ActiveCaption = 2;
inline constexpr int InactiveCaption = 3;
inline constexpr int Menu = 4;
inline constexpr int Window = 5;
inline constexpr int WindowFrame = 6;
inline constexpr int MenuText = 7;
inline constexpr int WindowText = 8;
inline constexpr int CaptionText = 9;
inline constexpr int ActiveBorder = 10;
inline constexpr int InactiveBorder = 11;
inline constexpr int AppWorkspace = 12;
inline constexpr int Highlight = 13;  // selected text background
inline constexpr int HighlightText = 14;
inline constexpr int ButtonFace = 15;
inline constexpr int ButtonShadow = 16;
inline constexpr int GrayText = 17;
inline constexpr int ButtonText = 18;
inline constexpr int InactiveCaptionText = 19;
inline constexpr int ButtonHighlight = 20;  // the light side of 3-D edges
inline constexpr int DarkShadow = 21;
inline constexpr int Light = 22;
inline constexpr int InfoText = 23;
inline constexpr int InfoBackground = 24;
inline constexpr int HotLight = 26;
inline constexpr int GradientActiveCaption = 27;
inline constexpr int GradientInactiveCaption = 28;
inline constexpr int MenuHighlight = 29;
inline constexpr int MenuBar = 30;
inline constexpr int Count = 31;
}  // namespace SystemColour

// 0x00BBGGRR; an unknown index gives 0.
Colour system_colour(int index);

// Metric indices.
namespace SystemMetric {
inline constexpr int ScreenWidth = 0;
inline constexpr int ScreenHeight = 1;
inline constexpr int VerticalScrollWidth = 2;
inline constexpr int HorizontalScrollHeight = 3;
inline constexpr int CaptionHeight = 4;
inline constexpr int BorderWidth = 5;
inline constexpr int BorderHeight = 6;
inline constexpr int DialogFrameWidth = 7;
inline constexpr int DialogFrameHeight = 8;
inline constexpr int IconWidth = 11;
inline constexpr int IconHeight = 12;
inline constexpr int CursorWidth = 13;
inline constexpr int CursorHeight = 14;
inline constexpr int MenuHeight = 15;
inline constexpr int SizingFrameWidth = 32;
inline constexpr int SizingFrameHeight = 33;
inline constexpr int EdgeWidth = 45;
inline constexpr int EdgeHeight = 46;
inline constexpr int SmallIconWidth = 49;
inline constexpr int SmallIconHeight = 50;
inline constexpr int SmallCaptionHeight = 51;
}  // namespace SystemMetric

// Fixed values (caption 19, dialog frame 3, sizing frame 4, edge 2, ...); the screen size is the
// primary screen's. An unknown index gives 0.
int system_metric(int index);

// Logical pixels per inch of the screen (always 96).
int screen_pixels_per_inch();

// Work area of the primary screen (the screen less what the desktop reserves), screen coordinates.
Rect screen_work_area();

}  // namespace platform
