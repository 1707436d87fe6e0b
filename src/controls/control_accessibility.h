// How the slider, the flag button and the list box speak to the accessibility tree, as Qt's
// own widgets do: a role, a name (caption and page), a value and the bound entry's address as
// the description. Changes made through it raise the control's usual events.
#pragma once

#include <QAccessibleWidget>

namespace vellora::controls {

class C_ProgressBar;
class MBtnFlag;
class MComboBox;
class MScrollBar;

/// Installs the factory of the controls' accessible interfaces; once per process, later calls
/// do nothing. Every control's constructor calls it.
void InstallControlAccessibility();

/// A slider: role Slider, its value in the slider's steps (0..MaxValue), the shown text as
/// the value text, and increase / decrease actions of one step.
class SliderAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SliderAccessible(MScrollBar* slider);

    [[nodiscard]] QString text(QAccessible::Text t) const override;
    [[nodiscard]] QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;
    [[nodiscard]] QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    [[nodiscard]] QVariant currentValue() const override;
    /// Moves the slider as a user's edit would (Scroll when the position changes).
    void setCurrentValue(const QVariant& value) override;
    [[nodiscard]] QVariant maximumValue() const override;
    [[nodiscard]] QVariant minimumValue() const override;
    [[nodiscard]] QVariant minimumStepSize() const override;

private:
    [[nodiscard]] MScrollBar* Slider() const;
};

/// A flag button: role Button, checkable when it is a switch; press (and toggle) click it.
class FlagButtonAccessible final : public QAccessibleWidget {
public:
    explicit FlagButtonAccessible(MBtnFlag* button);

    [[nodiscard]] QString text(QAccessible::Text t) const override;
    [[nodiscard]] QAccessible::State state() const override;
    [[nodiscard]] QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    [[nodiscard]] MBtnFlag* Button() const;
};

/// A list box: role ComboBox, the chosen item as its value text and its index as its value
/// (0..items - 1); setting either chooses an item as the open list does (Click).
class ComboAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ComboAccessible(MComboBox* combo);

    [[nodiscard]] QString text(QAccessible::Text t) const override;
    /// Setting the value text chooses the item of that text.
    void setText(QAccessible::Text t, const QString& text) override;
    [[nodiscard]] QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;
    [[nodiscard]] QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    [[nodiscard]] QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    [[nodiscard]] QVariant maximumValue() const override;
    [[nodiscard]] QVariant minimumValue() const override;
    [[nodiscard]] QVariant minimumStepSize() const override;

private:
    [[nodiscard]] MComboBox* Combo() const;
};

/// The progress bar: role ProgressBar, its text as the name, its value 0..full scale; read-only.
class ProgressAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ProgressAccessible(C_ProgressBar* bar);

    [[nodiscard]] QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    [[nodiscard]] QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}  ///< the bar takes no input
    [[nodiscard]] QVariant maximumValue() const override;
    [[nodiscard]] QVariant minimumValue() const override;
    [[nodiscard]] QVariant minimumStepSize() const override;

private:
    [[nodiscard]] C_ProgressBar* Bar() const;
};

}  // namespace vellora::controls
