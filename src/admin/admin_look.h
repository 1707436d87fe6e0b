// The administration windows in the console style of the editor: the panels behind the
// auxiliary windows' controls, their captions and row labels, the palette and style of the
// mode manager's standard widgets, the launcher's menus and the frame's empty backdrop.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

namespace vellora::admin {

inline const QColor kCaptionInk(150, 160, 174);
inline const QColor kBackdrop(10, 12, 15);

/// A row's name on a small plate with the accent bar, vertically centred in `r`.
void PaintRowLabel(QPainter& p, const QRect& r, const QString& text);
/// The font of captions: the UI font at its pixel size.
[[nodiscard]] QFont CaptionFont();

/// The administration windows' palette: dark panels, light ink, the accent for selections,
/// the disabled group dimmer but readable.
[[nodiscard]] QPalette AdminPalette();
/// The style sheet of frames, push buttons, edits, options, combo boxes, lists (a list with
/// the property "listHeader" set is drawn as the header row above a list), scroll bars and
/// menus; the same colours as AdminPalette().
[[nodiscard]] QString AdminStyleSheet();
/// Gives a window of standard widgets (and all its children) the administration look; sizes,
/// texts, fonts and accessible names stay as they are.
void ApplyAdminLook(QWidget* window);
/// Styles a menu bar and its menus: dark bar, light ink, the accent on the hovered entry.
void StyleMenuBar(QWidget* bar);

}  // namespace vellora::admin
