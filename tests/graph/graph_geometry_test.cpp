// The coordinate mapping of the graph, from its documented sizes and edge cases.
#include "graph/graph_geometry.h"

#include <gtest/gtest.h>

namespace vellora::graph {
namespace {

TEST(GraphGeometry, A645PixelGraphHas600PointsFrom10HzTo22kHz) {
    GraphGeometry g;
    g.SetupGeometry(645, 400);
    EXPECT_EQ(g.GridPoints(), 600);
    EXPECT_EQ(g.XR(), 640);
    EXPECT_NEAR(g.FreqToX(10.0f), 40.0f, 1e-4);
    EXPECT_NEAR(g.FreqToX(22000.0f), 640.0f, 1e-3);
    const auto f = g.GridFrequencies();
    ASSERT_EQ(f.size(), 600u);
    EXPECT_NEAR(f.front(), 10.0f, 1e-4);                 // x = 40
    EXPECT_NEAR(f.back(), g.XToFreq(639.0f), 1e-3);      // x = 639
    EXPECT_LT(f.back(), 22000.0f);
    EXPECT_NEAR(g.XToFreq(640.0f), 22000.0f, 0.5);
    EXPECT_NEAR(g.XToFreq(g.FreqToX(1000.0f)), 1000.0f, 0.05);
}

TEST(GraphGeometry, VerticalScaleSpans43Db) {
    GraphGeometry g;
    g.SetupGeometry(1000, 400);
    EXPECT_EQ(g.YB(), 392);
    EXPECT_EQ(g.Y0(), 152);  // (16 x 392 - 160) / 43 + 10 = 152.14
    EXPECT_NEAR(g.DbToY(16.0f), 10.0f, 0.5);  // 0 dB sits on a whole pixel
    EXPECT_NEAR(g.DbToY(-27.0f), 392.0f, 0.5);
    EXPECT_NEAR(g.DbToY(0.0f), 152.0f, 1e-4);
    EXPECT_GT(g.DbToY(-40.0f), 392.0f);  // curves are not clamped
}

TEST(GraphGeometry, GainStepsAndHandlesStayInsideThePlot) {
    GraphGeometry g;
    g.SetupGeometry(1000, 400);
    EXPECT_FLOAT_EQ(g.GainStepToY(370), g.DbToY(12.0f));
    EXPECT_FLOAT_EQ(g.GainStepToY(250), 152.0f);
    EXPECT_FLOAT_EQ(g.GainStepToY(410), g.DbToY(16.0f));
    EXPECT_FLOAT_EQ(g.GainStepToY(411), 10.0f);
    EXPECT_FLOAT_EQ(g.GainStepToY(5000), 10.0f);
    EXPECT_FLOAT_EQ(g.GainStepToY(-21), 392.0f);
    EXPECT_FLOAT_EQ(g.GainStepToY(-2'000'000'000), 392.0f);
    EXPECT_FLOAT_EQ(g.GainStepToY(2'147'483'647), 10.0f);
}

TEST(GraphGeometry, YToGainStepReadsBackTheGain) {
    GraphGeometry g;
    g.SetupGeometry(1000, 400);
    EXPECT_EQ(g.YToGainStep(152.0f), 250);
    EXPECT_EQ(g.YToGainStep(g.DbToY(12.0f)), 370);
    EXPECT_EQ(g.YToGainStep(g.DbToY(-24.0f)), 10);
    EXPECT_EQ(g.YToGainStep(9.0f), 410);    // above the top: +16 dB
    EXPECT_EQ(g.YToGainStep(-500.0f), 410);
    EXPECT_EQ(g.YToGainStep(393.0f), -20);  // below the bottom: -27 dB
    EXPECT_EQ(g.YToGainStep(10.0f), 410);
}

TEST(GraphGeometry, SizeChangesAreReportedAndTinySizesRaised) {
    GraphGeometry g;
    EXPECT_TRUE(g.SetupGeometry(800, 300));
    EXPECT_FALSE(g.SetupGeometry(800, 300));
    EXPECT_TRUE(g.SetupGeometry(0, -5));
    EXPECT_EQ(g.Width(), kMinGraphWidth);
    EXPECT_EQ(g.Height(), kMinGraphHeight);
    EXPECT_GT(g.GridPoints(), 0);
    EXPECT_GT(g.YB(), kPlotTop);
}

}  // namespace
}  // namespace vellora::graph
