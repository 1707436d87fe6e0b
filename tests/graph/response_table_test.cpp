// Band curves on the grid: the documented responses of peaking bands and crossovers, the
// cascades per page, off positions, switched-off bands, and agreement with an independent
// double-precision evaluation.
#include "graph/response_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "graph/graph_geometry.h"
#include "model/value_scales.h"
#include "reference_biquad.h"

namespace vellora::graph {
namespace {

constexpr int kIndex1000Hz = 205;  // FreqTable[205] = 1000

CurveBand Peaking(int freq, int gain, int q = 16) {
    CurveBand b;
    b.FilterType = kBandEq;
    b.Freq = freq;
    b.GainOrType = gain;
    b.Q = q;
    b.ShelfQ = 10;
    b.QType = 0;
    return b;
}

CurveBand Filter(int filterType, int freq, int type) {
    CurveBand b;
    b.FilterType = filterType;
    b.Freq = freq;
    b.GainOrType = type;
    return b;
}

// The band's dB values at the given frequencies.
std::vector<float> Evaluate(const CurveBand& band, std::vector<float> freqs, int page = 0) {
    ResponseTable t;
    t.PrepareGrid(freqs);
    t.ComputeBandCurve(band, page);
    auto col = t.Column(band.Column);
    return {col.begin(), col.end()};
}

float At(const CurveBand& band, float hz, int page = 0) { return Evaluate(band, {hz}, page)[0]; }

std::vector<float> DefaultGrid() {
    GraphGeometry g;
    g.SetupGeometry(645, 400);
    return g.GridFrequencies();
}

TEST(ResponseTable, SineTablesHoldHalfTheNormalisedAngle) {
    ResponseTable t;
    const std::vector<float> f{12000.0f, 6000.0f};
    t.PrepareGrid(f);
    ASSERT_EQ(t.GridSize(), 2);
    EXPECT_NEAR(t.Sin2()[0], 0.5, 1e-5);   // sin^2(pi/4)
    EXPECT_NEAR(t.Sin4()[0], 0.25, 1e-5);
    EXPECT_NEAR(t.Sin2()[1], std::pow(std::sin(std::numbers::pi / 8), 2), 1e-5);
    EXPECT_EQ(t.Column(0).size(), 2u);
    EXPECT_EQ(t.Column(16).size(), 2u);
    EXPECT_TRUE(t.Column(17).empty());
    EXPECT_TRUE(t.Column(-1).empty());
}

TEST(ResponseTable, PeakingAtZeroDbIsFlat) {
    for (int q : {0, 16, 100}) {
        const auto col = Evaluate(Peaking(kIndex1000Hz, 250, q), DefaultGrid());
        for (float v : col) ASSERT_NEAR(v, 0.0f, 1e-5f);
    }
}

TEST(ResponseTable, PeakingReachesItsGainAtTheCentre) {
    for (int freq : {1, 74, kIndex1000Hz, 313, 361})
        for (int gain : {10, 60, 200, 330, 370}) {
            const float f0 = model::FreqAt(freq);
            SCOPED_TRACE(testing::Message() << f0 << " Hz, step " << gain);
            EXPECT_NEAR(At(Peaking(freq, gain), f0), (gain - 250) / 10.0, 0.02);
        }
}

TEST(ResponseTable, PeakingNarrowsAsTheQIndexRises) {
    float previous = 100.0f;
    for (int q : {0, 10, 16, 40, 70, 100}) {
        const float octaveAbove = At(Peaking(kIndex1000Hz, 370, q), 2000.0f);
        EXPECT_LT(octaveAbove, previous) << "Q index " << q;
        previous = octaveAbove;
    }
    EXPECT_LT(previous, 0.05f);
}

TEST(ResponseTable, CrossoversOfTheFullListAtTheirCorner) {
    struct Case {
        int type;
        double corner;
    };
    const Case cases[] = {{0, -12.04}, {1, -6.02}, {2, -3.01}, {3, -9.54}, {4, -4.77}, {9, -4.77}};
    for (const Case& c : cases)
        for (int kind : {kBandHighPass, kBandLowPass}) {
            SCOPED_TRACE(testing::Message() << "type " << c.type << " kind " << kind);
            EXPECT_NEAR(At(Filter(kind, kIndex1000Hz, c.type), 1000.0f, 7), c.corner, 0.02);
        }
}

TEST(ResponseTable, Linkwitz48FallsBy48DbPerOctave) {
    const auto hp = Evaluate(Filter(kBandHighPass, kIndex1000Hz, 0), {30.0f, 60.0f}, 7);
    // Far from the corner each section adds 20 log10(4) = 12.04 dB per octave.
    EXPECT_NEAR(hp[1] - hp[0], 48.16, 0.05);
    const int index100Hz = model::FreqIndex(101);
    const auto lp = Evaluate(Filter(kBandLowPass, index100Hz, 0), {700.0f, 1400.0f}, 7);
    EXPECT_NEAR(lp[0] - lp[1], 48.16, 0.3);
    const auto lr24 = Evaluate(Filter(kBandHighPass, kIndex1000Hz, 1), {30.0f, 60.0f}, 7);
    EXPECT_NEAR(lr24[1] - lr24[0], 24.08, 0.05);
}

TEST(ResponseTable, OtherPagesDrawOneOrTwoButterworthSections) {
    for (int page : {0, 1, 2, 3, 4, 5, 6}) {
        EXPECT_NEAR(At(Filter(kBandHighPass, kIndex1000Hz, 0), 1000.0f, page), -3.01, 0.02);
        for (int type : {1, 2, 3, 4}) {
            SCOPED_TRACE(testing::Message() << "page " << page << " type " << type);
            EXPECT_NEAR(At(Filter(kBandHighPass, kIndex1000Hz, type), 1000.0f, page), -6.02, 0.02);
            EXPECT_NEAR(At(Filter(kBandLowPass, kIndex1000Hz, type), 1000.0f, page), -6.02, 0.02);
        }
    }
}

TEST(ResponseTable, FiltersAtTheirOffPositionsDrawNothing) {
    const auto grid = DefaultGrid();
    for (float v : Evaluate(Filter(kBandHighPass, 0, 0), grid)) ASSERT_EQ(v, 0.0f);
    for (float v : Evaluate(Filter(kBandLowPass, 362, 0), grid)) ASSERT_EQ(v, 0.0f);
    // One index inside the range draws a full curve.
    EXPECT_LT(Evaluate(Filter(kBandHighPass, 1, 0), grid).front(), -3.0f);
    EXPECT_LT(Evaluate(Filter(kBandLowPass, 361, 0), grid).back(), -3.0f);
}

TEST(ResponseTable, SwitchedOffBandKeepsAZeroColumnAndTheSumTheOthers) {
    ResponseTable t;
    t.PrepareGrid(DefaultGrid());
    CurveBand a = Peaking(100, 330);
    a.Column = 0;
    CurveBand off = Peaking(kIndex1000Hz, 370);
    off.Column = 1;
    off.EQdisabled = true;
    CurveBand c = Peaking(300, 150);
    c.Column = 2;
    // A stale column is cleared too.
    t.ComputeBandCurve(Peaking(kIndex1000Hz, 370), 0);
    for (const CurveBand& b : {a, off, c}) t.ComputeBandCurve(b, 0);
    t.ComputeSum(3);
    for (float v : t.Column(1)) ASSERT_EQ(v, 0.0f);
    for (int j = 0; j < t.GridSize(); ++j)
        ASSERT_FLOAT_EQ(t.SumCurve()[static_cast<size_t>(j)],
                        t.Column(0)[static_cast<size_t>(j)] + t.Column(2)[static_cast<size_t>(j)]);
    // Columns past the list length take no part in the sum.
    t.ComputeSum(1);
    for (int j = 0; j < t.GridSize(); ++j)
        ASSERT_EQ(t.SumCurve()[static_cast<size_t>(j)], t.Column(0)[static_cast<size_t>(j)]);
}

TEST(ResponseTable, ShelvesLiftOneSideAndNegativeRootsAddNothing) {
    CurveBand low = Peaking(model::FreqIndex(100), 310);
    low.QType = 1;
    EXPECT_NEAR(At(low, 12.0f), 6.0, 0.1);
    EXPECT_NEAR(At(low, 15000.0f), 0.0, 0.05);
    low.QType = 7;  // any shape other than 0 and 2 is a low shelf
    EXPECT_NEAR(At(low, 12.0f), 6.0, 0.1);
    CurveBand high = low;
    high.QType = 2;
    high.Freq = model::FreqIndex(5000);
    EXPECT_NEAR(At(high, 21000.0f), 6.0, 0.3);
    EXPECT_NEAR(At(high, 20.0f), 0.0, 0.05);
    // A slope far outside the editors' range with a deep cut: no real shelf, 0 dB.
    CurveBand broken = low;
    broken.ShelfQ = 100;
    broken.GainOrType = 10;
    for (float v : Evaluate(broken, DefaultGrid())) ASSERT_EQ(v, 0.0f);
}

TEST(ResponseTable, ZeroPowerRepeatsThePreviousRow) {
    ResponseTable t;
    const std::vector<float> f{0.0f, 1000.0f, 0.0f, 2000.0f};
    t.PrepareGrid(f);
    // b = 1 - z^-1 has its zero at 0 Hz: the numerator is exactly 0 there.
    BiquadCoeffs c{1.0, -1.0, 0.0, 0.0, 0.0, 1.0};
    t.AddSectionResponse(c, 3, 2);
    const auto col = t.Column(3);
    EXPECT_EQ(col[0], 0.0f);
    EXPECT_NE(col[1], 0.0f);
    EXPECT_EQ(col[2], col[1]);
    const double expected = 2 * 20 * std::log10(2 * std::sin(std::numbers::pi * 2000.0 / 48000.0));
    EXPECT_NEAR(col[3], expected, 0.01);
    // A section that is all zeros gives zeros, never a NaN.
    t.AddSectionResponse(BiquadCoeffs{0, 0, 0, 0, 0, 1}, 4);
    for (float v : t.Column(4)) EXPECT_EQ(v, 0.0f);
}

TEST(ResponseTable, OutOfRangeFieldsAreDrawnClamped) {
    const auto grid = DefaultGrid();
    EXPECT_EQ(Evaluate(Peaking(5000, 330), grid), Evaluate(Peaking(362, 330), grid));
    EXPECT_EQ(Evaluate(Peaking(-7, 330), grid), Evaluate(Peaking(0, 330), grid));
    EXPECT_EQ(Evaluate(Peaking(kIndex1000Hz, 330, 999), grid), Evaluate(Peaking(kIndex1000Hz, 330, 100), grid));
    const auto huge = Evaluate(Peaking(kIndex1000Hz, 2'000'000'000), grid);
    for (float v : huge) ASSERT_TRUE(std::isfinite(v));
    EXPECT_NEAR(At(Peaking(kIndex1000Hz, 2'000'000'000), 1000.0f), 48.0, 0.05);
    EXPECT_NEAR(At(Peaking(kIndex1000Hz, -2'000'000'000), 1000.0f), -48.0, 0.05);
    CurveBand badColumn = Peaking(kIndex1000Hz, 330);
    badColumn.Column = 200;
    ResponseTable t;
    t.PrepareGrid(grid);
    t.ComputeBandCurve(badColumn, 0);  // ignored, nothing written
    t.ComputeSum(99);
    for (float v : t.SumCurve()) ASSERT_EQ(v, 0.0f);
}

// Every grid point of a 645-pixel graph against |H(e^jw)| in double precision.
TEST(ResponseTable, AgreesWithAnIndependentEvaluation) {
    const auto grid = DefaultGrid();
    struct Case {
        CurveBand band;
        int page;
        test::Ref ref;
        int cascade;
    };
    std::vector<Case> cases;
    for (int freq : {1, 60, kIndex1000Hz, 330, 361})
        for (int gain : {10, 180, 330, 370}) {
            const double f0 = model::FreqAt(freq);
            cases.push_back({Peaking(freq, gain, 25), 0, test::RefPeaking(f0, model::QAt(25), (gain - 250) / 10.0), 1});
            CurveBand low = Peaking(freq, gain);
            low.QType = 1;
            low.ShelfQ = 20;
            cases.push_back({low, 0, test::RefShelf(false, f0, model::QAt(20), (gain - 250) / 10.0), 1});
            CurveBand high = low;
            high.QType = 2;
            cases.push_back({high, 0, test::RefShelf(true, f0, model::QAt(20), (gain - 250) / 10.0), 1});
        }
    for (int freq : {1, 74, 143, 298}) {
        const double f0 = model::FreqAt(freq);
        cases.push_back({Filter(kBandHighPass, freq, 0), 7, test::RefPass(true, f0, 1 / std::sqrt(2.0)), 4});
        cases.push_back({Filter(kBandLowPass, freq, 3), 7, test::RefPass(false, f0, 1 / std::sqrt(3.0)), 2});
        cases.push_back({Filter(kBandLowPass, freq, 1), 4, test::RefPass(false, f0, 1 / std::sqrt(2.0)), 2});
    }
    for (const Case& c : cases) {
        const auto col = Evaluate(c.band, grid, c.page);
        double worst = 0;
        for (size_t j = 0; j < grid.size(); ++j) {
            const double expected = c.cascade * test::RefDb(c.ref, grid[j]);
            if (expected < -120) continue;  // below any visible depth, where single precision ends
            worst = std::max(worst, std::abs(col[j] - expected));
        }
        EXPECT_LT(worst, 0.02) << "freq " << c.band.Freq << " gain/type " << c.band.GainOrType << " shape "
                               << c.band.QType << " filter " << c.band.FilterType;
    }
}

}  // namespace
}  // namespace vellora::graph
