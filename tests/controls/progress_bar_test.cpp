// C_ProgressBar: gradient columns, grey rest, border, the two texts and full scale 0.
#include <QImage>

#include <gtest/gtest.h>

#include "controls/c_progress_bar.h"
#include "controls/progress_plan.h"

namespace vellora::controls {
namespace {

// The colour the bar's plan gives pixel (x, y): border, gradient column or grey rest.
QColor Planned(const C_ProgressBar& bar, int x, int y) {
    const int w = bar.width(), h = bar.height();
    Rgb c = kProgressBorder;
    if (x > 0 && y > 0 && x < w - 1 && y < h - 1)
        c = ProgressColumn(x, w, bar.Value(), bar.MaxValue()).value_or(kProgressRest);
    return QColor(c.r, c.g, c.b);
}

// The box around every pixel that the plan does not explain: the text and its halo.
QRect TextBox(const QImage& image, const C_ProgressBar& bar) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != Planned(bar, x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

// Nearly white pixels: the text's own colour (fill, rest and border all have a dark channel).
int WhitePixels(const QImage& image, const QRect& box) {
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() > 200 && c.green() > 200 && c.blue() > 200;
        }
    return n;
}

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
    QImage image = bar.grab().toImage();
    // Every pixel off the plan (border, gradient, grey rest) lies in one box at the left,
    // within the border rows, with white in it: the text on its halo. Its glyphs' pixels
    // depend on the installed face, so only its box is asserted.
    QRect text = TextBox(image, bar);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_LE(text.left(), 3);
    EXPECT_LT(text.right(), 150);
    EXPECT_GE(text.top(), 1);
    EXPECT_LE(text.bottom(), 18);
    EXPECT_GE(WhitePixels(image, text), 5);
    EXPECT_EQ(image.pixelColor(150, 19), QColor(255, 255, 0));
    EXPECT_EQ(image.pixelColor(199, 10), QColor(255, 255, 0));
    EXPECT_EQ(image.pixelColor(190, 0), QColor(255, 255, 0));
    EXPECT_EQ(image.pixelColor(150, 17), QColor(192, 192, 192));
    // A taller bar keeps its text at the top and shows its fill columns whole below it:
    // red at column 1, blending to blue up to the fill's end, then grey.
    bar.resize(200, 40);
    image = bar.grab().toImage();
    text = TextBox(image, bar);
    EXPECT_LE(text.bottom(), 18);
    int offPlan = 0;
    for (int y = 19; y < 40; ++y)
        for (int x = 0; x < 200; ++x) offPlan += image.pixelColor(x, y) != Planned(bar, x, y);
    EXPECT_EQ(offPlan, 0);
    EXPECT_EQ(image.pixelColor(1, 30), QColor(255, 0, 0));
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
