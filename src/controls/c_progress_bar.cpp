// The progress bar widget.
#include "controls/c_progress_bar.h"

#include <QPainter>

#include <algorithm>
#include <limits>

#include "controls/control_accessibility.h"
#include "controls/progress_plan.h"
#include "graph/picture_store.h"

namespace vellora::controls {

namespace {
int16_t Short(int v) {
    return static_cast<int16_t>(std::clamp<int>(v, std::numeric_limits<int16_t>::min(),
                                                std::numeric_limits<int16_t>::max()));
}
QColor ToQ(Rgb c) {
    return QColor(c.r, c.g, c.b);
}
}  // namespace

C_ProgressBar::C_ProgressBar(QWidget* parent) : QWidget(parent) {
    InstallControlAccessibility();
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    resize(360, 20);
}

void C_ProgressBar::SetValue(int value) {
    value_ = Short(std::clamp<int>(value, 0, ProgressScale(max_value_)));
    update();
}

void C_ProgressBar::SetMaxValue(int value) {
    max_value_ = Short(value);
    value_ = Short(std::clamp<int>(value_, 0, ProgressScale(max_value_)));
    update();
}

void C_ProgressBar::SetShowContent(int value) {
    show_content_ = static_cast<uint8_t>(value);
    update();
}

QString C_ProgressBar::Text() const {
    return QString::fromStdString(ProgressText(show_content_, value_, max_value_));
}

void C_ProgressBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width(), h = height();
    p.fillRect(rect(), ToQ(kProgressRest));
    for (int x = 1; x <= w - 2; ++x) {
        if (const auto colour = ProgressColumn(x, w, value_, max_value_)) {
            p.setPen(ToQ(*colour));
            p.drawLine(x, 1, x, h - 2);
        }
    }
    p.setPen(ToQ(kProgressBorder));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, w - 1, h - 1);
    QFont font = graph::PictureStore::UiFont();
    font.setBold(true);
    p.setFont(font);
    const QPointF origin(w / 2 - 100, 3 + graph::kUiTextBaseline);
    // A dark halo keeps the white text readable on red, blue and grey alike.
    p.setPen(QColor(0, 0, 0, 200));
    for (const QPointF d :
         {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1), QPointF(1, 1)})
        p.drawText(origin + d, Text());
    p.setPen(QColor(255, 255, 255));
    p.drawText(origin, Text());
}

}  // namespace vellora::controls
