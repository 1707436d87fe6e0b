// Section coefficients against the textbook formulas, and the refusals of bad arguments.
#include "graph/filter_calc.h"

#include <gtest/gtest.h>

#include "reference_biquad.h"

namespace vellora::graph {
namespace {

using test::Ref;

void ExpectSameSection(const BiquadCoeffs& c, const Ref& r) {
    EXPECT_DOUBLE_EQ(c.a0, 1.0);
    EXPECT_NEAR(c.b0, r.b0 / r.a0, 1e-6);
    EXPECT_NEAR(c.b1, r.b1 / r.a0, 1e-6);
    EXPECT_NEAR(c.b2, r.b2 / r.a0, 1e-6);
    EXPECT_NEAR(c.a1, r.a1 / r.a0, 1e-6);
    EXPECT_NEAR(c.a2, r.a2 / r.a0, 1e-6);
}

TEST(FilterCalc, ShapesMatchTheTextbookSections) {
    for (double f : {19.7, 1000.0, 12000.0, 20200.0})
        for (double gain : {-24.0, -3.5, 0.0, 8.0, 12.0}) {
            SCOPED_TRACE(testing::Message() << f << " Hz " << gain << " dB");
            ExpectSameSection(MakePeaking(f, 48000, 0, 1.41, gain), test::RefPeaking(f, 1.41, gain));
            ExpectSameSection(MakeLowShelf(f, 48000, 0, 0.71, gain), test::RefShelf(false, f, 0.71, gain));
            ExpectSameSection(MakeHighShelf(f, 48000, 0, 1.8, gain), test::RefShelf(true, f, 1.8, gain));
        }
    for (double f : {19.7, 320.0, 5990.0}) {
        ExpectSameSection(MakeLowPass(f, 48000, 0, FilterFamily::Butterworth), test::RefPass(false, f, 1 / std::sqrt(2.0)));
        ExpectSameSection(MakeHighPass(f, 48000, 0, FilterFamily::Butterworth), test::RefPass(true, f, 1 / std::sqrt(2.0)));
        ExpectSameSection(MakeLowPass(f, 48000, 0, FilterFamily::Bessel), test::RefPass(false, f, 1 / std::sqrt(3.0)));
        ExpectSameSection(MakeHighPass(f, 48000, 0, FilterFamily::Bessel), test::RefPass(true, f, 1 / std::sqrt(3.0)));
    }
}

TEST(FilterCalc, OverallGainScalesTheNumeratorOnly) {
    const BiquadCoeffs plain = MakePeaking(1000, 48000, 0, 1, 6);
    const BiquadCoeffs louder = MakePeaking(1000, 48000, 20, 1, 6);
    EXPECT_NEAR(louder.b0, plain.b0 * 10, 1e-9);
    EXPECT_NEAR(louder.b1, plain.b1 * 10, 1e-9);
    EXPECT_NEAR(louder.b2, plain.b2 * 10, 1e-9);
    EXPECT_DOUBLE_EQ(louder.a1, plain.a1);
    EXPECT_DOUBLE_EQ(louder.a2, plain.a2);
}

TEST(FilterCalc, UnusableArgumentsGiveTheFlatSection) {
    auto isFlat = [](const BiquadCoeffs& c) {
        return c.b0 == 1.0 && c.b1 == 0.0 && c.b2 == 0.0 && c.a1 == 0.0 && c.a2 == 0.0 && c.a0 == 1.0;
    };
    // Slope 128 with -24 dB: the shelf's square-root argument is negative.
    EXPECT_TRUE(isFlat(MakeLowShelf(1000, 48000, 0, 128.0, -24)));
    EXPECT_TRUE(isFlat(MakeHighShelf(1000, 48000, 0, 128.0, -24)));
    // The editors' extreme (slope 1.80, -24 dB) still has a real shelf.
    EXPECT_FALSE(isFlat(MakeLowShelf(1000, 48000, 0, 1.8, -24)));
    EXPECT_TRUE(isFlat(MakePeaking(1000, 48000, 0, 0.0, 6)));
    EXPECT_TRUE(isFlat(MakePeaking(30000, 48000, 0, 1.0, 6)));
    EXPECT_TRUE(isFlat(MakeLowPass(-5, 48000, 0, FilterFamily::Bessel)));
    EXPECT_TRUE(isFlat(MakeHighPass(100, 0, 0, FilterFamily::Bessel)));
    EXPECT_TRUE(isFlat(MakeLowShelf(100, 48000, 0, 0.0, 6)));
}

}  // namespace
}  // namespace vellora::graph
