// Strokes and fills written straight into image memory: where they land compared with the
// raster engine's own cosmetic pen, wide pen and polygon fill, and that the extents used to
// put pixels back hold everything that was drawn.
#include "graph/curve_raster.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace vellora::graph {
namespace {

constexpr int kW = 220;
constexpr int kH = 160;

// Curves as the graph draws them: one point per logical column, y in logical pixels.
struct Shape {
    const char* name;
    double (*y)(int j);
};
const Shape kShapes[] = {
    {"flat on a row", [](int) { return 80.0; }},
    {"flat between rows", [](int) { return 80.4; }},
    {"gentle slope", [](int j) { return 40.0 + j * 0.37; }},
    {"peak", [](int j) { return 90.0 - 60.0 * std::exp(-std::pow((j - 80) / 14.0, 2)); }},
    {"steep flank", [](int j) { return j < 60 ? 140.0 : 140.0 - (j - 60) * 9.0; }},
    {"cliff far outside", [](int j) { return j < 70 ? 2000.0 : 60.0 + std::sin(j / 5.0) * 20.0; }},
    {"wiggle", [](int j) { return 80.0 + std::sin(j / 2.3) * 6.0; }},
};

constexpr int kPoints = 150;
constexpr double kLeft = 20.5;  // logical x of point 0 (a pixel centre)

std::vector<float> DeviceYs(const Shape& s, double dpr) {
    std::vector<float> ys(kPoints);
    for (int j = 0; j < kPoints; ++j) ys[static_cast<size_t>(j)] = static_cast<float>(s.y(j) * dpr);
    return ys;
}

QImage Blank(double dpr) {
    QImage image(static_cast<int>(kW * dpr), static_cast<int>(kH * dpr),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QRect Clip(double dpr) {
    return QRect(0, 0, static_cast<int>(kW * dpr), static_cast<int>(kH * dpr));
}

// The same curve through the raster engine, in device pixels.
QPolygonF Polyline(const std::vector<float>& ys, double dpr) {
    QPolygonF p;
    for (int j = 0; j < kPoints; ++j) p << QPointF((kLeft + j) * dpr, ys[static_cast<size_t>(j)]);
    return p;
}

double Alpha(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y)) / 255.0;
}

TEST(CurveRasterTest, ExtentsHoldEveryPixelThatIsDrawn) {
    for (double dpr : {1.0, 1.5, 2.0, 3.0})
        for (float width : {1.0f, 2.0f, 4.0f})
            for (const Shape& shape : kShapes) {
                SCOPED_TRACE(std::string(shape.name) + " dpr " + std::to_string(dpr) + " width " +
                             std::to_string(width));
                const std::vector<float> ys = DeviceYs(shape, dpr);
                const CurveSamples curve{static_cast<float>(kLeft * dpr), static_cast<float>(dpr),
                                         ys};
                // A clip that cuts the curve on every side.
                const QRect clip = Clip(dpr).adjusted(5, 7, -9, -11);
                QImage image = Blank(dpr);
                StrokeCurve(RasterTarget::Of(image, clip), curve, StrokeStyle{width, 0xffffffffu});
                ColumnSpans spans;
                spans.Reset(0, image.width());
                AddStrokeExtent(spans, curve, width, clip);
                int drawn = 0;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x) {
                        if (qAlpha(image.pixel(x, y)) == 0) continue;
                        ++drawn;
                        ASSERT_TRUE(clip.contains(x, y)) << x << "," << y;
                        ASSERT_FALSE(spans.Empty(x)) << x << "," << y;
                        ASSERT_GE(y, spans.Top(x)) << x;
                        ASSERT_LE(y, spans.Bottom(x)) << x;
                    }
                EXPECT_GT(drawn, 0);
            }
}

// The hairline lands where the raster engine's antialiased cosmetic pen does, with about
// the same ink in every column.
TEST(CurveRasterTest, HairlineFollowsTheCosmeticPen) {
    for (double dpr : {1.0, 2.0})
        for (const Shape& shape : kShapes) {
            SCOPED_TRACE(std::string(shape.name) + " dpr " + std::to_string(dpr));
            const std::vector<float> ys = DeviceYs(shape, dpr);
            QImage ours = Blank(dpr);
            StrokeCurve(RasterTarget::Of(ours, Clip(dpr)),
                        CurveSamples{static_cast<float>(kLeft * dpr), static_cast<float>(dpr), ys},
                        StrokeStyle{1.0f, 0xffffffffu});
            QImage theirs = Blank(dpr);
            {
                QPainter p(&theirs);
                p.setRenderHint(QPainter::Antialiasing, true);
                QPen pen(Qt::white, 1.0);
                pen.setCosmetic(true);
                p.setPen(pen);
                p.drawPolyline(Polyline(ys, dpr));
            }
            double inkOurs = 0;
            double inkTheirs = 0;
            double moved = 0;
            int columns = 0;
            // Columns away from the ends, where caps differ.
            for (int x = static_cast<int>((kLeft + 2) * dpr);
                 x < static_cast<int>((kLeft + kPoints - 3) * dpr); ++x) {
                double a = 0, b = 0, ya = 0, yb = 0;
                for (int y = 0; y < ours.height(); ++y) {
                    a += Alpha(ours, x, y);
                    b += Alpha(theirs, x, y);
                    ya += y * Alpha(ours, x, y);
                    yb += y * Alpha(theirs, x, y);
                }
                inkOurs += a;
                inkTheirs += b;
                if (a > 0.5 && b > 0.5) {
                    moved += std::abs(ya / a - yb / b);
                    ++columns;
                }
            }
            ASSERT_GT(inkTheirs, 0);
            // At normal density the engine blends a pixel once per segment end (two half
            // passes where a segment is a pixel long), which leaves a line lighter than one
            // pass: up to a third less ink.
            EXPECT_GT(inkOurs / inkTheirs, 0.9);
            EXPECT_LT(inkOurs / inkTheirs, dpr == 1.0 ? 1.4 : 1.1);
            ASSERT_GT(columns, 0);
            EXPECT_LT(moved / columns, 0.35);  // the same rows, give or take the rounding
        }
}

// A wide stroke covers the band a wide antialiased pen covers.
TEST(CurveRasterTest, WideStrokeCoversTheBandOfAWidePen) {
    for (double dpr : {1.0, 2.0})
        for (const Shape& shape : kShapes) {
            SCOPED_TRACE(std::string(shape.name) + " dpr " + std::to_string(dpr));
            const std::vector<float> ys = DeviceYs(shape, dpr);
            const float width = static_cast<float>(2.0 * dpr);
            QImage ours = Blank(dpr);
            StrokeCurve(RasterTarget::Of(ours, Clip(dpr)),
                        CurveSamples{static_cast<float>(kLeft * dpr), static_cast<float>(dpr), ys},
                        StrokeStyle{width, 0xffffffffu});
            QImage theirs = Blank(dpr);
            {
                QPainter p(&theirs);
                p.setRenderHint(QPainter::Antialiasing, true);
                p.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
                p.drawPolyline(Polyline(ys, dpr));
            }
            double ink[2] = {0, 0};
            double outside = 0;
            int holes = 0;  // where the pen covers a pixel fully and ours hardly at all
            for (int x = static_cast<int>((kLeft + 2) * dpr);
                 x < static_cast<int>((kLeft + kPoints - 3) * dpr); ++x)
                for (int y = 1; y < ours.height() - 1; ++y) {
                    ink[0] += Alpha(ours, x, y);
                    ink[1] += Alpha(theirs, x, y);
                    // Ours, where the pen left nothing within a pixel.
                    if (Alpha(theirs, x, y) + Alpha(theirs, x, y - 1) + Alpha(theirs, x, y + 1) ==
                        0)
                        outside += Alpha(ours, x, y);
                    holes += Alpha(theirs, x, y) > 0.95 && Alpha(ours, x, y) < 0.25;
                }
            ASSERT_GT(ink[1], 0);
            EXPECT_NEAR(ink[0] / ink[1], 1.0, 0.15);
            EXPECT_LT(outside / ink[0], 0.01);
            EXPECT_EQ(holes, 0);
        }
}

// The fill's pixels are those the raster engine fills for the curve closed along the
// baseline, without antialiasing.
TEST(CurveRasterTest, FillCoversThePolygonOfTheCurveAndTheBaseline) {
    for (double dpr : {1.0, 1.5, 2.0})
        for (const Shape& shape : kShapes) {
            SCOPED_TRACE(std::string(shape.name) + " dpr " + std::to_string(dpr));
            std::vector<float> ys = DeviceYs(shape, dpr);
            const float baseline = static_cast<float>(80.5 * dpr);
            ys.front() = baseline;
            ys.back() = baseline;
            const QRect clip = Clip(dpr);
            ColumnSpans spans;
            spans.Reset(0, clip.width());
            AddFillExtent(
                spans, CurveSamples{static_cast<float>(kLeft * dpr), static_cast<float>(dpr), ys},
                baseline, clip);
            std::vector<ColumnSpans::Run> runs;
            spans.Runs(runs);
            QImage ours = Blank(dpr);
            FillRuns(RasterTarget::Of(ours, clip), runs, 0xffffffffu);

            QImage theirs = Blank(dpr);
            {
                QPainter p(&theirs);
                p.setPen(Qt::NoPen);
                p.setBrush(Qt::white);
                p.drawPolygon(Polyline(ys, dpr));
            }
            int differ = 0;
            int filled = 0;
            for (int y = 0; y < ours.height(); ++y)
                for (int x = 0; x < ours.width(); ++x) {
                    filled += qAlpha(theirs.pixel(x, y)) != 0;
                    differ += (qAlpha(ours.pixel(x, y)) != 0) != (qAlpha(theirs.pixel(x, y)) != 0);
                }
            // Rounding on the edges only: at most about one pixel per column.
            EXPECT_LE(differ, kPoints * dpr * 0.5 + 4) << "of " << filled;
        }
}

// A line drawn over a fill in the colour UnderFill gives what the line drawn first and the
// fill over it gives.
TEST(CurveRasterTest, ALineOverAFillInItsUnderFillColourLooksAsIfUnderIt) {
    const QRgb fills[] = {qPremultiply(qRgba(255, 255, 0, 50)),
                          qPremultiply(qRgba(82, 231, 51, 65)),
                          qPremultiply(qRgba(10, 20, 30, 255))};
    const QRgb lines[] = {qPremultiply(qRgba(41, 255, 169, 0x70)),
                          qPremultiply(qRgba(255, 200, 0, 255))};
    for (QRgb fill : fills)
        for (QRgb line : lines) {
            // A wavy line half inside a filled band of rows, over a gradient.
            QImage under(200, 60, QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < 60; ++y)
                for (int x = 0; x < 200; ++x) under.setPixel(x, y, qRgb(x, y * 4, 255 - x));
            QImage over = under;
            std::vector<float> ys(200);
            for (int j = 0; j < 200; ++j)
                ys[static_cast<size_t>(j)] = static_cast<float>(30.5 + 12 * std::sin(j / 9.0));
            const CurveSamples curve{0.5f, 1.0f, ys};
            ColumnSpans band;
            band.Reset(0, 200);
            for (int x = 0; x < 200; ++x) band.Include(x, 25, 45);
            std::vector<ColumnSpans::Run> runs;
            band.Runs(runs);

            StrokeCurve(RasterTarget::Of(under, under.rect()), curve, StrokeStyle{1.0f, line});
            FillRuns(RasterTarget::Of(under, under.rect()), runs, fill);
            FillRuns(RasterTarget::Of(over, over.rect()), runs, fill);
            StrokeCurve(RasterTarget::Of(over, over.rect()), curve,
                        StrokeStyle{1.0f, line, &band, UnderFill(line, fill)});
            int worst = 0;
            for (int y = 0; y < 60; ++y)
                for (int x = 0; x < 200; ++x) {
                    const QRgb a = under.pixel(x, y);
                    const QRgb b = over.pixel(x, y);
                    worst =
                        std::max({worst, std::abs(qRed(a) - qRed(b)),
                                  std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
                }
            EXPECT_LE(worst, 2) << std::hex << fill << " " << line;
        }
}

TEST(CurveRasterTest, RunsHoldEveryPixelOfTheSpansOnce) {
    ColumnSpans spans;
    spans.Reset(10, 200);
    for (int x = 10; x < 210; ++x) {
        if (x % 37 == 0) continue;  // empty columns between
        const int top = 50 + static_cast<int>(30 * std::sin(x / 7.0));
        spans.Include(x, top, top + (x % 5) * 9);
        if (x % 11 == 0) spans.Include(x, top - 40, top - 35);  // the hull of two pieces
    }
    std::vector<ColumnSpans::Run> runs;
    spans.Runs(runs);
    std::vector<int> seen(300 * 200, 0);
    int64_t total = 0;
    for (size_t k = 0; k < runs.size(); ++k) {
        const ColumnSpans::Run& r = runs[k];
        ASSERT_GT(r.Count, 0);
        if (k > 0) {
            const ColumnSpans::Run& p = runs[k - 1];
            ASSERT_TRUE(p.Y < r.Y || (p.Y == r.Y && p.X + p.Count < r.X))
                << "order, or runs that touch";
        }
        for (int x = r.X; x < r.X + r.Count; ++x) {
            ASSERT_FALSE(spans.Empty(x));
            ASSERT_GE(r.Y, spans.Top(x));
            ASSERT_LE(r.Y, spans.Bottom(x));
            ++seen[static_cast<size_t>((r.Y + 50) * 200 + x - 10)];
        }
        total += r.Count;
    }
    EXPECT_EQ(total, spans.Area());
    for (int v : seen) ASSERT_LE(v, 1);
}

}  // namespace
}  // namespace vellora::graph
