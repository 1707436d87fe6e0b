// The undo history: snapshot rows in a ring, the gesture timer, and writing a snapshot back
// entry by entry under the scene rule, sending each changed entry while the link is up.
#include "storage/undo_redo.h"

#include <cstddef>

namespace vellora::storage {

namespace {

UndoObserver& Silent() {
    static UndoObserver none;
    return none;
}

}  // namespace

bool UndoRedo::SameBand(const model::SceneSlot& slot, const Cell& cell) {
    return slot.QType == cell.QType && slot.Freq == cell.Freq && slot.Gain == cell.Gain &&
           slot.Q == cell.Q && slot.ShelfQ == cell.ShelfQ && slot.EQdisabled == cell.EQdisabled;
}

void UndoRedo::SetBand(model::SceneSlot& slot, const Cell& cell) {
    slot.QType = cell.QType;
    slot.Freq = cell.Freq;
    slot.Gain = cell.Gain;
    slot.Q = cell.Q;
    slot.ShelfQ = cell.ShelfQ;
    slot.EQdisabled = cell.EQdisabled;
}

UndoRedo::UndoRedo(model::Workspace& workspace, model::Clock& clock,
                   std::function<void()> markModified,
                   UndoObserver* observer)
    : ws_(workspace),
      clock_(clock),
      mark_modified_(std::move(markModified)),
      observer_(observer ? observer : &Silent()) {}

UndoRedo::~UndoRedo() {
    EndGesture();
}

void UndoRedo::PushUndo() {
    if (applying_) return;
    EndGesture();
    Push();
    Finish();
}

void UndoRedo::RecordUndo() {
    if (applying_) return;
    if (!gesture_open_) {
        gesture_open_ = true;
        Push();
        Finish();
    }
    clock_.Cancel(move_timeout_);
    move_timeout_ = clock_.CallAfter(kMoveTimeoutMs, [this] {
        move_timeout_ = 0;
        gesture_open_ = false;
    });
}

UndoResult UndoRedo::Undo(ParamWriter& writer) {
    if (applying_ || undo_pos_ == -1) return UndoResult::NothingToDo;
    EndGesture();
    Push();  // the state being left, so that redo can return to it
    const int target = undo_pos_ - 1;
    undo_pos_ -= 2;
    const UndoResult result = Apply(target, writer);
    observer_->RefreshPage();
    Finish();
    return result;
}

UndoResult UndoRedo::Redo(ParamWriter& writer) {
    if (applying_ || !CanRedo()) return UndoResult::NothingToDo;
    EndGesture();
    if (mark_modified_) mark_modified_();
    const int target = undo_pos_ + 2;
    undo_pos_ += 1;
    const UndoResult result = Apply(target, writer);
    observer_->RefreshPage();
    Finish();
    return result;
}

void UndoRedo::ClearUndo() {
    EndGesture();
    undo_pos_ = -1;
    undo_top_ = -1;
    Finish();
}

void UndoRedo::Push() {
    if (mark_modified_) mark_modified_();
    if (undo_top_ == -1) BuildLayout();
    if (undo_pos_ >= kHistorySize - 1) {
        first_row_ = (first_row_ + 1) % kHistorySize;  // the oldest row becomes position 29
        undo_pos_ = kHistorySize - 1;
    } else {
        ++undo_pos_;
    }
    if (undo_top_ < undo_pos_) undo_top_ = undo_pos_;

    Cell* row = Row(undo_pos_);
    const int scene = ws_.CurrentScene();
    for (std::size_t i = 0; i < layout_.size(); ++i) {
        const model::SceneSlot& s = *ws_.ParamStore.Slot(layout_[i], scene);
        row[i] = Cell{s.Value, s.Freq, s.Gain, s.Q, s.ShelfQ, s.QType, s.EQdisabled};
    }
}

void UndoRedo::EndGesture() {
    clock_.Cancel(move_timeout_);
    move_timeout_ = 0;
    gesture_open_ = false;
}

void UndoRedo::BuildLayout() {
    layout_.clear();
    for (int e = 0; e < kUndoEnd; ++e)
        if (ws_.ParamStore.Slot(e, 0)->Defined || ws_.ParamStore.Slot(e, 1)->Defined)
            layout_.push_back(e);
    cells_.assign(layout_.size() * kHistorySize, Cell{});
    first_row_ = 0;
}

UndoRedo::Cell* UndoRedo::Row(int position) {
    const auto row = static_cast<std::size_t>((first_row_ + position) % kHistorySize);
    return cells_.data() + row * layout_.size();
}

UndoResult UndoRedo::Apply(int position, ParamWriter& writer) {
    // The editor comes back on however the loop ends.
    struct EditorOff {
        UndoObserver& view;
        bool& applying;
        EditorOff(UndoObserver& v, bool& a) : view(v), applying(a) {
            applying = true;
            view.SetEditorEnabled(false);
        }
        ~EditorOff() {
            applying = false;
            view.SetEditorEnabled(true);
        }
    } off(*observer_, applying_);

    const Cell* row = Row(position);
    const int scene = ws_.CurrentScene();
    for (std::size_t i = 0; i < layout_.size(); ++i) {
        const int e = layout_[i];
        const Cell& cell = row[i];
        model::SceneSlot& current = *ws_.ParamStore.Slot(e, scene);
        if (!current.Defined) continue;
        model::SceneSlot* other = ws_.IsPerScene(e) ? nullptr : ws_.ParamStore.Slot(e, 1 - scene);
        if (current.FilterType == model::kEqBand) {
            if (SameBand(current, cell)) continue;
            SetBand(current, cell);
            if (other) SetBand(*other, cell);
        } else {
            if (current.Value == cell.Value) continue;
            current.Value = cell.Value;
            if (other) other->Value = cell.Value;
        }
        if (writer.LinkUp() && !writer.WriteParam(e)) return UndoResult::SendFailed;
    }
    return UndoResult::Done;
}

void UndoRedo::Finish() {
    observer_->UndoButtonsChanged(CanUndo(), CanRedo());
}

}  // namespace vellora::storage
