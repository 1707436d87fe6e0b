// MScrollBar: the picture-drawn parameter slider (faders, band strips, bars, knob). The
// widget paints its SliderMachine's state and forwards mouse, keys, wheel and pointer
// tracking to it; the entry box Text2 edits a band's gain, frequency or Q by typing.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <memory>

#include "controls/control_context.h"
#include "controls/paint_plan.h"
#include "controls/slider_machine.h"

class QLineEdit;

namespace vellora::controls {

class MScrollBar : public QWidget, private SliderEvents {
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
    [[nodiscard]] bool Enabled() const { return machine_->Enabled(); }
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
    /// The bound ParamIndex, -1 while unbound.
    [[nodiscard]] int Addr() const { return machine_->Addr(); }
    void SetAddr(int addr) { machine_->SetAddr(addr); }
    [[nodiscard]] const QString& EQindex() const { return eq_index_; }
    void SetEQindex(const QString& text) { eq_index_ = text; }
    [[nodiscard]] const QString& SpecialFeature() const { return special_feature_; }
    void SetSpecialFeature(const QString& text) { special_feature_ = text; }
    [[nodiscard]] bool ForceShowFocus() const { return machine_->ForceShowFocus(); }
    void SetForceShowFocus(bool on) { machine_->SetForceShowFocus(on); }

    /// Repaints from the current state (nothing is drawn before the first BkGround_Init).
    void Refresh();
    /// Prepares the background pictures of the current form; the control is see-through
    /// elsewhere, so `hideFirst` needs no snapshot. Does nothing while the program closes.
    void BkGround_Init(bool hideFirst = false);
    /// Raises Scroll.
    void RaiseEventScroll() { machine_->RaiseEventScroll(); }

    [[nodiscard]] bool BackgroundReady() const { return background_ready_; }
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

private:
    void OnScroll() override { emit Scroll(); }
    void OnClick() override { emit Click(); }
    void OnMouseIn() override { emit MouseIn(); }
    void OnRepaint() override { Refresh(); }
    void OnResize(int width, int height) override;
    void OnEntryShow(IRect box, const std::string& text) override;
    void OnEntryHide() override;
    void OnEntryFocus() override;
    void OnCursor(bool own) override;

    ControlContext context_;
    QLineEdit* text2_ = nullptr;
    std::unique_ptr<SliderMachine> machine_;
    QString eq_index_;
    QString special_feature_;
    QImage background_;
    bool background_ready_ = false;
    bool after_double_click_ = false;
    PaintPlan last_plan_;
    int paint_count_ = 0;
};

}  // namespace vellora::controls
