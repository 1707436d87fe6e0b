// Editing the bands of the response graph by mouse, keyboard and wheel: picking a handle,
// dragging frequency and gain (Q with the right button), stepping by keys, and the deferred
// paint-and-send that merges a burst of edits into one write.
#pragma once

#include <QPoint>
#include <QRect>

#include <cstdint>

#include "graph/curve_band.h"
#include "graph/response_graph.h"
#include "graph/slider_host.h"
#include "model/clock.h"
#include "model/workspace.h"
#include "storage/param_writer.h"
#include "storage/undo_redo.h"

namespace vellora::graph {

/// What the editing needs of the window that shows the graph.
class GraphEditHost {
public:
    virtual ~GraphEditHost() = default;
    /// The band sliders of the window; null when there are none.
    virtual SliderHost* Sliders() = 0;
    /// (Re)starts tmrNoOper: 700 ms after the last edit the fill animation begins.
    virtual void StartNoOper() = 0;
    /// Stops tmrNoOper and the fill animation (tmrGradient).
    virtual void StopFade() = 0;
};

/// Key codes the editing takes.
inline constexpr int kKeyEnd = 35;    ///< Q (or shelf Q) down
inline constexpr int kKeyHome = 36;   ///< Q (or shelf Q) up
inline constexpr int kKeyLeft = 37;   ///< long press: frequency down; short: previous band
inline constexpr int kKeyUp = 38;     ///< gain up 0.1 dB
inline constexpr int kKeyRight = 39;  ///< long press: frequency up; short: next band
inline constexpr int kKeyDown = 40;   ///< gain down 0.1 dB

enum class MouseButton { Left, Right, Middle };

class GraphEditor {
public:
    static constexpr int kHitRadius = 13;             ///< px from a handle's centre that picks it
    static constexpr int kQStepPixels = 6;            ///< a right drag steps Q once per 6 px
    static constexpr int kNoSend = 255;               ///< PendingSend: nothing to send
    static constexpr std::int64_t kDrawWaveMs = 1;    ///< tmrDrawWave, one-shot
    static constexpr std::int64_t kLongPressMs = 50;  ///< tmrLongPress
    static constexpr int kShortPressTicks = 4;        ///< up to 4 ticks is a short press
    static constexpr std::int64_t kWheelMs = 10;      ///< Timer7, one-shot
    static constexpr int kWheelNotch = 120;           ///< wheel delta of one notch

    /// Every reference outlives the editor. Edits go into `ws` under the scene rule, snapshots
    /// into `undo`, sends through `writer` while its link is up; all timers run on `clock`.
    GraphEditor(ResponseGraph& graph, model::Workspace& ws, model::Clock& clock,
                storage::UndoRedo& undo, storage::ParamWriter& writer, GraphEditHost& host);
    GraphEditor(const GraphEditor&) = delete;
    GraphEditor& operator=(const GraphEditor&) = delete;

    /// Makes `position` (0..16) the selected band, recomputes it and the sum, restarts the
    /// fade and schedules a paint. Also for a band whose slider or list changed.
    void SelectBand(int position);
    /// Copies the selected band into the store (current scene, and the other scene for an
    /// entry that is not kept per scene) and into its slider.
    void WriteBack();
    /// Moves the selected band to (x, y) in logical pixels of the graph (frequency, and gain of
    /// an EQ band) unless `positionFixed`; then writes it back and schedules paint and send.
    void ApplyDrag(double x, double y, bool positionFixed);

    /// The square of logical pixels around a handle's centre within which a press picks it.
    [[nodiscard]] static QRect HitRect(QPoint centre);
    /// The band a press at (x, y) (logical pixels of the graph) picks: the first editable one
    /// in list order whose handle is within kHitRadius; -1 when there is none.
    [[nodiscard]] int BandAt(double x, double y) const;
    /// Selects the band as a click on its handle does (no drag follows); false, changing
    /// nothing, when the band is not editable.
    bool ClickBand(int position);

    /// MouseDown on the graph, x and y in logical pixels of the graph panel.
    void Press(double x, double y, MouseButton button);
    /// MouseMove: acts only while a band is being dragged.
    void Move(double x, double y);
    /// MouseUp of any button.
    void Release();
    /// KeyDown with one of the key codes above (a repeat of a held key arrives again); returns
    /// whether the key is one the graph takes, whether or not it changed anything.
    bool KeyDown(int key);
    /// KeyUp; auto-repeat releases must not be passed.
    bool KeyUp(int key);
    /// The graph lost the keyboard: a held arrow key stops stepping and, its release never
    /// arriving, moves no selection.
    void EndHold();
    /// A wheel message over the graph: `delta` in eighths of a degree (120 per notch). Only one
    /// notch with no key or with Ctrl alone is taken; returns whether it was.
    bool Wheel(int delta, bool ctrl, bool otherKeys);

    // The editing state, for the window and the tests.
    [[nodiscard]] bool Dragging() const { return dragging_; }
    [[nodiscard]] bool QDrag() const { return q_drag_; }
    [[nodiscard]] int PendingSend() const { return pending_send_; }
    [[nodiscard]] bool KeyHeld() const { return key_held_; }
    [[nodiscard]] int HeldTicks() const { return held_ticks_; }

private:
    [[nodiscard]] int FreqLimit(const CurveBand& band, int index) const;
    void StartDrawWave();
    void DrawWaveTick();
    void LongPressTick();
    void WheelTick();
    void MoveSelection(bool right);

    ResponseGraph& graph_;
    model::Workspace& ws_;
    storage::UndoRedo& undo_;
    storage::ParamWriter& writer_;
    GraphEditHost& host_;

    model::RepeatingTimer draw_wave_;   // tmrDrawWave
    model::RepeatingTimer long_press_;  // tmrLongPress
    model::RepeatingTimer wheel_;       // Timer7

    bool dragging_ = false;
    bool q_drag_ = false;
    int32_t ref_x_ = 0;
    int pending_send_ = kNoSend;
    bool key_held_ = false;
    bool held_left_ = false;
    int32_t held_ticks_ = 0;
    int wheel_key_ = 0;
};

}  // namespace vellora::graph
