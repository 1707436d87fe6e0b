// Slider geometry: the layout table by form and HScrollSize, the mapping between pointer and
// position, and the band strip's rows and buttons.
#include <gtest/gtest.h>

#include "controls/slider_layout.h"

namespace vellora::controls {
namespace {

struct LayoutCase {
    int form, hs, c;
    SliderLayout expected;
};

TEST(SliderLayout, SizesThumbsAndTracksByForm) {
    const LayoutCase cases[] = {
        {0, 0, 0, {0, 74, 180, 18, 22, 24, 26, 123}}, {1, 0, 0, {1, 43, 178, 24, 16, 16, 18, 95}},
        {1, 0, 1, {1, 43, 224, 24, 16, 16, 18, 122}}, {2, 0, 0, {2, 150, 40, 15, 22, 12, 15, 122}},
        {2, 1, 0, {2, 150, 40, 15, 22, 12, 15, 122}}, {2, 2, 0, {2, 170, 30, 15, 22, 7, 2, 122}},
        {2, 3, 0, {2, 180, 26, 15, 22, 7, 2, 122}},   {2, 4, 0, {2, 170, 30, 15, 22, 7, 2, 122}},
        {3, 2, 0, {3, 184, 25, 15, 22, 7, 2, 122}},   {4, 0, 0, {4, 124, 42, 15, 22, 8, 18, 110}},
        {5, 0, 0, {5, 127, 167, 0, 0, 0, 0, 0}},      {6, 0, 0, {6, 182, 28, 15, 22, 8, 4, 140}},
        {7, 3, 0, {7, 174, 25, 15, 22, 7, 2, 122}},
    };
    for (const LayoutCase& c : cases) {
        const SliderLayout l = ComputeLayout(c.form, c.hs, c.c);
        const SliderLayout& e = c.expected;
        EXPECT_EQ(l.width, e.width) << "form " << c.form << " hs " << c.hs;
        EXPECT_EQ(l.height, e.height) << "form " << c.form;
        EXPECT_EQ(l.thumbW, e.thumbW) << "form " << c.form;
        EXPECT_EQ(l.thumbH, e.thumbH) << "form " << c.form;
        EXPECT_EQ(l.trackX, e.trackX) << "form " << c.form << " hs " << c.hs;
        EXPECT_EQ(l.trackTop, e.trackTop) << "form " << c.form << " hs " << c.hs;
        EXPECT_EQ(l.trackLength, e.trackLength) << "form " << c.form;
    }
    // Out-of-range forms and sizes are pulled in, never read past a table.
    EXPECT_EQ(ComputeLayout(42, -3, 9).form, kBarNarrow);
    EXPECT_EQ(ComputeLayout(-1, 0, 0).form, kFader);
}

TEST(SliderLayout, FlagBitOnFaderAndHScrollSize3) {
    EXPECT_TRUE(HasFlagBit(0, 0));
    EXPECT_TRUE(HasFlagBit(2, 3));
    EXPECT_FALSE(HasFlagBit(2, 2));
    EXPECT_FALSE(HasFlagBit(1, 0));
}

TEST(SliderLayout, ThumbCentreAndPositionUnderThePointer) {
    const SliderLayout fader = ComputeLayout(0, 0, 0);
    EXPECT_DOUBLE_EQ(ThumbCentre(fader, 150, 150), 26.0);  // top of the track
    EXPECT_DOUBLE_EQ(ThumbCentre(fader, 0, 150), 149.0);   // bottom
    EXPECT_EQ(PositionAt(fader, 26.0, 150), 150);
    EXPECT_EQ(PositionAt(fader, 149.0, 150), 0);
    EXPECT_EQ(PositionAt(fader, 500.0, 150), 0);  // clamped
    const SliderLayout bar = ComputeLayout(2, 0, 0);
    EXPECT_DOUBLE_EQ(ThumbCentre(bar, 40, 80), 73.0);
    EXPECT_EQ(PositionAt(bar, 12.0, 80), 0);
    EXPECT_EQ(PositionAt(bar, 134.0, 80), 80);
    EXPECT_EQ(PositionAt(bar, -40.0, 80), 0);
    EXPECT_EQ(PositionAt(bar, 900.0, 80), 80);
}

TEST(SliderLayout, ThumbTravelAndWhereTheBedsLie) {
    // The thumb centre runs down the fader's column and along the middle of a bar's thumb row.
    const Travel fader = ThumbTravel(ComputeLayout(kFader, 0, 0));
    EXPECT_DOUBLE_EQ(fader.low.x, 33.0);
    EXPECT_DOUBLE_EQ(fader.low.y, 149.0);
    EXPECT_DOUBLE_EQ(fader.high.y, 26.0);
    const Travel bar = ThumbTravel(ComputeLayout(kBarShort, 0, 0));
    EXPECT_DOUBLE_EQ(bar.low.x, 8.0);
    EXPECT_DOUBLE_EQ(bar.high.x, 118.0);
    EXPECT_DOUBLE_EQ(bar.low.y, 29.0);
    // Beds: the fader's 2 pixels down; a bar bed follows a track placed elsewhere.
    struct Case {
        SliderBed bed;
        SliderLayout l;
        double x, y;
    };
    const Case cases[] = {
        {SliderBed::Fader, ComputeLayout(kFader, 0, 0), 0, 2},
        {SliderBed::StripTall, ComputeLayout(kBandStrip, 0, 1), 0, 0},
        {SliderBed::Bar, ComputeLayout(kBar, 1, 0), 0, 0},
        {SliderBed::Bar, ComputeLayout(kBarNarrow, 2, 0), -5, -13},
        {SliderBed::BarLow, ComputeLayout(kBarShort, 0, 0), 1, 16},
        {SliderBed::Mute, ComputeLayout(kBarMute, 0, 0), 0, 0},
    };
    for (const Case& c : cases) {
        const Pt at = BedOrigin(c.bed, c.l);
        EXPECT_DOUBLE_EQ(at.x, c.x) << "form " << c.l.form;
        EXPECT_DOUBLE_EQ(at.y, c.y) << "form " << c.l.form;
    }
}

TEST(SliderLayout, ThumbHitBoxes) {
    const SliderLayout fader = ComputeLayout(0, 0, 0);
    EXPECT_TRUE(ThumbHit(fader, 80.0, {24, 69}));
    EXPECT_TRUE(ThumbHit(fader, 80.0, {42, 91}));
    EXPECT_FALSE(ThumbHit(fader, 80.0, {43, 80}));
    EXPECT_FALSE(ThumbHit(fader, 80.0, {30, 92}));
    const SliderLayout bar = ComputeLayout(2, 0, 0);
    EXPECT_TRUE(ThumbHit(bar, 73.0, {65.5, 13}));  // 2 px above the thumb still counts
    EXPECT_TRUE(ThumbHit(bar, 73.0, {80.5, 39}));
    EXPECT_FALSE(ThumbHit(bar, 73.0, {81, 20}));
    EXPECT_FALSE(ThumbHit(bar, 73.0, {73, 12}));
}

TEST(SliderLayout, KnobSweepsFromMinus133To133Degrees) {
    EXPECT_DOUBLE_EQ(KnobAngle(0, 80), -133.0);
    EXPECT_DOUBLE_EQ(KnobAngle(40, 80), 0.0);
    EXPECT_DOUBLE_EQ(KnobAngle(80, 80), 133.0);
}

TEST(SliderLayout, BandStripRowsAndButtons) {
    EXPECT_EQ(BandTextRow(126, 0), 0);
    EXPECT_EQ(BandTextRow(125, 0), std::nullopt);  // bounds are exclusive
    EXPECT_EQ(BandTextRow(145, 0), 1);
    EXPECT_EQ(BandTextRow(160, 0), 2);
    EXPECT_EQ(BandTextRow(165, 0), std::nullopt);
    EXPECT_EQ(BandTextRow(160, 1), 0);  // tall strip: rows move down
    EXPECT_EQ(BandTextRow(180, 1), 1);
    EXPECT_EQ(BandTextRow(195, 1), 2);
    EXPECT_TRUE(BandSwitchRow(170, 0));
    EXPECT_FALSE(BandSwitchRow(177, 0));
    EXPECT_TRUE(BandSwitchRow(212, 1));
    EXPECT_EQ(BandShapeAt({5, 70}), 0);
    EXPECT_EQ(BandShapeAt({5, 90}), 1);
    EXPECT_EQ(BandShapeAt({5, 100}), 2);
    EXPECT_EQ(BandShapeAt({5, 78}), std::nullopt);
    EXPECT_EQ(BandShapeAt({16, 70}), std::nullopt);
    EXPECT_EQ(EntryBoxRect(0, 0).y, 123);
    EXPECT_EQ(EntryBoxRect(1, 1).y, 172);
    EXPECT_EQ(EntryBoxRect(2, 0).x, 4);
}

TEST(SliderLayout, FlagButtonAndTextFields) {
    const SliderLayout fader = ComputeLayout(0, 0, 0);
    EXPECT_TRUE(FlagButtonHit(fader, 0, {13, 161}));
    EXPECT_TRUE(FlagButtonHit(fader, 0, {25, 170}));
    EXPECT_FALSE(FlagButtonHit(fader, 0, {26, 165}));
    const SliderLayout bar = ComputeLayout(2, 3, 0);
    EXPECT_TRUE(FlagButtonHit(bar, 3, {146, 0}));
    EXPECT_FALSE(FlagButtonHit(bar, 3, {153, 10}));
    // Texts are centred at 6 px a character in their field.
    EXPECT_EQ(FieldStartX(30, 2, 4), 24);
    EXPECT_EQ(FieldStartX(8, 4, 3), 11);
    EXPECT_EQ(FieldStartX(8, 0, 3), 8);
    EXPECT_EQ(HScrollTextAnchor(3).x, 154);
    EXPECT_EQ(HScrollTextAnchor(0).y, 1);
}

}  // namespace
}  // namespace vellora::controls
