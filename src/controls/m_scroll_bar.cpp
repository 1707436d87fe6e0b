// The slider widget: paints the machine's plan over its prepared background and forwards
// input; the entry box commits on Enter, steps on the arrow keys and closes on focus loss.
#include "controls/m_scroll_bar.h"

#include <QAccessible>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "controls/control_look_source.h"
#include "controls/slider_paint.h"
#include "graph/picture_store.h"

namespace vellora::controls {

namespace {

std::optional<SliderKey> ArrowKey(int key) {
    switch (key) {
        case Qt::Key_Left:
            return SliderKey::Left;
        case Qt::Key_Up:
            return SliderKey::Up;
        case Qt::Key_Right:
            return SliderKey::Right;
        case Qt::Key_Down:
            return SliderKey::Down;
        default:
            return std::nullopt;
    }
}

Pt ToPt(const QPointF& p) {
    return {p.x(), p.y()};
}

}  // namespace

MScrollBar::MScrollBar(const ControlContext& context, const SliderStored& stored, QWidget* parent)
    : BoundControl(context, parent) {
    text2_ = new QLineEdit(this);
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->hide();
    text2_->setFrame(false);
    text2_->setAlignment(Qt::AlignCenter);
    text2_->setFont(graph::PictureStore::UiFont());
    text2_->setStyleSheet(QStringLiteral(
        "QLineEdit { background: #06080b; color: #f2f6fa; border: 1px solid #38a0ff;"
        " border-radius: 2px; padding: 0px; selection-background-color: #2a6fb0; }"));
    text2_->installEventFilter(this);
    machine_ = std::make_unique<SliderMachine>(context.clock, context.look,
                                               static_cast<SliderEvents&>(*this), stored);
    const SliderLayout& l = machine_->Layout();
    setFixedSize(l.width, l.height);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_Hover, false);
}

MScrollBar::~MScrollBar() = default;

void MScrollBar::OnRepaint() {
    Refresh();
    const int position = machine_->Position();
    if (position == announced_position_) return;
    announced_position_ = position;
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, position);
        QAccessible::updateAccessibility(&event);
    }
}

void MScrollBar::PrepareBackground() {
    // The background's pictures are drawn from the shared picture store at every paint: a
    // copy per control would cost about 100 kB each at double density, for nothing.
    background_plan_ = SliderBackgroundPlan(*machine_);
}

void MScrollBar::paintEvent(QPaintEvent*) {
    if (!machine_->TVisible()) {
        QPainter painter(this);
        last_plan_ = SliderFacePlan(*machine_, Context().look);
        ExecutePlan(painter, Context().pictures, last_plan_);
        ++paint_count_;
        return;
    }
    if (!BackgroundReady()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    ExecutePlan(painter, Context().pictures, background_plan_);
    last_plan_ = SliderFacePlan(*machine_, Context().look);
    ExecutePlan(painter, Context().pictures, last_plan_);
    ++paint_count_;
}

void MScrollBar::mousePressEvent(QMouseEvent* event) {
    after_double_click_ = false;
    machine_->Press(ToPt(event->position()));
    event->accept();
}

void MScrollBar::mouseMoveEvent(QMouseEvent* event) {
    if (!machine_->PointerInside() && rect().contains(event->position().toPoint()))
        machine_->PointerEnter();
    machine_->Move(ToPt(event->position()));
    event->accept();
}

void MScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    machine_->Release();
    // A release that ends a double click makes no further click.
    if (!after_double_click_ && rect().contains(event->position().toPoint())) machine_->ClickStep();
    after_double_click_ = false;
    event->accept();
}

void MScrollBar::mouseDoubleClickEvent(QMouseEvent* event) {
    after_double_click_ = true;
    machine_->ClickStep();
    event->accept();
}

void MScrollBar::keyPressEvent(QKeyEvent* event) {
    if (const auto key = ArrowKey(event->key())) {
        if (machine_->Key(*key)) {
            event->accept();
            return;
        }
    } else if (machine_->TVisible() &&
               (!machine_->Enabled() || machine_->Locked() || machine_->EQdisabled())) {
        event->accept();  // a locked slider swallows its keys
        return;
    }
    event->ignore();
}

void MScrollBar::wheelEvent(QWheelEvent* event) {
    const bool plain = event->modifiers() == Qt::NoModifier && event->buttons() == Qt::NoButton;
    if (machine_->Wheel(event->angleDelta().y(), plain))
        event->accept();
    else
        event->ignore();
}

void MScrollBar::enterEvent(QEnterEvent*) {
    machine_->PointerEnter();
}

void MScrollBar::leaveEvent(QEvent*) {
    if (machine_->PointerInside()) machine_->PointerLeave();
}

bool MScrollBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched != text2_) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            machine_->EntryCommit(text2_->text().toStdString());
            return true;
        }
        if (const auto arrow = ArrowKey(key->key())) {
            machine_->Key(*arrow);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        machine_->EntryFocusLost();
    }
    return QWidget::eventFilter(watched, event);
}

void MScrollBar::OnResize(int width, int height) {
    setFixedSize(width, height);
}

void MScrollBar::OnEntryShow(IRect box, const std::string& text) {
    text2_->setGeometry(box.x, box.y, box.w, box.h);
    text2_->setText(QString::fromStdString(text));
    if (text2_->hasFocus()) text2_->selectAll();
    text2_->show();
}

void MScrollBar::OnEntryHide() {
    if (text2_->hasFocus()) setFocus(Qt::OtherFocusReason);
    text2_->hide();
    text2_->clear();
}

void MScrollBar::OnEntryFocus() {
    text2_->setFocus(Qt::MouseFocusReason);
    text2_->selectAll();
}

void MScrollBar::OnCursor(bool own) {
    if (own)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

}  // namespace vellora::controls
