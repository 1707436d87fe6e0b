// The controls' accessible interfaces and their factory.
#include "controls/control_accessibility.h"

#include <mutex>

#include "controls/btn_flag_logic.h"
#include "controls/c_progress_bar.h"
#include "controls/m_btn_flag.h"
#include "controls/m_combo_box.h"
#include "controls/m_scroll_bar.h"
#include "controls/progress_plan.h"
#include "controls/slider_layout.h"
#include "controls/slider_values.h"
#include "model/value_scales.h"

namespace vellora::controls {

namespace {

QAccessibleInterface* ControlAccessibleFactory(const QString&, QObject* object) {
    if (auto* slider = qobject_cast<MScrollBar*>(object)) return new SliderAccessible(slider);
    if (auto* button = qobject_cast<MBtnFlag*>(object)) return new FlagButtonAccessible(button);
    if (auto* combo = qobject_cast<MComboBox*>(object)) return new ComboAccessible(combo);
    if (auto* bar = qobject_cast<C_ProgressBar*>(object)) return new ProgressAccessible(bar);
    return nullptr;
}

// What all three say alike: the name and the address. Empty for other texts.
QString BoundText(const BoundControl& control, QAccessible::Text t) {
    switch (t) {
        case QAccessible::Name:
            return control.AccessibleName();
        case QAccessible::Description:
        case QAccessible::Help:
            return control.AddressText();
        default:
            return {};
    }
}

// Blocked controls read as unavailable, as disabled widgets do.
void MarkBlocked(const BoundControl& control, QAccessible::State& state) {
    if (!control.Enabled() || control.Locked()) state.disabled = true;
}

QString SliderValueText(const MScrollBar& s) {
    const int position = std::min(s.Machine().Position(), s.MaxValue());
    if (s.ScrollBarType() != kBandStrip)
        return QString::fromStdString(ValueText(s.ValueType(), position));
    const int shownQ = s.QType() == 0 ? s.Q() : s.sQ();
    return QStringLiteral("%1 dB, %2 Hz, Q %3")
        .arg(QString::fromStdString(model::GainText(position + 10)),
             QString::fromStdString(FreqText(s.Freq())),
             QString::fromStdString(model::QText(shownQ)));
}

}  // namespace

void InstallControlAccessibility() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(ControlAccessibleFactory); });
}

// ---- Slider ----------------------------------------------------------------------------

SliderAccessible::SliderAccessible(MScrollBar* slider)
    : QAccessibleWidget(slider, QAccessible::Slider) {}

MScrollBar* SliderAccessible::Slider() const {
    return static_cast<MScrollBar*>(widget());
}

QString SliderAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) return SliderValueText(*Slider());
    return BoundText(*Slider(), t);
}

QAccessible::State SliderAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    MarkBlocked(*Slider(), s);
    if (!Slider()->TVisible()) s.invisible = true;
    return s;
}

void* SliderAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QStringList SliderAccessible::actionNames() const {
    return QStringList{increaseAction(), decreaseAction()} + QAccessibleWidget::actionNames();
}

void SliderAccessible::doAction(const QString& actionName) {
    const int position = Slider()->Machine().Position();
    if (actionName == increaseAction())
        setCurrentValue(position + 1);
    else if (actionName == decreaseAction())
        setCurrentValue(position - 1);
    else
        QAccessibleWidget::doAction(actionName);
}

QVariant SliderAccessible::currentValue() const {
    return std::min(Slider()->Machine().Position(), Slider()->MaxValue());
}

void SliderAccessible::setCurrentValue(const QVariant& value) {
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (!ok) return;
    Slider()->SetPositionByAccessibility(model::RoundHalfEven(v));
}

QVariant SliderAccessible::maximumValue() const {
    return Slider()->MaxValue();
}

QVariant SliderAccessible::minimumValue() const {
    return 0;
}

QVariant SliderAccessible::minimumStepSize() const {
    return 1;
}

// ---- Flag button -----------------------------------------------------------------------

FlagButtonAccessible::FlagButtonAccessible(MBtnFlag* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

MBtnFlag* FlagButtonAccessible::Button() const {
    return static_cast<MBtnFlag*>(widget());
}

QString FlagButtonAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) return QString::number(Button()->Value());
    return BoundText(*Button(), t);
}

QAccessible::State FlagButtonAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    MarkBlocked(*Button(), s);
    if (Button()->IsSwitch()) {
        s.checkable = true;
        s.checked = Button()->StoredValue() == 1;
    }
    if (Button()->ActionType() == kMomentary) s.pressed = Button()->StoredValue() == 1;
    return s;
}

QStringList FlagButtonAccessible::actionNames() const {
    QStringList names{pressAction()};
    if (Button()->IsSwitch()) names << toggleAction();
    return names + QAccessibleWidget::actionNames();
}

void FlagButtonAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction() || (actionName == toggleAction() && Button()->IsSwitch()))
        Button()->ClickByAccessibility();
    else
        QAccessibleWidget::doAction(actionName);
}

// ---- List box --------------------------------------------------------------------------

ComboAccessible::ComboAccessible(MComboBox* combo)
    : QAccessibleWidget(combo, QAccessible::ComboBox) {}

MComboBox* ComboAccessible::Combo() const {
    return static_cast<MComboBox*>(widget());
}

QString ComboAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) return Combo()->ItemText(Combo()->Value());
    return BoundText(*Combo(), t);
}

void ComboAccessible::setText(QAccessible::Text t, const QString& text) {
    if (t != QAccessible::Value) return;
    for (int i = 0; i < Combo()->ItemCount(); ++i)
        if (Combo()->ItemText(i) == text) {
            Combo()->ChooseByAccessibility(i);
            return;
        }
}

QAccessible::State ComboAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    MarkBlocked(*Combo(), s);
    s.expandable = true;
    s.expanded = Combo()->Dropped();
    s.collapsed = !Combo()->Dropped();
    return s;
}

void* ComboAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QStringList ComboAccessible::actionNames() const {
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
}

void ComboAccessible::doAction(const QString& actionName) {
    if (actionName == showMenuAction() || actionName == pressAction())
        Combo()->ToggleListByAccessibility();
    else
        QAccessibleWidget::doAction(actionName);
}

QVariant ComboAccessible::currentValue() const {
    return Combo()->Value();
}

void ComboAccessible::setCurrentValue(const QVariant& value) {
    bool ok = false;
    const int index = value.toInt(&ok);
    if (ok) Combo()->ChooseByAccessibility(index);
}

QVariant ComboAccessible::maximumValue() const {
    return std::max(0, Combo()->ItemCount() - 1);
}

QVariant ComboAccessible::minimumValue() const {
    return 0;
}

QVariant ComboAccessible::minimumStepSize() const {
    return 1;
}

// ---- Progress bar ----------------------------------------------------------------------

ProgressAccessible::ProgressAccessible(C_ProgressBar* bar)
    : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

C_ProgressBar* ProgressAccessible::Bar() const {
    return static_cast<C_ProgressBar*>(widget());
}

QString ProgressAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) return Bar()->Text();
    if (t == QAccessible::Value)
        return QString::number(Bar()->Value() * 100 / ProgressScale(Bar()->MaxValue())) +
               QLatin1Char('%');
    return QAccessibleWidget::text(t);
}

void* ProgressAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QVariant ProgressAccessible::currentValue() const {
    return int{Bar()->Value()};
}

QVariant ProgressAccessible::maximumValue() const {
    return ProgressScale(Bar()->MaxValue());
}

QVariant ProgressAccessible::minimumValue() const {
    return 0;
}

QVariant ProgressAccessible::minimumStepSize() const {
    return 1;
}

}  // namespace vellora::controls
