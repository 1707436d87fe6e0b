// Painting the administration windows' panels and styling the launcher's menus.
#include "admin/admin_look.h"

#include <QLinearGradient>
#include <QPainter>
#include <QWidget>

#include "controls/control_art.h"
#include "graph/picture_store.h"

namespace vellora::admin {

void PaintPanel(QPainter& p, const QRect& r) {
    QLinearGradient g(0, r.top(), 0, r.bottom());
    g.setColorAt(0.0, QColor(31, 35, 43));
    g.setColorAt(1.0, QColor(19, 22, 27));
    p.fillRect(r, g);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), QColor(255, 255, 255, 20));
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), QColor(0, 0, 0, 150));
}

void PaintRowLabel(QPainter& p, const QRect& r, const QString& text) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF plate(r.left() + 0.5, r.center().y() - 14.5, r.width() - 1, 29);
    p.setPen(QPen(QColor(0, 0, 0, 120), 1.0));
    p.setBrush(QColor(12, 14, 18, 140));
    p.drawRoundedRect(plate, 4, 4);
    p.fillRect(QRectF(plate.left() + 5, plate.top() + 7, 3, plate.height() - 14),
               controls::art::kAccent);
    p.setPen(controls::art::kInk);
    p.setFont(CaptionFont());
    p.drawText(plate.adjusted(12, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.restore();
}

QFont CaptionFont() {
    return graph::PictureStore::UiFont();
}

void StyleMenuBar(QWidget* bar) {
    bar->setFont(CaptionFont());
    bar->setStyleSheet(QStringLiteral(
        "QMenuBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #262a33, "
        "stop:1 #171a20); color: #dddddd; border-bottom: 1px solid #000000; padding: 1px 4px; }"
        "QMenuBar::item { background: transparent; padding: 4px 10px; }"
        "QMenuBar::item:selected { background: #2c3c52; color: #ffffff; border-radius: 3px; }"
        "QMenuBar::item:disabled { color: #5c6470; }"
        "QMenu { background: #1b1e25; color: #dddddd; border: 1px solid #000000; padding: 3px; }"
        "QMenu::item { padding: 4px 24px 4px 22px; }"
        "QMenu::item:selected { background: #38a0ff; color: #0a0c0f; }"
        "QMenu::item:disabled { color: #5c6470; }"
        "QMenu::separator { height: 1px; background: #2f343e; margin: 3px 6px; }"));
}

}  // namespace vellora::admin
