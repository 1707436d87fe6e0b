// The slider's behaviour without a window: property rules, the repeat timer in virtual time,
// drags, click steps, keys, wheel, the entry box and the locked and switched-off states.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/slider_machine.h"
#include "controls_fixture.h"
#include "model/value_scales.h"

namespace vellora::controls {
namespace {

// Records what the machine asks of its window; Scroll records the state it saw.
struct Recorder : SliderEvents {
    const SliderMachine* m = nullptr;
    std::vector<int> scrollPositions;
    int clicks = 0, mouseIns = 0, repaints = 0;
    bool entryShown = false;
    std::string entryText;
    IRect entryBox;
    bool entryFocused = false;
    void OnScroll() override { scrollPositions.push_back(m ? m->Position() : -1); }
    void OnClick() override { ++clicks; }
    void OnMouseIn() override { ++mouseIns; }
    void OnRepaint() override { ++repaints; }
    void OnResize(int, int) override {}
    void OnEntryShow(IRect box, const std::string& text) override {
        entryShown = true;
        entryBox = box;
        entryText = text;
    }
    void OnEntryHide() override { entryShown = false; }
    void OnEntryFocus() override { entryFocused = true; }
    void OnCursor(bool) override {}
    [[nodiscard]] int Scrolls() const { return static_cast<int>(scrollPositions.size()); }
};

class SliderMachineTest : public test::ControlsTest {
protected:
    std::unique_ptr<SliderMachine> Make(int form, int hs = 0, int valueType = 0, int max = 80) {
        SliderStored s;
        s.ScrollBarType = form;
        s.HScrollSize = hs;
        s.ValueType = valueType;
        s.MaxValue = max;
        auto m = std::make_unique<SliderMachine>(clock, look, events, s);
        events.m = m.get();
        return m;
    }
    Recorder events;
};

TEST_F(SliderMachineTest, CreationRulesAndForcedTypes) {
    EXPECT_EQ(Make(2, 0, 0, 80)->Position(), 40);
    EXPECT_EQ(Make(2, 0, 0, 5)->Position(), 2);  // 2.5 rounds to even
    auto fader = Make(0, 0, 3, 10);
    EXPECT_EQ(fader->ValueType(), 10);
    EXPECT_EQ(fader->MaxValue(), 150);
    auto strip = Make(1);
    EXPECT_EQ(strip->ValueType(), 15);
    EXPECT_EQ(strip->MaxValue(), 360);
    EXPECT_EQ(strip->Position(), 240);
    EXPECT_EQ(strip->Value(), 250);
    auto bar = Make(2, 0, 0, 0);
    EXPECT_EQ(bar->MaxValue(), 1);
    bar->SetMaxValue(-7);
    EXPECT_EQ(bar->MaxValue(), 1);
    strip->SetMaxValue(20);
    EXPECT_EQ(strip->MaxValue(), 360);
}

TEST_F(SliderMachineTest, StoredKeysAreReadByName) {
    QVariantMap bag;
    bag[QStringLiteral("ScrollBarType")] = 2;
    bag[QStringLiteral("Qtype")] = 2;
    bag[QStringLiteral("MaxValue")] = QStringLiteral("not a number");
    bag[QStringLiteral("TVisible")] = false;
    const SliderStored s = SliderStored::FromBag(bag);
    EXPECT_EQ(s.ScrollBarType, 2);
    EXPECT_EQ(s.QType, 2);
    EXPECT_EQ(s.MaxValue, 80);
    EXPECT_FALSE(s.TVisible);
    EXPECT_EQ(s.Freq, model::FreqIndex(100));
    EXPECT_EQ(s.Q, model::QIndex(0.7));
    EXPECT_EQ(s.sQ, model::QIndex(0.6));
}

TEST_F(SliderMachineTest, HostSettersNeverScroll) {
    auto m = Make(0);
    m->SetValue(300);
    EXPECT_TRUE(m->Flag());
    EXPECT_EQ(m->Position(), 50);
    EXPECT_EQ(m->Value(), 300);
    m->SetValue(151);
    EXPECT_FALSE(m->Flag());
    EXPECT_EQ(m->Position(), 125);
    EXPECT_EQ(m->Value(), 150);
    m->SetValue(9999);
    EXPECT_EQ(m->Position(), 150);  // 9749 % maps past the end and is clamped
    m->SetForceShowFocus(true);
    m->SetMaxValue(90);
    EXPECT_EQ(events.Scrolls(), 0);
}

TEST_F(SliderMachineTest, ValueType2Ends) {
    auto m = Make(2, 0, 2, 400);
    m->SetValue(0);
    EXPECT_EQ(m->Position(), 400);
    EXPECT_DOUBLE_EQ(m->Centre(), 134.0);  // right end of the track
    m->SetValue(400);
    EXPECT_EQ(m->Position(), 0);
    EXPECT_DOUBLE_EQ(m->Centre(), 12.0);
}

TEST_F(SliderMachineTest, RepeatTimerFirstStepsAfter250msThenEvery50ms) {
    auto m = Make(2, 0, 0, 80);  // position 40, thumb centre x = 73
    m->Press({103.5, 20});       // track position 60
    EXPECT_TRUE(m->Repeating());
    EXPECT_EQ(m->RepeatTarget(), 60);
    clock.AdvanceBy(249);
    EXPECT_EQ(m->Position(), 40);
    EXPECT_EQ(events.Scrolls(), 0);
    clock.AdvanceBy(1);
    EXPECT_EQ(m->Position(), 41);
    EXPECT_EQ(events.scrollPositions, std::vector<int>{41});
    clock.AdvanceBy(150);
    EXPECT_EQ(m->Position(), 44);
    EXPECT_EQ(events.Scrolls(), 4);
    m->Release();
    m->ClickStep();  // the hold did the work; the click that ends it adds nothing
    clock.AdvanceBy(500);
    EXPECT_EQ(m->Position(), 44);
    EXPECT_EQ(events.Scrolls(), 4);
}

TEST_F(SliderMachineTest, RepeatReachesTheTargetAndKeepsScrolling) {
    auto m = Make(2, 0, 0, 80);
    m->SetValue(55);        // thumb from x 88.4 to 103.4
    m->Press({103.5, 20});  // just beside it: target 60
    ASSERT_TRUE(m->Repeating());
    clock.AdvanceBy(250 + 50 * 6);
    EXPECT_EQ(m->Position(), 60);
    EXPECT_EQ(events.scrollPositions, (std::vector<int>{56, 57, 58, 59, 60, 60, 60}));
    m->Move({12, 20});  // the target follows the pointer
    EXPECT_EQ(m->RepeatTarget(), 0);
    clock.AdvanceBy(100);
    EXPECT_EQ(m->Position(), 58);
}

TEST_F(SliderMachineTest, ShortClickOnTheTrackMovesOneStep) {
    auto m = Make(2, 0, 0, 80);
    m->PointerEnter();
    m->Press({103.5, 20});
    clock.AdvanceBy(100);
    m->Release();
    m->ClickStep();
    EXPECT_EQ(m->Position(), 41);
    EXPECT_EQ(events.Scrolls(), 1);
    EXPECT_EQ(events.clicks, 1);
    clock.AdvanceBy(1000);
    EXPECT_EQ(m->Position(), 41);
    // A press left of the thumb steps down; a double click is one more step.
    m->Press({20, 20});
    m->Release();
    m->ClickStep();
    m->ClickStep();
    EXPECT_EQ(m->Position(), 39);
}

TEST_F(SliderMachineTest, VerticalDragKeepsTheGrabOffset) {
    auto m = Make(0);
    m->SetValue(100);    // centre y = 26 + 50 * 123 / 150 = 67
    m->Press({30, 62});  // 5 px above the centre
    EXPECT_TRUE(m->Dragging());
    EXPECT_FALSE(m->Repeating());
    m->Move({30, 82});
    EXPECT_EQ(m->Position(), 76);  // 150 - 150 * (82 + 5 - 26) / 123 = 75.6
    EXPECT_NEAR(m->Centre() - 82, 5.0, 0.7);
    EXPECT_EQ(events.scrollPositions, std::vector<int>{76});
    m->Move({31, 82});  // same position: no second Scroll
    EXPECT_EQ(events.Scrolls(), 1);
    m->Release();
    EXPECT_FALSE(m->Dragging());
}

TEST_F(SliderMachineTest, HorizontalDragJumpsToThePointer) {
    auto m = Make(2, 0, 0, 80);  // centre 73
    m->PointerEnter();
    m->Press({77, 20});  // 4 px right of the centre
    ASSERT_TRUE(m->Dragging());
    m->Move({90, 20});
    EXPECT_EQ(m->Position(), 51);  // 80 * (90 - 12) / 122 = 51.1: the centre is at the pointer
    EXPECT_NEAR(m->Centre(), 90.0, 1.0);
    m->Release();
    m->ClickStep();  // a sideways drag is no click
    EXPECT_EQ(events.Scrolls(), 1);
}

TEST_F(SliderMachineTest, KnobStepsPer100TwipsAndScrollsOnEveryMove) {
    auto m = Make(5, 0, 0, 80);
    m->Press({60, 60});
    ASSERT_TRUE(m->Dragging());
    m->Move({60, 60 - 100.0 / 15.0});  // 100 twips up
    EXPECT_EQ(m->Position(), 41);
    m->Move({60, 60 - 200.0 / 15.0});
    EXPECT_EQ(m->Position(), 42);
    m->Move({61, 60 - 200.0 / 15.0});  // no change, still a Scroll
    EXPECT_EQ(events.scrollPositions, (std::vector<int>{41, 42, 42}));
    m->Move({61, 600});
    EXPECT_EQ(m->Position(), 0);
    m->Release();
    // Below the knob's square nothing turns.
    m->Press({60, 150});
    EXPECT_FALSE(m->Dragging());
    EXPECT_FALSE(m->Repeating());
}

TEST_F(SliderMachineTest, ArrowKeysOnlyWhileThePointerIsInside) {
    auto m = Make(2, 0, 0, 80);
    EXPECT_TRUE(m->Key(SliderKey::Up));
    EXPECT_EQ(m->Position(), 40);
    m->PointerEnter();
    EXPECT_EQ(events.mouseIns, 1);
    m->Key(SliderKey::Up);
    m->Key(SliderKey::Right);
    m->Key(SliderKey::Down);
    EXPECT_EQ(m->Position(), 41);
    EXPECT_EQ(events.scrollPositions, (std::vector<int>{41, 42, 41}));
    m->SetValue(80);
    m->Key(SliderKey::Up);  // at the end: no change, no Scroll
    EXPECT_EQ(events.Scrolls(), 3);
    m->PointerLeave();
    m->Key(SliderKey::Down);
    EXPECT_EQ(m->Position(), 80);
}

TEST_F(SliderMachineTest, WheelOverTheFrequencyAndQRows) {
    auto m = Make(1);
    m->PointerEnter();
    m->Move({20, 145});  // frequency row
    m->SetFreq(360);
    EXPECT_TRUE(m->Wheel(120, true));
    EXPECT_TRUE(m->Wheel(120, true));
    EXPECT_EQ(m->Freq(), 361);
    m->SetFreq(2);
    m->Wheel(-120, true);
    m->Wheel(-120, true);
    EXPECT_EQ(m->Freq(), 1);
    EXPECT_EQ(events.Scrolls(), 4);  // every notch reports, also at a limit
    m->Move({20, 158});              // Q row
    m->SetQType(1);
    m->SetsQ(25);
    m->Wheel(120, true);
    m->Wheel(120, true);
    EXPECT_EQ(m->sQ(), 26);
    m->SetsQ(1);
    m->Wheel(-120, true);
    m->Wheel(-120, true);
    EXPECT_EQ(m->sQ(), 0);
    EXPECT_EQ(m->Position(), 240);
    // Other deltas and held keys are ignored.
    EXPECT_FALSE(m->Wheel(240, true));
    EXPECT_FALSE(m->Wheel(120, false));
    EXPECT_EQ(m->sQ(), 0);
}

TEST_F(SliderMachineTest, GainEntryBoxCommits) {
    auto m = Make(1);
    m->SetValue(300);
    m->Press({20, 130});
    EXPECT_EQ(events.clicks, 1);
    ASSERT_TRUE(events.entryShown);
    EXPECT_EQ(events.entryText, "5.0");
    EXPECT_EQ(events.entryBox.x, 3);
    EXPECT_EQ(events.entryBox.y, 123);
    m->Release();
    EXPECT_TRUE(events.entryFocused);
    m->EntryCommit("abc");
    EXPECT_EQ(m->Value(), 250);
    EXPECT_EQ(m->Position(), 240);
    EXPECT_FALSE(events.entryShown);
    EXPECT_EQ(events.scrollPositions, std::vector<int>{240});
    m->Press({20, 130});
    m->EntryCommit("30");
    EXPECT_EQ(m->Value(), 370);
    EXPECT_EQ(m->Position(), 360);
    m->Press({20, 130});
    m->EntryCommit("-6.25");
    EXPECT_EQ(m->Value(), 188);  // -62.5 + 250 rounds half to even
}

TEST_F(SliderMachineTest, FrequencyAndQEntryFallbacks) {
    auto m = Make(1);
    m->Press({20, 145});
    EXPECT_EQ(events.entryText, "101");  // F[FreqIndex(100)]
    m->EntryCommit("abc");
    EXPECT_EQ(m->Freq(), model::FreqIndex(100));
    m->Press({20, 145});
    m->EntryCommit("5");
    EXPECT_EQ(m->Freq(), 1);  // pulled to the lowest band frequency
    m->Press({20, 145});
    m->EntryCommit("99999");
    EXPECT_EQ(m->Freq(), 361);
    m->Press({20, 158});
    m->EntryCommit("abc");
    EXPECT_EQ(m->Q(), model::QIndex(0.7));
    m->SetQType(2);
    m->Press({20, 158});
    m->EntryCommit("5");
    EXPECT_EQ(m->sQ(), 26);  // shelves stop at 1.80
    EXPECT_EQ(events.Scrolls(), 5);
}

TEST_F(SliderMachineTest, ArrowKeysStepTheOpenEntryBox) {
    auto m = Make(1);
    m->Press({20, 130});
    m->Key(SliderKey::Up);
    EXPECT_EQ(m->Value(), 251);
    EXPECT_EQ(events.entryText, "0.1");
    m->SetValue(370);
    m->Key(SliderKey::Right);
    EXPECT_EQ(m->Value(), 370);
    EXPECT_EQ(events.entryText, "12.0");
    m->EntryFocusLost();
    EXPECT_FALSE(m->EntryVisible());
    EXPECT_FALSE(events.entryShown);
}

TEST_F(SliderMachineTest, ShapeButtonsAndBandSelection) {
    auto m = Make(1);
    m->PointerEnter();
    m->Press({8, 85});
    EXPECT_EQ(m->QType(), 1);
    EXPECT_EQ(events.Scrolls(), 1);
    m->Release();
    m->ClickStep();
    EXPECT_EQ(events.Scrolls(), 1);
    // A click on a strip without focus only asks the host to select the band.
    m->Press({28, 100});
    m->Release();
    m->ClickStep();
    EXPECT_EQ(events.Scrolls(), 2);
    EXPECT_EQ(m->Position(), 240);
    // With focus it steps.
    m->SetForceShowFocus(true);
    m->Press({28, 100});  // below the thumb: down
    m->Release();
    m->ClickStep();
    EXPECT_EQ(m->Position(), 239);
}

TEST_F(SliderMachineTest, LockedSliderSwallowsKeysAndRaisesNoClick) {
    auto m = Make(2, 0, 0, 80);
    const int addr = SharedAddr();
    m->SetAddr(addr);
    ws.SetParamLocked(addr, 1);
    EXPECT_TRUE(m->Locked());
    m->PointerEnter();
    EXPECT_TRUE(m->Key(SliderKey::Up));
    m->Press({103.5, 20});
    m->Release();
    m->ClickStep();
    EXPECT_FALSE(m->Wheel(0, true));
    EXPECT_TRUE(m->Wheel(120, true));
    EXPECT_EQ(m->Position(), 40);
    EXPECT_EQ(events.clicks, 0);
    EXPECT_EQ(events.Scrolls(), 0);
    clock.AdvanceBy(1000);
    EXPECT_EQ(m->Position(), 40);
    // The bass auto control locks every parameter kept per scene.
    ws.SetParamLocked(addr, 0);
    m->SetAddr(PerSceneAddr());
    EXPECT_FALSE(m->Locked());
    ws.SetBassAutoControl(1);
    EXPECT_TRUE(m->Locked());
}

TEST_F(SliderMachineTest, SwitchedOffBandReactsOnlyToItsSwitch) {
    auto m = Make(1);
    m->SetEQdisabled(true);
    m->SetForceShowFocus(true);
    m->PointerEnter();
    m->Press({28, 100});
    m->Release();
    m->ClickStep();
    m->Press({8, 85});
    m->Press({20, 130});
    m->Move({28, 30});
    EXPECT_TRUE(m->Key(SliderKey::Up));
    clock.AdvanceBy(1000);
    EXPECT_EQ(events.clicks, 0);
    EXPECT_EQ(events.Scrolls(), 0);
    EXPECT_EQ(m->QType(), 0);
    EXPECT_FALSE(events.entryShown);
    m->Press({20, 170});
    EXPECT_FALSE(m->EQdisabled());
    EXPECT_EQ(events.Scrolls(), 1);
    m->Release();
    m->ClickStep();  // the switch press makes no gain step
    EXPECT_EQ(m->Position(), 240);
    EXPECT_EQ(events.Scrolls(), 1);
}

TEST_F(SliderMachineTest, FlagButtonTogglesOnRelease) {
    auto m = Make(0);
    m->SetValue(300);
    m->Press({18, 165});
    EXPECT_TRUE(m->FlagPressed());
    EXPECT_EQ(events.Scrolls(), 0);
    EXPECT_EQ(events.clicks, 0);
    m->Release();
    EXPECT_FALSE(m->Flag());
    EXPECT_EQ(m->Value(), 50);
    EXPECT_EQ(events.Scrolls(), 1);
    m->ClickStep();
    EXPECT_EQ(m->Position(), 50);
    auto bar = Make(2, 3, 10, 150);
    bar->SetValue(90);
    bar->Press({146, 8});
    bar->Release();
    EXPECT_EQ(bar->Value(), 340);
}

TEST_F(SliderMachineTest, InvisiblePlaceholderTakesNoInput) {
    auto m = Make(2, 0, 0, 80);
    m->SetTVisible(false);
    m->PointerEnter();
    m->Press({103.5, 20});
    EXPECT_FALSE(m->Key(SliderKey::Up));
    clock.AdvanceBy(1000);
    EXPECT_EQ(m->Position(), 40);
    EXPECT_EQ(events.clicks, 0);
}

}  // namespace
}  // namespace vellora::controls
