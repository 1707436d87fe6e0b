// MComboBox: a drop-down list whose closed face shows the chosen item as a picture; the
// lists are fixed by ShowType. The open list floats beside the control, follows the pointer
// and raises Click with the index when pressed; losing the focus closes it without an event.
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

#include "controls/control_context.h"
#include "controls/paint_plan.h"

namespace vellora::controls {

class ComboDropList;

struct ComboStored {
    int ShowType = 0;
    bool Enabled = true;
    QString SpecialFeature = QStringLiteral("0");
};

class MComboBox : public QWidget {
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
    [[nodiscard]] bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    [[nodiscard]] const QString& SpecialFeature() const { return special_feature_; }
    void SetSpecialFeature(const QString& text) { special_feature_ = text; }
    [[nodiscard]] int Addr() const { return addr_; }
    void SetAddr(int addr) { addr_ = addr; }
    [[nodiscard]] const QString& EQindex() const { return eq_index_; }
    void SetEQindex(const QString& text) { eq_index_ = text; }

    void Refresh();
    void BkGround_Init(bool hideFirst = false);

    [[nodiscard]] bool Locked() const;
    [[nodiscard]] bool Dropped() const { return dropped_; }
    [[nodiscard]] int ItemCount() const;
    [[nodiscard]] QString ItemText(int index) const;
    /// The open list window (List1).
    [[nodiscard]] ComboDropList* List() const { return list_; }
    [[nodiscard]] const PaintPlan& LastPlan() const { return last_plan_; }

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

    ControlContext context_;
    ComboDropList* list_ = nullptr;
    int show_type_ = 0;
    bool enabled_ = true;
    QString special_feature_;
    int addr_ = -1;
    QString eq_index_;
    bool pressed_ = false;
    bool dropped_ = false;
    bool background_ready_ = false;
    PaintPlan last_plan_;
};

}  // namespace vellora::controls
