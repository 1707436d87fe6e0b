// MScrollBar: the picture-drawn parameter slider (faders, band strips, bars, knob). The
// widget paints its SliderMachine's state and forwards mouse, keys, wheel and pointer
// tracking to it; the entry box Text2 edits a band's gain, frequency or Q by typing.
#pragma once

#include <QImage>
#include <QString>

#include <memory>

#include "controls/bound_control.h"
#include "controls/paint_plan.h"
#include "controls/slider_machine.h"

class QLineEdit;

namespace vellora::controls {

class MScrollBar : public BoundControl, private SliderEvents {
    Q_OBJECT

public:
    explicit MScrollBar(const ControlContext& context, const SliderStored& stored = {},
                        QWidget* parent = nullptr);
    ~MScrollBar() override;

    // Properties (see SliderMachine). Setting never raises Scroll.
    [[nodiscard]] int ScrollBarType() const { return machine_->ScrollBarType(); }
    void SetScrollBarType(int form) { machine_->SetScrollBarType(form); }
    [[nodiscard]] int HScrollSize() const { return machine_->HScrollSize(); }
    void SetHScrollSize(int size) { machine_->SetHScrollSize(size); }
    [[nodiscard]] int ValueType() const { return machine_->ValueType(); }
    void SetValueType(int type) { machine_->SetValueType(type); }
    [[nodiscard]] int MaxValue() const { return machine_->MaxValue(); }
    void SetMaxValue(int max) { machine_->SetMaxValue(max); }
    /// The parameter value in the host's units (single precision in stored files).
    [[nodiscard]] double Value() const { return machine_->Value(); }
    void SetValue(double value) { machine_->SetValue(value); }
    [[nodiscard]] bool Enabled() const override { return machine_->Enabled(); }
    void SetEnabled(bool on) { machine_->SetEnabled(on); }
    [[nodiscard]] bool TVisible() const { return machine_->TVisible(); }
    void SetTVisible(bool on) { machine_->SetTVisible(on); }
    [[nodiscard]] int LabelID() const { return machine_->LabelID(); }
    void SetLabelID(int id) { machine_->SetLabelID(id); }
    [[nodiscard]] int EQNormalStyle() const { return machine_->EQNormalStyle(); }
    void SetEQNormalStyle(int c) { machine_->SetEQNormalStyle(c); }
    [[nodiscard]] int QType() const { return machine_->QType(); }
    void SetQType(int t) { machine_->SetQType(t); }
    [[nodiscard]] int Freq() const { return machine_->Freq(); }
    void SetFreq(int index) { machine_->SetFreq(index); }
    [[nodiscard]] int Q() const { return machine_->Q(); }
    void SetQ(int index) { machine_->SetQ(index); }
    [[nodiscard]] int sQ() const { return machine_->sQ(); }
    void SetsQ(int index) { machine_->SetsQ(index); }
    [[nodiscard]] bool EQdisabled() const { return machine_->EQdisabled(); }
    void SetEQdisabled(bool off) { machine_->SetEQdisabled(off); }
    [[nodiscard]] int MuteRAMindex() const { return machine_->MuteRAMindex(); }
    void SetMuteRAMindex(int index) { machine_->SetMuteRAMindex(index); }
    [[nodiscard]] bool ForceShowFocus() const { return machine_->ForceShowFocus(); }
    void SetForceShowFocus(bool on) { machine_->SetForceShowFocus(on); }

    /// Raises Scroll.
    void RaiseEventScroll() { machine_->RaiseEventScroll(); }
    /// A position set by assistive technology: a user's edit (Scroll when it changes), in
    /// the slider's steps 0..MaxValue; ignored while input is blocked.
    bool SetPositionByAccessibility(int position) { return machine_->UserSetPosition(position); }

    /// Locked by the lock byte, or by the bass auto control on a per-scene parameter.
    [[nodiscard]] bool Locked() const override { return machine_->Locked(); }
    /// The drawing of the last paint and how many paints drew anything.
    [[nodiscard]] const PaintPlan& LastPlan() const { return last_plan_; }
    [[nodiscard]] int PaintCount() const { return paint_count_; }
    [[nodiscard]] const SliderMachine& Machine() const { return *machine_; }
    /// The entry box (Text2), hidden at rest.
    [[nodiscard]] QLineEdit* EntryBox() const { return text2_; }

signals:
    void Scroll();
    void MouseIn();
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void PrepareBackground() override;
    void AddrChanged() override { machine_->SetAddr(Addr()); }

private:
    void OnScroll() override { emit Scroll(); }
    void OnClick() override { emit Click(); }
    void OnMouseIn() override { emit MouseIn(); }
    void OnRepaint() override;
    void OnResize(int width, int height) override;
    void OnEntryShow(IRect box, const std::string& text) override;
    void OnEntryHide() override;
    void OnEntryFocus() override;
    void OnCursor(bool own) override;

    QLineEdit* text2_ = nullptr;
    std::unique_ptr<SliderMachine> machine_;
    PaintPlan background_plan_;
    bool after_double_click_ = false;
    PaintPlan last_plan_;
    int paint_count_ = 0;
    int announced_position_ = -1;
};

}  // namespace vellora::controls
