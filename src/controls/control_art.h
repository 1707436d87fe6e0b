// The drawing vocabulary shared by the controls' pictures: the console palette, labels,
// grooves and lit fills, readout plates, fader caps, LEDs, keys and the padlock.
#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSize>
#include <QString>

#include "graph/picture_store.h"

class QPainter;

namespace vellora::controls::art {

// The palette, matched to the response graph: deep blue-grey panels, a cool blue accent, the
// graph's amber for the second scene.
inline const QColor kInk(221, 221, 221);
inline const QColor kDimInk(138, 146, 158);
inline const QColor kAccent(56, 160, 255);
inline const QColor kAmber(255, 178, 36);
inline const QColor kLockGrey(118, 124, 134);
inline const QColor kMuteRed(236, 68, 60);
inline const QColor kGreen(72, 224, 120);

/// Registers the maker of one of the controls' pictures at its natural size.
void Register(graph::PictureStore& store, int number, graph::PictureStore::Maker maker);

[[nodiscard]] QColor Alpha(QColor c, int a);
/// The condensed sans-serif of the pictures' own labels, at `pixels`.
[[nodiscard]] QFont LabelFont(qreal pixels, bool bold = false);
/// A label with a soft shadow; texts with CJK characters use the UI font.
void Label(QPainter& p, const QRectF& box, const QString& text, const QColor& ink, qreal pixels,
           Qt::Alignment align = Qt::AlignCenter, bool bold = false);
/// A recessed slot: dark floor, shadowed upper edge, a faint highlight below.
void Groove(QPainter& p, const QRectF& r);
/// The lit part of a slot: a glowing bar in `colour` along the groove.
void LitGroove(QPainter& p, const QRectF& r, const QColor& colour);
/// A small LCD readout plate filling `size`.
void Plate(QPainter& p, QSize size);

enum class CapLook { Normal, Focus, Locked };
/// A fader cap filling `size`; `horizontalLine` draws the index line across a vertical travel.
void Cap(QPainter& p, QSize size, CapLook look, bool horizontalLine);
/// An LED of radius `r`: dark when off, a glowing dot when on.
void Led(QPainter& p, QPointF c, qreal r, const QColor& colour, bool on);

enum class KeyLook { Raised, Lit, Pressed, Locked };
/// A rounded console key.
void KeyBody(QPainter& p, const QRectF& r, KeyLook look, qreal radius = 3.0);
/// A padlock of size `s` centred at `c`.
void Padlock(QPainter& p, QPointF c, qreal s, const QColor& colour);

}  // namespace vellora::controls::art
