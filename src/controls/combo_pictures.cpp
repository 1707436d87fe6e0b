// The list boxes' pictures: the faces, drop buttons, the veil and one picture per item.
#include "controls/combo_pictures.h"

#include <QLinearGradient>
#include <QPainter>

#include <string>

#include "controls/combo_lists.h"
#include "controls/control_art.h"
#include "controls/control_pictures.h"

namespace vellora::controls {

namespace {

using namespace art;

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

void RegisterComboPictures(graph::PictureStore& store) {
    Register(store, pic::kFaceWide, [](QPainter& p, QSize s) { MakeFace(p, s, false); });
    Register(store, pic::kFaceNarrow, [](QPainter& p, QSize s) { MakeFace(p, s, true); });
    Register(store, pic::kDropWide, [](QPainter& p, QSize s) { MakeDrop(p, s, false); });
    Register(store, pic::kDropWidePressed, [](QPainter& p, QSize s) { MakeDrop(p, s, true); });
    Register(store, pic::kDropNarrow, [](QPainter& p, QSize s) { MakeDrop(p, s, false); });
    Register(store, pic::kDropNarrowPressed, [](QPainter& p, QSize s) { MakeDrop(p, s, true); });
    Register(store, pic::kFaceVeil, MakeVeil);
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
