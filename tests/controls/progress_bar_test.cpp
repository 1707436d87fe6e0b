// C_ProgressBar: gradient columns, grey rest, border, the two texts and full scale 0.
#include <gtest/gtest.h>

#include "controls/c_progress_bar.h"
#include "controls/progress_plan.h"

namespace vellora::controls {
namespace {

TEST(ProgressPlan, HalfwayOn200Pixels) {
    // P = 100: gradient on columns 1..97 (98 is overdrawn grey), grey 98..197.
    EXPECT_EQ(ProgressFillWidth(200, 50, 100), 100);
    EXPECT_EQ(ProgressColumn(1, 200, 50, 100), (Rgb{255, 0, 0}));
    EXPECT_EQ(ProgressColumn(97, 200, 50, 100), (Rgb{131, 0, 124}));  // 255 * 96 / 197 = 124.3
    EXPECT_EQ(ProgressColumn(98, 200, 50, 100), kProgressRest);
    EXPECT_EQ(ProgressColumn(197, 200, 50, 100), kProgressRest);
    EXPECT_EQ(ProgressColumn(0, 200, 50, 100), std::nullopt);
    EXPECT_EQ(ProgressColumn(199, 200, 50, 100), std::nullopt);
    EXPECT_EQ(ProgressText(1, 50, 100), "执行保存, 完成50%");
    EXPECT_EQ(ProgressText(0, 50, 100), "正在同步数据, 请稍候...");
}

TEST(ProgressPlan, FullEmptyAndZeroScale) {
    EXPECT_EQ(ProgressColumn(198, 200, 100, 100), (Rgb{0, 0, 255}));
    EXPECT_EQ(ProgressColumn(1, 200, 0, 100), kProgressRest);
    EXPECT_EQ(ProgressScale(0), 1);
    EXPECT_EQ(ProgressScale(-5), 1);
    EXPECT_EQ(ProgressText(1, 1, 0), "执行保存, 完成100%");
    EXPECT_EQ(ProgressColumn(50, 200, 1, 0), (Rgb{192, 0, 63}));
}

TEST(ProgressBar, WidgetCutsAndPaints) {
    C_ProgressBar bar;
    bar.resize(200, 20);
    bar.SetValue(150);
    EXPECT_EQ(bar.Value(), 100);
    bar.SetValue(-3);
    EXPECT_EQ(bar.Value(), 0);
    bar.SetValue(50);
    bar.SetShowContent(1);
    EXPECT_EQ(bar.Text(), QStringLiteral("执行保存, 完成50%"));
    const QImage image = bar.grab().toImage();
    EXPECT_EQ(image.pixelColor(5, 0), QColor(255, 255, 0));
    EXPECT_EQ(image.pixelColor(150, 19), QColor(255, 255, 0));
    EXPECT_EQ(image.pixelColor(199, 10), QColor(255, 255, 0));
    EXPECT_EQ(image.pixelColor(190, 0), QColor(255, 255, 0));
    EXPECT_EQ(image.pixelColor(1, 17), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(150, 17), QColor(192, 192, 192));
    bar.SetMaxValue(0);
    bar.SetValue(5);
    EXPECT_EQ(bar.Value(), 1);
}

TEST(ProgressPlan, ValuePastTheScaleDrawsNoFill) {
    // Past full scale the bar is all grey, not full; full scale itself still fills.
    for (int x : {1, 100, 197, 198}) {
        EXPECT_EQ(ProgressColumn(x, 200, 150, 100), kProgressRest) << x;
        EXPECT_EQ(ProgressColumn(x, 200, 2, 0), kProgressRest) << x;  // MaxValue 0 is scale 1
    }
    EXPECT_EQ(ProgressColumn(198, 200, 100, 100), (Rgb{0, 0, 255}));
}

TEST(ProgressBar, NewMaxValueCutsTheValue) {
    C_ProgressBar bar;
    bar.resize(200, 20);
    bar.SetValue(80);
    bar.SetMaxValue(50);
    EXPECT_EQ(bar.Value(), 50);
    EXPECT_EQ(bar.grab().toImage().pixelColor(198, 17), QColor(0, 0, 255));  // full, not empty
    bar.SetMaxValue(0);
    EXPECT_EQ(bar.Value(), 1);
    bar.SetMaxValue(200);
    EXPECT_EQ(bar.Value(), 1);
}

}  // namespace
}  // namespace vellora::controls
