// The undo and redo history of edits: up to 30 snapshots of the current scene's settings of
// menu kinds 0..7, gestures grouped on an injected clock, and undo and redo that write back
// and send only what differs.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "model/clock.h"
#include "model/workspace.h"
#include "storage/param_writer.h"

namespace vellora::storage {

/// What the editor does around the history. Every method does nothing unless overridden.
class UndoObserver {
public:
    virtual ~UndoObserver() = default;
    /// The enabled states of cmdUndo and cmdRedo; sent after every history operation.
    virtual void UndoButtonsChanged(bool /*canUndo*/, bool /*canRedo*/) {}
    /// frmEQ is disabled (false) while a snapshot is written back and enabled (true) after
    /// it, also when a send failed.
    virtual void SetEditorEnabled(bool /*enabled*/) {}
    /// After an undo or redo, also a failed one: RefreshPage, which redraws the graph too.
    virtual void RefreshPage() {}
};

enum class UndoResult {
    NothingToDo,  ///< empty history or nothing to redo: nothing changed, nothing sent
    Done,
    SendFailed,  ///< stopped at the first unanswered write; see Undo and Redo
};

class UndoRedo {
public:
    static constexpr int kHistorySize = 30;          ///< positions 0..29
    static constexpr int64_t kMoveTimeoutMs = 1000;  ///< tmrMoveTimeout: quiet that ends a gesture
    static constexpr int kUndoEnd = model::kModeScopedEnd;  ///< ParamIndex 0..2047 take part

    /// `markModified` sets the process's Modified flag (owned by the link state); every push,
    /// undo and redo calls it and nothing here clears the flag. All references must outlive
    /// the history. The history starts empty.
    UndoRedo(model::Workspace& workspace, model::Clock& clock, std::function<void()> markModified,
             UndoObserver* observer = nullptr);
    ~UndoRedo();
    UndoRedo(const UndoRedo&) = delete;
    UndoRedo& operator=(const UndoRedo&) = delete;

    /// Takes a snapshot of the current state (before a change). Ends an open gesture, so a
    /// button or list change is a step of its own. Push, record, undo and redo are ignored
    /// while a snapshot is being written back (the sends let other events run).
    void PushUndo();
    /// PushUndo once per gesture: only when no gesture is open. Every call restarts the
    /// 1000 ms tmrMoveTimeout; the gesture ends when it runs out.
    void RecordUndo();
    /// Returns to the state before the last step: ends an open gesture, saves the state being
    /// left for redo, then writes back the snapshot below it (UndoPos ends one lower, or two
    /// when the full history dropped its oldest snapshot for the saved one). Changed entries
    /// are sent through `writer` while its link is up; at the first failed send the remaining
    /// entries keep their current values and the positions stay moved.
    UndoResult Undo(ParamWriter& writer);
    /// Ends an open gesture and writes back the snapshot at UndoPos + 2 (UndoPos moves up by
    /// one), sent as for Undo. A step recorded after an undo leaves UndoTop as it was, so redo
    /// still reaches the states above it.
    UndoResult Redo(ParamWriter& writer);
    /// Empties the history (the store was replaced as a whole or the scene changed) and ends
    /// an open gesture, so the next change starts a step of its own.
    void ClearUndo();

    [[nodiscard]] int32_t UndoPos() const { return undo_pos_; }  ///< -1 when empty
    [[nodiscard]] int32_t UndoTop() const { return undo_top_; }  ///< -1 when empty
    [[nodiscard]] bool GestureOpen() const { return gesture_open_; }
    [[nodiscard]] bool CanUndo() const { return undo_pos_ != -1; }
    [[nodiscard]] bool CanRedo() const { return undo_top_ != -1 && undo_top_ >= undo_pos_ + 2; }

private:
    /// The fields of one SceneSlot that a snapshot keeps.
    struct Cell {
        int32_t Value;
        int32_t Freq;
        int32_t Gain;
        int32_t Q;
        int32_t ShelfQ;
        uint8_t QType;
        bool EQdisabled;
    };

    static bool SameBand(const model::SceneSlot& slot, const Cell& cell);
    static void SetBand(model::SceneSlot& slot, const Cell& cell);
    void Push();
    void EndGesture();
    void BuildLayout();
    Cell* Row(int position);
    UndoResult Apply(int position, ParamWriter& writer);
    void Finish();

    model::Workspace& ws_;
    model::Clock& clock_;
    std::function<void()> mark_modified_;
    UndoObserver* observer_;

    int32_t undo_pos_ = -1;
    int32_t undo_top_ = -1;
    bool gesture_open_ = false;
    bool applying_ = false;
    model::TimerId move_timeout_ = 0;

    /// The entries below kUndoEnd defined in scene 0 or 1 when the history was started,
    /// in index order; every snapshot is one row of cells in this order.
    std::vector<int> layout_;
    /// kHistorySize rows, a ring: position p lives in row (first_row_ + p) % kHistorySize.
    std::vector<Cell> cells_;
    int first_row_ = 0;
};

}  // namespace vellora::storage
