// Slider behaviour: property rules, press / move / release, click steps, keys, wheel, the
// entry box of the band strip and the 50 ms repeat timer.
#include "controls/slider_machine.h"

#include <algorithm>

#include "controls/control_look_source.h"
#include "controls/design_bag.h"
#include "controls/slider_values.h"
#include "model/value_scales.h"

namespace vellora::controls {

SliderStored SliderStored::FromBag(const QVariantMap& bag) {
    SliderStored s;
    ReadInt(bag, "ScrollBarType", s.ScrollBarType);
    ReadInt(bag, "HScrollSize", s.HScrollSize);
    ReadInt(bag, "ValueType", s.ValueType);
    ReadInt(bag, "MaxValue", s.MaxValue);
    ReadBool(bag, "Enabled", s.Enabled);
    ReadBool(bag, "TVisible", s.TVisible);
    ReadInt(bag, "LabelID", s.LabelID);
    ReadInt(bag, "EQNormalStyle", s.EQNormalStyle);
    ReadInt(bag, "Qtype", s.QType);
    ReadInt(bag, "Freq", s.Freq);
    ReadInt(bag, "Q", s.Q);
    ReadInt(bag, "sQ", s.sQ);
    ReadInt(bag, "MuteRAMindex", s.MuteRAMindex);
    return s;
}

SliderMachine::SliderMachine(model::Clock& clock, const ControlLookSource& look,
                             SliderEvents& events, const SliderStored& stored)
    : look_(look), events_(events), repeat_(clock, kRepeatIntervalMs, [this] { RepeatTick(); }) {
    form_ = std::clamp(stored.ScrollBarType, 0, kFormCount - 1);
    h_scroll_size_ = std::clamp(stored.HScrollSize, 0, kHScrollSizeCount - 1);
    value_type_ = stored.ValueType;
    max_value_ = std::max(1, stored.MaxValue);
    enabled_ = stored.Enabled;
    t_visible_ = stored.TVisible;
    label_id_ = stored.LabelID;
    eq_normal_style_ = stored.EQNormalStyle == 1 ? 1 : 0;
    q_type_ = stored.QType;
    freq_ = stored.Freq;
    q_ = stored.Q;
    s_q_ = stored.sQ;
    mute_ram_index_ = stored.MuteRAMindex;
    ApplyForms();
    layout_ = ComputeLayout(form_, h_scroll_size_, eq_normal_style_);
    position_ = form_ == kBandStrip ? 240 : model::RoundHalfEven(max_value_ / 2.0);
}

void SliderMachine::ApplyForms() {
    if (form_ == kFader) {
        value_type_ = kFaderValueType;
        max_value_ = kFaderMaxValue;
    } else if (form_ == kBandStrip) {
        value_type_ = kBandStripValueType;
        max_value_ = kBandStripMaxValue;
    }
    position_ = std::min(position_, max_value_);
}

void SliderMachine::Relayout() {
    layout_ = ComputeLayout(form_, h_scroll_size_, eq_normal_style_);
    events_.OnResize(layout_.width, layout_.height);
}

void SliderMachine::SetScrollBarType(int form) {
    form_ = std::clamp(form, 0, kFormCount - 1);
    ApplyForms();
    Relayout();
}

void SliderMachine::SetHScrollSize(int size) {
    h_scroll_size_ = std::clamp(size, 0, kHScrollSizeCount - 1);
    Relayout();
}

void SliderMachine::SetValueType(int type) {
    value_type_ = type;
    ApplyForms();
    events_.OnRepaint();
}

void SliderMachine::SetMaxValue(int max) {
    max_value_ = std::max(1, max);
    ApplyForms();
    events_.OnRepaint();
}

double SliderMachine::Value() const {
    const double v = ValueFromPosition(value_type_, position_);
    return Flagged() ? JoinFlag(flag_, v) : v;
}

void SliderMachine::SetValue(double value) {
    if (Flagged()) {
        const FlaggedValue split = SplitFlag(value);
        flag_ = split.flag;
        value = split.value;
    }
    position_ = std::clamp(PositionFromValue(value_type_, value), 0, max_value_);
    events_.OnRepaint();
}

void SliderMachine::SetTVisible(bool on) {
    t_visible_ = on;
    events_.OnRepaint();
}

void SliderMachine::SetLabelID(int id) {
    label_id_ = id;
    events_.OnRepaint();
}

void SliderMachine::SetEQNormalStyle(int c) {
    eq_normal_style_ = c == 1 ? 1 : 0;
    // The track length follows the style at once, so the thumb and the rows stay in step.
    Relayout();
    events_.OnRepaint();
}

void SliderMachine::SetForceShowFocus(bool on) {
    if (on == force_show_focus_) return;
    force_show_focus_ = on;
    events_.OnRepaint();
}

bool SliderMachine::Locked() const {
    return look_.SliderLocked(addr_);
}

bool SliderMachine::Accepting() const {
    return t_visible_ && enabled_ && !Locked();
}

double SliderMachine::Centre() const {
    return ThumbCentre(layout_, position_, max_value_);
}

double SliderMachine::AlongTrack(Pt p) const {
    return layout_.Vertical() ? p.y : p.x;
}

void SliderMachine::SetPosition(int p) {
    position_ = std::clamp(p, 0, max_value_);
}

bool SliderMachine::UserSetPosition(int p) {
    if (!Accepting() || eq_disabled_) return false;
    p = std::clamp(p, 0, max_value_);
    if (p == position_) return false;
    position_ = p;
    events_.OnScroll();
    events_.OnRepaint();
    return true;
}

std::string SliderMachine::EntryTextFor(EntryTarget target) const {
    switch (target) {
        case EntryTarget::Gain:
            return model::GainText(position_ + 10);
        case EntryTarget::Freq:
            return FreqText(freq_);
        case EntryTarget::Q:
            return model::QText(q_type_ != 0 ? s_q_ : q_);
    }
    return {};
}

void SliderMachine::OpenEntry(int row) {
    entry_target_ = static_cast<EntryTarget>(row);
    entry_visible_ = true;
    events_.OnEntryShow(EntryBoxRect(row, eq_normal_style_), EntryTextFor(entry_target_));
}

void SliderMachine::HideEntry() {
    if (!entry_visible_) return;
    entry_visible_ = false;
    events_.OnEntryHide();
}

void SliderMachine::Press(Pt p) {
    if (!Accepting()) return;
    const int c = eq_normal_style_;
    // The band's on/off switch. The press counts as moved so that the click that follows
    // makes no step of the gain.
    if (form_ == kBandStrip && BandSwitchRow(p.y, c)) {
        eq_disabled_ = !eq_disabled_;
        moved_ = true;
        events_.OnScroll();
        events_.OnRepaint();
        return;
    }
    pending_toggle_ = false;
    if (Flagged() && FlagButtonHit(layout_, h_scroll_size_, p)) {
        pending_toggle_ = true;
        moved_ = true;  // the toggle is the whole gesture: no step on the click
        events_.OnRepaint();
        return;
    }
    if (eq_disabled_) return;
    press_ = p;
    moved_ = false;
    events_.OnClick();
    if (form_ == kBandStrip) {
        if (const auto row = BandTextRow(p.y, c)) {
            OpenEntry(*row);
            select_all_on_release_ = true;
            moved_ = true;
            return;
        }
        HideEntry();
        if (const auto shape = BandShapeAt(p)) {
            q_type_ = *shape;
            events_.OnScroll();
            events_.OnRepaint();
            moved_ = true;
            return;
        }
    }
    if (layout_.Knob()) {
        // Only the knob's square turns it; the value plate below takes no drag.
        if (p.y < layout_.width) {
            dragging_ = true;
            knob_press_position_ = position_;
            knob_press_y_ = p.y;
        }
        return;
    }
    const double centre = Centre();
    if (ThumbHit(layout_, centre, p)) {
        dragging_ = true;
        grab_offset_ = model::RoundHalfEven(AlongTrack(p) - centre);
        last_reported_ = position_;
        return;
    }
    repeat_ticks_ = 0;
    repeat_target_ = PositionAt(layout_, AlongTrack(p), max_value_);
    repeat_.Start();
}

void SliderMachine::Move(Pt p) {
    if (!Accepting() || eq_disabled_) return;
    pointer_ = p;
    if (p.y != press_.y || p.x != press_.x) moved_ = true;
    if (dragging_) {
        if (layout_.Knob()) {
            const double twipsDown = (p.y - knob_press_y_) * kTwipsPerPixel;
            SetPosition(model::RoundHalfEven(knob_press_position_ - twipsDown / 100.0));
            events_.OnScroll();
        } else {
            const double along = layout_.Vertical() ? p.y - grab_offset_ : p.x;
            const int np = PositionAt(layout_, along, max_value_);
            position_ = np;
            if (np != last_reported_) {
                last_reported_ = np;
                events_.OnScroll();
            }
        }
        events_.OnRepaint();
    }
    if (repeat_.IsActive()) repeat_target_ = PositionAt(layout_, AlongTrack(p), max_value_);
}

void SliderMachine::Release() {
    if (!t_visible_) return;
    if (pending_toggle_) {
        pending_toggle_ = false;
        flag_ = !flag_;
        events_.OnScroll();
        events_.OnRepaint();
    } else if (select_all_on_release_) {
        select_all_on_release_ = false;
        if (entry_visible_) events_.OnEntryFocus();
    }
    dragging_ = false;
    repeat_.Stop();
}

void SliderMachine::ClickStep() {
    if (!Accepting() || eq_disabled_ || moved_) return;
    if (form_ == kBandStrip && !force_show_focus_) {
        events_.OnScroll();  // the host selects this band
        return;
    }
    bool up = false;
    if (layout_.Knob()) {
        const double middle = layout_.width / 2.0;
        if (press_.x == middle) return;
        up = press_.x > middle;
    } else {
        const double centre = Centre();
        const double at = AlongTrack(press_);
        if (at == centre) return;
        up = layout_.Vertical() ? at < centre : at > centre;
    }
    Key(up ? SliderKey::Up : SliderKey::Down);
}

void SliderMachine::StepFreq(int delta) {
    freq_ = model::FreqClamp(freq_ + delta, false, 0, 0);
}

void SliderMachine::StepQ(bool up) {
    if (q_type_ != 0)
        s_q_ = model::ShelfQClamp(up ? model::StepUp(s_q_) : model::StepDown(s_q_));
    else
        q_ = model::QClamp(up ? model::StepUp(q_) : model::StepDown(q_));
}

bool SliderMachine::Key(SliderKey key) {
    if (!t_visible_) return false;
    if (!enabled_ || Locked() || eq_disabled_) return true;  // swallowed
    const bool up = key == SliderKey::Up || key == SliderKey::Right;
    const int delta = up ? 1 : -1;
    if (entry_visible_) {
        switch (entry_target_) {
            case EntryTarget::Gain: {
                const int step = model::GainClamp(position_ + 10 + delta);
                SetPosition(step - 10);
                break;
            }
            case EntryTarget::Freq:
                StepFreq(delta);
                break;
            case EntryTarget::Q:
                StepQ(up);
                break;
        }
        events_.OnEntryShow(EntryBoxRect(static_cast<int>(entry_target_), eq_normal_style_),
                            EntryTextFor(entry_target_));
        events_.OnScroll();
        events_.OnRepaint();
        return true;
    }
    if (form_ == kBandStrip) {
        const auto row = BandTextRow(pointer_.y, eq_normal_style_);
        if (row == 1 || row == 2) {
            if (row == 1)
                StepFreq(delta);
            else
                StepQ(up);
            events_.OnScroll();
            events_.OnRepaint();
            return true;
        }
    }
    if (!pointer_inside_) return true;
    bool changed = false;
    if (!up && position_ > 0) {
        --position_;
        changed = true;
    } else if (up && position_ < max_value_) {
        ++position_;
        changed = true;
    }
    if (changed) {
        events_.OnScroll();
        events_.OnRepaint();
    }
    return true;
}

bool SliderMachine::Wheel(int delta, bool plain) {
    if (!plain || (delta != 120 && delta != -120)) return false;
    return Key(delta > 0 ? SliderKey::Up : SliderKey::Down);
}

void SliderMachine::EntryCommit(const std::string& text) {
    if (!entry_visible_) return;
    float number = 0.0f;
    const bool isNumber = model::ParseGainDb(text, number);
    switch (entry_target_) {
        case EntryTarget::Gain:
            SetPosition(model::GainClamp(model::GainStep(isNumber ? text : "0.0")) - 10);
            break;
        case EntryTarget::Freq:
            freq_ = model::FreqClamp(model::FreqIndex(isNumber ? number : 100.0), false, 0, 0);
            break;
        case EntryTarget::Q: {
            const int index = model::QIndex(isNumber ? number : 0.70f);
            if (q_type_ != 0)
                s_q_ = model::ShelfQClamp(index);
            else
                q_ = model::QClamp(index);
            break;
        }
    }
    HideEntry();
    events_.OnScroll();
    events_.OnRepaint();
}

void SliderMachine::EntryFocusLost() {
    select_all_on_release_ = false;
    HideEntry();
}

void SliderMachine::PointerEnter() {
    if (pointer_inside_) return;
    pointer_inside_ = true;
    if (enabled_ && !Locked() && !eq_disabled_) events_.OnCursor(true);
    events_.OnMouseIn();
}

void SliderMachine::PointerLeave() {
    pointer_inside_ = false;
    events_.OnCursor(false);
    events_.OnRepaint();
}

void SliderMachine::RepeatTick() {
    if (++repeat_ticks_ <= kRepeatIdleTicks) return;
    repeat_ticks_ = kRepeatIdleTicks;
    if (position_ < repeat_target_)
        ++position_;
    else if (position_ > repeat_target_)
        --position_;
    // The held press has done its work: the click that ends it makes no extra step.
    moved_ = true;
    events_.OnRepaint();
    events_.OnScroll();
}

}  // namespace vellora::controls
