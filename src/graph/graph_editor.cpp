// The graph's editing handlers: hit test, drags, keys, wheel, and the one-shot timer that
// paints and sends after an edit.
#include "graph/graph_editor.h"

#include <algorithm>
#include <cmath>

#include "model/value_scales.h"

namespace vellora::graph {

namespace {

// The subwoofer page lists its high-pass at position 5 and its low-pass at position 6; a drag
// never takes one past the other.
constexpr int kCoupledPage = 7;
constexpr int kCoupledHighPass = 5;
constexpr int kCoupledLowPass = 6;

}  // namespace

GraphEditor::GraphEditor(ResponseGraph& graph, model::Workspace& ws, model::Clock& clock,
                         storage::UndoRedo& undo, storage::ParamWriter& writer, GraphEditHost& host)
    : graph_(graph),
      ws_(ws),
      undo_(undo),
      writer_(writer),
      host_(host),
      draw_wave_(clock, kDrawWaveMs, [this] { DrawWaveTick(); }),
      long_press_(clock, kLongPressMs, [this] { LongPressTick(); }),
      wheel_(clock, kWheelMs, [this] { WheelTick(); }) {}

int GraphEditor::FreqLimit(const CurveBand& band, int index) const {
    return model::FreqClamp(index, true, band.FilterType, graph_.View().Page);
}

void GraphEditor::StartDrawWave() {
    // A turn already scheduled takes this edit along: one paint and one send per turn.
    if (!draw_wave_.IsActive()) draw_wave_.Start();
}

void GraphEditor::SelectBand(int position) {
    SliderHost* sliders = host_.Sliders();
    if (position != graph_.SelectedBand()) {
        graph_.SetSelectedBand(position);
        if (sliders) graph_.HighlightSliders(*sliders);
    }
    graph_.ComputeBandCurve(graph_.SelectedBand());
    graph_.ComputeSum();
    graph_.ResetFade();
    host_.StopFade();
    host_.StartNoOper();
    StartDrawWave();
}

void GraphEditor::WriteBack() {
    const CurveBand* b = graph_.Bands().At(graph_.SelectedBand());
    if (!b) return;
    SliderHost* sliders = host_.Sliders();
    const bool hasSlider = sliders && b->SliderIndex > 0 && b->SliderIndex < sliders->SliderCount();
    using F = model::Field;
    if (b->IsEq()) {
        if (hasSlider)
            sliders->SetSliderBand(
                b->SliderIndex, {b->Freq, b->Q, b->ShelfQ, b->QType, b->EQdisabled, b->GainOrType});
        // QType and the switch belong to the band's slider; the graph leaves them alone.
        ws_.SetFieldBothScenes(b->ParamIndex, F::Freq, b->Freq);
        ws_.SetFieldBothScenes(b->ParamIndex, F::Q, b->Q);
        ws_.SetFieldBothScenes(b->ParamIndex, F::ShelfQ, b->ShelfQ);
        ws_.SetFieldBothScenes(b->ParamIndex, F::Gain, b->GainOrType);
    } else {
        if (hasSlider) sliders->SetSliderValue(b->SliderIndex, b->Freq);
        ws_.SetFieldBothScenes(b->FreqEntry(), F::Value, b->Freq);
    }
}

void GraphEditor::ApplyDrag(double x, double y, bool positionFixed) {
    CurveList& list = graph_.Bands();
    const int selected = graph_.SelectedBand();
    CurveBand* band = list.At(selected);
    if (!band) return;
    if (!positionFixed) {
        const GraphGeometry& g = graph_.Geometry();
        band->Freq = FreqLimit(*band, model::FreqIndex(g.XToFreq(static_cast<float>(x))));
        if (graph_.View().Page == kCoupledPage) {
            const CurveBand* high = list.At(kCoupledHighPass);
            const CurveBand* low = list.At(kCoupledLowPass);
            if (selected == kCoupledHighPass && low && band->Freq > low->Freq)
                band->Freq = low->Freq;
            if (selected == kCoupledLowPass && high && band->Freq < high->Freq)
                band->Freq = high->Freq;
        }
        if (band->IsEq()) band->GainOrType = model::GainClamp(g.YToGainStep(static_cast<float>(y)));
    }
    WriteBack();
    graph_.ComputeBandCurve(selected);
    graph_.ComputeSum();
    host_.StopFade();
    pending_send_ = selected;
    StartDrawWave();
}

void GraphEditor::DrawWaveTick() {
    draw_wave_.Stop();
    graph_.Compose();
    if (pending_send_ == kNoSend) return;
    const CurveBand* band = graph_.Bands().At(pending_send_);
    pending_send_ = kNoSend;
    if (band && writer_.LinkUp()) (void)writer_.WriteParam(band->FreqEntry());
}

QRect GraphEditor::HitRect(QPoint centre) {
    return QRect(centre - QPoint(kHitRadius, kHitRadius),
                 QSize(2 * kHitRadius + 1, 2 * kHitRadius + 1));
}

int GraphEditor::BandAt(double x, double y) const {
    const CurveList& list = graph_.Bands();
    for (int i = 0; i < list.CurveCount; ++i) {
        if (!list.Editable(i)) continue;
        const QPoint c = graph_.HandleCentre(i);
        if (std::abs(x - c.x()) <= kHitRadius && std::abs(y - c.y()) <= kHitRadius) return i;
    }
    return -1;
}

bool GraphEditor::ClickBand(int position) {
    if (!graph_.Bands().Editable(position)) return false;
    SelectBand(position);
    return true;
}

void GraphEditor::Press(double x, double y, MouseButton button) {
    if (graph_.Bands().PageGreyed) return;
    const int band = BandAt(x, y);
    if (band >= 0) {
        dragging_ = true;
        ref_x_ = model::RoundHalfEven(x);
        SelectBand(band);
    }
    if (button == MouseButton::Right && dragging_) q_drag_ = true;
}

void GraphEditor::Move(double x, double y) {
    if (!dragging_) return;
    x = std::clamp(x, 0.0, static_cast<double>(graph_.Geometry().Width()));
    undo_.RecordUndo();
    if (!q_drag_) {
        ApplyDrag(x, y, false);
        return;
    }
    int step = 0;
    if (x > ref_x_ + (kQStepPixels - 1))
        step = 1;
    else if (x < ref_x_ - (kQStepPixels - 1))
        step = -1;
    else
        return;
    ref_x_ = model::RoundHalfEven(x);
    CurveBand* band = graph_.Bands().At(graph_.SelectedBand());
    if (!band) return;
    if (band->QType != 0)
        band->ShelfQ = model::ShelfQClamp(band->ShelfQ + step);
    else
        band->Q = model::QClamp(band->Q + step);
    ApplyDrag(x, y, true);
}

void GraphEditor::Release() {
    if (!dragging_) return;
    dragging_ = false;
    q_drag_ = false;
    host_.StartNoOper();
}

bool GraphEditor::KeyDown(int key) {
    if (key < kKeyEnd || key > kKeyDown) return false;
    const int selected = graph_.SelectedBand();
    CurveBand* band = graph_.Bands().At(selected);
    if (!graph_.Bands().Editable(selected)) return true;

    if (key == kKeyLeft || key == kKeyRight) {
        if (key_held_) return true;  // the key's own repeats
        key_held_ = true;
        held_ticks_ = 0;
        held_left_ = key == kKeyLeft;
        long_press_.Start();
        return true;
    }

    undo_.RecordUndo();
    using F = model::Field;
    switch (key) {
        case kKeyUp:
        case kKeyDown:
            if (band->IsEq())
                band->GainOrType = model::GainClamp(band->GainOrType + (key == kKeyUp ? 1 : -1));
            break;
        default: {
            const int step = key == kKeyHome ? 1 : -1;
            // A filter has a Q field too; its curve does not use it.
            if (band->QType != 0) {
                band->ShelfQ = model::ShelfQClamp(band->ShelfQ + step);
                ws_.SetFieldBothScenes(band->ParamIndex, F::ShelfQ, band->ShelfQ);
            } else {
                band->Q = model::QClamp(band->Q + step);
                ws_.SetFieldBothScenes(band->ParamIndex, F::Q, band->Q);
            }
            break;
        }
    }
    WriteBack();
    pending_send_ = selected;
    SelectBand(selected);
    return true;
}

bool GraphEditor::KeyUp(int key) {
    if (key < kKeyEnd || key > kKeyDown) return false;
    if (!key_held_) return true;
    key_held_ = false;
    long_press_.Stop();
    if (held_ticks_ <= kShortPressTicks) MoveSelection(!held_left_);
    held_ticks_ = 0;
    return true;
}

void GraphEditor::EndHold() {
    key_held_ = false;
    long_press_.Stop();
    held_ticks_ = 0;
}

void GraphEditor::MoveSelection(bool right) {
    const CurveList& list = graph_.Bands();
    const int count = list.CurveCount;
    if (count <= 0) return;
    int p = graph_.SelectedBand();
    for (int tries = 0; tries <= count; ++tries) {
        p = right ? (p + 1) % count : (p + count - 1) % count;
        if (list.Editable(p)) {
            SelectBand(p);
            return;
        }
    }
}

void GraphEditor::LongPressTick() {
    ++held_ticks_;
    if (held_ticks_ <= kShortPressTicks) return;
    held_ticks_ = kShortPressTicks + 1;
    const int selected = graph_.SelectedBand();
    CurveBand* band = graph_.Bands().At(selected);
    if (!band) return;
    // No undo snapshot and no coupling of the subwoofer filters for a held key.
    band->Freq = FreqLimit(*band, band->Freq + (held_left_ ? -1 : 1));
    WriteBack();
    pending_send_ = selected;
    SelectBand(selected);
}

bool GraphEditor::Wheel(int delta, bool ctrl, bool otherKeys) {
    if (otherKeys || (delta != kWheelNotch && delta != -kWheelNotch)) return false;
    if (ctrl)
        wheel_key_ = delta < 0 ? kKeyEnd : kKeyHome;
    else
        wheel_key_ = delta < 0 ? kKeyDown : kKeyUp;
    wheel_.Start();
    return true;
}

void GraphEditor::WheelTick() {
    wheel_.Stop();
    KeyDown(wheel_key_);
}

}  // namespace vellora::graph
