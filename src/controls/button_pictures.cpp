// The flag buttons' pictures: on/off keys, two-half switches, option tabs, connection states,
// the single look and the command key, each with its locked or disabled variant.
#include "controls/button_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include "controls/control_art.h"
#include "controls/control_pictures.h"

namespace vellora::controls {

namespace {

using namespace art;

void MakeToggle(QPainter& p, QSize size, bool on, bool locked) {
    const QRectF key(1.5, 1.5, size.width() - 3.0, size.height() - 3.5);
    KeyBody(p, key, locked ? KeyLook::Locked : (on ? KeyLook::Lit : KeyLook::Raised));
    const QPointF led(key.left() + 9, key.center().y());
    Led(p, led, 3.0, locked ? kLockGrey : kGreen, on);
    const QColor ink = locked ? QColor(120, 126, 136) : (on ? QColor(236, 244, 255) : kDimInk);
    Label(p, QRectF(key.left() + 14, key.top(), key.width() - 16 - (locked ? 9 : 0), key.height()),
          on ? QStringLiteral("ON") : QStringLiteral("OFF"), ink, locked ? 9 : 10, Qt::AlignCenter,
          true);
    if (locked)
        Padlock(p, QPointF(key.right() - 5.5, key.center().y()), 5.5, QColor(150, 156, 166));
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

}  // namespace

void RegisterButtonPictures(graph::PictureStore& store) {
    Register(store, pic::kOff, [](QPainter& p, QSize s) { MakeToggle(p, s, false, false); });
    Register(store, pic::kOn, [](QPainter& p, QSize s) { MakeToggle(p, s, true, false); });
    Register(store, pic::kOffLocked, [](QPainter& p, QSize s) { MakeToggle(p, s, false, true); });
    Register(store, pic::kOnLocked, [](QPainter& p, QSize s) { MakeToggle(p, s, true, true); });
    Register(store, pic::kSwitchA0,
             [](QPainter& p, QSize s) { MakeTwoHalf(p, s, false, false, false); });
    Register(store, pic::kSwitchA1,
             [](QPainter& p, QSize s) { MakeTwoHalf(p, s, true, false, false); });
    Register(store, pic::kSwitchB0,
             [](QPainter& p, QSize s) { MakeTwoHalf(p, s, false, true, false); });
    Register(store, pic::kSwitchB1,
             [](QPainter& p, QSize s) { MakeTwoHalf(p, s, true, true, false); });
    Register(store, pic::kSwitchA0Locked,
             [](QPainter& p, QSize s) { MakeTwoHalf(p, s, false, false, true); });
    Register(store, pic::kSwitchA1Locked,
             [](QPainter& p, QSize s) { MakeTwoHalf(p, s, true, false, true); });
    Register(store, pic::kSwitchB0Locked,
             [](QPainter& p, QSize s) { MakeTwoHalf(p, s, false, true, true); });
    Register(store, pic::kSwitchB1Locked,
             [](QPainter& p, QSize s) { MakeTwoHalf(p, s, true, true, true); });
    Register(store, pic::kTab0, [](QPainter& p, QSize s) { MakeTab(p, s, false); });
    Register(store, pic::kTab1, [](QPainter& p, QSize s) { MakeTab(p, s, true); });
    Register(store, pic::kLinkDown, [](QPainter& p, QSize s) { MakeLinkState(p, s, 0); });
    Register(store, pic::kLinkSearching, [](QPainter& p, QSize s) { MakeLinkState(p, s, 1); });
    Register(store, pic::kLinkUp, [](QPainter& p, QSize s) { MakeLinkState(p, s, 2); });
    Register(store, pic::kSingleLook, MakeSingleLook);
    Register(store, pic::kCommand, [](QPainter& p, QSize s) { MakeCommand(p, s, true); });
    Register(store, pic::kCommandDisabled, [](QPainter& p, QSize s) { MakeCommand(p, s, false); });
}

}  // namespace vellora::controls
