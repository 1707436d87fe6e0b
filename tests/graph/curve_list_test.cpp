// The band list of each page from the factory defaults: order, pairing, fixed crossover
// types, narrowed ranges of the effects page, greying, locks, clamps and slider binding.
#include "graph/curve_list_builder.h"

#include <gtest/gtest.h>

#include "model/value_scales.h"
#include "test_slider_host.h"

namespace vellora::graph {
namespace {

using model::Workspace;

CurveList Build(const Workspace& ws, int page, int scene = 0, int view = 0, SliderHost* host = nullptr) {
    return BuildCurveList(ws, GraphView{page, scene, view}, host);
}

TEST(CurveList, MusicPageHas15BandsThenHighPassThenLowPass) {
    Workspace ws;
    const CurveList list = Build(ws, 0);
    ASSERT_EQ(list.CurveCount, 17);
    for (int i = 0; i < 15; ++i) {
        const CurveBand& b = list.Bands[static_cast<size_t>(i)];
        EXPECT_EQ(b.FilterType, kBandEq);
        EXPECT_EQ(b.ParamIndex, i);
        EXPECT_EQ(b.Column, i);
        EXPECT_FALSE(b.Paired);
    }
    EXPECT_EQ(list.Bands[7].GainOrType, 400);  // +15.0 dB in the singing scene
    EXPECT_EQ(list.Bands[0].Freq, model::FreqIndex(25));
    EXPECT_EQ(list.Bands[0].Q, 16);
    EXPECT_EQ(list.Bands[0].ShelfQ, 10);
    const CurveBand& hp = list.Bands[15];
    EXPECT_EQ(hp.FilterType, kBandHighPass);
    EXPECT_EQ(hp.ParamIndex, 15);
    EXPECT_EQ(hp.Freq, 0);        // off
    EXPECT_EQ(hp.GainOrType, 0);  // fixed type
    const CurveBand& lp = list.Bands[16];
    EXPECT_EQ(lp.FilterType, kBandLowPass);
    EXPECT_EQ(lp.ParamIndex, 16);
    EXPECT_EQ(lp.Freq, 362);
    EXPECT_EQ(lp.GainOrType, 0);
    EXPECT_FALSE(list.PageGreyed);
}

TEST(CurveList, TheSceneSlotIsRead) {
    Workspace ws;
    EXPECT_EQ(Build(ws, 0, 0).Bands[7].GainOrType, 400);
    EXPECT_EQ(Build(ws, 0, 1).Bands[7].GainOrType, 250);
}

TEST(CurveList, SingleHighPassTypesByPage) {
    Workspace ws;
    for (int page : {1, 2}) {
        const CurveList list = Build(ws, page);
        ASSERT_EQ(list.CurveCount, 16);
        EXPECT_EQ(list.Bands[0].ParamIndex, page * 256 + 1);
        EXPECT_EQ(list.Bands[15].FilterType, kBandHighPass);
        EXPECT_EQ(list.Bands[15].ParamIndex, page * 256);
        EXPECT_EQ(list.Bands[15].GainOrType, 1);  // two sections on the microphone pages
        EXPECT_EQ(list.Bands[15].Freq, model::FreqIndex(80));
    }
}

TEST(CurveList, OutputPagesPairTypeAndFrequencyEntries) {
    Workspace ws;
    const CurveList main = Build(ws, 4);
    ASSERT_EQ(main.CurveCount, 11);
    const CurveBand& hp = main.Bands[10];
    EXPECT_TRUE(hp.Paired);
    EXPECT_EQ(hp.ParamIndex, 1024 + 6);
    EXPECT_EQ(hp.FreqEntry(), 1024 + 7);
    EXPECT_EQ(hp.Freq, 1);
    EXPECT_EQ(hp.GainOrType, 0);

    ws.ParamStore.Slot(1792 + 9, 0)->Value = 3;  // subwoofer low-pass: "Bessel 24dB"
    const CurveList sub = Build(ws, 7);
    ASSERT_EQ(sub.CurveCount, 7);
    EXPECT_EQ(sub.Bands[5].FilterType, kBandHighPass);
    EXPECT_EQ(sub.Bands[5].ParamIndex, 1792 + 7);
    EXPECT_EQ(sub.Bands[6].FilterType, kBandLowPass);
    EXPECT_EQ(sub.Bands[6].ParamIndex, 1792 + 9);
    EXPECT_EQ(sub.Bands[6].Freq, model::FreqIndex(320));
    EXPECT_EQ(sub.Bands[6].GainOrType, 3);
    EXPECT_TRUE(sub.Bands[6].Paired);
}

TEST(CurveList, EffectsPageShowsTheBandsOfItsView) {
    Workspace ws;
    const CurveList echo = Build(ws, 3, 0, 0);
    ASSERT_EQ(echo.CurveCount, 7);
    EXPECT_EQ(echo.Bands[0].ParamIndex, 776);
    EXPECT_EQ(echo.Bands[4].ParamIndex, 780);
    EXPECT_EQ(echo.Bands[5].ParamIndex, 774);
    EXPECT_EQ(echo.Bands[5].Freq, model::FreqIndex(120));
    EXPECT_EQ(echo.Bands[6].ParamIndex, 775);
    const CurveList reverb = Build(ws, 3, 0, 1);
    ASSERT_EQ(reverb.CurveCount, 7);
    EXPECT_EQ(reverb.Bands[0].ParamIndex, 794);
    EXPECT_EQ(reverb.Bands[5].ParamIndex, 781);
    EXPECT_EQ(reverb.Bands[6].ParamIndex, 782);
    const CurveList effect = Build(ws, 3, 0, 2);
    ASSERT_EQ(effect.CurveCount, 5);
    EXPECT_EQ(effect.Bands[0].ParamIndex, 799);
    EXPECT_EQ(effect.Bands[4].ParamIndex, 803);
}

TEST(CurveList, BassAutoControlGreysPagesWhoseBandsArePerScene) {
    Workspace ws;
    ws.SetBassAutoControl(1);
    EXPECT_TRUE(Build(ws, 0).PageGreyed);
    EXPECT_TRUE(Build(ws, 7).PageGreyed);
    EXPECT_FALSE(Build(ws, 1).PageGreyed);  // microphone bands are shared by both scenes
    // A page without EQ bands never greys, even with per-scene filters.
    for (int k = 1792 + 11; k <= 1792 + 15; ++k)
        for (int s = 0; s < 3; ++s) ws.ParamStore.Slot(k, s)->FilterType = model::kPlain;
    const CurveList filtersOnly = Build(ws, 7);
    EXPECT_EQ(filtersOnly.CurveCount, 2);
    EXPECT_FALSE(filtersOnly.PageGreyed);
    ws.SetBassAutoControl(0);
    EXPECT_FALSE(Build(ws, 0).PageGreyed);
}

TEST(CurveList, LocksFilterClampsAndTheLimitOf17) {
    Workspace ws;
    ws.SetParamLocked(3, 1);
    ws.SetParamLocked(1024 + 6, 1);
    EXPECT_TRUE(Build(ws, 0).Bands[3].Locked);
    EXPECT_FALSE(Build(ws, 0).Bands[2].Locked);
    EXPECT_TRUE(Build(ws, 4).Bands[10].Locked);

    ws.ParamStore.Slot(1024 + 7, 0)->Value = 9000;
    EXPECT_EQ(Build(ws, 4).Bands[10].Freq, 361);
    ws.ParamStore.Slot(1024 + 7, 0)->Value = -4;
    EXPECT_EQ(Build(ws, 4).Bands[10].Freq, 1);
    ws.ParamStore.Slot(1024 + 7, 0)->Value = 362;
    EXPECT_EQ(Build(ws, 4).Bands[10].Freq, 362);

    // Eighteen EQ entries in one view: collection stops at 17.
    for (int k = 781; k <= 798; ++k) ws.ParamStore.Slot(k, 0)->FilterType = model::kEqBand;
    const CurveList full = Build(ws, 3, 0, 1);
    EXPECT_EQ(full.CurveCount, kMaxBands);
    EXPECT_EQ(full.Bands[16].ParamIndex, 797);
}

TEST(CurveList, PagesWithoutBandsAndBadViews) {
    Workspace ws;
    EXPECT_EQ(Build(ws, 8).CurveCount, 0);
    EXPECT_EQ(Build(ws, 10).CurveCount, 0);
    EXPECT_EQ(Build(ws, 11).CurveCount, 0);
    EXPECT_EQ(Build(ws, -1).CurveCount, 0);
    EXPECT_EQ(Build(ws, 0, 7).Bands[7].GainOrType, 400);  // a bad scene reads slot 0
    EXPECT_EQ(Build(ws, 3, 0, 9).Bands[0].ParamIndex, 799);
}

TEST(CurveList, BypassEntries) {
    EXPECT_EQ(BypassEntry({0, 0, 0}), 2582);
    EXPECT_EQ(BypassEntry({7, 0, 0}), 2589);
    EXPECT_EQ(BypassEntry({3, 0, 0}), 2599);
    EXPECT_EQ(BypassEntry({3, 0, 1}), 2600);
    EXPECT_EQ(BypassEntry({3, 0, 2}), 2585);
    EXPECT_EQ(BypassEntry({8, 0, 0}), -1);  // 2590 is the scene selector, not a bypass
    EXPECT_EQ(BypassEntry({-2, 0, 0}), -1);
}

TEST(CurveList, BandsAreBoundToTheirSliders) {
    Workspace ws;
    test::TestSliderHost host;
    host.Add(2560);                   // 0: master slider
    const int stale = host.Add(900);  // a slider of another page, tagged earlier
    host.sliders[static_cast<size_t>(stale)].EqIndex = 4;
    const int band2 = host.Add(1024 + 10);
    const int hpFreq = host.Add(1024 + 7);
    const int hpType = host.Add(1024 + 6);
    const CurveList list = Build(ws, 4, 0, 0, &host);

    EXPECT_EQ(host.sliders[static_cast<size_t>(stale)].EqIndex, -1);
    EXPECT_EQ(list.Bands[2].SliderIndex, band2);
    EXPECT_EQ(host.sliders[static_cast<size_t>(band2)].EqIndex, 2);
    const SliderBandFields& f = host.sliders[static_cast<size_t>(band2)].Band;
    EXPECT_EQ(f.Freq, model::FreqIndex(125));
    EXPECT_EQ(f.Q, 16);
    EXPECT_EQ(f.sQ, 10);
    EXPECT_EQ(f.Value, 250);
    EXPECT_FALSE(f.EQdisabled);

    // A paired filter's slider is the one of its frequency entry.
    EXPECT_EQ(list.Bands[10].SliderIndex, hpFreq);
    EXPECT_EQ(host.sliders[static_cast<size_t>(hpFreq)].EqIndex, 10);
    EXPECT_EQ(host.sliders[static_cast<size_t>(hpFreq)].Value, 1);
    EXPECT_EQ(host.sliders[static_cast<size_t>(hpType)].EqIndex, -1);
    EXPECT_EQ(host.sliders[static_cast<size_t>(hpType)].ValueWrites, 0);
    EXPECT_EQ(list.Bands[0].SliderIndex, 0);  // no slider: none
}

}  // namespace
}  // namespace vellora::graph
