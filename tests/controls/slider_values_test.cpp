// Value types: position from value, value from position and the shown text, with the cases
// of the value table and the slider's documented edge cases.
#include <gtest/gtest.h>

#include <ostream>

#include "controls/slider_values.h"

namespace vellora::controls {
namespace {

struct TextCase {
    int type;
    int position;
    const char* text;
};

// Names the case in test output ("type 2, position 400 -> 0.0") instead of its raw bytes.
void PrintTo(const TextCase& c, std::ostream* os) {
    *os << "type " << c.type << ", position " << c.position << " -> " << c.text;
}

class ValueTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ValueTextTest, ShowsTheTableText) {
    const TextCase& c = GetParam();
    EXPECT_EQ(ValueText(c.type, c.position), c.text)
        << "type " << c.type << " position " << c.position;
}

INSTANTIATE_TEST_SUITE_P(
    AllTypes, ValueTextTest,
    ::testing::Values(TextCase{0, 37, "37"}, TextCase{1, 0, "19.7"}, TextCase{1, 8, "23"},
                      TextCase{1, 142, "303"}, TextCase{2, 400, "0.0"}, TextCase{2, 0, "-40.0"},
                      TextCase{2, 395, "-0.5"}, TextCase{3, 0, "1.0"}, TextCase{3, 89, "9.9"},
                      TextCase{3, 90, "10"}, TextCase{3, 180, "100"}, TextCase{4, 0, "0.5"},
                      TextCase{4, 198, "99.5"}, TextCase{5, 0, "10"}, TextCase{5, 198, "1990"},
                      TextCase{6, 0, "5990"}, TextCase{6, 63, "20200"}, TextCase{7, 0, "1"},
                      TextCase{8, 0, "-50"}, TextCase{8, 50, "0"}, TextCase{9, 0, "25"},
                      TextCase{10, 99, "99%"}, TextCase{10, 100, "100%"}, TextCase{10, 150, "200%"},
                      TextCase{11, 35, "3.5"}, TextCase{12, 260, "0.0"}, TextCase{12, 400, "14.0"},
                      TextCase{12, 0, "-26.0"}, TextCase{13, 0, "OFF"}, TextCase{13, 1, "19.7"},
                      TextCase{13, 143, "303"}, TextCase{14, 36, "360"}, TextCase{15, 240, "250"},
                      TextCase{16, 63, "20200"}, TextCase{16, 64, "OFF"}, TextCase{16, 0, "5990"},
                      TextCase{17, 12, "12"}, TextCase{99, 7, "7"}));

TEST(SliderValues, BandStripGainSteps) {
    // Form 1 uses type 15: value 250 (0.0 dB) is position 240, 10 is 0, 370 is 360.
    EXPECT_EQ(PositionFromValue(15, 250), 240);
    EXPECT_EQ(PositionFromValue(15, 10), 0);
    EXPECT_EQ(PositionFromValue(15, 370), 360);
    EXPECT_EQ(ValueFromPosition(15, 240), 250);
}

TEST(SliderValues, PercentAboveHundredTakesTwoPercentPerPosition) {
    EXPECT_EQ(PositionFromValue(10, 151), 125);
    EXPECT_EQ(ValueFromPosition(10, 125), 150);
    EXPECT_EQ(PositionFromValue(10, 99), 99);
    EXPECT_EQ(PositionFromValue(10, 200), 150);
    EXPECT_EQ(ValueFromPosition(10, 99), 99);
    EXPECT_EQ(ValueFromPosition(10, 150), 200);
}

TEST(SliderValues, ReversedTypesRunFromTheRight) {
    EXPECT_EQ(PositionFromValue(2, 0), 400);
    EXPECT_EQ(PositionFromValue(2, 400), 0);
    EXPECT_EQ(ValueFromPosition(2, 400), 0);
    EXPECT_EQ(PositionFromValue(12, 140), 260);
}

TEST(SliderValues, OffsetsAndHalvesToEven) {
    EXPECT_EQ(PositionFromValue(6, 298), 0);
    EXPECT_EQ(PositionFromValue(9, 25), 0);
    EXPECT_EQ(PositionFromValue(3, 10), 0);
    EXPECT_EQ(PositionFromValue(0, 2.5), 2);
    EXPECT_EQ(PositionFromValue(0, 3.5), 4);
    EXPECT_EQ(ValueFromPosition(16, 64), 362);
    // Types above 16 have no value.
    EXPECT_EQ(PositionFromValue(17, 55), 0);
    EXPECT_EQ(ValueFromPosition(17, 55), 0);
}

TEST(SliderValues, FlagBitRidesAbove250) {
    const FlaggedValue v = SplitFlag(300);
    EXPECT_TRUE(v.flag);
    EXPECT_EQ(v.value, 50);
    EXPECT_FALSE(SplitFlag(249).flag);
    EXPECT_EQ(JoinFlag(true, 50), 300);
    EXPECT_EQ(JoinFlag(false, 50), 50);
}

}  // namespace
}  // namespace vellora::controls
