// The power-on settings window: its couplings and its lists.
#include "admin/frm_set.h"

#include "model/value_scales.h"

namespace vellora::admin {

namespace {

constexpr int kLimitCount = 3;  // sliders 0..2 are upper limits, 3..5 their power-on values

}  // namespace

FrmSet::FrmSet(const AuxContext& context, MasterLimits masterLimits, QWidget* parent)
    : AuxWindow(FrmSetWindow(), context, parent), master_limits_(std::move(masterLimits)) {
    LoadValues();
}

void FrmSet::LoadValues() {
    LoadSliderValues();
    for (const Made& m : Controls()) {
        if (m.Decl->Array != editor::ControlArray::MyComboBox) continue;
        if (const model::SceneSlot* slot = context_.ws.ParamStore.Slot(EntryOf(m), 0))
            static_cast<controls::MComboBox*>(m.Widget)->SetValue(slot->Value);
    }
}

void FrmSet::SliderChanged(int index) {
    controls::MScrollBar* s = Slider(index);
    if (!s || s->Addr() < 0) return;
    // A power-on value never exceeds its upper limit; an upper limit stays above its value.
    if (index >= kLimitCount) {
        if (const controls::MScrollBar* limit = Slider(index - kLimitCount);
            limit && limit->Value() < s->Value())
            s->SetValue(limit->Value());
    } else if (const controls::MScrollBar* power = Slider(index + kLimitCount);
               power && power->Value() >= s->Value()) {
        s->SetValue(power->Value() + 1);
    }
    Store(s->Addr(), model::RoundHalfEven(s->Value()));
    if (master_limits_) {
        std::array<int32_t, 3> limits{};
        for (int i = 0; i < kLimitCount; ++i)
            limits[static_cast<size_t>(i)] =
                context_.ws.ParamStore.ValueAt(model::entry::kMasterLimit0 + i, 0);
        master_limits_(limits);
    }
    SendSlider(*s);
}

void FrmSet::ListChanged(int index, int value) {
    for (const Made& m : Controls()) {
        if (m.Decl->Array != editor::ControlArray::MyComboBox || m.Decl->Index != index) continue;
        const int entry = EntryOf(m);
        if (entry < 0) return;
        Store(entry, value);
        if (context_.link.LinkUp()) (void)context_.link.WriteParam(entry);
        return;
    }
}

}  // namespace vellora::admin
