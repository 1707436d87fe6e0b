// MComboBox: a drop-down list whose closed face shows the chosen item as a picture; the
// lists are fixed by ShowType. The open list floats beside the control, follows the pointer
// and raises Click with the index when pressed; losing the focus closes it without an event.
#pragma once

#include <QString>
#include <QVariantMap>

#include <vector>

#include "controls/bound_control.h"
#include "controls/paint_plan.h"

namespace vellora::controls {

class ComboDropList;

/// The properties a list box is created with, as the windows' design data gives them.
struct ComboStored {
    int ShowType = 0;
    bool Enabled = true;
    QString SpecialFeature = QStringLiteral("0");

    /// Reads the design-data keys "ShowType", "Enabled" and "SpecialFeature"; absent keys keep
    /// the defaults above.
    static ComboStored FromBag(const QVariantMap& bag);
};

class MComboBox : public BoundControl {
    Q_OBJECT

public:
    explicit MComboBox(const ControlContext& context, const ComboStored& stored = {},
                       QWidget* parent = nullptr);
    ~MComboBox() override;

    [[nodiscard]] int ShowType() const { return show_type_; }
    /// Changes the face; the items are refilled only for ShowType 7 and 8.
    void SetShowType(int showType);
    /// The chosen item, counted from 0.
    [[nodiscard]] int Value() const;
    /// Selects an item (beyond the last: the last; below 0: the first) and repaints; no event.
    void SetValue(int value);
    [[nodiscard]] bool Enabled() const override { return enabled_; }
    void SetEnabled(bool on);

    /// Repaints the face, and shows the open list beside the control or hides it.
    void Refresh() override;

    /// Locked by the lock byte of a bound parameter.
    [[nodiscard]] bool Locked() const override;
    [[nodiscard]] bool Dropped() const { return dropped_; }
    [[nodiscard]] int ItemCount() const;
    [[nodiscard]] QString ItemText(int index) const;
    /// The open list window (List1).
    [[nodiscard]] ComboDropList* List() const { return list_; }
    [[nodiscard]] const PaintPlan& LastPlan() const { return last_plan_; }

    /// An item chosen by assistive technology, as if picked in the open list: the list
    /// closes, Value holds the item and Click is raised. Ignored while disabled or locked, or
    /// for an index outside the list. Returns whether it was taken.
    bool ChooseByAccessibility(int index);
    /// Opens or closes the list, as a press on the face does.
    void ToggleListByAccessibility();

signals:
    /// The user picked item `index` in the open list; Value already holds it.
    void Click(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Fill();
    void PlaceList();
    void OnListPressed();

    ComboDropList* list_ = nullptr;
    int show_type_ = 0;
    bool enabled_ = true;
    bool pressed_ = false;
    bool dropped_ = false;
    PaintPlan last_plan_;
};

}  // namespace vellora::controls
