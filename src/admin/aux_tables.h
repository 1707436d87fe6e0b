// The auxiliary windows as data: each window's caption, size and control grid, and every
// control with its array index, address text, form, value type, range, cell and caption.
// One function builds a window from these rows; nothing here knows about widgets.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "editor/page_tables.h"
#include "editor/window_geometry.h"

namespace vellora::admin {

/// Control (Col, Row) has its top-left corner at Left + PitchX x Col, Top + PitchY x Row,
/// in twips (15 per pixel).
struct AuxGrid {
    int Left;
    int Top;
    int PitchX;
    int PitchY;
};

/// Where a window draws its controls' captions.
enum class CaptionPlace : uint8_t { Above, Below };

/// A caption drawn left of a grid row, naming the whole row.
struct RowLabel {
    int Row;
    std::string_view Text;
};

struct AuxWindowDecl {
    std::string_view Name;     ///< frmSet, frmRec, frmEffect
    std::string_view Caption;  ///< the window's caption (UTF-8)
    int Width;                 ///< pixels
    int Height;
    AuxGrid Grid;
    CaptionPlace Captions;
    /// MyScrollBar rows index the window's sliders, MyComboBox rows its lists (MComboBox1).
    std::span<const editor::ControlDecl> Controls;
    std::span<const RowLabel> Rows;
};

/// frmSet "系统设置": upper limits and power-on values of the master sliders, the power-on
/// mode and the on/off setting.
[[nodiscard]] const AuxWindowDecl& FrmSetWindow();
/// frmRec "录音调节": the sources of the left (menu kind 8) and right (kind 9) recordings.
[[nodiscard]] const AuxWindowDecl& FrmRecWindow();
/// frmEffect "专业设置": the reverb details of menu kind 3, the editor's dialog rows.
[[nodiscard]] const AuxWindowDecl& FrmEffectWindow();

/// The number a list's Tag names ("&HA04" is 2564, "2596" is 2596); -1 when it is none.
[[nodiscard]] int TagNumber(std::string_view tag);

/// A control of size `w` x `h` at its cell (pixels).
[[nodiscard]] editor::Rect AuxControlRect(const AuxWindowDecl& window,
                                          const editor::ControlDecl& decl, int w, int h);
/// The caption box of a control of size `w` x `h`: above it, or centred below it.
[[nodiscard]] editor::Rect AuxCaptionRect(const AuxWindowDecl& window,
                                          const editor::ControlDecl& decl, int w, int h);
/// The label box of `row`, left of its first cell, for controls `h` pixels high.
[[nodiscard]] editor::Rect AuxRowLabelRect(const AuxWindowDecl& window, int row, int h);

inline constexpr int kAuxCaptionHeight = 13;

}  // namespace vellora::admin
