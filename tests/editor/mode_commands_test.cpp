// The mode commands through the window's keys: the auto control blocking scene changes, the
// scene copy with its writes and progress, the microphone copy, the page bypass, the key shift
// offline and the equaliser reset stopping at a failed write.
#include "editor/editor_fixture.h"
#include "editor/mode_commands.h"

namespace vellora::editor::test {
namespace {

TEST_F(EditorTest, AutoControlBlocksSceneChangesAndLightsNeitherScene) {
    window->Key("cmdBassAutoControl21")->ClickByAccessibility();
    EXPECT_EQ(ws.BassAutoControl(), 1);
    EXPECT_EQ(ws.ParamStore.ValueAt(2591, 0), 1);
    EXPECT_EQ(window->Key("cmdBassMode0")->Value(), 0);
    EXPECT_EQ(window->Key("cmdBassMode1")->Value(), 0);
    window->Key("cmdBassMode1")->ClickByAccessibility();
    window->Key("cmdModeCopy")->ClickByAccessibility();
    EXPECT_EQ(ws.CurrentScene(), 0);
    EXPECT_EQ(prompts.Messages, (std::vector<std::string>{texts::kAutoControlBlocks,
                                                          texts::kAutoControlBlocks}));
    window->Key("cmdBassAutoControl20")->ClickByAccessibility();
    window->Key("cmdBassMode1")->ClickByAccessibility();
    EXPECT_EQ(ws.CurrentScene(), 1);
    EXPECT_EQ(ws.ParamStore.ValueAt(2590, 0), 1);
    EXPECT_EQ(window->Key("cmdBassMode1")->Value(), 1);
}

TEST_F(EditorTest, SceneCopyWritesEveryPerSceneEntryWithProgressThenSaysDone) {
    link.Up = true;
    prompts.Answers = {false, true};
    window->Key("cmdModeCopy")->ClickByAccessibility();  // No: nothing happens
    EXPECT_TRUE(link.Writes.empty());
    window->Key("cmdModeCopy")->ClickByAccessibility();
    EXPECT_EQ(ws.CurrentScene(), 1);
    for (int i = 0; i < model::kParamCount; ++i)  // all but the scene selection itself
        if (i != 2590) {
            ASSERT_EQ(*ws.ParamStore.Slot(i, 1), *ws.ParamStore.Slot(i, 0)) << i;
        }
    ASSERT_GT(link.Writes.size(), static_cast<size_t>(ModeCommands::kProgressAfterWrites));
    EXPECT_EQ(link.Writes.front(), 2590);
    EXPECT_TRUE(std::is_sorted(link.Writes.begin() + 1, link.Writes.end()));
    EXPECT_TRUE(link.Modified);
    EXPECT_EQ(prompts.Messages.back(), texts::kDone);
    EXPECT_TRUE(window->isEnabled());

    // A failed write ends the copy where it is: no "完成!".
    link.Writes.clear();
    link.FailFrom = 5;
    prompts.Messages.clear();
    prompts.Answers = {true};
    window->Key("cmdModeCopy")->ClickByAccessibility();
    EXPECT_EQ(link.Writes.size(), 5u);
    EXPECT_EQ(prompts.Messages, std::vector<std::string>{texts::kCopyDanceToSinging});
}

TEST_F(EditorTest, ClosingTheWindowStopsALongSequenceAfterItsCurrentFrame) {
    link.Up = true;
    link.OnWrite = [this] {
        EXPECT_FALSE(window->Controls().Slider(3)->parentWidget()->isEnabled());  // edits refused
        if (link.Writes.size() == 10) window->close();
    };
    prompts.Answers = {true};
    window->Key("cmdModeCopy")->ClickByAccessibility();
    EXPECT_EQ(link.Writes.size(), 10u);
    EXPECT_EQ(ws.CurrentScene(), 1);  // the store keeps the copy
    EXPECT_NE(prompts.Messages.back(), texts::kDone);
}

TEST_F(EditorTest, MicrophoneCopyBypassAndReset) {
    link.Up = true;
    window->SelectPage(1);
    ws.ParamStore.Slot(257, 0)->Gain = 111;
    prompts.Answers = {true};
    window->Key("MBtnFlag3")->ClickByAccessibility();
    EXPECT_EQ(ws.ParamStore.Slot(513, 0)->Gain, 111);
    EXPECT_EQ(ws.ParamStore.Slot(513, 1)->Gain, 111);
    EXPECT_EQ(link.Writes.front(), 512);
    EXPECT_EQ(prompts.Messages.front(), texts::kCopyMic12To3);

    // The bypass entry of the effects page follows the view.
    window->SelectPage(3);
    for (const auto& [view, entry] : {std::pair{0, 2599}, {1, 2600}, {2, 2585}}) {
        window->SelectEffectView(view);
        link.Writes.clear();
        window->Key("cmdByPass")->ClickByAccessibility();
        EXPECT_EQ(ws.ParamStore.ValueAt(entry, 0), 1) << view;
        EXPECT_EQ(link.Writes, std::vector<int>{entry});
    }

    // The reset takes the factory slot and stops at the first failed write.
    window->SelectPage(0);
    for (int e = 0; e < 15; ++e) ws.ParamStore.Slot(e, 0)->Gain = 200;
    link.Writes.clear();
    link.FailFrom = 3;
    window->Key("cmdReset")->ClickByAccessibility();
    EXPECT_EQ(link.Writes, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(ws.ParamStore.Slot(3, 0)->Gain, 250);   // reset, its write failed
    EXPECT_EQ(ws.ParamStore.Slot(4, 0)->Gain, 200);   // not reached
    EXPECT_EQ(window->Controls().Slider(3)->Value(), 250);
}

TEST_F(EditorTest, KeyShiftFallsBackOfflineWithinHalfASecond) {
    window->ChooseTone(8);  // "Key: +3"
    EXPECT_EQ(window->Key("cmdTone")->Value(), 8);
    clock.AdvanceBy(499);
    EXPECT_EQ(window->Key("cmdTone")->Value(), 8);
    clock.AdvanceBy(1);
    EXPECT_EQ(window->Key("cmdTone")->Value(), 5);
    EXPECT_EQ(ws.ParamStore.ValueAt(2598, 0), 5);  // the store is not changed offline

    link.Up = true;
    window->ChooseTone(2);
    clock.AdvanceBy(600);
    EXPECT_EQ(window->Key("cmdTone")->Value(), 2);
    EXPECT_EQ(ws.ParamStore.ValueAt(2598, 0), 2);
    EXPECT_EQ(link.Writes, std::vector<int>{2598});
}

}  // namespace
}  // namespace vellora::editor::test
