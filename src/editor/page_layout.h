// Where each control of a page sits: band strips at their design rows, the other controls in
// the grids beside and below the strips, captions above their controls. Plain geometry.
#pragma once

#include "editor/page_tables.h"
#include "editor/window_geometry.h"

namespace vellora::editor {

inline constexpr int kCellWidth = 176;    ///< grid pitch across, pixels
inline constexpr int kCellHeight = 44;    ///< grid pitch down
inline constexpr int kCaptionHeight = 13; ///< caption line above a grid control
inline constexpr int kGridMargin = 8;
inline constexpr int kMasterCellWidth = 215;  ///< a master slider and its mute key

/// The page's left-to-right extent of band strips (pixels, at the normal density), and its
/// lowest strip edge.
struct StripExtent {
    int Right = 0;
    int Bottom = 0;
};
[[nodiscard]] StripExtent StripsOf(int page);

/// The band strip's place: its design position in twips, over 15. A strip of page 3 takes the
/// place of its group's strip k, whichever group is shown.
[[nodiscard]] Rect StripRect(const ControlDecl& decl, int w, int h);

/// The place of a control of size `w` x `h` on its page (or in the master row). A button that
/// shares its grid cell with a slider or list sits at the cell's right end of the caption
/// line; the option tabs line up across their cell.
[[nodiscard]] Rect ControlRect(const ControlDecl& decl, int w, int h);
/// Where the decl's caption is drawn (empty for strips: their labels are their own pictures).
[[nodiscard]] Rect CaptionRect(const ControlDecl& decl);

/// The width and height a page's controls need; the window centres narrower content.
[[nodiscard]] Rect PageContentRect(int page);

}  // namespace vellora::editor
