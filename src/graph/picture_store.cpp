// Numbered pictures: registry of makers, rendering at the pixel density, drawing by number.
#include "graph/picture_store.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vellora::graph {

namespace {

constexpr size_t kSizedCacheLimit = 96;

}  // namespace

PictureStore::PictureStore(qreal devicePixelRatio) : dpr_(std::max<qreal>(1.0, devicePixelRatio)) {
    const QString family = QString::fromUtf8(kUiFontFamily);
    if (!QFont::substitutes(family).contains(QString::fromLatin1(kUiFontSubstitute)))
        QFont::insertSubstitution(family, QString::fromLatin1(kUiFontSubstitute));
}

void PictureStore::Register(int number, QSize naturalSize, Maker maker) {
    makers_[number] = Entry{naturalSize, std::move(maker)};
    natural_.erase(number);
    for (auto it = sized_.begin(); it != sized_.end();)
        it = it->first.first == number ? sized_.erase(it) : std::next(it);
}

QSize PictureStore::Size(int number) const {
    auto it = makers_.find(number);
    return it == makers_.end() ? QSize() : it->second.size;
}

void PictureStore::SetDevicePixelRatio(qreal dpr) {
    dpr = std::max<qreal>(1.0, dpr);
    if (dpr == dpr_) return;
    dpr_ = dpr;
    natural_.clear();
    sized_.clear();
}

QImage PictureStore::Make(const Entry& entry, QSize size) const {
    const QSize device(static_cast<int>(std::ceil(size.width() * dpr_)),
                       static_cast<int>(std::ceil(size.height() * dpr_)));
    QImage image(device, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr_);
    image.fill(Qt::transparent);
    if (entry.maker) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        entry.maker(painter, size);
    }
    return image;
}

const QImage& PictureStore::Image(int number) {
    auto made = natural_.find(number);
    if (made != natural_.end()) return made->second;
    auto it = makers_.find(number);
    if (it == makers_.end() || it->second.size.isEmpty()) return null_;
    ++made_count_;
    return natural_.emplace(number, Make(it->second, it->second.size)).first->second;
}

const QImage& PictureStore::ImageAt(int number, QSize size) {
    auto it = makers_.find(number);
    if (it == makers_.end() || size.isEmpty()) return null_;
    if (size == it->second.size) return Image(number);
    const auto key = std::make_pair(number, std::make_pair(size.width(), size.height()));
    auto made = sized_.find(key);
    if (made != sized_.end()) return made->second;
    if (sized_.size() >= kSizedCacheLimit) sized_.clear();
    ++made_count_;
    return sized_.emplace(key, Make(it->second, size)).first->second;
}

void PictureStore::Draw(QPainter& painter, int number, QPoint topLeft) {
    const QImage& image = Image(number);
    if (!image.isNull()) painter.drawImage(topLeft, image);
}

void PictureStore::DrawScaled(QPainter& painter, int number, const QRect& target) {
    const QImage& image = ImageAt(number, target.size());
    if (!image.isNull()) painter.drawImage(target.topLeft(), image);
}

void PictureStore::Paint(QPainter& painter, int number, const QRect& target) const {
    auto it = makers_.find(number);
    if (it == makers_.end() || !it->second.maker || target.isEmpty()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.translate(target.topLeft());
    it->second.maker(painter, target.size());
    painter.restore();
}

void PictureStore::DrawPart(QPainter& painter, int number, const QRect& target,
                            const QRect& source) {
    const QImage& image = Image(number);
    if (image.isNull() || target.isEmpty()) return;
    const QRect inside = source & QRect(QPoint(0, 0), Size(number));
    if (inside.isEmpty()) return;
    const QRectF deviceSource(inside.x() * dpr_, inside.y() * dpr_, inside.width() * dpr_,
                              inside.height() * dpr_);
    painter.drawImage(QRectF(target), image, deviceSource);
}

void PictureStore::DrawRotated(QPainter& painter, int number, QPointF centre, qreal degrees) {
    const QImage& image = Image(number);
    if (image.isNull()) return;
    const QSize size = Size(number);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.translate(centre);
    painter.rotate(degrees);
    painter.drawImage(QPointF(-size.width() / 2.0, -size.height() / 2.0), image);
    painter.restore();
}

QFont PictureStore::UiFont() {
    QFont font(QString::fromUtf8(kUiFontFamily));
    font.setPixelSize(kUiFontPixels);
    font.setWeight(QFont::Normal);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void PictureStore::DrawText(QPainter& painter, QPoint topLeft, const QString& text,
                            const QColor& colour, int maxWidth) {
    painter.save();
    painter.setFont(UiFont());
    painter.setPen(colour);
    const qreal advance = QFontMetricsF(painter.font()).horizontalAdvance(text);
    painter.translate(topLeft.x(), topLeft.y() + kUiTextBaseline);
    if (maxWidth > 0 && advance > maxWidth) painter.scale(maxWidth / advance, 1.0);
    painter.drawText(QPointF(0, 0), text);
    painter.restore();
}

QPointF PictureStore::CentredTextOrigin(const QString& text, const QRectF& box) {
    const QFontMetricsF metrics(UiFont());
    const qreal x = box.left() + (box.width() - metrics.horizontalAdvance(text)) / 2.0;
    const qreal baseline = box.top() + (box.height() + metrics.capHeight()) / 2.0;
    return {std::round(x), std::round(baseline)};
}

void PictureStore::DrawTextCentred(QPainter& painter, const QRect& box, const QString& text,
                                   const QColor& colour) {
    const QPointF origin = CentredTextOrigin(text, box);
    const int left = std::max(box.left(), static_cast<int>(origin.x()));
    DrawText(painter, QPoint(left, static_cast<int>(origin.y()) - kUiTextBaseline), text, colour,
             box.width());
}

}  // namespace vellora::graph
