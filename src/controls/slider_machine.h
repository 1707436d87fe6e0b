// The behaviour of the parameter slider without a window: its properties, position and flag
// bit, and what a press, move, release, click, key, wheel, entry-box commit or repeat tick does.
// The widget forwards input here and carries out what the machine asks through SliderEvents.
#pragma once

#include <QVariantMap>

#include <optional>
#include <string>

#include "controls/slider_layout.h"
#include "model/clock.h"

namespace vellora::controls {

class ControlLookSource;

/// The properties a slider is created with, as the windows' design data gives them.
struct SliderStored {
    int ScrollBarType = 0;
    int HScrollSize = 0;
    int ValueType = 0;
    int MaxValue = 80;
    bool Enabled = true;
    bool TVisible = true;
    int LabelID = 105;
    int EQNormalStyle = 0;
    int QType = 0;
    int Freq = 86;  ///< FreqIndex(100)
    int Q = 10;     ///< QIndex(0.7)
    int sQ = 8;     ///< QIndex(0.6)
    int MuteRAMindex = 0;

    /// Reads the design-data keys ("ScrollBarType", "Qtype", "sQ", ...); absent keys keep the
    /// defaults above, values that are not whole numbers are ignored.
    static SliderStored FromBag(const QVariantMap& bag);
};

/// What the machine asks of its window.
class SliderEvents {
public:
    virtual ~SliderEvents() = default;
    virtual void OnScroll() = 0;
    virtual void OnClick() = 0;
    virtual void OnMouseIn() = 0;
    virtual void OnRepaint() = 0;
    virtual void OnResize(int width, int height) = 0;
    /// Shows the entry box at `box` with `text` (or updates the text of a visible box).
    virtual void OnEntryShow(IRect box, const std::string& text) = 0;
    virtual void OnEntryHide() = 0;
    /// Gives the entry box the focus and selects its whole text.
    virtual void OnEntryFocus() = 0;
    /// true: the control's own pointer; false: the default pointer.
    virtual void OnCursor(bool own) = 0;
};

/// Arrow keys by their key codes.
enum class SliderKey { Left = 37, Up = 38, Right = 39, Down = 40 };

/// Entry box edit targets.
enum class EntryTarget { Gain = 0, Freq = 1, Q = 2 };

class SliderMachine {
public:
    static constexpr std::int64_t kRepeatIntervalMs = 50;
    static constexpr int kRepeatIdleTicks = 4;  ///< ticks before the first step (250 ms)

    /// `clock`, `look` and `events` outlive the machine.
    SliderMachine(model::Clock& clock, const ControlLookSource& look, SliderEvents& events,
                  const SliderStored& stored = {});
    SliderMachine(const SliderMachine&) = delete;
    SliderMachine& operator=(const SliderMachine&) = delete;

    // Properties. Setting never raises Scroll.
    [[nodiscard]] int ScrollBarType() const { return form_; }
    void SetScrollBarType(int form);  ///< 0..7 (others pulled in); resizes
    [[nodiscard]] int HScrollSize() const { return h_scroll_size_; }
    void SetHScrollSize(int size);  ///< 0..4 (others pulled in); resizes
    [[nodiscard]] int ValueType() const { return value_type_; }
    void SetValueType(int type);  ///< forced to 10 on the fader and 15 on the band strip
    [[nodiscard]] int MaxValue() const { return max_value_; }
    void SetMaxValue(int max);  ///< <= 0 stores 1; forced to 150 / 360 on fader / band strip
    /// The host's value; flagged forms add 250 while the flag bit is set.
    [[nodiscard]] double Value() const;
    void SetValue(double value);  ///< converts, rounds half to even, clamps; repaints
    [[nodiscard]] bool Enabled() const { return enabled_; }
    void SetEnabled(bool on) { enabled_ = on; }
    [[nodiscard]] bool TVisible() const { return t_visible_; }
    void SetTVisible(bool on);
    [[nodiscard]] int LabelID() const { return label_id_; }
    void SetLabelID(int id);
    [[nodiscard]] int EQNormalStyle() const { return eq_normal_style_; }
    void SetEQNormalStyle(int c);  ///< 0 short, 1 tall; resizes and repaints
    [[nodiscard]] int QType() const { return q_type_; }
    void SetQType(int t) { q_type_ = t; }
    [[nodiscard]] int Freq() const { return freq_; }
    void SetFreq(int index) { freq_ = index; }
    [[nodiscard]] int Q() const { return q_; }
    void SetQ(int index) { q_ = index; }
    [[nodiscard]] int sQ() const { return s_q_; }
    void SetsQ(int index) { s_q_ = index; }
    [[nodiscard]] bool EQdisabled() const { return eq_disabled_; }
    void SetEQdisabled(bool off) { eq_disabled_ = off; }
    [[nodiscard]] int MuteRAMindex() const { return mute_ram_index_; }
    void SetMuteRAMindex(int index) { mute_ram_index_ = index; }
    [[nodiscard]] int Addr() const { return addr_; }
    void SetAddr(int addr) { addr_ = addr; }
    [[nodiscard]] bool ForceShowFocus() const { return force_show_focus_; }
    void SetForceShowFocus(bool on);

    // State.
    [[nodiscard]] int Position() const { return position_; }
    [[nodiscard]] bool Flag() const { return flag_; }
    [[nodiscard]] bool FlagPressed() const { return pending_toggle_; }
    [[nodiscard]] bool Flagged() const { return HasFlagBit(form_, h_scroll_size_); }
    [[nodiscard]] const SliderLayout& Layout() const { return layout_; }
    [[nodiscard]] bool Locked() const;
    [[nodiscard]] bool Dragging() const { return dragging_; }
    [[nodiscard]] bool Repeating() const { return repeat_.IsActive(); }
    [[nodiscard]] int RepeatTarget() const { return repeat_target_; }
    [[nodiscard]] bool PointerInside() const { return pointer_inside_; }
    [[nodiscard]] bool EntryVisible() const { return entry_visible_; }
    [[nodiscard]] EntryTarget EntryEditTarget() const { return entry_target_; }
    /// The thumb centre along the track for the current position.
    [[nodiscard]] double Centre() const;
    /// Whether the machine takes input at all (TVisible, Enabled, not locked).
    [[nodiscard]] bool Accepting() const;

    // Input, in the control's logical pixels.
    void Press(Pt p);
    void Move(Pt p);
    void Release();
    /// The click that follows a release over the control, and the double click: one step.
    void ClickStep();
    /// Returns whether the key was used or swallowed (false lets it go on to the parent).
    bool Key(SliderKey key);
    /// `delta` in eighths of a degree (one notch = 120); `plain` when no key or button is held.
    bool Wheel(int delta, bool plain);
    /// Enter in the entry box with its current text.
    void EntryCommit(const std::string& text);
    void EntryFocusLost();
    void PointerEnter();
    void PointerLeave();

    /// A position set by assistive technology, as a user's edit: clamped into 0..MaxValue,
    /// ignored while input is blocked (hidden, disabled, locked, band switched off); raises
    /// Scroll and repaints when the position changes. Returns whether it changed.
    bool UserSetPosition(int p);

    /// Raises Scroll for the host.
    void RaiseEventScroll() { events_.OnScroll(); }

private:
    void ApplyForms();
    void Relayout();
    void SetPosition(int p);
    void StepFreq(int delta);
    void StepQ(bool up);
    void RepeatTick();
    [[nodiscard]] double AlongTrack(Pt p) const;
    void OpenEntry(int row);
    void HideEntry();
    [[nodiscard]] std::string EntryTextFor(EntryTarget target) const;

    const ControlLookSource& look_;
    SliderEvents& events_;

    int form_ = 0;
    int h_scroll_size_ = 0;
    int value_type_ = 0;
    int max_value_ = 80;
    bool enabled_ = true;
    bool t_visible_ = true;
    int label_id_ = 105;
    int eq_normal_style_ = 0;
    int q_type_ = 0;
    int freq_ = 86;
    int q_ = 10;
    int s_q_ = 8;
    bool eq_disabled_ = false;
    int mute_ram_index_ = 0;
    int addr_ = -1;
    bool force_show_focus_ = false;

    SliderLayout layout_;
    int position_ = 40;
    bool flag_ = false;
    Pt press_;
    bool moved_ = false;
    bool dragging_ = false;
    double grab_offset_ = 0.0;
    int knob_press_position_ = 0;
    double knob_press_y_ = 0.0;
    int last_reported_ = 0;
    model::RepeatingTimer repeat_;
    int repeat_ticks_ = 0;
    int repeat_target_ = 0;
    bool entry_visible_ = false;
    EntryTarget entry_target_ = EntryTarget::Gain;
    bool select_all_on_release_ = false;
    bool pointer_inside_ = false;
    Pt pointer_;
    bool pending_toggle_ = false;
};

}  // namespace vellora::controls
