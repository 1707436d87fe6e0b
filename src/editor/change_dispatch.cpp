// The change handlers of the editor's control arrays.
#include "editor/change_dispatch.h"

#include "model/value_scales.h"

namespace vellora::editor {

namespace {

constexpr int kSubHighPass = 1800;  // the subwoofer's high-pass frequency entry
constexpr int kSubLowPass = 1802;   // and its low-pass frequency entry
constexpr int kEchoCuts[] = {774, 775};
constexpr int kReverbCuts[] = {781, 782};
constexpr int kOptionEntry = 277;

bool Has(const int (&list)[2], int a) {
    return list[0] == a || list[1] == a;
}

int BandOf(const QString& eqIndex) {
    bool ok = false;
    const int b = eqIndex.toInt(&ok);
    return ok ? b : -1;
}

}  // namespace

ChangeDispatch::ChangeDispatch(model::Workspace& ws, ControlSet& controls, storage::UndoRedo& undo,
                               storage::ParamWriter& writer, DispatchHost& host)
    : ws_(ws), controls_(controls), undo_(undo), writer_(writer), host_(host) {}

void ChangeDispatch::Send(int entry) {
    if (writer_.LinkUp()) (void)writer_.WriteParam(entry);
}

void ChangeDispatch::WriteFilterSlider(controls::MScrollBar& s, int a, int b) {
    bool drawBand = true;
    if (ws_.CurrentPage() == kEffectsPage) {
        const int view = host_.EffectView();
        drawBand = (Has(kEchoCuts, a) && view == 0) || (Has(kReverbCuts, a) && view == 1);
    } else if (a == kSubHighPass || a == kSubLowPass) {
        // The subwoofer's high-pass never passes its low-pass, nor the low-pass the high-pass.
        const int other = ws_.GetValue(a == kSubHighPass ? kSubLowPass : kSubHighPass);
        const int v = model::RoundHalfEven(s.Value());
        if ((a == kSubHighPass && v > other) || (a == kSubLowPass && v < other)) s.SetValue(other);
    }
    if (drawBand) {
        if (graph::CurveBand* band = host_.Bands().At(b)) {
            band->Freq = model::RoundHalfEven(s.Value());
            host_.RedrawBand(b);
        }
    }
    ws_.SetValueBothScenes(a, model::RoundHalfEven(s.Value()));
}

void ChangeDispatch::SliderMoved(int i) {
    controls::MScrollBar* s = controls_.Slider(i);
    if (!s) return;
    const int a = s->Addr();
    if (a < 0) return;
    if (a < model::kModeScopedEnd) undo_.RecordUndo();

    if (!s->EQindex().isEmpty()) {
        const int b = BandOf(s->EQindex());
        graph::CurveBand* band = host_.Bands().At(b);
        if (band && band->IsEq()) {
            band->Freq = s->Freq();
            band->GainOrType = model::RoundHalfEven(s->Value());
            band->Q = s->Q();
            band->ShelfQ = s->sQ();
            band->QType = s->QType();
            band->EQdisabled = s->EQdisabled();
            using F = model::Field;
            ws_.SetFieldBothScenes(a, F::QType, s->QType());
            ws_.SetFieldBothScenes(a, F::Freq, s->Freq());
            ws_.SetFieldBothScenes(a, F::Q, s->Q());
            ws_.SetFieldBothScenes(a, F::ShelfQ, s->sQ());
            ws_.SetFieldBothScenes(a, F::EQdisabled, s->EQdisabled() ? 1 : 0);
            ws_.SetFieldBothScenes(a, F::Gain, model::RoundHalfEven(s->Value()));
            host_.RedrawBand(b);
        } else {
            WriteFilterSlider(*s, a, b);
        }
    } else if (a >= model::kModeScopedEnd) {
        if (model::SceneSlot* slot = ws_.ParamStore.Slot(a, 0))
            slot->Value = model::RoundHalfEven(s->Value());
    } else {
        ws_.SetValueBothScenes(a, model::RoundHalfEven(s->Value()));
    }

    s->SetEnabled(false);
    Send(a);
    s->SetEnabled(true);
}

void ChangeDispatch::ListChanged(int i, int sel) {
    controls::MComboBox* list = controls_.Combo(i);
    if (!list) return;
    const int a = list->Addr();
    if (a < 0) return;
    if (a < model::kModeScopedEnd) undo_.PushUndo();
    ws_.SetValueBothScenes(a, sel);

    const QString& tag = list->EQindex();
    if (tag == QLatin1String(kRevSelect)) {
        host_.SetEffectWindowEnabled(sel == 0);
        if (sel >= 1 && sel <= 4) {
            for (const RoomPreset& p : kRoomPresets) {
                const int v = p.Values[sel - 1];
                if (controls::MScrollBar* s = controls_.Slider(p.Slider)) s->SetValue(v);
                ws_.SetSceneValue(p.Entry, v);
            }
        }
    } else if (!tag.isEmpty()) {
        const int b = BandOf(tag);
        if (graph::CurveBand* band = host_.Bands().At(b)) {
            band->GainOrType = sel;
            host_.RedrawBand(b);
        }
    }
    Send(a);
}

void ChangeDispatch::FlagButtonChanged(int i) {
    controls::MBtnFlag* b = controls_.Button(ControlArray::MyBTN, i);
    if (!b) return;
    const int a = b->Addr();
    // An unbound button changes nothing: no empty undo step either.
    if (a < 0) return;
    if (a < model::kModeScopedEnd) undo_.PushUndo();
    ws_.SetValueBothScenes(a, b->Value());
    Send(a);
}

void ChangeDispatch::ChannelMuteChanged(int i) {
    controls::MBtnFlag* b = controls_.Button(ControlArray::MyMute, i);
    if (!b) return;
    int entry = -1;
    for (const MadeControl& m : controls_.All())
        if (m.Widget == b) entry = controls_.EntryOf(m);
    model::SceneSlot* slot = ws_.ParamStore.Slot(entry, 0);
    if (!slot) return;
    slot->Value = b->Value();
    Send(entry);
    host_.RefreshPage();
}

void ChangeDispatch::SingleMuteChanged(int i) {
    controls::MBtnFlag* b = controls_.Button(ControlArray::SingleMute, i);
    model::SceneSlot* slot = ws_.ParamStore.Slot(model::entry::kSingleMute0 + i, 0);
    if (!b || !slot) return;
    slot->Value = b->Value();
    host_.RefreshPage();
    Send(model::entry::kSingleMute0 + i);
}

void ChangeDispatch::OptionPressed(int i) {
    for (int k = 0; k < 4; ++k)
        if (auto* b = controls_.Button(ControlArray::OptionFBX, k)) b->SetValue(k == i ? 1 : 0);
    undo_.PushUndo();
    ws_.SetValueBothScenes(kOptionEntry, i);
    Send(kOptionEntry);
}

void ChangeDispatch::Option2Pressed(int i) {
    for (int k = 0; k < 4; ++k)
        if (auto* b = controls_.Button(ControlArray::OptionFBX2, k)) b->SetValue(k == i ? 1 : 0);
    if (model::SceneSlot* slot = ws_.ParamStore.Slot(model::entry::kOptionGroupPage2, 0))
        slot->Value = i;
    Send(model::entry::kOptionGroupPage2);
}

void ChangeDispatch::Connect() {
    for (const MadeControl& m : controls_.All()) {
        const int i = m.Decl->Index;
        switch (m.Decl->Array) {
            case ControlArray::MyScrollBar:
                QObject::connect(static_cast<controls::MScrollBar*>(m.Widget),
                                 &controls::MScrollBar::Scroll, m.Widget,
                                 [this, i] { SliderMoved(i); });
                break;
            case ControlArray::MyComboBox:
                QObject::connect(static_cast<controls::MComboBox*>(m.Widget),
                                 &controls::MComboBox::Click, m.Widget,
                                 [this, i](int s) { ListChanged(i, s); });
                break;
            default: {
                auto* b = static_cast<controls::MBtnFlag*>(m.Widget);
                const ControlArray array = m.Decl->Array;
                QObject::connect(b, &controls::MBtnFlag::Click, b, [this, array, i] {
                    switch (array) {
                        case ControlArray::MyBTN: FlagButtonChanged(i); break;
                        case ControlArray::MyMute: ChannelMuteChanged(i); break;
                        case ControlArray::SingleMute: SingleMuteChanged(i); break;
                        case ControlArray::OptionFBX: OptionPressed(i); break;
                        case ControlArray::OptionFBX2: Option2Pressed(i); break;
                        default: break;
                    }
                });
                break;
            }
        }
    }
}

}  // namespace vellora::editor
