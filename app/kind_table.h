#pragma once
// The sixteen certificate kinds: where each kind puts the overlay labels, in which order they move,
// and whether the date and number captions are copied again afterwards. Names and templates live in
// the constant pool (app/data/embedded_data.h), in the same order.

#include "runtime/boundary/values.h"

#include <array>
#include <cstdint>

namespace app {

inline constexpr std::int32_t kUnmoved = INT32_MIN;
// In a `left` column: take the value read back from the name label's `left` instead.
inline constexpr std::int32_t kLeftOfNameLabel = INT32_MIN + 1;

struct OverlayPosition {
    std::int32_t left = kUnmoved;
    std::int32_t top = kUnmoved;
};

// The overlay labels, in the order of the table's columns.
enum Overlay { NameOverlay, SexOverlay, AgeOverlay, SecondNameOverlay, NumberOverlay, DateOverlay, OverlayCount };

struct KindLayout {
    std::array<OverlayPosition, OverlayCount> positions;
    int move_order;  // 1, 2 or 3
    bool refresh_captions;
};

extern const std::array<KindLayout, 16> kKindLayouts;

// The labels in the order each move order moves them.
struct MoveOrder {
    std::array<Overlay, OverlayCount> overlays;
    int count;
};
const MoveOrder& move_order(int order);

runtime::ControlId overlay_control(Overlay overlay);

}  // namespace app
