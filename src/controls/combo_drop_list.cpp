// Painting and pointer handling of the open list.
#include "controls/combo_drop_list.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/combo_lists.h"
#include "graph/picture_store.h"

namespace vellora::controls {

ComboDropList::ComboDropList(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                         Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("List1"));
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    hide();
}

void ComboDropList::SetItems(const QStringList& items) {
    items_ = items;
    update();
}

void ComboDropList::SetSelection(int index) {
    if (index == selection_) return;
    selection_ = index;
    update();
}

void ComboDropList::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF frame(0.5, 0.5, width() - 1.0, height() - 1.0);
    p.setPen(QPen(QColor(56, 160, 255, 150), 1.0));
    p.setBrush(QColor(16, 19, 24, 250));
    p.drawRect(frame);
    QFont font = graph::PictureStore::UiFont();
    font.setFamilies({QStringLiteral("DejaVu Sans"), QString::fromUtf8(graph::kUiFontFamily),
                      QString::fromLatin1(graph::kUiFontSubstitute)});
    font.setPixelSize(12);
    p.setFont(font);
    for (int i = 0; i < items_.size(); ++i) {
        const QRect row(1, 1 + i * kComboItemHeight, width() - 2, kComboItemHeight - 1);
        if (i == selection_) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(56, 160, 255, 90));
            p.drawRect(row);
            p.setBrush(QColor(56, 160, 255));
            p.drawRect(QRect(row.left(), row.top(), 2, row.height()));
        }
        p.setPen(i == selection_ ? QColor(245, 248, 252) : QColor(200, 206, 214));
        p.drawText(row.adjusted(7, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, items_[i]);
    }
}

void ComboDropList::mouseMoveEvent(QMouseEvent* event) {
    const int index =
        HoverIndex(event->position().y() - 1.0, TopItem(), static_cast<int>(items_.size()));
    if (index >= 0 && index != selection_) {
        SetSelection(index);
        emit Hovered(index);
    }
    event->accept();
}

void ComboDropList::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit Pressed();
}

}  // namespace vellora::controls
