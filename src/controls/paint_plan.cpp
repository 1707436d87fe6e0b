// Building and carrying out paint plans.
#include "controls/paint_plan.h"

#include <QColor>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>

#include "graph/picture_store.h"

namespace vellora::controls {

PaintOp PictureAt(int number, double x, double y) {
    PaintOp op;
    op.kind = PaintOp::Kind::Picture;
    op.number = number;
    op.x = x;
    op.y = y;
    return op;
}

PaintOp PicturePart(int number, IRect target, IRect source) {
    PaintOp op;
    op.kind = PaintOp::Kind::Part;
    op.number = number;
    op.target = target;
    op.source = source;
    return op;
}

PaintOp PictureScaled(int number, IRect target) {
    PaintOp op;
    op.kind = PaintOp::Kind::Scaled;
    op.number = number;
    op.target = target;
    return op;
}

PaintOp PictureRotated(int number, double cx, double cy, double degrees) {
    PaintOp op;
    op.kind = PaintOp::Kind::Rotated;
    op.number = number;
    op.x = cx;
    op.y = cy;
    op.degrees = degrees;
    return op;
}

PaintOp TextAt(std::string text, double x, double y, uint32_t argb, IRect within) {
    PaintOp op;
    op.target = within;
    op.kind = PaintOp::Kind::Text;
    op.text = std::move(text);
    op.x = x;
    op.y = y;
    op.argb = argb;
    return op;
}

PaintOp TextCentred(std::string text, IRect box, uint32_t argb) {
    PaintOp op;
    op.kind = PaintOp::Kind::TextCentred;
    op.text = std::move(text);
    op.target = box;
    op.argb = argb;
    return op;
}

PaintOp FillRect(IRect target, uint32_t argb) {
    PaintOp op;
    op.kind = PaintOp::Kind::Fill;
    op.target = target;
    op.argb = argb;
    return op;
}

QPoint TextTopLeft(const PaintOp& op, const QString& text) {
    int x = static_cast<int>(op.x);
    if (op.target.w > 0) {
        const qreal advance = QFontMetricsF(graph::PictureStore::UiFont()).horizontalAdvance(text);
        x = std::min(x, static_cast<int>(std::floor(op.target.x + op.target.w - advance)));
        x = std::max(x, op.target.x);
    }
    return {x, static_cast<int>(op.y)};
}

bool DrawsPicture(const PaintPlan& plan, int number) {
    for (const PaintOp& op : plan)
        if (op.kind != PaintOp::Kind::Text && op.kind != PaintOp::Kind::TextCentred &&
            op.kind != PaintOp::Kind::Fill && op.number == number)
            return true;
    return false;
}

std::vector<const PaintOp*> Texts(const PaintPlan& plan) {
    std::vector<const PaintOp*> out;
    for (const PaintOp& op : plan)
        if (op.kind == PaintOp::Kind::Text || op.kind == PaintOp::Kind::TextCentred)
            out.push_back(&op);
    return out;
}

void ExecutePlan(QPainter& painter, graph::PictureStore& pictures, const PaintPlan& plan) {
    for (const PaintOp& op : plan) {
        const QRect target(op.target.x, op.target.y, op.target.w, op.target.h);
        switch (op.kind) {
            case PaintOp::Kind::Picture: {
                const QImage& image = pictures.Image(op.number);
                if (!image.isNull()) painter.drawImage(QPointF(op.x, op.y), image);
                break;
            }
            case PaintOp::Kind::Part:
                pictures.DrawPart(painter, op.number, target,
                                  QRect(op.source.x, op.source.y, op.source.w, op.source.h));
                break;
            case PaintOp::Kind::Scaled:
                pictures.DrawScaled(painter, op.number, target);
                break;
            case PaintOp::Kind::Rotated:
                pictures.DrawRotated(painter, op.number, QPointF(op.x, op.y), op.degrees);
                break;
            case PaintOp::Kind::Text: {
                const QString text = QString::fromStdString(op.text);
                graph::PictureStore::DrawText(painter, TextTopLeft(op, text), text,
                                              QColor::fromRgba(op.argb), op.target.w);
                break;
            }
            case PaintOp::Kind::TextCentred:
                graph::PictureStore::DrawTextCentred(
                    painter, target, QString::fromStdString(op.text), QColor::fromRgba(op.argb));
                break;
            case PaintOp::Kind::Fill:
                painter.fillRect(target, QColor::fromRgba(op.argb));
                break;
        }
    }
}

}  // namespace vellora::controls
