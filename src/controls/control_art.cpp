// The controls' drawing vocabulary, in vectors so that every picture scales cleanly.
#include "controls/control_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

#include "controls/control_pictures.h"

namespace vellora::controls::art {

namespace {

bool HasWide(const QString& text) {
    for (QChar ch : text)
        if (ch.unicode() > 0x2E7F) return true;
    return false;
}

}  // namespace

void Register(graph::PictureStore& store, int number, graph::PictureStore::Maker maker) {
    const PictureSizeWH s = ControlPictureSize(number);
    store.Register(number, QSize(s.w, s.h), std::move(maker));
}

QColor Alpha(QColor c, int a) {
    c.setAlpha(a);
    return c;
}

QFont LabelFont(qreal pixels, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Segoe UI"),
                      QStringLiteral("Helvetica Neue"), QStringLiteral("Arial")});
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void Label(QPainter& p, const QRectF& box, const QString& text, const QColor& ink, qreal pixels,
           Qt::Alignment align, bool bold) {
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

void KeyBody(QPainter& p, const QRectF& r, KeyLook look, qreal radius) {
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

}  // namespace vellora::controls::art
