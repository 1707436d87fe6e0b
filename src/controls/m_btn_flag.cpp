// The flag button widget.
#include "controls/m_btn_flag.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "controls/btn_flag_logic.h"
#include "controls/control_look_source.h"
#include "controls/design_bag.h"
#include "graph/picture_store.h"

namespace vellora::controls {

namespace {

int VbButton(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int VbShift(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

}  // namespace

BtnFlagStored BtnFlagStored::FromBag(const QVariantMap& bag) {
    BtnFlagStored s;
    ReadText(bag, "PngIndexStr", s.PNGIndexStr);
    ReadInt(bag, "Value", s.Value);
    ReadInt(bag, "ActionType", s.ActionType);
    ReadBool(bag, "Enabled", s.Enabled);
    ReadText(bag, "SpecialFeature", s.SpecialFeature);
    return s;
}

MBtnFlag::MBtnFlag(const ControlContext& context, const BtnFlagStored& stored, QWidget* parent)
    : BoundControl(context, parent) {
    action_type_ = stored.ActionType;
    enabled_ = stored.Enabled;
    SetSpecialFeature(stored.SpecialFeature);
    png_index_str_ = stored.PNGIndexStr;
    pictures_ = ParsePictureList(png_index_str_.toStdString());
    stored_ = StoredFromValue(action_type_, stored.Value);
    SizeToFirstPicture();
    setMouseTracking(true);
}

void MBtnFlag::SizeToFirstPicture() {
    if (pictures_.empty()) return;
    const QSize size = Context().pictures.Size(pictures_.front());
    if (!size.isEmpty()) setFixedSize(size);
}

void MBtnFlag::SetPNGIndexStr(const QString& list) {
    png_index_str_ = list;
    pictures_ = ParsePictureList(list.toStdString());
    SizeToFirstPicture();
    Refresh();
}

int MBtnFlag::Value() const {
    return ValueFromStored(action_type_, stored_);
}

void MBtnFlag::SetValue(int value) {
    stored_ = StoredFromValue(action_type_, value);
    Refresh();
}

void MBtnFlag::SetEnabled(bool on) {
    enabled_ = on;
    if (SpecialFeature() == QLatin1String("DisabledRefresh")) Refresh();
}

bool MBtnFlag::Locked() const {
    return Context().look.ButtonLocked(Addr());
}

bool MBtnFlag::IsSwitch() const {
    return action_type_ == kOnOff || action_type_ == kTwoHalf || action_type_ == kTwoHalfInverted;
}

int MBtnFlag::CurrentPicture() const {
    return ButtonPicture(pictures_, stored_, Locked(), enabled_);
}

void MBtnFlag::paintEvent(QPaintEvent*) {
    if (!BackgroundReady()) return;
    QPainter painter(this);
    last_drawn_ = CurrentPicture();
    if (last_drawn_ != 0) Context().pictures.Draw(painter, last_drawn_, QPoint(0, 0));
    ++paint_count_;
}

void MBtnFlag::PressAt(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at) {
    emit MouseDown(VbButton(button), VbShift(modifiers), at.x(), at.y());
    const BtnStep step = PressStep(action_type_, stored_, at.x(), width());
    stored_ = step.stored;
    if (step.click) emit Click();
    Refresh();
}

void MBtnFlag::ReleaseAfterPress() {
    const BtnStep step = ReleaseStep(action_type_, stored_);
    stored_ = step.stored;
    if (step.click) emit Click();
    if (!Context().look.Closing()) Refresh();
}

void MBtnFlag::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (!enabled_ || Locked()) return;
    PressAt(event->button(), event->modifiers(), event->position());
}

void MBtnFlag::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!enabled_ || Locked()) return;
    ReleaseAfterPress();
}

void MBtnFlag::ClickByAccessibility() {
    if (!enabled_ || Locked()) return;
    double x = width() / 2.0;
    if (action_type_ == kTwoHalf || action_type_ == kTwoHalfInverted)
        x = stored_ == 0 ? width() * 0.75 : width() * 0.25;
    PressAt(Qt::LeftButton, Qt::NoModifier, QPointF(x, height() / 2.0));
    ReleaseAfterPress();
}

void MBtnFlag::PointerEnter() {
    if (pointer_inside_ || Locked()) return;
    pointer_inside_ = true;
    emit MouseIn();
}

void MBtnFlag::mouseMoveEvent(QMouseEvent* event) {
    if (rect().contains(event->position().toPoint())) PointerEnter();
    event->accept();
}

void MBtnFlag::enterEvent(QEnterEvent*) {
    PointerEnter();
}

void MBtnFlag::leaveEvent(QEvent*) {
    if (!pointer_inside_ || Locked()) return;
    pointer_inside_ = false;
    emit MouseLeave();
    Refresh();
}

void MBtnFlag::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    const bool plain = event->modifiers() == Qt::NoModifier && event->buttons() == Qt::NoButton;
    if (!plain || (delta != 120 && delta != -120) || Locked() || !enabled_) {
        event->ignore();
        return;
    }
    event->accept();
    emit Scroll(delta > 0);
}

}  // namespace vellora::controls
