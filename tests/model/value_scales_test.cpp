// Frequency and Q tables, their lookups, the gain and Q texts, and the clamps.
#include <gtest/gtest.h>

#include "model/value_scales.h"

namespace vellora::model {
namespace {

TEST(FreqTableTest, HoldsTheProcessorsFrequencies) {
    const auto& t = FreqTable();
    EXPECT_FLOAT_EQ(t[0], 17.0f);
    EXPECT_FLOAT_EQ(t[1], 19.7f);
    EXPECT_FLOAT_EQ(t[9], 23.0f);
    EXPECT_FLOAT_EQ(t[58], 59.0f);
    EXPECT_FLOAT_EQ(t[82], 94.0f);
    EXPECT_FLOAT_EQ(t[205], 1000.0f);
    EXPECT_FLOAT_EQ(t[313], 8000.0f);
    EXPECT_FLOAT_EQ(t[325], 10100.0f);
    EXPECT_FLOAT_EQ(t[360], 19800.0f);
    EXPECT_FLOAT_EQ(t[361], 20200.0f);
    EXPECT_FLOAT_EQ(t[362], 20220.0f);
    for (size_t i = 2; i < t.size(); ++i) EXPECT_GT(t[i], t[i - 1]) << "index " << i;
}

TEST(QTableTest, HoldsTheQualityFactors) {
    const auto& t = QTable();
    EXPECT_FLOAT_EQ(t[0], 0.40f);
    EXPECT_FLOAT_EQ(t[10], 0.71f);
    EXPECT_FLOAT_EQ(t[16], 1.00f);
    EXPECT_FLOAT_EQ(t[26], 1.80f);
    EXPECT_FLOAT_EQ(t[56], 10.10f);
    EXPECT_FLOAT_EQ(t[100], 128.0f);
    for (size_t i = 1; i < t.size(); ++i) EXPECT_GT(t[i], t[i - 1]) << "index " << i;
}

TEST(FreqIndexTest, FindsTheFirstEntryAtOrAbove) {
    struct Case { double hz; int index; } cases[] = {
        {10, 0},     {17, 0},     {19.7, 1},   {80, 74},    {303, 143},  {334, 148},
        {5900, 298}, {5990, 298}, {8000, 313}, {10000, 325}, {20200, 361}, {20220, 362},
        {100000, 362}, {0, 0},     {-5, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(FreqIndex(c.hz), c.index) << c.hz << " Hz";
}

TEST(QIndexTest, ComparesInSinglePrecision) {
    EXPECT_EQ(QIndex(1.0), 16);
    EXPECT_EQ(QIndex(0.71), 10);  // 0.71 as a double lies just above the table's float
    EXPECT_EQ(QIndex(0.4), 0);
    EXPECT_EQ(QIndex(0.1), 0);
    EXPECT_EQ(QIndex(1.8), 26);
    EXPECT_EQ(QIndex(500), 100);
}

TEST(GainTextTest, FormatsTenthsOfDecibels) {
    EXPECT_EQ(GainText(250), "0.0");
    EXPECT_EQ(GainText(330), "8.0");
    EXPECT_EQ(GainText(60), "-19.0");
    EXPECT_EQ(GainText(10), "-24.0");
    EXPECT_EQ(GainText(370), "12.0");
    EXPECT_EQ(GainText(245), "-0.5");
    EXPECT_EQ(GainText(251), "0.1");
    EXPECT_EQ(GainText(-2147483647 - 1), "-214748389.8");  // no overflow at the extremes
    EXPECT_EQ(GainText(2147483647), "214748339.7");
}

TEST(GainStepTest, ReadsDecibelTextAndRoundsHalfToEven) {
    EXPECT_EQ(GainStep("0"), 250);
    EXPECT_EQ(GainStep("8.0"), 330);
    EXPECT_EQ(GainStep("-19"), 60);
    EXPECT_EQ(GainStep(" 12 "), 370);
    EXPECT_EQ(GainStep("0.25"), 252);   // 252.5 -> 252
    EXPECT_EQ(GainStep("0.35"), 254);   // 253.5 -> 254
    EXPECT_EQ(GainStep("abc"), 250);
    EXPECT_EQ(GainStep(""), 250);
    EXPECT_EQ(GainStep("1e9"), 2147483647);  // saturates instead of overflowing
}

TEST(QTextTest, FormatsTwoDecimalsAndClampsTheIndex) {
    EXPECT_EQ(QText(16), "1.00");
    EXPECT_EQ(QText(10), "0.71");
    EXPECT_EQ(QText(100), "128.00");
    EXPECT_EQ(QText(900), "128.00");
    EXPECT_EQ(QText(-3), "0.40");
}

TEST(RoundingTest, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
    EXPECT_EQ(RoundHalfEven(1e300), 2147483647);
}

TEST(ClampTest, StepClamps) {
    EXPECT_EQ(GainClamp(5), 10);
    EXPECT_EQ(GainClamp(400), 370);
    EXPECT_EQ(GainClamp(250), 250);
    EXPECT_EQ(QClamp(-1), 0);
    EXPECT_EQ(QClamp(101), 100);
    EXPECT_EQ(ShelfQClamp(27), 26);
    EXPECT_EQ(ShelfQClamp(-2), 0);
    EXPECT_EQ(StepUp(99), 100);
    EXPECT_EQ(StepUp(100), 100);
    EXPECT_EQ(StepDown(1), 0);
    EXPECT_EQ(StepDown(0), 0);
}

TEST(FreqClampTest, LimitsDependOnFilterKindAndPage) {
    struct Case { int index; bool limited; int kind; int page; int expected; } cases[] = {
        {0, false, 2, 0, 1},     {362, false, 3, 0, 361},  {200, false, 1, 4, 200},
        {0, true, 2, 4, 0},      {200, true, 2, 4, 143},   {0, true, 2, 3, 1},
        {100, true, 3, 7, 100},  {200, true, 3, 7, 143},   {0, true, 3, 7, 1},
        {100, true, 3, 1, 298},  {362, true, 3, 2, 361},   {300, true, 3, 3, 300},
        {362, true, 3, 0, 362},  {200, true, 3, 0, 298},   {362, true, 3, 4, 361},
        {0, true, 1, 0, 1},      {362, true, 1, 0, 361},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FreqClamp(c.index, c.limited, c.kind, c.page), c.expected)
            << "index " << c.index << " kind " << c.kind << " page " << c.page;
}

TEST(BandCentresTest, ListsSeedEachSectionSize) {
    EXPECT_EQ(BandCentres(CentreList::Bands15).size(), 15u);
    EXPECT_EQ(BandCentres(CentreList::Bands10).size(), 10u);
    EXPECT_EQ(BandCentres(CentreList::Bands7).size(), 7u);
    EXPECT_EQ(BandCentres(CentreList::Bands5).back(), 14000);
    EXPECT_EQ(BandCentres(CentreList::Subwoofer5).front(), 25);
}

}  // namespace
}  // namespace vellora::model
