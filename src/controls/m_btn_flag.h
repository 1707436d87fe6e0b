// MBtnFlag: a button whose look is one picture per value: on/off switch, momentary button,
// click button with several looks, and two-half switches. Sizes itself to its first picture.
#pragma once

#include <QString>
#include <QVariantMap>

#include <vector>

#include "controls/bound_control.h"

namespace vellora::controls {

/// The properties a flag button is created with, as the windows' design data gives them.
struct BtnFlagStored {
    QString PNGIndexStr = QStringLiteral("142,143");
    int Value = 0;
    int ActionType = 3;
    bool Enabled = true;
    QString SpecialFeature = QStringLiteral("0");

    /// Reads the design-data keys "PngIndexStr", "Value", "ActionType", "Enabled" and
    /// "SpecialFeature"; absent keys keep the defaults above.
    static BtnFlagStored FromBag(const QVariantMap& bag);
};

class MBtnFlag : public BoundControl {
    Q_OBJECT

public:
    explicit MBtnFlag(const ControlContext& context, const BtnFlagStored& stored = {},
                      QWidget* parent = nullptr);

    [[nodiscard]] const QString& PNGIndexStr() const { return png_index_str_; }
    /// Splits the list again, sizes to the first picture and repaints.
    void SetPNGIndexStr(const QString& list);
    /// ActionType 4 reads and writes 1 - stored value; switches keep 0..1.
    [[nodiscard]] int Value() const;
    void SetValue(int value);  ///< repaints; raises nothing
    [[nodiscard]] int ActionType() const { return action_type_; }
    void SetActionType(int type) { action_type_ = type; }
    [[nodiscard]] bool Enabled() const override { return enabled_; }
    /// Repaints at once only with SpecialFeature "DisabledRefresh".
    void SetEnabled(bool on);

    /// Locked by the lock byte of a bound parameter.
    [[nodiscard]] bool Locked() const override;
    /// Whether the button switches between two values (ActionType 0, 3 and 4).
    [[nodiscard]] bool IsSwitch() const;
    /// The stored value, which chooses the picture (1 shows a switch's second look).
    [[nodiscard]] int StoredValue() const { return stored_; }
    /// A press and release by assistive technology, with the events of a mouse click in the
    /// button's middle; a two-half switch is pressed on the half it does not show, so it
    /// turns over. Ignored while disabled or locked.
    void ClickByAccessibility();
    /// The picture the current state draws (0 for none) and the one the last paint drew.
    [[nodiscard]] int CurrentPicture() const;
    [[nodiscard]] int LastDrawnPicture() const { return last_drawn_; }
    [[nodiscard]] int PaintCount() const { return paint_count_; }
    [[nodiscard]] bool PointerInside() const { return pointer_inside_; }

signals:
    void Click();
    /// A wheel notch: true up, false down.
    void Scroll(bool up);
    void MouseIn();
    void MouseLeave();
    /// Every accepted press, before its ActionType handling. Button 1 left, 2 right, 4 middle;
    /// Shift 1 shift, 2 ctrl, 4 alt; x and y in pixels.
    void MouseDown(int button, int shift, double x, double y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void SizeToFirstPicture();
    void PressAt(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at);
    void ReleaseAfterPress();
    void PointerEnter();

    QString png_index_str_;
    std::vector<int> pictures_;
    int stored_ = 0;
    int action_type_ = 3;
    bool enabled_ = true;
    bool pointer_inside_ = false;
    int last_drawn_ = 0;
    int paint_count_ = 0;
};

}  // namespace vellora::controls
