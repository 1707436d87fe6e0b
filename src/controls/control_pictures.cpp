// The controls' artwork, drawn as vectors in the graph's dark console style: recessed grooves
// with lit fills (blue normal, amber second scene, grey locked, red muted), silver caps, LCD
// value plates, a machined knob, LED buttons and list faces. Every picture scales cleanly.
#include "controls/control_pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <cmath>
#include <functional>
#include <string>

#include "controls/combo_lists.h"
#include "graph/picture_store.h"

namespace vellora::controls {

namespace {

// The palette, matched to the response graph: deep blue-grey panels, a cool blue accent, the
// graph's amber for the second scene.
const QColor kInk(221, 221, 221);
const QColor kDimInk(138, 146, 158);
const QColor kAccent(56, 160, 255);
const QColor kAmber(255, 178, 36);
const QColor kLockGrey(118, 124, 134);
const QColor kMuteRed(236, 68, 60);
const QColor kGreen(72, 224, 120);

struct SizeRow {
    int number, w, h;
};
// Natural sizes of every picture of the controls, in logical pixels.
constexpr SizeRow kSizes[] = {
    {101, 24, 16},  {102, 24, 16},  {103, 74, 178}, {104, 74, 178}, {105, 26, 10},  {107, 24, 16},
    {108, 15, 22},  {110, 60, 22},  {112, 43, 178}, {113, 43, 178}, {129, 16, 18},  {130, 16, 18},
    {131, 16, 18},  {132, 16, 18},  {133, 16, 18},  {134, 16, 18},  {135, 150, 40}, {136, 150, 40},
    {137, 15, 22},  {138, 32, 15},  {139, 58, 16},  {140, 180, 30}, {141, 180, 30}, {142, 50, 22},
    {143, 50, 22},  {144, 82, 20},  {150, 138, 21}, {151, 12, 10},  {152, 12, 10},  {182, 127, 127},
    {196, 64, 22},  {197, 64, 22},  {198, 64, 22},  {199, 64, 22},  {218, 64, 24},  {219, 64, 24},
    {220, 182, 28}, {221, 182, 28}, {227, 10, 8},   {228, 10, 8},   {269, 30, 16},  {270, 24, 16},
    {271, 150, 40}, {272, 43, 178}, {273, 180, 30}, {274, 182, 28}, {275, 150, 40}, {276, 43, 178},
    {277, 180, 30}, {294, 24, 11},  {295, 24, 11},  {300, 16, 18},  {301, 16, 18},  {302, 16, 18},
    {304, 50, 22},  {305, 50, 22},  {308, 12, 10},  {309, 12, 10},  {310, 12, 10},  {311, 12, 10},
    {312, 60, 22},  {316, 138, 21}, {317, 60, 22},  {359, 96, 24},  {361, 96, 24},  {362, 96, 24},
    {374, 43, 224}, {375, 43, 224}, {376, 43, 224}, {377, 43, 224}, {378, 64, 22},  {379, 64, 22},
    {380, 64, 22},  {381, 64, 22},  {382, 34, 15},
};

QColor Alpha(QColor c, int a) {
    c.setAlpha(a);
    return c;
}

QFont LabelFont(qreal pixels, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Segoe UI"),
                      QStringLiteral("Helvetica Neue"), QStringLiteral("Arial")});
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

bool HasWide(const QString& text) {
    for (QChar ch : text)
        if (ch.unicode() > 0x2E7F) return true;
    return false;
}

void Label(QPainter& p, const QRectF& box, const QString& text, const QColor& ink, qreal pixels,
           Qt::Alignment align = Qt::AlignCenter, bool bold = false) {
    p.save();
    QFont font = HasWide(text) ? graph::PictureStore::UiFont() : LabelFont(pixels, bold);
    if (HasWide(text)) font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 140));
    p.drawText(box.translated(0, 0.7), align, text);
    p.setPen(ink);
    p.drawText(box, align, text);
    p.restore();
}

// A recessed slot: dark floor, shadowed upper edge, a faint highlight below.
void Groove(QPainter& p, const QRectF& r) {
    const qreal radius = std::min(r.width(), r.height()) / 2.0;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 16));
    p.drawRoundedRect(r.adjusted(-0.5, 0, 0.5, 1.2), radius, radius);
    p.setBrush(QColor(0, 0, 0, 200));
    p.drawRoundedRect(r.adjusted(-0.6, -0.8, 0.6, 0.2), radius, radius);
    QLinearGradient floor(r.topLeft(), r.width() < r.height() ? r.topRight() : r.bottomLeft());
    floor.setColorAt(0.0, QColor(4, 5, 8));
    floor.setColorAt(1.0, QColor(16, 19, 25));
    p.setBrush(floor);
    p.drawRoundedRect(r, radius, radius);
    p.restore();
}

// The lit part of a slot: a glowing bar in `colour` along the groove.
void LitGroove(QPainter& p, const QRectF& r, const QColor& colour) {
    const bool vertical = r.width() < r.height();
    const qreal radius = std::min(r.width(), r.height()) / 2.0;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(Alpha(colour, 40));
    p.drawRoundedRect(r.adjusted(-1.6, -1.6, 1.6, 1.6), radius + 1.6, radius + 1.6);
    QLinearGradient bar(r.topLeft(), vertical ? r.topRight() : r.bottomLeft());
    bar.setColorAt(0.0, colour.darker(150));
    bar.setColorAt(0.45, colour.lighter(135));
    bar.setColorAt(1.0, colour.darker(170));
    p.setBrush(bar);
    p.drawRoundedRect(r.adjusted(0.6, 0.6, -0.6, -0.6), radius - 0.6, radius - 0.6);
    p.restore();
}

// A small LCD readout plate.
void Plate(QPainter& p, QSize size) {
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 18));
    p.drawRoundedRect(r.translated(0, 0.6), 3, 3);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0.0, QColor(5, 7, 10));
    fill.setColorAt(1.0, QColor(13, 17, 23));
    p.setBrush(fill);
    p.setPen(QPen(QColor(0, 0, 0, 210), 1.0));
    p.drawRoundedRect(r, 3, 3);
    p.setPen(QPen(Alpha(kAccent, 28), 1.0));
    p.drawLine(QPointF(3, size.height() - 1.5), QPointF(size.width() - 3, size.height() - 1.5));
}

enum class CapLook { Normal, Focus, Locked };

// A fader cap. `across` draws the index line across the track's direction of travel:
// horizontal on vertical sliders, vertical on horizontal bars.
void Cap(QPainter& p, QSize size, CapLook look, bool horizontalLine) {
    const qreal w = size.width(), h = size.height();
    const QRectF body(1, 1, w - 2, h - 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 130));
    p.drawRoundedRect(body.translated(0, 1.2), 2.5, 2.5);
    if (look == CapLook::Focus) {
        p.setBrush(Alpha(kAccent, 70));
        p.drawRoundedRect(body.adjusted(-1, -1, 1, 1), 3.5, 3.5);
    }
    QLinearGradient metal(0, body.top(), 0, body.bottom());
    if (look == CapLook::Locked) {
        metal.setColorAt(0.0, QColor(92, 97, 106));
        metal.setColorAt(1.0, QColor(52, 56, 63));
    } else {
        metal.setColorAt(0.0, QColor(242, 244, 248));
        metal.setColorAt(0.48, QColor(190, 196, 205));
        metal.setColorAt(0.52, QColor(160, 166, 176));
        metal.setColorAt(1.0, QColor(118, 124, 134));
    }
    p.setBrush(metal);
    p.setPen(QPen(look == CapLook::Focus ? kAccent.lighter(120) : QColor(20, 22, 26, 220), 1.0));
    p.drawRoundedRect(body, 2.5, 2.5);
    // Grip ridges and the index line.
    const QColor ridge = look == CapLook::Locked ? QColor(40, 43, 49) : QColor(95, 101, 112, 170);
    const QColor index = look == CapLook::Focus    ? kAccent
                         : look == CapLook::Locked ? QColor(150, 156, 166)
                                                   : QColor(18, 20, 24);
    const QPointF c = body.center();
    p.setPen(QPen(ridge, 0.8));
    if (horizontalLine) {
        for (qreal dy : {-4.0, 4.0})
            if (std::abs(dy) < body.height() / 2 - 1)
                p.drawLine(QPointF(body.left() + 3, c.y() + dy),
                           QPointF(body.right() - 3, c.y() + dy));
        p.setPen(QPen(index, 1.8));
        p.drawLine(QPointF(body.left() + 1.5, c.y()), QPointF(body.right() - 1.5, c.y()));
    } else {
        for (qreal dx : {-3.5, 3.5})
            p.drawLine(QPointF(c.x() + dx, body.top() + 3), QPointF(c.x() + dx, body.bottom() - 3));
        p.setPen(QPen(index, 1.8));
        p.drawLine(QPointF(c.x(), body.top() + 1.5), QPointF(c.x(), body.bottom() - 1.5));
    }
    if (look == CapLook::Locked) {
        // A small padlock at the cap's end.
        const qreal s = std::min(w, h) * 0.32;
        const QPointF lc = horizontalLine ? QPointF(body.right() - s * 0.9, c.y())
                                          : QPointF(c.x(), body.bottom() - s * 0.9);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(188, 192, 200));
        p.drawRoundedRect(QRectF(lc.x() - s * 0.55, lc.y() - s * 0.15, s * 1.1, s * 0.8), 0.8, 0.8);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(188, 192, 200), std::max(0.8, s * 0.22)));
        p.drawArc(QRectF(lc.x() - s * 0.35, lc.y() - s * 0.7, s * 0.7, s * 0.9), 0, 180 * 16);
    }
}

// An LED: dark when off, a glowing dot when on.
void Led(QPainter& p, QPointF c, qreal r, const QColor& colour, bool on) {
    p.save();
    p.setPen(Qt::NoPen);
    if (on) {
        QRadialGradient glow(c, r * 2.4);
        glow.setColorAt(0.0, Alpha(colour, 130));
        glow.setColorAt(1.0, Alpha(colour, 0));
        p.setBrush(glow);
        p.drawEllipse(c, r * 2.4, r * 2.4);
    }
    p.setBrush(QColor(0, 0, 0, 170));
    p.drawEllipse(c, r + 0.7, r + 0.7);
    QRadialGradient body(c - QPointF(r * 0.3, r * 0.35), r * 1.3);
    if (on) {
        body.setColorAt(0.0, colour.lighter(170));
        body.setColorAt(0.6, colour);
        body.setColorAt(1.0, colour.darker(160));
    } else {
        body.setColorAt(0.0, colour.darker(330));
        body.setColorAt(1.0, colour.darker(600));
    }
    p.setBrush(body);
    p.drawEllipse(c, r, r);
    p.restore();
}

enum class KeyLook { Raised, Lit, Pressed, Locked };

// A rounded console key.
void KeyBody(QPainter& p, const QRectF& r, KeyLook look, qreal radius = 3.0) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 140));
    p.drawRoundedRect(r.translated(0, look == KeyLook::Pressed ? 0.4 : 1.0), radius, radius);
    QLinearGradient g(0, r.top(), 0, r.bottom());
    switch (look) {
        case KeyLook::Raised:
            g.setColorAt(0.0, QColor(58, 64, 75));
            g.setColorAt(1.0, QColor(33, 37, 44));
            break;
        case KeyLook::Lit:
            g.setColorAt(0.0, QColor(46, 78, 112));
            g.setColorAt(1.0, QColor(24, 44, 68));
            break;
        case KeyLook::Pressed:
            g.setColorAt(0.0, QColor(24, 27, 32));
            g.setColorAt(1.0, QColor(38, 42, 50));
            break;
        case KeyLook::Locked:
            g.setColorAt(0.0, QColor(44, 46, 51));
            g.setColorAt(1.0, QColor(34, 36, 40));
            break;
    }
    p.setBrush(g);
    const QColor edge = look == KeyLook::Lit ? Alpha(kAccent, 200) : QColor(10, 11, 14, 230);
    p.setPen(QPen(edge, 1.0));
    p.drawRoundedRect(r, radius, radius);
    if (look == KeyLook::Raised || look == KeyLook::Lit) {
        p.setPen(QPen(QColor(255, 255, 255, look == KeyLook::Lit ? 40 : 26), 1.0));
        p.drawLine(QPointF(r.left() + radius, r.top() + 1),
                   QPointF(r.right() - radius, r.top() + 1));
    }
    p.restore();
}

void Padlock(QPainter& p, QPointF c, qreal s, const QColor& colour) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(c.x() - s * 0.5, c.y() - s * 0.1, s, s * 0.75), 1, 1);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, std::max(1.0, s * 0.18)));
    p.drawArc(QRectF(c.x() - s * 0.32, c.y() - s * 0.62, s * 0.64, s * 0.9), 0, 180 * 16);
    p.restore();
}

// --- Sliders ---------------------------------------------------------------------------

// Fader: groove under the thumb centre line x = 33, centres y 24..147 in picture coordinates.
constexpr qreal kFaderX = 33.0;
qreal FaderY(int position) {
    return 24.0 + (150 - position) * 123.0 / 150.0;
}
QRectF FaderSlot() {
    return QRectF(kFaderX - 3, 18, 6, 136);
}

void MakeFaderBed(QPainter& p, QSize) {
    // Scale: a tick every 10 positions, labelled in percent at 0, 50, 100, 150, 200.
    for (int pos = 0; pos <= 150; pos += 10) {
        const qreal y = FaderY(pos);
        const bool major = pos % 50 == 0 || pos == 150;
        p.setPen(QPen(major ? QColor(150, 158, 170) : QColor(88, 95, 106), major ? 1.2 : 1.0));
        p.drawLine(QPointF(major ? 15 : 18, y), QPointF(22, y));
        p.drawLine(QPointF(44, y), QPointF(major ? 51 : 48, y));
    }
    const std::pair<int, const char*> labels[] = {
        {150, "200"}, {125, "150"}, {100, "100"}, {50, "50"}, {0, "0"}};
    for (const auto& [pos, text] : labels)
        Label(p, QRectF(52, FaderY(pos) - 6, 22, 12), QString::fromLatin1(text), kDimInk, 9,
              Qt::AlignLeft | Qt::AlignVCenter);
    // The unity mark.
    p.setPen(QPen(Alpha(kAccent, 150), 1.2));
    p.drawLine(QPointF(44, FaderY(100)), QPointF(51, FaderY(100)));
    Groove(p, FaderSlot());
}

void MakeFaderFill(QPainter& p, QSize) {
    LitGroove(p, FaderSlot(), kAccent);
}

// Band strip: groove at x = 28, thumb centres from y 18 over 95 (+27 tall) pixels.
qreal StripY(int position, bool tall) {
    return 18.0 + (360 - position) * (tall ? 122.0 : 95.0) / 360.0;
}
QRectF StripSlot(bool tall) {
    return QRectF(25.5, 12, 5, tall ? 134.0 : 107.0);
}

void MakeStripBed(QPainter& p, QSize size, bool tall) {
    const int c = tall ? 1 : 0;
    // Ticks every 6 dB at the right edge; 0 dB longer and lit.
    for (int pos = 0; pos <= 360; pos += 60) {
        const qreal y = StripY(pos, tall);
        const bool zero = pos == 240;
        p.setPen(QPen(zero ? Alpha(kAccent, 220) : QColor(96, 104, 116), zero ? 1.3 : 1.0));
        p.drawLine(QPointF(zero ? 39.5 : 40.5, y), QPointF(43, y));
        if (zero) p.drawLine(QPointF(11, y), QPointF(15, y));
    }
    Groove(p, StripSlot(tall));
    // The readout window under the three text rows.
    const QRectF readout(1.5, 123.5 + 33 * c, size.width() - 3.0, 42.0 + 6 * c);
    p.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
    QLinearGradient fill(0, readout.top(), 0, readout.bottom());
    fill.setColorAt(0.0, QColor(6, 8, 11));
    fill.setColorAt(1.0, QColor(13, 16, 21));
    p.setBrush(fill);
    p.drawRoundedRect(readout, 3, 3);
    p.setPen(QPen(QColor(255, 255, 255, 14), 1.0));
    p.drawLine(QPointF(4, 137.5 + 36 * c), QPointF(size.width() - 4, 137.5 + 36 * c));
    p.drawLine(QPointF(4, 151.0 + 39 * c), QPointF(size.width() - 4, 151.0 + 39 * c));
    // A power sign beside the on/off switch.
    const QPointF pc(8.5, 171.5 + 42 * c);
    p.setPen(QPen(QColor(120, 128, 140), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(pc.x() - 3.6, pc.y() - 3.6, 7.2, 7.2), 120 * 16, 300 * 16);
    p.drawLine(QPointF(pc.x(), pc.y() - 4.4), QPointF(pc.x(), pc.y() - 0.6));
}

void MakeStripFill(QPainter& p, QSize, bool tall, const QColor& colour) {
    LitGroove(p, StripSlot(tall), colour);
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

// Horizontal bars: a groove along the track with ticks at every tenth.
struct BarGeometry {
    qreal trackX, trackTop, length;
};
constexpr BarGeometry kBedHigh{12, 15, 122};
constexpr BarGeometry kBedLow{7, 2, 122};
constexpr BarGeometry kBedMute{8, 4, 140};
QRectF BarSlot(const BarGeometry& g) {
    return QRectF(g.trackX - 5.5, g.trackTop + 8.5, g.length + 11, 5);
}

void MakeBarBed(QPainter& p, QSize size, const BarGeometry& g) {
    const qreal tickTop = std::min<qreal>(g.trackTop + 23.5, size.height() - 4.0);
    for (int k = 0; k <= 10; ++k) {
        const qreal x = g.trackX + k * g.length / 10.0;
        const bool major = k % 5 == 0;
        p.setPen(QPen(major ? QColor(130, 138, 150) : QColor(78, 85, 96), 1.0));
        p.drawLine(QPointF(x, tickTop), QPointF(x, tickTop + (major ? 3.0 : 2.0)));
    }
    Groove(p, BarSlot(g));
}

void MakeBarFill(QPainter& p, QSize, const BarGeometry& g, const QColor& colour) {
    LitGroove(p, BarSlot(g), colour);
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

// --- Flag buttons ------------------------------------------------------------------------

void MakeToggle(QPainter& p, QSize size, bool on, bool locked) {
    const QRectF key(1.5, 1.5, size.width() - 3.0, size.height() - 3.5);
    KeyBody(p, key, locked ? KeyLook::Locked : (on ? KeyLook::Lit : KeyLook::Raised));
    const QPointF led(key.left() + 9, key.center().y());
    Led(p, led, 3.0, locked ? kLockGrey : kGreen, on);
    const QColor ink = locked ? QColor(120, 126, 136) : (on ? QColor(236, 244, 255) : kDimInk);
    Label(p, QRectF(key.left() + 14, key.top(), key.width() - 16 - (locked ? 9 : 0), key.height()),
          on ? QStringLiteral("ON") : QStringLiteral("OFF"), ink, locked ? 9 : 10, Qt::AlignCenter,
          true);
    if (locked) Padlock(p, QPointF(key.right() - 5.5, key.center().y()), 5.5, QColor(150, 156, 166));
}

// A two-position switch: the lit half is the chosen one.
void MakeTwoHalf(QPainter& p, QSize size, bool right, bool styleB, bool locked) {
    const QRectF frame(1.5, 1.5, size.width() - 3.0, size.height() - 3.5);
    p.setPen(QPen(QColor(0, 0, 0, 220), 1.0));
    p.setBrush(QColor(12, 14, 18));
    p.drawRoundedRect(frame, 4, 4);
    const qreal half = frame.width() / 2.0;
    const QRectF left(frame.left() + 1.5, frame.top() + 1.5, half - 2, frame.height() - 3);
    const QRectF rightHalf = left.translated(half - 0.5, 0);
    const QRectF& chosen = right ? rightHalf : left;
    const QRectF& other = right ? left : rightHalf;
    if (styleB) {
        KeyBody(p, other, locked ? KeyLook::Locked : KeyLook::Pressed, 3);
        KeyBody(p, chosen, locked ? KeyLook::Locked : KeyLook::Lit, 3);
        Led(p, QPointF(chosen.center().x(), chosen.center().y()), 2.8, locked ? kLockGrey : kAmber,
            true);
        Led(p, QPointF(other.center().x(), other.center().y()), 2.8, kAmber, false);
    } else {
        KeyBody(p, chosen, locked ? KeyLook::Locked : KeyLook::Raised, 3);
        const QColor lit = locked ? kLockGrey : kAccent;
        p.setPen(QPen(lit, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(chosen.left() + 6, chosen.bottom() - 3),
                   QPointF(chosen.right() - 6, chosen.bottom() - 3));
        // Grip ridges on the slider knob.
        p.setPen(QPen(QColor(0, 0, 0, 120), 1.0));
        for (qreal dx : {-3.0, 0.0, 3.0})
            p.drawLine(QPointF(chosen.center().x() + dx, chosen.top() + 4),
                       QPointF(chosen.center().x() + dx, chosen.bottom() - 6));
    }
    if (locked)
        Padlock(p, QPointF(other.center().x(), other.center().y()), 7, QColor(150, 156, 166));
}

void MakeTab(QPainter& p, QSize size, bool on) {
    const QRectF r(1.5, 1.5, size.width() - 3.0, size.height() - 2.5);
    QPainterPath tab;
    tab.moveTo(r.left(), r.bottom());
    tab.lineTo(r.left(), r.top() + 4);
    tab.quadTo(r.left(), r.top(), r.left() + 4, r.top());
    tab.lineTo(r.right() - 4, r.top());
    tab.quadTo(r.right(), r.top(), r.right(), r.top() + 4);
    tab.lineTo(r.right(), r.bottom());
    QLinearGradient g(0, r.top(), 0, r.bottom());
    g.setColorAt(0.0, on ? QColor(52, 60, 72) : QColor(32, 36, 43));
    g.setColorAt(1.0, on ? QColor(34, 40, 49) : QColor(22, 25, 30));
    p.setBrush(g);
    p.setPen(QPen(QColor(8, 9, 12), 1.0));
    p.drawPath(tab);
    if (on) {
        p.setPen(QPen(kAccent, 2.0));
        p.drawLine(QPointF(r.left() + 3, r.bottom() - 1), QPointF(r.right() - 3, r.bottom() - 1));
    }
    Led(p, QPointF(r.center().x(), r.center().y()), 2.6, kAccent, on);
}

// Connection states: a USB sign and an LED (red: no device, amber: searching, green: linked).
void MakeLinkState(QPainter& p, QSize size, int state) {
    const QRectF r(1.5, 1.5, size.width() - 3.0, size.height() - 3.5);
    KeyBody(p, r, KeyLook::Pressed, 4);
    const QColor colours[] = {kMuteRed, kAmber, kGreen};
    const QColor ink = state == 2 ? QColor(220, 232, 245) : kDimInk;
    // The USB trident.
    const qreal cx = r.left() + 20, cy = r.center().y();
    p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(cx - 9, cy), QPointF(cx + 9, cy));
    p.drawLine(QPointF(cx - 3, cy), QPointF(cx, cy - 4.5));
    p.drawLine(QPointF(cx, cy - 4.5), QPointF(cx + 4, cy - 4.5));
    p.drawLine(QPointF(cx + 1, cy), QPointF(cx + 4, cy + 4.5));
    p.drawLine(QPointF(cx + 4, cy + 4.5), QPointF(cx + 6, cy + 4.5));
    p.setBrush(ink);
    p.drawEllipse(QPointF(cx - 9.5, cy), 1.8, 1.8);
    QPolygonF arrow(
        {QPointF(cx + 12, cy), QPointF(cx + 8.5, cy - 2.2), QPointF(cx + 8.5, cy + 2.2)});
    p.drawPolygon(arrow);
    // Signal dots: none, one, three.
    for (int i = 0; i < 3; ++i) {
        const bool lit = state == 2 || (state == 1 && i == 0);
        Led(p, QPointF(r.left() + 44 + i * 9, cy), 2.0, colours[state], lit);
    }
    Led(p, QPointF(r.right() - 11, cy), 3.6, colours[state], true);
}

void MakeSingleLook(QPainter& p, QSize size) {
    const QRectF r(1.5, 1.5, size.width() - 3.0, size.height() - 3.5);
    KeyBody(p, r, KeyLook::Raised);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    for (int i = -1; i <= 1; ++i)
        p.drawEllipse(QPointF(r.center().x() + i * 6, r.center().y()), 1.6, 1.6);
}

void MakeCommand(QPainter& p, QSize size, bool enabled) {
    const QRectF r(1.5, 1.5, size.width() - 3.0, size.height() - 3.5);
    KeyBody(p, r, enabled ? KeyLook::Raised : KeyLook::Locked);
    // A return arrow: the look of a command that acts at once.
    const QColor ink = enabled ? kInk : QColor(96, 102, 112);
    const QPointF c = r.center();
    QPainterPath arrow;
    arrow.moveTo(c.x() + 8, c.y() - 5);
    arrow.lineTo(c.x() + 8, c.y() + 2);
    arrow.lineTo(c.x() - 7, c.y() + 2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(arrow);
    p.setBrush(ink);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(c.x() - 10, c.y() + 2), QPointF(c.x() - 5.5, c.y() - 1.5),
                             QPointF(c.x() - 5.5, c.y() + 5.5)}));
    if (!enabled) {
        p.setPen(QPen(QColor(0, 0, 0, 90), 1.0));
        for (qreal x = r.left() - r.height(); x < r.right(); x += 5)
            p.drawLine(QPointF(std::max(r.left(), x), r.bottom() - std::max(0.0, r.left() - x)),
                       QPointF(std::min(r.right(), x + r.height()),
                               r.top() + std::max(0.0, x + r.height() - r.right())));
    }
}

// --- List box ----------------------------------------------------------------------------

void MakeFace(QPainter& p, QSize size, bool accentEdge) {
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 16));
    p.drawRoundedRect(r.translated(0, 0.7), 3, 3);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0.0, QColor(9, 11, 15));
    g.setColorAt(1.0, QColor(20, 24, 30));
    p.setBrush(g);
    p.setPen(QPen(QColor(0, 0, 0, 220), 1.0));
    p.drawRoundedRect(r, 3, 3);
    // The drop area at the right end, set off by a hairline.
    const qreal dropLeft = size.width() >= 120 ? size.width() - 19.5 : size.width() - 16.5;
    if (!accentEdge) {
        p.setPen(QPen(QColor(255, 255, 255, 16), 1.0));
        p.drawLine(QPointF(dropLeft, 3), QPointF(dropLeft, size.height() - 3));
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(Alpha(kAccent, 190));
        p.drawRoundedRect(QRectF(2, 4, 2, size.height() - 8), 1, 1);
    }
}

void MakeDrop(QPainter& p, QSize size, bool pressed) {
    const QPointF c(size.width() / 2.0, size.height() / 2.0 + (pressed ? 0.5 : 0.0));
    const qreal w = size.width() * 0.36, h = size.height() * 0.26;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(pressed ? kAccent.lighter(130) : QColor(190, 198, 210), 1.6, Qt::SolidLine,
                  Qt::RoundCap, Qt::RoundJoin));
    QPolygonF chevron(
        {QPointF(c.x() - w, c.y() - h), QPointF(c.x(), c.y() + h), QPointF(c.x() + w, c.y() - h)});
    p.drawPolyline(chevron);
}

void MakeVeil(QPainter& p, QSize size) {
    const QRectF r(0, 0, size.width(), size.height());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(10, 12, 15, 150));
    p.drawRoundedRect(r, 3, 3);
    p.save();
    p.setClipRect(r);
    p.setPen(QPen(QColor(255, 255, 255, 14), 1.0));
    for (qreal x = -size.height(); x < size.width(); x += 6)
        p.drawLine(QPointF(x, size.height()), QPointF(x + size.height(), 0));
    p.restore();
}

void MakeItem(QPainter& p, QSize size, const QString& text, int leftPad, qreal pixels) {
    Label(p, QRectF(leftPad, 0, size.width() - leftPad, size.height()), text, kInk, pixels,
          Qt::AlignLeft | Qt::AlignVCenter);
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

PictureSizeWH ControlPictureSize(int number) {
    for (const SizeRow& row : kSizes)
        if (row.number == number) return {row.w, row.h};
    for (int showType = 0; showType < kShowTypeCount; ++showType) {
        const ComboFace& face = ComboFaceOf(showType);
        const int count = static_cast<int>(ComboItems(showType).size());
        if (number >= face.itemBase && number < face.itemBase + count)
            return {face.itemW, face.itemH};
    }
    return {};
}

void RegisterControlPictures(graph::PictureStore& store) {
    auto reg = [&](int number, graph::PictureStore::Maker maker) {
        const PictureSizeWH s = ControlPictureSize(number);
        store.Register(number, QSize(s.w, s.h), std::move(maker));
    };
    // Fader.
    reg(pic::kFaderBed, MakeFaderBed);
    reg(pic::kFaderFill, MakeFaderFill);
    reg(pic::kThumb, [](QPainter& p, QSize s) { Cap(p, s, CapLook::Normal, true); });
    reg(pic::kThumbFocus, [](QPainter& p, QSize s) { Cap(p, s, CapLook::Focus, true); });
    reg(pic::kThumbLocked, [](QPainter& p, QSize s) { Cap(p, s, CapLook::Locked, true); });
    reg(pic::kValuePlate, Plate);
    reg(pic::kSmallPlate, Plate);
    reg(pic::kWidePlate2, Plate);
    reg(pic::kShortPlate, Plate);
    reg(pic::kWidePlate, Plate);
    reg(pic::kFlagSet, [](QPainter& p, QSize s) { MakeFlag(p, s, true, false); });
    reg(pic::kFlagSetPressed, [](QPainter& p, QSize s) { MakeFlag(p, s, true, true); });
    reg(pic::kFlagClear, [](QPainter& p, QSize s) { MakeFlag(p, s, false, false); });
    reg(pic::kFlagClearPressed, [](QPainter& p, QSize s) { MakeFlag(p, s, false, true); });
    // Band strip.
    reg(pic::kStripBed, [](QPainter& p, QSize s) { MakeStripBed(p, s, false); });
    reg(pic::kStripBedTall, [](QPainter& p, QSize s) { MakeStripBed(p, s, true); });
    reg(pic::kStripFill, [](QPainter& p, QSize s) { MakeStripFill(p, s, false, kAccent); });
    reg(pic::kStripFillTall, [](QPainter& p, QSize s) { MakeStripFill(p, s, true, kAccent); });
    reg(pic::kStripFillScene, [](QPainter& p, QSize s) { MakeStripFill(p, s, false, kAmber); });
    reg(pic::kStripFillSceneTall, [](QPainter& p, QSize s) { MakeStripFill(p, s, true, kAmber); });
    reg(pic::kStripFillLocked, [](QPainter& p, QSize s) { MakeStripFill(p, s, false, kLockGrey); });
    reg(pic::kStripFillLockedTall,
        [](QPainter& p, QSize s) { MakeStripFill(p, s, true, kLockGrey); });
    reg(pic::kBandLabel, MakeBandLabel);
    const Shape shapes[] = {Shape::Peak, Shape::LowShelf, Shape::HighShelf};
    for (int i = 0; i < 3; ++i) {
        const Shape shape = shapes[i];
        reg(pic::kShapeSelected0 + 2 * i,
            [shape](QPainter& p, QSize s) { MakeShapeButton(p, s, shape, KeyLook::Lit); });
        reg(pic::kShapeSelected0 + 2 * i + 1,
            [shape](QPainter& p, QSize s) { MakeShapeButton(p, s, shape, KeyLook::Raised); });
        reg(pic::kShapeLocked0 + i,
            [shape](QPainter& p, QSize s) { MakeShapeButton(p, s, shape, KeyLook::Locked); });
    }
    reg(pic::kSwitchOn, [](QPainter& p, QSize s) { MakeBandSwitch(p, s, true); });
    reg(pic::kSwitchOff, [](QPainter& p, QSize s) { MakeBandSwitch(p, s, false); });
    // Bars and knob.
    reg(pic::kBarBed, [](QPainter& p, QSize s) { MakeBarBed(p, s, kBedHigh); });
    reg(pic::kBarFill, [](QPainter& p, QSize s) { MakeBarFill(p, s, kBedHigh, kAccent); });
    reg(pic::kBarFillLocked, [](QPainter& p, QSize s) { MakeBarFill(p, s, kBedHigh, kLockGrey); });
    reg(pic::kBarFillScene, [](QPainter& p, QSize s) { MakeBarFill(p, s, kBedHigh, kAmber); });
    reg(pic::kBarBedLow, [](QPainter& p, QSize s) { MakeBarBed(p, s, kBedLow); });
    reg(pic::kBarLowFill, [](QPainter& p, QSize s) { MakeBarFill(p, s, kBedLow, kAccent); });
    reg(pic::kBarLowFillLocked,
        [](QPainter& p, QSize s) { MakeBarFill(p, s, kBedLow, kLockGrey); });
    reg(pic::kBarLowFillScene, [](QPainter& p, QSize s) { MakeBarFill(p, s, kBedLow, kAmber); });
    reg(pic::kMuteBed, [](QPainter& p, QSize s) { MakeBarBed(p, s, kBedMute); });
    reg(pic::kMuteFill, [](QPainter& p, QSize s) { MakeBarFill(p, s, kBedMute, kAccent); });
    reg(pic::kMuteFillMuted, [](QPainter& p, QSize s) { MakeBarFill(p, s, kBedMute, kMuteRed); });
    reg(pic::kBarThumb, [](QPainter& p, QSize s) { Cap(p, s, CapLook::Normal, false); });
    reg(pic::kBarThumbLocked, [](QPainter& p, QSize s) { Cap(p, s, CapLook::Locked, false); });
    reg(pic::kKnob, MakeKnob);
    // Flag buttons.
    reg(pic::kOff, [](QPainter& p, QSize s) { MakeToggle(p, s, false, false); });
    reg(pic::kOn, [](QPainter& p, QSize s) { MakeToggle(p, s, true, false); });
    reg(pic::kOffLocked, [](QPainter& p, QSize s) { MakeToggle(p, s, false, true); });
    reg(pic::kOnLocked, [](QPainter& p, QSize s) { MakeToggle(p, s, true, true); });
    reg(pic::kSwitchA0, [](QPainter& p, QSize s) { MakeTwoHalf(p, s, false, false, false); });
    reg(pic::kSwitchA1, [](QPainter& p, QSize s) { MakeTwoHalf(p, s, true, false, false); });
    reg(pic::kSwitchB0, [](QPainter& p, QSize s) { MakeTwoHalf(p, s, false, true, false); });
    reg(pic::kSwitchB1, [](QPainter& p, QSize s) { MakeTwoHalf(p, s, true, true, false); });
    reg(pic::kSwitchA0Locked, [](QPainter& p, QSize s) { MakeTwoHalf(p, s, false, false, true); });
    reg(pic::kSwitchA1Locked, [](QPainter& p, QSize s) { MakeTwoHalf(p, s, true, false, true); });
    reg(pic::kSwitchB0Locked, [](QPainter& p, QSize s) { MakeTwoHalf(p, s, false, true, true); });
    reg(pic::kSwitchB1Locked, [](QPainter& p, QSize s) { MakeTwoHalf(p, s, true, true, true); });
    reg(pic::kTab0, [](QPainter& p, QSize s) { MakeTab(p, s, false); });
    reg(pic::kTab1, [](QPainter& p, QSize s) { MakeTab(p, s, true); });
    reg(pic::kLinkDown, [](QPainter& p, QSize s) { MakeLinkState(p, s, 0); });
    reg(pic::kLinkSearching, [](QPainter& p, QSize s) { MakeLinkState(p, s, 1); });
    reg(pic::kLinkUp, [](QPainter& p, QSize s) { MakeLinkState(p, s, 2); });
    reg(pic::kSingleLook, MakeSingleLook);
    reg(pic::kCommand, [](QPainter& p, QSize s) { MakeCommand(p, s, true); });
    reg(pic::kCommandDisabled, [](QPainter& p, QSize s) { MakeCommand(p, s, false); });
    // List box.
    reg(pic::kFaceWide, [](QPainter& p, QSize s) { MakeFace(p, s, false); });
    reg(pic::kFaceNarrow, [](QPainter& p, QSize s) { MakeFace(p, s, true); });
    reg(pic::kDropWide, [](QPainter& p, QSize s) { MakeDrop(p, s, false); });
    reg(pic::kDropWidePressed, [](QPainter& p, QSize s) { MakeDrop(p, s, true); });
    reg(pic::kDropNarrow, [](QPainter& p, QSize s) { MakeDrop(p, s, false); });
    reg(pic::kDropNarrowPressed, [](QPainter& p, QSize s) { MakeDrop(p, s, true); });
    reg(pic::kFaceVeil, MakeVeil);
    for (int showType = 0; showType < kShowTypeCount; ++showType) {
        const ComboFace& face = ComboFaceOf(showType);
        const auto& items = ComboItems(showType);
        const int pad = face.itemX == 0 ? 9 : 0;
        const qreal pixels = face.itemH <= 11 ? 10.5 : 12;
        for (size_t i = 0; i < items.size(); ++i) {
            const QString text = Text(items[i]);
            store.Register(
                face.itemBase + static_cast<int>(i), QSize(face.itemW, face.itemH),
                [text, pad, pixels](QPainter& p, QSize s) { MakeItem(p, s, text, pad, pixels); });
        }
    }
}

}  // namespace vellora::controls
