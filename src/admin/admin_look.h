// The administration windows in the console style of the editor: the panels behind the
// auxiliary windows' controls, their captions and row labels, the launcher's menus and the
// frame's empty backdrop while the editor is closed.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

namespace vellora::admin {

inline const QColor kCaptionInk(150, 160, 174);
inline const QColor kBackdrop(10, 12, 15);

/// A panel filling `r`: the editor's dark gradient with a lit upper and a shadowed lower edge.
void PaintPanel(QPainter& p, const QRect& r);
/// A row's name on a small plate with the accent bar, vertically centred in `r`.
void PaintRowLabel(QPainter& p, const QRect& r, const QString& text);
/// The font of captions: the UI font at its pixel size.
[[nodiscard]] QFont CaptionFont();
/// Styles a menu bar and its menus: dark bar, light ink, the accent on the hovered entry.
void StyleMenuBar(QWidget* bar);

}  // namespace vellora::admin
