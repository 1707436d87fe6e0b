// The response graph's artwork, drawn as vectors in a dark console style: a deep panel with
// decade shading, glowing numbered handles in the band colours, and an amber bypass banner.
#include "graph/graph_pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

#include "graph/curve_band.h"
#include "graph/graph_palette.h"
#include "graph/picture_store.h"

namespace vellora::graph {

namespace {

QColor ToQColor(Argb c) { return QColor(c.r, c.g, c.b, c.a); }

// The colour of a handle: the band colour for numbered bands, silver for the filters.
QColor HandleColour(int t) {
    if (t == kHandleLowPass || t == kHandleHighPass) return QColor(214, 220, 228);
    return ToQColor(BandColour(t));
}

QFont MarkFont(qreal pixels) {
    QFont font;
    font.setFamilies({QStringLiteral("Segoe UI"), QStringLiteral("Helvetica Neue"),
                      QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Arial")});
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setWeight(QFont::Bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void DrawMark(QPainter& p, const QRectF& box, const QString& mark, qreal pixels, const QColor& ink) {
    QFont font = MarkFont(pixels);
    if (mark.size() > 1) font.setLetterSpacing(QFont::AbsoluteSpacing, -0.4);
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 150));
    p.drawText(box.translated(0, 0.6), Qt::AlignCenter, mark);
    p.setPen(ink);
    p.drawText(box, Qt::AlignCenter, mark);
}

void MakeBackground(QPainter& p, QSize size) {
    const qreal w = size.width();
    const qreal h = size.height();
    QLinearGradient base(0, 0, 0, h);
    base.setColorAt(0.0, QColor(29, 33, 41));
    base.setColorAt(1.0, QColor(17, 20, 25));
    p.fillRect(QRectF(0, 0, w, h), base);
    p.fillRect(QRectF(0, 0, w, 1), QColor(255, 255, 255, 16));

    // The plot panel, from 10 Hz at x = 40 to 22000 Hz at W - 5, +16 dB to -27 dB.
    const qreal left = 40, top = 10, right = w - 5, bottom = h - 8;
    const QRectF panel(left, top, right - left + 1, bottom - top + 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRoundedRect(panel.adjusted(-1.5, -1.5, 1.5, 1.5), 4, 4);
    QLinearGradient deep(0, top, 0, bottom);
    deep.setColorAt(0.0, QColor(16, 20, 26));
    deep.setColorAt(1.0, QColor(10, 12, 16));
    p.setBrush(deep);
    p.drawRoundedRect(panel, 3, 3);

    // Every other decade a shade lighter, so the eye finds 100 Hz, 1 kHz, 10 kHz at once.
    const qreal perDecade = (right - left) / (std::log10(22000.0) - 1.0);
    auto xOf = [&](double hz) { return (std::log10(hz) - 1.0) * perDecade + left; };
    p.save();
    p.setClipRect(panel.adjusted(1, 1, -1, -1));
    for (double lo : {100.0, 10000.0}) {
        const qreal x0 = xOf(lo), x1 = xOf(lo * 10.0);
        p.fillRect(QRectF(x0, top, x1 - x0, bottom - top + 1), QColor(255, 255, 255, 7));
    }
    // A soft glow along 0 dB.
    const qreal y0 = std::nearbyint((16.0 * bottom - 160.0) / 43.0 + 10.0);
    QLinearGradient glow(0, y0 - 6, 0, y0 + 6);
    glow.setColorAt(0.0, QColor(120, 170, 255, 0));
    glow.setColorAt(0.5, QColor(120, 170, 255, 22));
    glow.setColorAt(1.0, QColor(120, 170, 255, 0));
    p.fillRect(QRectF(left, y0 - 6, right - left + 1, 12), glow);
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 20), 1.0));
    p.drawRoundedRect(panel.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}

void MakeHandle(QPainter& p, QSize size, int t) {
    const qreal s = std::min(size.width(), size.height());
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const qreal r = s / 2.0 - 1.0;
    const QColor colour = HandleColour(t);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawEllipse(c + QPointF(0, 0.7), r + 0.4, r + 0.4);

    QRadialGradient fill(c - QPointF(0, r * 0.4), r * 1.4);
    fill.setColorAt(0.0, QColor(58, 64, 74));
    fill.setColorAt(1.0, QColor(20, 23, 29));
    p.setBrush(fill);
    p.setPen(QPen(colour, std::max(1.4, s / 11.0)));
    p.drawEllipse(c, r - 0.6, r - 0.6);

    DrawMark(p, QRectF(0, 0, size.width(), size.height()).translated(0, -0.2), HandleMark(t),
             s * 0.54, QColor(245, 247, 250));
}

void MakeSelectedHandle(QPainter& p, QSize size, int t) {
    const qreal s = std::min(size.width(), size.height());
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const QColor colour = HandleColour(t);

    QRadialGradient halo(c, s / 2.0);
    QColor inner = colour;
    inner.setAlpha(120);
    QColor outer = colour;
    outer.setAlpha(0);
    halo.setColorAt(0.0, inner);
    halo.setColorAt(0.45, inner);
    halo.setColorAt(1.0, outer);
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, s / 2.0, s / 2.0);

    const qreal r = s * 0.33;
    p.setBrush(QColor(0, 0, 0, 120));
    p.drawEllipse(c + QPointF(0, 0.8), r + 0.6, r + 0.6);
    QLinearGradient body(0, c.y() - r, 0, c.y() + r);
    body.setColorAt(0.0, colour.lighter(125));
    body.setColorAt(1.0, colour.darker(190));
    p.setBrush(body);
    p.setPen(QPen(QColor(255, 255, 255, 235), std::max(1.5, s / 18.0)));
    p.drawEllipse(c, r, r);

    DrawMark(p, QRectF(0, 0, size.width(), size.height()).translated(0, -0.2), HandleMark(t),
             s * 0.38, QColor(255, 255, 255));
}

void MakeDisabledHandle(QPainter& p, QSize size) {
    const qreal s = std::min(size.width(), size.height());
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const qreal r = s / 2.0 - 1.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 120));
    p.drawEllipse(c + QPointF(0, 0.6), r + 0.3, r + 0.3);
    p.setBrush(QColor(66, 72, 82));
    p.setPen(QPen(QColor(138, 146, 158), 1.0));
    p.drawEllipse(c, r - 0.5, r - 0.5);
    p.setPen(QPen(QColor(30, 33, 39), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-r * 0.45, 0), c + QPointF(r * 0.45, 0));
}

void MakeBypassBanner(QPainter& p, QSize size) {
    const QRectF box(1, 1, size.width() - 2, size.height() - 2);
    const QColor amber(255, 178, 36);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 120));
    p.drawRoundedRect(box.translated(0, 1), 9, 9);
    QLinearGradient fill(0, box.top(), 0, box.bottom());
    fill.setColorAt(0.0, QColor(52, 38, 12, 235));
    fill.setColorAt(1.0, QColor(30, 22, 8, 235));
    p.setBrush(fill);
    p.setPen(QPen(amber, 1.5));
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);

    // The bypass sign: a signal line that jumps over the processing block.
    const qreal cy = box.center().y();
    const qreal x0 = box.left() + 18;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 178, 36, 110), 1.6));
    p.drawRoundedRect(QRectF(x0 + 11, cy - 1, 16, 11), 2, 2);
    QPainterPath jump;
    jump.moveTo(x0, cy + 4);
    jump.lineTo(x0 + 7, cy + 4);
    jump.cubicTo(x0 + 9, cy - 12, x0 + 29, cy - 12, x0 + 31, cy + 4);
    jump.lineTo(x0 + 38, cy + 4);
    p.setPen(QPen(amber, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(jump);

    QFont font = MarkFont(20);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 5);
    p.setFont(font);
    p.setPen(amber);
    p.drawText(box.adjusted(58, 0, -10, 0), Qt::AlignVCenter | Qt::AlignHCenter, QStringLiteral("BYPASS"));
}

}  // namespace

QString HandleMark(int t) {
    if (t == kHandleLowPass) return QStringLiteral("H");
    if (t == kHandleHighPass) return QStringLiteral("L");
    return QString::number(t + 1);
}

int HandleKind(const CurveBand& band, int position) {
    if (band.IsEq()) return position;
    return band.FilterType == kBandHighPass ? kHandleHighPass : kHandleLowPass;
}

void RegisterGraphPictures(PictureStore& store) {
    store.Register(kPicGraphBackground, QSize(1000, 400), MakeBackground);
    for (int t = 0; t < kMaxBands; ++t) {
        store.Register(kPicSelectedHandle0 + t, QSize(33, 33),
                       [t](QPainter& p, QSize size) { MakeSelectedHandle(p, size, t); });
        store.Register(kPicHandle0 + t, QSize(17, 17),
                       [t](QPainter& p, QSize size) { MakeHandle(p, size, t); });
    }
    store.Register(kPicDisabledHandle, QSize(12, 12), MakeDisabledHandle);
    store.Register(kPicBypassBanner, QSize(252, 45), MakeBypassBanner);
}

}  // namespace vellora::graph
