// The undo history over a workspace with the factory defaults: positions at and beyond 30
// steps, gestures in virtual time, the scene rule and menu kinds 8..10 on write-back, and
// what is sent with the link up, down or failing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/clock.h"
#include "model/workspace.h"
#include "storage/undo_redo.h"

namespace vellora::storage {
namespace {

using model::Field;

constexpr int kBand = 7;       // music EQ band 8, kept per scene
constexpr int kPlain = 272;    // microphone compressor step, shared by both scenes
constexpr int kFilter = 1031;  // main output high-pass frequency, kept per scene

/// Sends succeed until the `failAt`-th (0-based); each send notes the index and the value
/// the store holds for it at that moment in the current scene.
struct Writer : ParamWriter {
    explicit Writer(const model::Workspace& w) : ws(w) {}
    bool LinkUp() const override { return up; }
    bool WriteParam(int32_t index) override {
        const model::SceneSlot& s = *ws.ParamStore.Slot(index, ws.CurrentScene());
        sent.push_back({index, s.FilterType == model::kEqBand ? s.Gain : s.Value});
        return static_cast<int>(sent.size()) - 1 != failAt;
    }
    const model::Workspace& ws;
    bool up = true;
    int failAt = -1;
    std::vector<std::pair<int, int32_t>> sent;
};

struct View : UndoObserver {
    void UndoButtonsChanged(bool u, bool r) override { buttons = {u, r}; }
    void SetEditorEnabled(bool on) override { events.push_back(on ? "enable" : "disable"); }
    void RefreshPage() override { events.push_back("refresh"); }
    std::pair<bool, bool> buttons{true, true};
    std::vector<std::string> events;
};

struct Harness {
    Harness() {
        history.ClearUndo();  // as at start-up
        states.push_back(Copy());
    }
    std::unique_ptr<model::ParamTable> Copy() const {
        return std::make_unique<model::ParamTable>(ws->ParamStore);
    }
    // Edit number i: a band gain, a plain step or a filter frequency, each value new.
    void Edit(int i) {
        const int index[] = {kBand, kPlain, kFilter};
        ws->SetFieldBothScenes(index[i % 3], i % 3 ? Field::Value : Field::Gain, 100 + i);
    }
    // n separate changes as buttons make them; states[k] is the store after k of them.
    void Changes(int n) {
        for (int i = 0; i < n; ++i) {
            history.PushUndo();
            Edit(static_cast<int>(states.size()));
            states.push_back(Copy());
        }
    }
    // A band strip dragged: `moves` gain changes 100 ms apart.
    void Drag(int moves) {
        for (int i = 0; i < moves; ++i) {
            if (i) clock.AdvanceBy(100);
            history.RecordUndo();
            ws->SetFieldBothScenes(kBand, Field::Gain, ++gain);
        }
    }
    bool Holds(int state) const { return ws->ParamStore == *states[static_cast<size_t>(state)]; }

    std::unique_ptr<model::Workspace> ws = std::make_unique<model::Workspace>();
    model::VirtualClock clock;
    bool modified = false;
    View view;
    UndoRedo history{*ws, clock, [this] { modified = true; }, &view};
    Writer writer{*ws};
    std::vector<std::unique_ptr<model::ParamTable>> states;
    int32_t gain = 10;
};

TEST(UndoRedo, PositionsUpToAndBeyondAFullHistory) {
    struct Case {
        const char* name;
        int changes, undos, redos, state;
        int32_t pos, top;
        bool canUndo, canRedo;
    };
    const Case cases[] = {
        {"empty", 0, 0, 0, 0, -1, -1, false, false},
        {"no undo yet", 2, 0, 0, 2, 1, 1, true, false},
        {"29 all undone", 29, 29, 0, 0, -1, 29, false, true},
        {"30: the first undo drops the oldest", 30, 29, 0, 1, -1, 29, false, true},
        {"35", 35, 29, 0, 6, -1, 29, false, true},
        {"three back, three forward", 3, 3, 3, 3, 2, 3, true, false},
        {"three back, one forward", 3, 3, 1, 1, 0, 3, true, true},
        {"30, all back, all forward", 30, 29, 29, 30, 28, 29, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.Changes(c.changes);
        for (int i = 0; i < c.undos; ++i) ASSERT_EQ(h.history.Undo(h.writer), UndoResult::Done);
        for (int i = 0; i < c.redos; ++i) ASSERT_EQ(h.history.Redo(h.writer), UndoResult::Done);
        EXPECT_EQ(h.history.UndoPos(), c.pos);
        EXPECT_EQ(h.history.UndoTop(), c.top);
        EXPECT_EQ(h.view.buttons, std::pair(c.canUndo, c.canRedo));
        EXPECT_EQ(h.modified, c.changes > 0);
        if (!c.canUndo) {
            EXPECT_EQ(h.history.Undo(h.writer), UndoResult::NothingToDo);
        }
        if (!c.canRedo) {
            EXPECT_EQ(h.history.Redo(h.writer), UndoResult::NothingToDo);
        }
        EXPECT_TRUE(h.Holds(c.state));
        // Neighbouring states differ in one entry: one send per step.
        EXPECT_EQ(h.writer.sent.size(), static_cast<size_t>(c.undos + c.redos));
    }
}

// One step changes two scene entries (in both scenes, the other one behind the history's
// back), a shared entry and two entries of kinds 8..10. Modified was cleared meanwhile, as a
// save to the device's mode does.
TEST(UndoRedo, WriteBackFollowsTheSceneRuleAndSendsOnlyWhileLinked) {
    struct Case {
        int scene;
        bool up;
        int32_t bandGain;  // the band's factory gain in that scene
    };
    for (const Case& c : {Case{0, true, 400}, Case{1, true, 250}, Case{1, false, 250}}) {
        SCOPED_TRACE(testing::Message() << c.scene << c.up);
        Harness h;
        ASSERT_TRUE(h.ws->SetCurrentScene(c.scene));
        h.writer.up = c.up;
        const auto before = h.Copy();
        h.history.PushUndo();
        for (int slot : {0, 1}) {
            h.ws->ParamStore.Slot(kBand, slot)->Gain = 300;
            h.ws->ParamStore.Slot(kBand, slot)->EQdisabled = true;
            h.ws->ParamStore.SetValueAt(kFilter, slot, 40);
            h.ws->ParamStore.SetValueAt(2048, slot, 55);
            h.ws->ParamStore.SetValueAt(model::entry::kKeyShift, slot, 8);
        }
        h.ws->SetValueBothScenes(kPlain, 77);
        const auto after = h.Copy();

        h.modified = false;
        ASSERT_EQ(h.history.Undo(h.writer), UndoResult::Done);
        EXPECT_TRUE(h.modified);
        const model::ParamTable& was = *before;
        const model::ParamTable& now = h.ws->ParamStore;
        const int other = 1 - c.scene;
        EXPECT_EQ(*now.Slot(kBand, c.scene), *was.Slot(kBand, c.scene));
        EXPECT_EQ(now.Slot(kBand, other)->Gain, 300);
        EXPECT_EQ(now.ValueAt(kFilter, c.scene), was.ValueAt(kFilter, c.scene));
        EXPECT_EQ(now.ValueAt(kFilter, other), 40);
        EXPECT_EQ(*now.Record(kPlain), *was.Record(kPlain));
        EXPECT_EQ(now.ValueAt(2048, c.scene), 55);
        EXPECT_EQ(now.ValueAt(model::entry::kKeyShift, c.scene), 8);
        using Sent = std::vector<std::pair<int, int32_t>>;
        const Sent expected = c.up ? Sent{{kBand, c.bandGain}, {kPlain, 0}, {kFilter, 1}} : Sent{};
        EXPECT_EQ(h.writer.sent, expected);
        EXPECT_EQ(h.view.events, (std::vector<std::string>{"disable", "enable", "refresh"}));

        h.modified = false;
        ASSERT_EQ(h.history.Redo(h.writer), UndoResult::Done);
        EXPECT_TRUE(h.modified);
        EXPECT_TRUE(h.ws->ParamStore == *after);
        EXPECT_EQ(h.writer.sent.size(), c.up ? 6u : 0u);
    }
}

TEST(UndoRedo, AFailedSendStopsTheWriteBackThere) {
    for (int failAt : {0, 1, 2}) {
        SCOPED_TRACE(failAt);
        Harness h;
        h.history.PushUndo();
        h.ws->SetFieldBothScenes(kBand, Field::Gain, 300);
        h.ws->SetValueBothScenes(kPlain, 77);
        h.ws->SetValueBothScenes(kFilter, 40);
        const auto after = h.Copy();

        h.writer.failAt = failAt;
        ASSERT_EQ(h.history.Undo(h.writer), UndoResult::SendFailed);
        // Entries up to the failed one are back (the store is written before the send).
        EXPECT_EQ(h.ws->ParamStore.Slot(kBand, 0)->Gain, 400);
        EXPECT_EQ(h.ws->GetValue(kPlain), failAt >= 1 ? 0 : 77);
        EXPECT_EQ(h.ws->GetValue(kFilter), failAt >= 2 ? 1 : 40);
        EXPECT_EQ(h.writer.sent.size(), static_cast<size_t>(failAt + 1));
        EXPECT_EQ(h.history.UndoPos(), -1);
        EXPECT_EQ(h.view.events, (std::vector<std::string>{"disable", "enable", "refresh"}));

        h.writer.failAt = -1;
        h.writer.sent.clear();
        ASSERT_EQ(h.history.Redo(h.writer), UndoResult::Done);
        EXPECT_TRUE(h.ws->ParamStore == *after);
        EXPECT_EQ(h.writer.sent.size(), static_cast<size_t>(failAt + 1));
    }
}

// Two drags of several seconds each; the quiet between them decides whether they are one
// step or two.
TEST(UndoRedo, AGestureEndsAfterASecondOfQuiet) {
    struct Case {
        int64_t quietMs;
        int steps;
    };
    for (const Case& c : {Case{999, 1}, Case{1000, 2}}) {
        SCOPED_TRACE(c.quietMs);
        Harness h;
        h.Drag(50);
        const auto between = h.Copy();
        h.clock.AdvanceBy(c.quietMs);
        h.Drag(30);
        EXPECT_EQ(h.history.UndoPos() + 1, c.steps);
        h.clock.AdvanceBy(1000);
        EXPECT_FALSE(h.history.GestureOpen());

        ASSERT_EQ(h.history.Undo(h.writer), UndoResult::Done);
        EXPECT_TRUE(c.steps == 1 ? h.Holds(0) : h.ws->ParamStore == *between);
    }
}

// Undo, clearing or a button's push in the middle of a drag ends the gesture: the next move
// starts a step of its own, which undo then takes back alone.
TEST(UndoRedo, OtherHistoryOperationsEndAnOpenGesture) {
    enum class Op { Undo, Clear, Push };
    for (Op op : {Op::Undo, Op::Clear, Op::Push}) {
        SCOPED_TRACE(static_cast<int>(op));
        Harness h;
        h.Changes(1);
        h.Drag(3);
        if (op == Op::Undo) {
            ASSERT_EQ(h.history.Undo(h.writer), UndoResult::Done);
        } else if (op == Op::Clear) {
            h.history.ClearUndo();
        } else {
            h.Changes(1);
        }
        EXPECT_FALSE(h.history.GestureOpen());
        const auto beforeMove = h.Copy();
        h.Drag(1);
        ASSERT_EQ(h.history.Undo(h.writer), UndoResult::Done);
        EXPECT_TRUE(h.ws->ParamStore == *beforeMove);
    }
}

// A change after undos writes its snapshot at UndoPos + 1 and keeps UndoTop, so redo jumps
// back to the state before the undos (the change itself is then no longer in the history).
TEST(UndoRedo, RedoAfterANewChangeReturnsToTheStateBeforeTheUndos) {
    Harness h;
    h.Changes(3);
    ASSERT_EQ(h.history.Undo(h.writer), UndoResult::Done);
    ASSERT_EQ(h.history.Undo(h.writer), UndoResult::Done);
    h.history.PushUndo();
    h.ws->SetValueBothScenes(kPlain, 9);
    EXPECT_EQ(h.history.UndoTop(), 3);
    ASSERT_EQ(h.history.Redo(h.writer), UndoResult::Done);
    EXPECT_TRUE(h.Holds(3));
    ASSERT_EQ(h.history.Undo(h.writer), UndoResult::Done);
    EXPECT_TRUE(h.Holds(2));

    Harness one;  // after a single undo there is nothing above to return to
    one.Changes(2);
    ASSERT_EQ(one.history.Undo(one.writer), UndoResult::Done);
    one.history.PushUndo();
    EXPECT_EQ(one.history.Redo(one.writer), UndoResult::NothingToDo);
}

}  // namespace
}  // namespace vellora::storage
