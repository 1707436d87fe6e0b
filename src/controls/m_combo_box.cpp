// The list box widget and its floating list.
#include "controls/m_combo_box.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

#include "controls/combo_drop_list.h"
#include "controls/combo_lists.h"
#include "controls/control_look_source.h"
#include "controls/design_bag.h"

namespace vellora::controls {

ComboStored ComboStored::FromBag(const QVariantMap& bag) {
    ComboStored s;
    ReadInt(bag, "ShowType", s.ShowType);
    ReadBool(bag, "Enabled", s.Enabled);
    ReadText(bag, "SpecialFeature", s.SpecialFeature);
    return s;
}

MComboBox::MComboBox(const ControlContext& context, const ComboStored& stored, QWidget* parent)
    : BoundControl(context, parent) {
    show_type_ = stored.ShowType;
    enabled_ = stored.Enabled;
    SetSpecialFeature(stored.SpecialFeature);
    list_ = new ComboDropList(this);
    connect(list_, &ComboDropList::Pressed, this, &MComboBox::OnListPressed);
    Fill();
    list_->SetSelection(0);
    const ComboFace& face = ComboFaceOf(show_type_);
    setFixedSize(face.width, face.height);
    setFocusPolicy(Qt::ClickFocus);
}

MComboBox::~MComboBox() = default;

void MComboBox::Fill() {
    QStringList items;
    for (const std::string& item : ComboItems(show_type_)) items << QString::fromStdString(item);
    list_->SetItems(items);
    list_->SetSelection(std::clamp(list_->Selection(), 0, static_cast<int>(items.size()) - 1));
}

int MComboBox::ItemCount() const {
    return static_cast<int>(list_->Items().size());
}

QString MComboBox::ItemText(int index) const {
    return index >= 0 && index < ItemCount() ? list_->Items()[index] : QString();
}

void MComboBox::SetShowType(int showType) {
    show_type_ = showType;
    if (showType == 7 || showType == 8) Fill();
    const ComboFace& face = ComboFaceOf(show_type_);
    setFixedSize(face.width, face.height);
    Refresh();
}

int MComboBox::Value() const {
    return list_->Selection();
}

void MComboBox::SetValue(int value) {
    list_->SetSelection(std::clamp(value, 0, std::max(0, ItemCount() - 1)));
    Refresh();
}

void MComboBox::SetEnabled(bool on) {
    enabled_ = on;
    Refresh();
}

bool MComboBox::Locked() const {
    return Context().look.ButtonLocked(Addr());
}

void MComboBox::Refresh() {
    update();
    if (dropped_) {
        PlaceList();
        list_->show();
        list_->raise();
    } else {
        list_->hide();
    }
}

void MComboBox::PlaceList() {
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    const QScreen* screen = this->screen();
    const int bottom = screen ? screen->availableGeometry().bottom() + 1 : origin.y() + 4096;
    const DropPlacement d =
        PlaceDropList(origin.x(), origin.y(), width(), height(), ItemCount(), bottom);
    list_->setGeometry(d.x, d.y, d.width, d.height);
}

void MComboBox::paintEvent(QPaintEvent*) {
    if (!BackgroundReady()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    last_plan_ = ComboFacePlan(show_type_, Value(), ItemCount(), pressed_, Locked() || !enabled_);
    ExecutePlan(painter, Context().pictures, last_plan_);
}

void MComboBox::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (!enabled_ || Locked()) return;
    pressed_ = true;
    dropped_ = !dropped_;
    Refresh();
}

void MComboBox::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    pressed_ = false;
    Refresh();
}

bool MComboBox::ChooseByAccessibility(int index) {
    if (!enabled_ || Locked() || index < 0 || index >= ItemCount()) return false;
    list_->SetSelection(index);
    OnListPressed();
    return true;
}

void MComboBox::ToggleListByAccessibility() {
    if (!enabled_ || Locked()) return;
    dropped_ = !dropped_;
    Refresh();
}

void MComboBox::OnListPressed() {
    dropped_ = false;
    Refresh();
    emit Click(Value());
}

void MComboBox::focusOutEvent(QFocusEvent* event) {
    // The list window never takes the focus; any other loss closes it without an event.
    if (dropped_ && QApplication::activeWindow() != list_) {
        dropped_ = false;
        pressed_ = false;
        Refresh();
    }
    QWidget::focusOutEvent(event);
}

}  // namespace vellora::controls
