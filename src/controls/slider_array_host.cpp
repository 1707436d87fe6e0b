// The slider array behind the graph's SliderHost.
#include "controls/slider_array_host.h"

#include "controls/m_scroll_bar.h"

namespace vellora::controls {

MScrollBar* SliderArrayHost::At(int slider) const {
    return slider >= 0 && slider < SliderCount() ? sliders_[static_cast<size_t>(slider)] : nullptr;
}

int SliderArrayHost::SliderAddr(int slider) const {
    const MScrollBar* s = At(slider);
    return s ? s->Addr() : -1;
}

int SliderArrayHost::SliderEqIndex(int slider) const {
    const MScrollBar* s = At(slider);
    if (!s) return -1;
    bool ok = false;
    const int position = s->EQindex().toInt(&ok);
    return ok && position >= 0 ? position : -1;
}

void SliderArrayHost::SetSliderEqIndex(int slider, int position) {
    if (MScrollBar* s = At(slider))
        s->SetEQindex(position < 0 ? QString() : QString::number(position));
}

void SliderArrayHost::SetSliderBand(int slider, const graph::SliderBandFields& f) {
    MScrollBar* s = At(slider);
    if (!s) return;
    s->SetFreq(f.Freq);
    s->SetQ(f.Q);
    s->SetsQ(f.sQ);
    s->SetQType(f.QType);
    s->SetEQdisabled(f.EQdisabled);
    s->SetValue(f.Value);
    s->Refresh();
}

void SliderArrayHost::SetSliderValue(int slider, int value) {
    if (MScrollBar* s = At(slider)) s->SetValue(value);
}

void SliderArrayHost::SetSliderForceShowFocus(int slider, bool on) {
    if (MScrollBar* s = At(slider)) s->SetForceShowFocus(on);
}

}  // namespace vellora::controls
