// A control's drawing as a list of operations on numbered pictures and texts, computed without
// a display (so its content can be checked) and carried out on a QPainter by ExecutePlan.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controls/slider_layout.h"

class QPainter;
class QPoint;
class QString;

namespace vellora::graph {
class PictureStore;
}

namespace vellora::controls {

inline constexpr uint32_t kTextColour = 0xFFDDDDDD;
inline constexpr uint32_t kLockedTextColour = 0xFF888888;

struct PaintOp {
    enum class Kind {
        Picture,      ///< `number` at natural size, top-left (x, y)
        Part,         ///< part `source` of `number` (natural coordinates) into `target`
        Scaled,       ///< `number` made at the size of `target`
        Rotated,      ///< `number` turned by `degrees` clockwise about its centre, placed at (x, y)
        Text,         ///< `text` in the UI font, top-left (x, y), colour `argb`
        TextCentred,  ///< `text` in the UI font centred on `target`, colour `argb`
        Fill,         ///< `target` filled with `argb`
    };
    Kind kind = Kind::Picture;
    int number = 0;
    double x = 0.0, y = 0.0;
    IRect target;
    IRect source;
    double degrees = 0.0;
    std::string text;
    uint32_t argb = 0;
};
using PaintPlan = std::vector<PaintOp>;

PaintOp PictureAt(int number, double x, double y);
PaintOp PicturePart(int number, IRect target, IRect source);
PaintOp PictureScaled(int number, IRect target);
PaintOp PictureRotated(int number, double cx, double cy, double degrees);
PaintOp TextAt(std::string text, double x, double y, uint32_t argb, IRect within = {});
PaintOp TextCentred(std::string text, IRect box, uint32_t argb);
PaintOp FillRect(IRect target, uint32_t argb);

/// Whether the plan draws picture `number` in any way.
[[nodiscard]] bool DrawsPicture(const PaintPlan& plan, int number);
/// The texts of the plan (placed and centred) in drawing order.
[[nodiscard]] std::vector<const PaintOp*> Texts(const PaintPlan& plan);

/// Where a Text op is drawn: its (x, y), moved left where the UI font's advance of `text`
/// would run past the right end of its target, and right where it starts before its left end.
[[nodiscard]] QPoint TextTopLeft(const PaintOp& op, const QString& text);

/// Carries out the plan; unknown picture numbers draw nothing.
void ExecutePlan(QPainter& painter, graph::PictureStore& pictures, const PaintPlan& plan);

}  // namespace vellora::controls
