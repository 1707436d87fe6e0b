// The store's address space, factory defaults, scene rule, copies and address texts.
#include <gtest/gtest.h>

#include "model/clock.h"
#include "model/value_scales.h"
#include "model/workspace.h"

namespace vellora::model {
namespace {

class DefaultsTest : public ::testing::Test {
protected:
    Workspace ws;
    const SceneSlot& S(int index, int slot) { return *ws.ParamStore.Slot(index, slot); }
};

TEST_F(DefaultsTest, KindRangesEndWhereTheDefaultsEnd) {
    const int last[] = {17, 277, 532, 810, 1048, 1301, 1555, 1817, 2056, 2312, 2600};
    for (int k = 0; k < 11; ++k) {
        EXPECT_EQ(ws.MenuKindFirst(k), k * 256);
        EXPECT_EQ(ws.MenuKindLast(k), last[k]) << "kind " << k;
    }
    EXPECT_EQ(ws.MenuKindFirst(11), -1);
    EXPECT_EQ(ws.MenuKindLast(-1), -1);
}

TEST_F(DefaultsTest, SingingSceneShapesTheMusicEqualiser) {
    EXPECT_EQ(S(7, 0).Gain, 400);
    EXPECT_EQ(S(7, 1).Gain, 250);
    EXPECT_EQ(S(7, 2).Gain, 250);
    const int gains[15] = {330, 250, 350, 250, 250, 250, 250, 400, 250, 60, 250, 320, 250, 250, 300};
    for (int a = 0; a < 15; ++a) EXPECT_EQ(S(a, 0).Gain, gains[a]) << "address " << a;
}

TEST_F(DefaultsTest, EqualiserBandsCarryTheirCentresAndShape) {
    // 15-band music list: 25 Hz -> 25.3 (14), 1000 Hz -> 205, 16000 Hz -> 349
    EXPECT_EQ(S(0, 1).Freq, 14);
    EXPECT_EQ(S(8, 1).Freq, 205);
    EXPECT_EQ(S(14, 1).Freq, 349);
    for (int s = 0; s < 3; ++s) {
        const SceneSlot& b = S(257, s);
        EXPECT_EQ(b.FilterType, kEqBand);
        EXPECT_EQ(b.Value, 0);
        EXPECT_EQ(b.QType, kPeaking);
        EXPECT_EQ(b.Q, 16);
        EXPECT_EQ(b.ShelfQ, 10);
        EXPECT_TRUE(b.Defined);
        EXPECT_FALSE(b.EQdisabled);
    }
    // 10-band main output list starts at 32 Hz, 7-band at 57 Hz, subwoofer list at 25 Hz.
    EXPECT_EQ(S(1024 + 8, 0).Freq, FreqIndex(32));
    EXPECT_EQ(S(1280 + 8, 0).Freq, FreqIndex(57));
    EXPECT_EQ(S(1536 + 7, 0).Freq, FreqIndex(57));
    EXPECT_EQ(S(1792 + 11, 0).Freq, FreqIndex(25));
    EXPECT_EQ(S(1792 + 15, 0).Freq, FreqIndex(250));
    EXPECT_EQ(S(768 + 8, 0).Freq, FreqIndex(60));
    EXPECT_EQ(S(768 + 35, 0).Freq, FreqIndex(14000));
}

TEST_F(DefaultsTest, FiltersAndPlainEntries) {
    EXPECT_EQ(S(15, 0).FilterType, kHighPass);
    EXPECT_EQ(S(15, 0).Value, 0);
    EXPECT_EQ(S(16, 0).FilterType, kLowPass);
    EXPECT_EQ(S(16, 0).Value, 362);
    EXPECT_EQ(S(17, 0).FilterType, kPlain);
    EXPECT_EQ(S(256, 0).FilterType, kHighPass);
    EXPECT_EQ(S(256, 0).Value, 74);  // 80 Hz
    EXPECT_EQ(S(277, 0).Value, 2);
    // Effects: a frequency-valued plain entry, single filters, reverb room list.
    EXPECT_EQ(S(771, 0).FilterType, kPlain);
    EXPECT_EQ(S(771, 0).Value, 313);
    EXPECT_EQ(S(774, 0).FilterType, kHighPass);
    EXPECT_EQ(S(774, 0).Value, FreqIndex(120));
    EXPECT_EQ(S(775, 0).FilterType, kLowPass);
    EXPECT_EQ(S(775, 0).Value, FreqIndex(10000));
    EXPECT_EQ(S(768 + 20, 0).Value, 500);
    EXPECT_EQ(S(810, 0).Value, 2);
    // Outputs: a type entry followed by its frequency entry, both of the filter's type.
    EXPECT_EQ(S(1030, 0).FilterType, kHighPass);
    EXPECT_EQ(S(1030, 0).Value, 0);
    EXPECT_EQ(S(1031, 0).FilterType, kHighPass);
    EXPECT_EQ(S(1031, 0).Value, 1);
    EXPECT_EQ(S(1792 + 9, 0).FilterType, kLowPass);
    EXPECT_EQ(S(1792 + 10, 0).Value, FreqIndex(320));
    EXPECT_EQ(S(1792 + 25, 0).Value, 1);
    EXPECT_EQ(S(1792 + 3, 0).Value, 30);
    // Common settings.
    EXPECT_EQ(S(2560, 0).Value, 20);
    EXPECT_EQ(S(2568, 0).Value, 80);
    EXPECT_EQ(S(2590, 0).Value, 0);
    EXPECT_EQ(S(2598, 0).Value, 5);
    EXPECT_EQ(S(2596, 0).Value, 1);
    EXPECT_EQ(S(2600, 0).Value, 0);
    EXPECT_FALSE(S(2601, 0).Defined);
    EXPECT_FALSE(S(18, 0).Defined);
}

TEST_F(DefaultsTest, PerSceneFlagsFollowTheTable) {
    EXPECT_TRUE(ws.IsPerScene(0));
    EXPECT_TRUE(ws.IsPerScene(16));
    EXPECT_FALSE(ws.IsPerScene(17));
    EXPECT_FALSE(ws.IsPerScene(257));
    EXPECT_TRUE(ws.IsPerScene(1024));
    EXPECT_FALSE(ws.IsPerScene(1028));
    EXPECT_TRUE(ws.IsPerScene(1030));
    EXPECT_TRUE(ws.IsPerScene(1048));
    EXPECT_FALSE(ws.IsPerScene(1042));
    EXPECT_TRUE(ws.IsPerScene(1792 + 10));
    EXPECT_FALSE(ws.IsPerScene(2590));
}

TEST_F(DefaultsTest, ModeImageMirrorsScenesZeroAndOne) {
    for (int i : {0, 7, 257, 1031, 2590}) {
        EXPECT_EQ(*ws.ModeImage.Slot(i, 0), S(i, 0));
        EXPECT_EQ(*ws.ModeImage.Slot(i, 1), S(i, 1));
        EXPECT_EQ(*ws.ModeImage.Slot(i, 2), SceneSlot{});
    }
}

TEST_F(DefaultsTest, ReloadingDefaultsRestoresEverything) {
    Workspace fresh;
    ws.SetValueBothScenes(17, 3);
    ws.SetCurrentScene(1);
    ws.SetBassAutoControl(1);
    ws.LoadDefaults();
    EXPECT_TRUE(ws.ParamStore == fresh.ParamStore);
    EXPECT_TRUE(ws.ModeImage == fresh.ModeImage);
    EXPECT_EQ(ws.CurrentScene(), 0);
    EXPECT_EQ(ws.BassAutoControl(), 0);
}

TEST(SceneRuleTest, SharedEntriesChangeInBothScenes) {
    Workspace ws;
    ASSERT_TRUE(ws.SetCurrentScene(1));
    ASSERT_TRUE(ws.SetValueBothScenes(17, 4));  // not kept per scene
    EXPECT_EQ(ws.ParamStore.ValueAt(17, 0), 4);
    EXPECT_EQ(ws.ParamStore.ValueAt(17, 1), 4);
    ASSERT_TRUE(ws.SetFieldBothScenes(3, Field::Gain, 300));  // kept per scene
    EXPECT_EQ(ws.ParamStore.Slot(3, 1)->Gain, 300);
    EXPECT_EQ(ws.ParamStore.Slot(3, 0)->Gain, 250);
    EXPECT_EQ(ws.ParamStore.ValueAt(17, 2), 0);  // the factory slot is never edited
}

TEST(SceneRuleTest, SceneValueWritesBothScenesWhateverPerScene) {
    Workspace ws;
    ASSERT_TRUE(ws.SetSceneValue(1024, 55));
    EXPECT_EQ(ws.ParamStore.ValueAt(1024, 0), 55);
    EXPECT_EQ(ws.ParamStore.ValueAt(1024, 1), 55);
}

TEST(SceneRuleTest, OutOfRangeAccessesAreRefused) {
    Workspace ws;
    const ParamTable before = ws.ParamStore;
    EXPECT_FALSE(ws.SetValue(3000, 1));
    EXPECT_FALSE(ws.SetValue(-1, 1));
    EXPECT_FALSE(ws.SetValueBothScenes(123456, 1));
    EXPECT_FALSE(ws.ParamStore.SetValueAt(5, 3, 1));
    EXPECT_FALSE(ws.ParamStore.SetValueAt(5, -1, 1));
    EXPECT_EQ(ws.ParamStore.Slot(3000, 0), nullptr);
    EXPECT_EQ(ws.ParamStore.Slot(0, 3), nullptr);
    EXPECT_EQ(ws.GetValue(-7), 0);
    EXPECT_FALSE(ws.SetCurrentScene(2));
    EXPECT_FALSE(ws.SetCurrentPage(11));
    EXPECT_FALSE(ws.CopyScene(0, 3));
    EXPECT_TRUE(ws.ParamStore == before);
}

TEST(CopyTest, SceneCopyCopiesEveryField) {
    Workspace ws;
    ws.ParamStore.Slot(1, 0)->EQdisabled = true;
    ASSERT_TRUE(ws.CopyScene(0, 1));
    EXPECT_EQ(*ws.ParamStore.Slot(7, 1), *ws.ParamStore.Slot(7, 0));
    EXPECT_TRUE(ws.ParamStore.Slot(1, 1)->EQdisabled);
}

TEST(CopyTest, MicrophoneCopyFillsTheOtherKindAndBothScenes) {
    Workspace ws;
    ws.ParamStore.Slot(256 + 3, 0)->Gain = 300;
    ws.ParamStore.Slot(256 + 16, 0)->Value = 9;
    ws.ParamStore.Slot(256 + 21, 0)->Value = 7;  // kind 1 is one entry longer than kind 2
    ASSERT_TRUE(ws.CopyMicrophones(1, 2));
    EXPECT_EQ(ws.ParamStore.Slot(512 + 3, 0)->Gain, 300);
    EXPECT_EQ(ws.ParamStore.Slot(512 + 3, 1)->Gain, 300);
    EXPECT_EQ(ws.ParamStore.Slot(256 + 3, 1)->Gain, 300);
    EXPECT_EQ(ws.ParamStore.Slot(512 + 16, 1)->Value, 9);
    EXPECT_EQ(ws.ParamStore.Slot(512 + 21, 0)->Value, 7);
    EXPECT_FALSE(ws.CopyMicrophones(1, 1));
    EXPECT_FALSE(ws.CopyMicrophones(0, 2));
}

TEST(CopyTest, ShareSingleSceneValuesLeavesPerSceneEntriesAlone) {
    Workspace ws;
    ws.ParamStore.Slot(17, 0)->Value = 3;        // shared
    ws.ParamStore.Slot(1024, 0)->Value = 44;     // per scene
    ws.ParamStore.ShareSingleSceneValues();
    EXPECT_EQ(ws.ParamStore.ValueAt(17, 1), 3);
    EXPECT_EQ(ws.ParamStore.ValueAt(1024, 1), 100);
}

TEST(CopyTest, StoreToModeImageCopiesScenesOnly) {
    Workspace ws;
    ws.ParamStore.Slot(5, 1)->Gain = 111;
    ws.ParamStore.Slot(5, 2)->Gain = 222;
    ws.CopyStoreToModeImage();
    EXPECT_EQ(ws.ModeImage.Slot(5, 1)->Gain, 111);
    EXPECT_EQ(ws.ModeImage.Slot(5, 2)->Gain, 0);
}

TEST(LockTest, LockedByByteOrByBassAutoControlOnSceneEntries) {
    Workspace ws;
    EXPECT_FALSE(ws.EditLocked(1024));
    ws.SetBassAutoControl(1);
    EXPECT_TRUE(ws.EditLocked(1024));    // per scene
    EXPECT_FALSE(ws.EditLocked(1028));   // shared
    ws.SetBassAutoControl(0);
    ws.SetParamLocked(1028, 1);
    EXPECT_TRUE(ws.EditLocked(1028));
    ws.SetParamLocked(5000, 1);          // refused quietly
    EXPECT_EQ(ws.ParamLocked(5000), 0);
}

TEST(ParseAddrTest, AddressTexts) {
    EXPECT_EQ(ParseAddr("Group,1,&H15"), 277);
    EXPECT_EQ(ParseAddr("EQ,1,1"), 257);
    EXPECT_EQ(ParseAddr("Common,10,8"), 2568);
    EXPECT_EQ(ParseAddr("EQF,1,0"), 256);
    EXPECT_EQ(ParseAddr("EQT,4,6"), 1030);
    EXPECT_EQ(ParseAddr("x,&HA,&h1"), 2561);
    EXPECT_EQ(ParseAddr("EQ,1"), -1);
    EXPECT_EQ(ParseAddr(""), -1);
    EXPECT_EQ(ParseAddr("EQ,1,1,1"), -1);
    EXPECT_EQ(ParseAddr("EQ,one,1"), -1);
    EXPECT_EQ(ParseAddr("EQ,12,0"), -1);   // beyond 2999
    EXPECT_EQ(ParseAddr("EQ,-1,0"), -1);
    EXPECT_EQ(ParseAddr("EQ,99999999999999999999,0"), -1);
    // Written back the way the command line names an entry.
    EXPECT_EQ(ParamAddressText(ParseAddr("Group,1,&H15")), "entry 277 (kind 1, address 21)");
    EXPECT_EQ(ParamAddressText(2568), "entry 2568 (kind 10, address 8)");
}

TEST(ClockTest, VirtualTimeFiresInOrderAndRepeats) {
    VirtualClock clock;
    std::vector<std::pair<std::int64_t, int>> fired;
    clock.CallAfter(30, [&] { fired.push_back({clock.NowMs(), 1}); });
    const TimerId cancelled = clock.CallAfter(20, [&] { fired.push_back({clock.NowMs(), 9}); });
    clock.CallAfter(10, [&] { fired.push_back({clock.NowMs(), 2}); });
    clock.Cancel(cancelled);
    int ticks = 0;
    RepeatingTimer timer(clock, 50, [&] { ++ticks; });
    timer.Start();
    clock.AdvanceBy(29);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0], (std::pair<std::int64_t, int>{10, 2}));
    clock.AdvanceBy(221);
    EXPECT_EQ(fired.size(), 2u);
    EXPECT_EQ(ticks, 5);  // 50, 100, 150, 200, 250
    timer.Stop();
    clock.AdvanceBy(1000);
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(clock.NowMs(), 1250);
}

}  // namespace
}  // namespace vellora::model
