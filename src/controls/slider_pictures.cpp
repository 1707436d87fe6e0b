// The sliders' pictures: fader, band strip and bar beds with their grooves and scales, the
// lit fills, caps, value plates, the knob and the flag buttons. Every groove and scale mark is
// placed from the slider layout the bed is drawn for, so the pictures follow the geometry.
#include "controls/slider_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <string>

#include "controls/control_art.h"
#include "controls/control_pictures.h"
#include "controls/slider_layout.h"
#include "controls/slider_values.h"
#include "model/value_scales.h"

namespace vellora::controls {

namespace {

using namespace art;

// Grooves: their width across the travel and how far they reach beyond its ends.
constexpr qreal kFaderGrooveWidth = 6.0;
constexpr qreal kStripGrooveWidth = 5.0;
constexpr qreal kBarGrooveWidth = 5.0;
constexpr qreal kStripGrooveOverhang = 6.0;
constexpr qreal kBarGrooveOverhang = 5.5;
// Scale ticks start this far from a vertical groove's centre line, clear of the cap.
constexpr qreal kTickGap = 11.0;

// A bed's thumb travel in the bed picture's own coordinates.
Travel BedTravel(SliderBed bed) {
    const SliderLayout l = BedLayout(bed);
    const Pt o = BedOrigin(bed, l);
    Travel t = ThumbTravel(l);
    for (Pt* p : {&t.low, &t.high}) *p = {p->x - o.x, p->y - o.y};
    return t;
}

// The point `position` of `maxValue` along a travel.
QPointF Along(const Travel& t, int position, int maxValue) {
    const qreal f = static_cast<qreal>(position) / maxValue;
    return {t.low.x + (t.high.x - t.low.x) * f, t.low.y + (t.high.y - t.low.y) * f};
}

// The groove under a travel: `width` across it, `overhang` beyond each end.
QRectF GrooveUnder(const Travel& t, qreal width, qreal overhang) {
    if (t.low.x == t.high.x)
        return QRectF(t.low.x - width / 2.0, t.high.y - overhang, width,
                      t.low.y - t.high.y + 2.0 * overhang);
    return QRectF(t.low.x - overhang, t.low.y - width / 2.0, t.high.x - t.low.x + 2.0 * overhang,
                  width);
}

// --- Fader -------------------------------------------------------------------------------

QRectF FaderGroove() {
    return GrooveUnder(BedTravel(SliderBed::Fader), kFaderGrooveWidth, kStripGrooveOverhang);
}

// The fader's scale, in percent: a tick every 10 positions, labels at the value type's texts.
void MakeFaderBed(QPainter& p, QSize size) {
    const Travel t = BedTravel(SliderBed::Fader);
    const qreal cx = t.low.x;
    auto yAt = [&](int pos) { return Along(t, pos, kFaderMaxValue).y(); };
    for (int pos = 0; pos <= kFaderMaxValue; pos += 10) {
        const qreal y = yAt(pos);
        const bool major = pos % 50 == 0 || pos == kFaderMaxValue;
        p.setPen(QPen(major ? QColor(150, 158, 170) : QColor(88, 95, 106), major ? 1.2 : 1.0));
        p.drawLine(QPointF(cx - kTickGap - (major ? 7 : 4), y), QPointF(cx - kTickGap, y));
        p.drawLine(QPointF(cx + kTickGap, y), QPointF(cx + kTickGap + (major ? 7 : 4), y));
    }
    const qreal labelX = cx + kTickGap + 8;
    for (int pos : {150, 125, 100, 50, 0}) {
        QString text = QString::fromStdString(ValueText(kFaderValueType, pos));
        text.remove(QLatin1Char('%'));
        Label(p, QRectF(labelX, yAt(pos) - 6, size.width() - labelX, 12), text, kDimInk, 9,
              Qt::AlignLeft | Qt::AlignVCenter);
    }
    // The unity mark at 100 %.
    p.setPen(QPen(Alpha(kAccent, 150), 1.2));
    p.drawLine(QPointF(cx + kTickGap, yAt(100)), QPointF(cx + kTickGap + 7, yAt(100)));
    Groove(p, FaderGroove());
}

void MakeFaderFill(QPainter& p, QSize) {
    LitGroove(p, FaderGroove(), kAccent);
}

// --- Band strip --------------------------------------------------------------------------

SliderBed StripBed(bool tall) {
    return tall ? SliderBed::StripTall : SliderBed::Strip;
}

QRectF StripGroove(bool tall) {
    return GrooveUnder(BedTravel(StripBed(tall)), kStripGrooveWidth, kStripGrooveOverhang);
}

void MakeStripBed(QPainter& p, QSize size, bool tall) {
    const int c = tall ? 1 : 0;
    const Travel t = BedTravel(StripBed(tall));
    // Ticks every 6 dB at the right edge; 0 dB longer and lit, and marked left of the groove.
    const int zero = model::kGainZero - 10;  // the position of 0.0 dB
    for (int pos = 0; pos <= kBandStripMaxValue; pos += 60) {
        const qreal y = Along(t, pos, kBandStripMaxValue).y();
        const bool isZero = pos == zero;
        p.setPen(QPen(isZero ? Alpha(kAccent, 220) : QColor(96, 104, 116), isZero ? 1.3 : 1.0));
        p.drawLine(QPointF(size.width() - (isZero ? 3.5 : 2.5), y), QPointF(size.width(), y));
        if (isZero) p.drawLine(QPointF(t.low.x - 17, y), QPointF(t.low.x - 13, y));
    }
    Groove(p, StripGroove(tall));
    // The readout window under the three text rows, a hairline between the rows.
    const IRect first = EntryBoxRect(0, c), last = EntryBoxRect(kBandRowCount - 1, c);
    const QRectF readout(1.5, first.y + 0.5, size.width() - 3.0, last.y + last.h - first.y);
    p.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
    QLinearGradient fill(0, readout.top(), 0, readout.bottom());
    fill.setColorAt(0.0, QColor(6, 8, 11));
    fill.setColorAt(1.0, QColor(13, 16, 21));
    p.setBrush(fill);
    p.drawRoundedRect(readout, 3, 3);
    p.setPen(QPen(QColor(255, 255, 255, 14), 1.0));
    for (int row = 1; row < kBandRowCount; ++row) {
        const qreal y = EntryBoxRect(row, c).y + 1.5;
        p.drawLine(QPointF(4, y), QPointF(size.width() - 4, y));
    }
    // A power sign left of the on/off switch.
    const IRect sw = BandSwitchRect(c);
    const QPointF pc(sw.x - 8.5, sw.y + sw.h / 2.0);
    p.setPen(QPen(QColor(120, 128, 140), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(pc.x() - 3.6, pc.y() - 3.6, 7.2, 7.2), 120 * 16, 300 * 16);
    p.drawLine(QPointF(pc.x(), pc.y() - 4.4), QPointF(pc.x(), pc.y() - 0.6));
}

void MakeStripFill(QPainter& p, QSize, bool tall, const QColor& colour) {
    LitGroove(p, StripGroove(tall), colour);
}

void MakeBandLabel(QPainter& p, QSize size) {
    Label(p, QRectF(0, -1, size.width(), size.height() + 1), QStringLiteral("EQ"), kDimInk, 9,
          Qt::AlignCenter, true);
}

enum class Shape { Peak, LowShelf, HighShelf };

void MakeShapeButton(QPainter& p, QSize size, Shape shape, KeyLook look) {
    const QRectF key(1.5, 1.5, size.width() - 3.0, size.height() - 3.0);
    KeyBody(p, key, look, 2.5);
    QPainterPath curve;
    const qreal l = key.left() + 2.2, r = key.right() - 2.2;
    const qreal mid = key.center().y() + 1.5, hi = key.top() + 4.0, lo = key.bottom() - 3.5;
    switch (shape) {
        case Shape::Peak:
            curve.moveTo(l, lo);
            curve.cubicTo(key.center().x() - 2.5, lo, key.center().x() - 2, hi, key.center().x(),
                          hi);
            curve.cubicTo(key.center().x() + 2, hi, key.center().x() + 2.5, lo, r, lo);
            break;
        case Shape::LowShelf:
            curve.moveTo(l, hi + 1);
            curve.lineTo(key.center().x() - 2, hi + 1);
            curve.cubicTo(key.center().x() + 1, hi + 1, key.center().x(), mid + 2, r, mid + 2);
            break;
        case Shape::HighShelf:
            curve.moveTo(l, mid + 2);
            curve.cubicTo(key.center().x(), mid + 2, key.center().x() - 1, hi + 1,
                          key.center().x() + 2, hi + 1);
            curve.lineTo(r, hi + 1);
            break;
    }
    QColor ink = kDimInk.darker(115);
    if (look == KeyLook::Lit) ink = kAccent.lighter(140);
    if (look == KeyLook::Locked) ink = QColor(170, 174, 182);
    p.setBrush(Qt::NoBrush);
    p.setPen(
        QPen(ink, look == KeyLook::Raised ? 1.2 : 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(curve);
}

void MakeBandSwitch(QPainter& p, QSize size, bool on) {
    const QRectF pill(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const qreal radius = pill.height() / 2.0;
    p.setPen(QPen(QColor(0, 0, 0, 210), 1.0));
    p.setBrush(on ? QColor(20, 44, 30) : QColor(20, 22, 26));
    p.drawRoundedRect(pill, radius, radius);
    Led(p, QPointF(radius + 0.8, pill.center().y()), 2.3, on ? kGreen : kMuteRed, true);
    Label(p, QRectF(8, -0.5, size.width() - 9, size.height()),
          on ? QStringLiteral("ON") : QStringLiteral("OFF"),
          on ? QColor(170, 240, 190) : QColor(240, 150, 140), 8, Qt::AlignCenter, true);
}

// --- Horizontal bars ---------------------------------------------------------------------

QRectF BarGroove(SliderBed bed) {
    return GrooveUnder(BedTravel(bed), kBarGrooveWidth, kBarGrooveOverhang);
}

// A groove along the track with a tick at every tenth, under the thumb's reach.
void MakeBarBed(QPainter& p, QSize size, SliderBed bed) {
    const Travel t = BedTravel(bed);
    const qreal tickTop = std::min<qreal>(t.low.y + 12.5, size.height() - 4.0);
    for (int k = 0; k <= 10; ++k) {
        const qreal x = Along(t, k, 10).x();
        const bool major = k % 5 == 0;
        p.setPen(QPen(major ? QColor(130, 138, 150) : QColor(78, 85, 96), 1.0));
        p.drawLine(QPointF(x, tickTop), QPointF(x, tickTop + (major ? 3.0 : 2.0)));
    }
    Groove(p, BarGroove(bed));
}

void MakeBarFill(QPainter& p, QSize, SliderBed bed, const QColor& colour) {
    LitGroove(p, BarGroove(bed), colour);
}

// The rotary knob: a knurled skirt, a machined cap and a lit pointer at 12 o'clock.
void MakeKnob(QPainter& p, QSize size) {
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const qreal R = std::min(size.width(), size.height()) / 2.0 - 3.0;
    p.setPen(Qt::NoPen);
    QRadialGradient shadow(c + QPointF(0, 2.5), R + 3);
    shadow.setColorAt(0.85, QColor(0, 0, 0, 150));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setBrush(shadow);
    p.drawEllipse(c + QPointF(0, 2.5), R + 3, R + 3);
    // Skirt with knurls.
    QRadialGradient skirt(c, R);
    skirt.setColorAt(0.0, QColor(70, 76, 86));
    skirt.setColorAt(0.9, QColor(38, 42, 49));
    skirt.setColorAt(1.0, QColor(22, 25, 30));
    p.setBrush(skirt);
    p.setPen(QPen(QColor(8, 9, 12), 1.2));
    p.drawEllipse(c, R, R);
    p.save();
    p.translate(c);
    p.setPen(QPen(QColor(14, 16, 20, 200), 1.3));
    for (int i = 0; i < 60; ++i) {
        p.drawLine(QPointF(0, -R + 1.5), QPointF(0, -R + 6.5));
        p.rotate(6.0);
    }
    p.restore();
    // Cap.
    const qreal r = R * 0.74;
    QRadialGradient cap(c, r);
    cap.setColorAt(0.0, QColor(92, 99, 110));
    cap.setColorAt(0.7, QColor(66, 72, 82));
    cap.setColorAt(0.96, QColor(44, 48, 56));
    cap.setColorAt(1.0, QColor(120, 128, 140));
    p.setBrush(cap);
    p.setPen(QPen(QColor(10, 11, 14), 1.0));
    p.drawEllipse(c, r, r);
    // Fine concentric machining.
    p.setBrush(Qt::NoBrush);
    for (qreal k = 0.2; k < 0.95; k += 0.09) {
        p.setPen(QPen(QColor(255, 255, 255, 9), 0.8));
        p.drawEllipse(c, r * k, r * k);
    }
    // Pointer.
    const QPointF tip(c.x(), c.y() - R + 4);
    const QPointF base(c.x(), c.y() - r * 0.35);
    p.setPen(QPen(Alpha(kAccent, 70), 6.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(base, tip);
    p.setPen(QPen(kAccent.lighter(125), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(base, tip);
    p.setPen(QPen(QColor(235, 245, 255), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(base + QPointF(0, -2), tip + QPointF(0, 1.5));
}

void MakeFlag(QPainter& p, QSize size, bool set, bool pressed) {
    // Two pixels are left free on the right: the value plate follows close beside the button.
    const QRectF key(0.5, pressed ? 1.0 : 0.5, size.width() - 3.0, size.height() - 1.5);
    KeyBody(p, key, pressed ? KeyLook::Pressed : KeyLook::Raised, 2.0);
    Led(p, key.center(), 2.2, kGreen, set);
}

}  // namespace

void RegisterSliderPictures(graph::PictureStore& store) {
    // Fader.
    Register(store, pic::kFaderBed, MakeFaderBed);
    Register(store, pic::kFaderFill, MakeFaderFill);
    Register(store, pic::kThumb, [](QPainter& p, QSize s) { Cap(p, s, CapLook::Normal, true); });
    Register(store, pic::kThumbFocus,
             [](QPainter& p, QSize s) { Cap(p, s, CapLook::Focus, true); });
    Register(store, pic::kThumbLocked,
             [](QPainter& p, QSize s) { Cap(p, s, CapLook::Locked, true); });
    Register(store, pic::kValuePlate, Plate);
    Register(store, pic::kSmallPlate, Plate);
    Register(store, pic::kWidePlate2, Plate);
    Register(store, pic::kShortPlate, Plate);
    Register(store, pic::kWidePlate, Plate);
    Register(store, pic::kFlagSet, [](QPainter& p, QSize s) { MakeFlag(p, s, true, false); });
    Register(store, pic::kFlagSetPressed, [](QPainter& p, QSize s) { MakeFlag(p, s, true, true); });
    Register(store, pic::kFlagClear, [](QPainter& p, QSize s) { MakeFlag(p, s, false, false); });
    Register(store, pic::kFlagClearPressed,
             [](QPainter& p, QSize s) { MakeFlag(p, s, false, true); });
    // Band strip.
    Register(store, pic::kStripBed, [](QPainter& p, QSize s) { MakeStripBed(p, s, false); });
    Register(store, pic::kStripBedTall, [](QPainter& p, QSize s) { MakeStripBed(p, s, true); });
    Register(store, pic::kStripFill,
             [](QPainter& p, QSize s) { MakeStripFill(p, s, false, kAccent); });
    Register(store, pic::kStripFillTall,
             [](QPainter& p, QSize s) { MakeStripFill(p, s, true, kAccent); });
    Register(store, pic::kStripFillScene,
             [](QPainter& p, QSize s) { MakeStripFill(p, s, false, kAmber); });
    Register(store, pic::kStripFillSceneTall,
             [](QPainter& p, QSize s) { MakeStripFill(p, s, true, kAmber); });
    Register(store, pic::kStripFillLocked,
             [](QPainter& p, QSize s) { MakeStripFill(p, s, false, kLockGrey); });
    Register(store, pic::kStripFillLockedTall,
             [](QPainter& p, QSize s) { MakeStripFill(p, s, true, kLockGrey); });
    Register(store, pic::kBandLabel, MakeBandLabel);
    const Shape shapes[] = {Shape::Peak, Shape::LowShelf, Shape::HighShelf};
    for (int i = 0; i < 3; ++i) {
        const Shape shape = shapes[i];
        Register(store, pic::kShapeSelected0 + 2 * i,
                 [shape](QPainter& p, QSize s) { MakeShapeButton(p, s, shape, KeyLook::Lit); });
        Register(store, pic::kShapeSelected0 + 2 * i + 1,
                 [shape](QPainter& p, QSize s) { MakeShapeButton(p, s, shape, KeyLook::Raised); });
        Register(store, pic::kShapeLocked0 + i,
                 [shape](QPainter& p, QSize s) { MakeShapeButton(p, s, shape, KeyLook::Locked); });
    }
    Register(store, pic::kSwitchOn, [](QPainter& p, QSize s) { MakeBandSwitch(p, s, true); });
    Register(store, pic::kSwitchOff, [](QPainter& p, QSize s) { MakeBandSwitch(p, s, false); });
    // Bars and knob.
    Register(store, pic::kBarBed, [](QPainter& p, QSize s) { MakeBarBed(p, s, SliderBed::Bar); });
    Register(store, pic::kBarFill,
             [](QPainter& p, QSize s) { MakeBarFill(p, s, SliderBed::Bar, kAccent); });
    Register(store, pic::kBarFillLocked,
             [](QPainter& p, QSize s) { MakeBarFill(p, s, SliderBed::Bar, kLockGrey); });
    Register(store, pic::kBarFillScene,
             [](QPainter& p, QSize s) { MakeBarFill(p, s, SliderBed::Bar, kAmber); });
    Register(store, pic::kBarBedLow,
             [](QPainter& p, QSize s) { MakeBarBed(p, s, SliderBed::BarLow); });
    Register(store, pic::kBarLowFill,
             [](QPainter& p, QSize s) { MakeBarFill(p, s, SliderBed::BarLow, kAccent); });
    Register(store, pic::kBarLowFillLocked,
             [](QPainter& p, QSize s) { MakeBarFill(p, s, SliderBed::BarLow, kLockGrey); });
    Register(store, pic::kBarLowFillScene,
             [](QPainter& p, QSize s) { MakeBarFill(p, s, SliderBed::BarLow, kAmber); });
    Register(store, pic::kMuteBed, [](QPainter& p, QSize s) { MakeBarBed(p, s, SliderBed::Mute); });
    Register(store, pic::kMuteFill,
             [](QPainter& p, QSize s) { MakeBarFill(p, s, SliderBed::Mute, kAccent); });
    Register(store, pic::kMuteFillMuted,
             [](QPainter& p, QSize s) { MakeBarFill(p, s, SliderBed::Mute, kMuteRed); });
    Register(store, pic::kBarThumb,
             [](QPainter& p, QSize s) { Cap(p, s, CapLook::Normal, false); });
    Register(store, pic::kBarThumbLocked,
             [](QPainter& p, QSize s) { Cap(p, s, CapLook::Locked, false); });
    Register(store, pic::kKnob, MakeKnob);
}

}  // namespace vellora::controls
