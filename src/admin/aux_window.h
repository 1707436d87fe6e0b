// What frmSet, frmRec and frmEffect share: a window made from its table, its controls bound
// to their entries and loaded from slot 0, drawn see-through over the window's panel, and a
// slider change stored in slot 0 and sent while the link is up.
#pragma once

#include <QDialog>

#include <vector>

#include "admin/aux_tables.h"
#include "controls/bound_control.h"
#include "controls/control_context.h"
#include "controls/m_combo_box.h"
#include "controls/m_scroll_bar.h"
#include "model/workspace.h"
#include "storage/param_writer.h"

namespace vellora::admin {

/// What every auxiliary window is given; all of it outlives the window.
struct AuxContext {
    model::Workspace& ws;
    storage::ParamWriter& link;
    controls::ControlContext controls;
};

class AuxWindow : public QDialog {
    Q_OBJECT

public:
    struct Made {
        const editor::ControlDecl* Decl = nullptr;
        controls::BoundControl* Widget = nullptr;
    };

    [[nodiscard]] const AuxWindowDecl& Decl() const { return decl_; }
    /// MyScrollBar(i) / MComboBox1(i); nullptr for an index the window does not have.
    [[nodiscard]] controls::MScrollBar* Slider(int index) const;
    [[nodiscard]] controls::MComboBox* List(int index) const;
    [[nodiscard]] const std::vector<Made>& Controls() const { return made_; }
    /// The entry a control edits: a slider's Addr, a list's Tag read as a number.
    [[nodiscard]] static int EntryOf(const Made& made);

protected:
    /// Load: the main window's icon, the window's size, every control made at its cell and
    /// bound (Addr from its address text), every slider's Value from slot 0 of its Addr.
    AuxWindow(const AuxWindowDecl& decl, const AuxContext& context, QWidget* parent);

    void LoadSliderValues();
    /// MyScrollBar(i) raised Scroll: its Value, rounded, into slot 0 of its Addr; then sent.
    virtual void SliderChanged(int index);
    /// MComboBox1(j) changed to item `value`.
    virtual void ListChanged(int /*index*/, int /*value*/) {}
    /// Slot 0 of `entry` := value; an entry of a mode that is not kept per scene takes the
    /// value in slot 1 too, so that either scene sends it.
    void Store(int entry, int32_t value);
    /// The slider is disabled, its Addr written when the link is up, and enabled again (a
    /// failed write is the link's to report; the store keeps the value).
    void SendSlider(controls::MScrollBar& slider);

    /// Activate: every control prepares its see-through background.
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    AuxContext context_;

private:
    const AuxWindowDecl& decl_;
    std::vector<Made> made_;
};

}  // namespace vellora::admin
