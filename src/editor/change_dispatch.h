// What happens when the user changes a control of the editor: an undo step, the store under
// the scene rule, the response graph, and the device when the link is up, in that order.
#pragma once

#include <QString>

#include "editor/control_set.h"
#include "graph/curve_band.h"
#include "model/workspace.h"
#include "storage/param_writer.h"
#include "storage/undo_redo.h"

namespace vellora::editor {

/// What the handlers need of the window around them.
class DispatchHost {
public:
    virtual ~DispatchHost() = default;
    /// The response graph's band list of the shown page.
    virtual graph::CurveList& Bands() = 0;
    /// Recomputes band `position` and the sum, and redraws the graph.
    virtual void RedrawBand(int position) = 0;
    /// The effects page's shown view (0 echo, 1 reverb, 2 effect).
    [[nodiscard]] virtual int EffectView() const = 0;
    /// RefreshPage of the shown page, the graph included.
    virtual void RefreshPage() = 0;
    /// The button that opens the professional reverb window is usable (MBtnFlag2).
    virtual void SetEffectWindowEnabled(bool on) = 0;
};

/// The reverb room presets of the room list (rooms 1..4): the slider, its entry and the value
/// for each room. The store keeps these values as listed, the sliders show them clamped.
struct RoomPreset {
    int Slider;
    int Entry;
    int Values[4];
};
inline constexpr RoomPreset kRoomPresets[] = {
    {140, 782, {9982, 10156, 9808, 9112}},
    {135, 781, {80, 118, 160, 153}},
    {138, 788, {543, 630, 700, 575}},
    {139, 784, {0, 0, 0, 0}},
};
inline constexpr const char* kRevSelect = "RevSelect";

class ChangeDispatch {
public:
    /// Every reference outlives the dispatch.
    ChangeDispatch(model::Workspace& ws, ControlSet& controls, storage::UndoRedo& undo,
                   storage::ParamWriter& writer, DispatchHost& host);

    /// MyScrollBar(i) raised Scroll.
    void SliderMoved(int i);
    /// MyComboBox(i) changed to item `s`.
    void ListChanged(int i, int s);
    /// MyBTN(i) changed its value.
    void FlagButtonChanged(int i);
    /// MyMute(i) changed: slot 0 of the entry its text names, sent, the page refreshed.
    void ChannelMuteChanged(int i);
    /// SingleMute(i): slot 0 of 2593 + i.
    void SingleMuteChanged(int i);
    /// OptionFBX(i) pressed: the first microphone page's option group (entry 277).
    void OptionPressed(int i);
    /// OptionFBX2(i) pressed: the second microphone page's option group (entry 2573).
    void Option2Pressed(int i);

    /// Connects every control of the set to its handler.
    void Connect();

private:
    void Send(int entry);
    void WriteFilterSlider(controls::MScrollBar& s, int a, int band);

    model::Workspace& ws_;
    ControlSet& controls_;
    storage::UndoRedo& undo_;
    storage::ParamWriter& writer_;
    DispatchHost& host_;
};

}  // namespace vellora::editor
