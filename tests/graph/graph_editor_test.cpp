// Editing the graph in virtual time: the hit test, drags of frequency, gain and Q, the
// frequency limits and the subwoofer coupling, keys, the long press, the wheel, and the
// deferred send that merges a burst of edits.
#include "graph/graph_editor.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "model/value_scales.h"
#include "test_slider_host.h"

namespace vellora::graph {
namespace {

// The link: records each write with the store's slot as it was sent.
class RecordingWriter : public storage::ParamWriter {
public:
    explicit RecordingWriter(const model::Workspace& ws) : ws_(ws) {}
    bool Up = true;
    std::vector<std::pair<int, model::SceneSlot>> Writes;
    [[nodiscard]] bool LinkUp() const override { return Up; }
    [[nodiscard]] bool WriteParam(int32_t index) override {
        Writes.emplace_back(index, *ws_.ParamStore.Slot(index, ws_.CurrentScene()));
        return true;
    }

private:
    const model::Workspace& ws_;
};

class TestHost : public GraphEditHost {
public:
    test::TestSliderHost sliders;
    int NoOperStarts = 0;
    SliderHost* Sliders() override { return &sliders; }
    void StartNoOper() override { ++NoOperStarts; }
    void StopFade() override {}
};

class GraphEditorTest : public ::testing::Test {
protected:
    GraphEditorTest() {
        RegisterGraphPictures(pictures);
        graph.SetupGeometry(1000, 400);
        host.sliders.Add(-1);  // slider 0 is never a band's
        for (int page : {0, 3, 4, 7})
            for (int k = ws.MenuKindFirst(page); k < ws.MenuKindFirst(page) + 40; ++k)
                host.sliders.Add(k);
    }

    void Show(int page, int view = 0) {
        ws.SetCurrentPage(page);
        graph.RedrawAll(GraphView{page, ws.CurrentScene(), view}, &host.sliders);
    }
    CurveBand& Band(int p) { return graph.Bands().Bands[static_cast<size_t>(p)]; }
    int PositionOf(int filterType) {
        for (int p = 0; p < graph.Bands().CurveCount; ++p)
            if (Band(p).FilterType == filterType) return p;
        return -1;
    }
    const model::SceneSlot& Stored(int entry) {
        return *ws.ParamStore.Slot(entry, ws.CurrentScene());
    }
    const test::TestSlider& SliderOf(int p) {
        return host.sliders.sliders.at(static_cast<size_t>(Band(p).SliderIndex));
    }
    // A left drag of band p's handle to (x, y), released, the paint turn run.
    void Drag(int p, double x, double y) {
        const QPoint c = graph.HandleCentre(p);
        editor.Press(c.x(), c.y(), MouseButton::Left);
        editor.Move(x, y);
        editor.Release();
        clock.AdvanceBy(GraphEditor::kDrawWaveMs);
    }

    model::Workspace ws;
    PictureStore pictures;
    ResponseGraph graph{ws, pictures};
    model::VirtualClock clock;
    bool modified = false;
    storage::UndoRedo undo{ws, clock, [this] { modified = true; }};
    RecordingWriter writer{ws};
    TestHost host;
    GraphEditor editor{graph, ws, clock, undo, writer, host};
};

TEST_F(GraphEditorTest, APressPicksTheFirstUsableHandleWithin13Pixels) {
    // Band 0 (25 Hz) and the high-pass share a handle position at 0 dB, 57 px from the next.
    ws.ParamStore.Slot(0, 0)->Gain = model::kGainZero;
    ws.ParamStore.Slot(15, 0)->Value = model::FreqIndex(25);
    Show(0);
    const QPoint c = graph.HandleCentre(0);
    ASSERT_EQ(c, graph.HandleCentre(15));
    struct Case {
        int dx, dy;
        bool disableBand0;
        int picked;
    } cases[] = {
        {13, 13, false, 0},  {-13, -13, false, 0}, {14, 0, false, -1},
        {0, -14, false, -1}, {0, 0, true, 15},  // a switched-off band is passed over
    };
    for (const Case& k : cases) {
        Show(0);
        Band(0).EQdisabled = k.disableBand0;
        editor.SelectBand(3);
        editor.Press(c.x() + k.dx, c.y() + k.dy, MouseButton::Left);
        EXPECT_EQ(editor.Dragging(), k.picked >= 0) << k.dx << "," << k.dy;
        EXPECT_EQ(graph.SelectedBand(), k.picked >= 0 ? k.picked : 3) << k.dx << "," << k.dy;
        editor.Release();
    }
}

TEST_F(GraphEditorTest, ARightDragStepsQOncePerSixPixels) {
    Show(0);
    const int q0 = Band(4).Q;
    const QPoint c = graph.HandleCentre(4);
    editor.Press(c.x(), c.y(), MouseButton::Right);
    ASSERT_TRUE(editor.QDrag());
    // x offsets from the press and the Q expected after each move (y moves change nothing).
    const std::pair<int, int> moves[] = {{5, 0}, {6, 1}, {11, 1}, {12, 2}, {7, 2}, {6, 1}, {-6, 0}};
    for (const auto& [dx, dq] : moves) {
        editor.Move(c.x() + dx, c.y() + 40);
        EXPECT_EQ(Band(4).Q, q0 + dq) << dx;
        EXPECT_EQ(Stored(4).Q, q0 + dq) << dx;
        EXPECT_EQ(SliderOf(4).Band.Q, q0 + dq) << dx;
    }
    EXPECT_EQ(Stored(4).Gain, Band(4).GainOrType);
    EXPECT_EQ(graph.HandleCentre(4), c);
}

TEST_F(GraphEditorTest, FrequencyLimitsAndTheSubwooferCoupling) {
    // Page, effect view, band kind, drag to the far left or right, the index reached.
    struct Case {
        int page, view, kind;
        bool right;
        int freq;
    } cases[] = {
        {0, 0, kBandHighPass, false, 0},  {0, 0, kBandHighPass, true, 143},
        {3, 0, kBandHighPass, false, 1},  {0, 0, kBandLowPass, true, 362},
        {0, 0, kBandLowPass, false, 298}, {7, 0, kBandLowPass, true, 143},
        {0, 0, kBandEq, false, 1},        {0, 0, kBandEq, true, 361},
    };
    for (const Case& k : cases) {
        Show(k.page, k.view);
        const int p = PositionOf(k.kind);
        Drag(p, k.right ? 2000 : -50, 200);
        EXPECT_EQ(Band(p).Freq, k.freq) << k.page << " " << k.kind;
        EXPECT_EQ(
            k.kind == kBandEq ? Stored(Band(p).ParamIndex).Freq : Stored(Band(p).FreqEntry()).Value,
            k.freq);
    }

    // Page 7: the high-pass (5) stops at the low-pass (6) and the other way round.
    for (const bool highPass : {true, false}) {
        ws.ParamStore.Slot(1800, 0)->Value = 50;
        ws.ParamStore.Slot(1802, 0)->Value = 100;
        Show(7);
        ASSERT_EQ(Band(5).FreqEntry(), 1800);
        ASSERT_EQ(Band(6).FreqEntry(), 1802);
        Drag(highPass ? 5 : 6, highPass ? 2000 : 0, 0);
        EXPECT_EQ(Stored(1800).Value, highPass ? 100 : 50);
        EXPECT_EQ(Stored(1802).Value, highPass ? 100 : 50);
        EXPECT_EQ(SliderOf(highPass ? 5 : 6).Value, highPass ? 100 : 50);
    }
    // A held key is not held back by the other filter: two steps below the high-pass.
    editor.KeyDown(kKeyLeft);
    clock.AdvanceBy(300);
    editor.KeyUp(kKeyLeft);
    EXPECT_EQ(Stored(1802).Value, 48);
    EXPECT_EQ(graph.SelectedBand(), 6);
}

TEST_F(GraphEditorTest, AShortArrowMovesTheSelectionOverUsableBandsWithWrap) {
    ws.ParamStore.Slot(1, 0)->EQdisabled = true;
    ws.SetParamLocked(2, 1);
    Show(0);
    struct Case {
        int from, key, to;
    } cases[] = {
        {0, kKeyRight, 3},
        {3, kKeyLeft, 0},
        {16, kKeyRight, 0},
        {0, kKeyLeft, 16},
    };
    for (const Case& k : cases) {
        editor.SelectBand(k.from);
        editor.KeyDown(k.key);
        clock.AdvanceBy(200);  // four ticks: still a short press
        editor.KeyUp(k.key);
        EXPECT_EQ(graph.SelectedBand(), k.to) << k.from << " " << k.key;
    }
    EXPECT_EQ(Stored(0).Freq, Band(0).Freq);
    EXPECT_EQ(undo.UndoPos(), -1);
}

TEST_F(GraphEditorTest, HoldingLeftStepsAfter250MsThenEvery50Ms) {
    Show(0);
    editor.SelectBand(3);
    const int f0 = Band(3).Freq;
    editor.KeyDown(kKeyLeft);
    // Time since the key went down and the steps taken by then; a repeat changes nothing.
    const std::pair<int, int> marks[] = {{150, 0}, {249, 0}, {250, 1}, {300, 2}, {400, 4}};
    for (const auto& [t, steps] : marks) {
        clock.AdvanceTo(t);
        editor.KeyDown(kKeyLeft);
        EXPECT_EQ(Band(3).Freq, f0 - steps) << t;
        EXPECT_EQ(Stored(3).Freq, f0 - steps) << t;
        EXPECT_EQ(SliderOf(3).Band.Freq, f0 - steps) << t;
    }
    clock.AdvanceBy(50 * 120);  // down to the lowest frequency, and no further
    EXPECT_EQ(Band(3).Freq, 1);
    editor.KeyUp(kKeyLeft);
    EXPECT_EQ(graph.SelectedBand(), 3);
    EXPECT_EQ(undo.UndoPos(), -1);  // the long press records no undo step

    // Losing the keyboard while Right is held ends the steps; no selection moves.
    editor.KeyDown(kKeyRight);
    clock.AdvanceBy(100);
    editor.EndHold();
    clock.AdvanceBy(1000);
    EXPECT_EQ(Band(3).Freq, 1);
    EXPECT_EQ(graph.SelectedBand(), 3);
    EXPECT_FALSE(editor.KeyHeld());
}

TEST_F(GraphEditorTest, KeysAndWheelStepGainAndQUnlessTheBandCannotBeEdited) {
    ws.ParamStore.Slot(5, 0)->QType = 1;  // a shelf: Home and End step its slope
    Show(0);
    editor.SelectBand(5);
    const CurveBand b0 = Band(5);
    struct Step {
        int key, wheel;
        bool ctrl;
        int gain, q, shelfQ;
    } steps[] = {
        {kKeyUp, 0, false, 1, 0, 0},  {kKeyDown, 0, false, 0, 0, 0}, {kKeyHome, 0, false, 0, 0, 1},
        {kKeyEnd, 0, false, 0, 0, 0}, {0, 120, false, 1, 0, 0},      {0, -120, true, 1, 0, -1},
        {0, 240, false, 1, 0, -1},    {0, 60, false, 1, 0, -1},
    };
    for (const Step& s : steps) {
        if (s.key)
            editor.KeyDown(s.key);
        else
            editor.Wheel(s.wheel, s.ctrl, false);
        clock.AdvanceBy(GraphEditor::kWheelMs + GraphEditor::kDrawWaveMs);
        EXPECT_EQ(Stored(5).Gain, b0.GainOrType + s.gain) << s.key << " " << s.wheel;
        EXPECT_EQ(Stored(5).ShelfQ, b0.ShelfQ + s.shelfQ) << s.key << " " << s.wheel;
        EXPECT_EQ(SliderOf(5).Band.sQ, b0.ShelfQ + s.shelfQ);
        EXPECT_EQ(Stored(5).Q, b0.Q + s.q);
    }
    EXPECT_EQ(undo.UndoPos(), 0);  // one gesture

    // Switched off, locked, or the page greyed by the bass auto control: nothing happens.
    writer.Writes.clear();
    const int kinds = 3;
    for (int kind = 0; kind < kinds; ++kind) {
        Show(0);
        editor.SelectBand(5);
        if (kind == 0) Band(5).EQdisabled = true;
        if (kind == 1) Band(5).Locked = true;
        if (kind == 2) graph.Bands().PageGreyed = true;
        const model::SceneSlot before = Stored(5);
        const QPoint c = graph.HandleCentre(5);
        editor.Press(c.x(), c.y(), MouseButton::Left);
        editor.Move(c.x() + 50, c.y() + 50);
        editor.KeyDown(kKeyUp);
        editor.Wheel(120, false, false);
        editor.KeyDown(kKeyLeft);
        clock.AdvanceBy(1000);
        EXPECT_FALSE(editor.Dragging()) << kind;
        EXPECT_FALSE(editor.KeyHeld()) << kind;
        EXPECT_EQ(Stored(5), before) << kind;
    }
    EXPECT_TRUE(writer.Writes.empty());
}

TEST_F(GraphEditorTest, OneSendPerPaintTurnWithTheLatestValueAndNoneOffline) {
    Show(4);
    const QPoint c = graph.HandleCentre(2);
    editor.Press(c.x(), c.y(), MouseButton::Left);
    for (int dy : {10, 20, 30}) editor.Move(c.x(), c.y() + dy);
    EXPECT_TRUE(writer.Writes.empty());
    clock.AdvanceBy(GraphEditor::kDrawWaveMs);
    ASSERT_EQ(writer.Writes.size(), 1u);
    EXPECT_EQ(writer.Writes[0].first, Band(2).ParamIndex);
    EXPECT_EQ(writer.Writes[0].second.Gain, Band(2).GainOrType);
    EXPECT_EQ(Band(2).GainOrType, model::GainClamp(graph.Geometry().YToGainStep(c.y() + 30.0f)));
    editor.Release();
    EXPECT_EQ(host.NoOperStarts, 2);  // the press's selection and the release
    clock.AdvanceBy(10);
    EXPECT_EQ(writer.Writes.size(), 1u);

    // A paired filter is sent by its frequency entry; offline the store still follows.
    const int hp = PositionOf(kBandHighPass);
    Drag(hp, graph.HandleCentre(hp).x() + 30, 0);
    EXPECT_EQ(writer.Writes.back().first, Band(hp).FreqEntry());
    writer.Up = false;
    Drag(hp, graph.HandleCentre(hp).x() + 30, 0);
    EXPECT_EQ(writer.Writes.size(), 2u);
    EXPECT_EQ(Stored(Band(hp).FreqEntry()).Value, Band(hp).Freq);
    EXPECT_EQ(SliderOf(hp).Value, Band(hp).Freq);
    EXPECT_EQ(undo.UndoPos(), 0);  // drags within a second are one gesture
}

}  // namespace
}  // namespace vellora::graph
