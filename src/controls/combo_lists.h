// The lists a list box offers by ShowType, with the face each list draws: size, background,
// item pictures and drop button; and the placement of the open list beside the control.
#pragma once

#include <string>
#include <vector>

#include "controls/paint_plan.h"

namespace vellora::controls {

inline constexpr int kShowTypeCount = 9;  ///< ShowType 0..8

struct ComboFace {
    int width = 0, height = 0;  ///< the control's size
    int background = 0, bgX = 0, bgY = 0;
    int itemBase = 0, itemX = 0, itemY = 0;  ///< item i is picture itemBase + i
    int itemW = 0, itemH = 0;                ///< size of the item pictures
    int drop = 0, dropPressed = 0;
    int dropX = 0, dropY = 0, dropPressedY = 0;
};

/// The items of a list in order (texts exactly as the device's menus name them).
/// ShowType outside 0..8 offers the list of ShowType 0.
[[nodiscard]] const std::vector<std::string>& ComboItems(int showType);
/// The face of a ShowType (outside 0..8: that of ShowType 0).
[[nodiscard]] const ComboFace& ComboFaceOf(int showType);

/// Rows of the open list are this many pixels high.
inline constexpr int kComboItemHeight = 16;

/// Geometry of the open list in screen pixels.
struct DropPlacement {
    int x = 0, y = 0, width = 0, height = 0;
    bool above = false;  ///< opened above the control because it did not fit below
};
/// Left edge 2 pixels right of the control's, width 3 pixels less (30 and 50 twips), height
/// (items + 1) rows less one pixel; below the control when it ends above the screen's bottom,
/// otherwise above it.
[[nodiscard]] DropPlacement PlaceDropList(int controlX, int controlY, int controlW, int controlH,
                                          int itemCount, int screenBottom);
/// The row under a pointer y (pixels from the list's top) for a list scrolled to `topItem`;
/// -1 when it lies beyond the items.
[[nodiscard]] int HoverIndex(double y, int topItem, int itemCount);

/// The closed face: background, the chosen item's picture (none for an index outside the
/// list), the drop button (pressed while the mouse is down) and the veil while locked or disabled.
[[nodiscard]] PaintPlan ComboFacePlan(int showType, int selection, int itemCount, bool pressed,
                                      bool veiled);

}  // namespace vellora::controls
