// Keeping pixels aside and putting them back: the packed background, the pixels under
// drawings, and a fill that is changed in place.
#include "graph/saved_pixels.h"
#include "graph/packed_layer.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graph/curve_raster.h"
#include "graph/graph_pictures.h"
#include "graph/picture_store.h"

namespace vellora::graph {
namespace {

// A picture like the graph's background: gradients, grid lines, a rounded panel, text.
QImage Background(QSize size, qreal dpr) {
    PictureStore store(dpr);
    RegisterGraphPictures(store);
    QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter p(&image);
    store.Paint(p, kPicGraphBackground, QRect(QPoint(0, 0), size));
    p.setPen(QColor(128, 128, 128, 64));
    for (int x = 40; x < size.width(); x += 37) p.drawLine(x, 10, x, size.height() - 8);
    PictureStore::DrawText(p, QPoint(7, 30), QStringLiteral("+12dB"), QColor(170, 170, 170));
    return image;
}

// Spans like a fill's: from a wavy edge down to a line, and a thin wavy band.
ColumnSpans Spans(int left, int count, double phase) {
    ColumnSpans spans;
    spans.Reset(left, count);
    for (int x = left; x < left + count; ++x) {
        const int edge = 60 + static_cast<int>(40 * std::sin(x / 23.0 + phase));
        spans.Include(x, std::min(edge, 90), std::max(edge, 90));
    }
    return spans;
}

TEST(PackedLayerTest, TheBackgroundComesBackPixelForPixelAndSmall) {
    for (qreal dpr : {1.0, 2.0}) {
        const QImage original = Background(QSize(500, 200), dpr);
        PackedLayer packed;
        packed.Pack(original);
        const QImage unpacked = packed.Unpack();
        EXPECT_EQ(unpacked, original);
        EXPECT_EQ(unpacked.devicePixelRatio(), dpr);
        EXPECT_LT(packed.Bytes(), original.sizeInBytes() / 4);

        // Column spans put back into a scribbled copy: those pixels only.
        QImage target = original;
        target.fill(Qt::red);
        const ColumnSpans spans = Spans(30, 300, 0.0);
        packed.CopySpansTo(target, spans);
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x) {
                const bool inside = !spans.Empty(x) && y >= spans.Top(x) && y <= spans.Bottom(x);
                ASSERT_EQ(target.pixel(x, y),
                          inside ? original.pixel(x, y) : QColor(Qt::red).rgba())
                    << x << "," << y;
            }
        packed.CopyTo(target);
        EXPECT_EQ(target, original);
    }
}

TEST(SavedPixelsTest, DrawingsComeOffInAnyOverlap) {
    const QImage original = Background(QSize(400, 160), 1.0);
    QImage image = original;
    SavedPixels saved;
    for (int frame = 0; frame < 3; ++frame) {
        // A tall column band, a thin one, and rectangles, each drawn over what came before.
        const ColumnSpans tall = Spans(20, 300, frame);
        saved.SaveColumns(image, tall);
        std::vector<ColumnSpans::Run> runs;
        tall.Runs(runs);
        FillRuns(RasterTarget::Of(image, image.rect()), runs, qPremultiply(qRgba(255, 255, 0, 60)));
        ColumnSpans band;
        band.Reset(0, image.width());
        for (int x = 10; x < 380; ++x) band.Include(x, 70 + frame + x % 7, 76 + frame + x % 7);
        saved.SaveColumns(image, band);
        {
            QPainter p(&image);
            for (int x = 10; x < 380; ++x) p.fillRect(x, 70 + frame + x % 7, 1, 7, Qt::green);
        }
        for (QRect r :
             {QRect(50 + frame, 40, 30, 30), QRect(60, 50, 40, 40), QRect(-5, -5, 20, 20)}) {
            saved.SaveRect(image, r);
            QPainter(&image).fillRect(r, QColor(0, 0, 255, 200));
        }
        ASSERT_NE(image, original);
        QImage copy = image.copy();
        saved.RestoreTo(copy);
        EXPECT_EQ(copy, original) << "frame " << frame;
        saved.RestoreTo(image);
        saved.Clear();
        EXPECT_EQ(image, original) << "frame " << frame;
    }
    EXPECT_GT(saved.Bytes(), 0);
}

// A fill changed in place looks exactly like the fill drawn afresh on the clean picture,
// whatever it covered before and in whichever colour.
TEST(SavedFillTest, AChangedFillEqualsAFreshOne) {
    const QImage original = Background(QSize(400, 160), 1.0);
    QImage image = original;
    SavedFill fill;
    const struct {
        double phase;
        QRgb colour;
    } steps[] = {{0.0, qPremultiply(qRgba(82, 231, 51, 65))},
                 {0.1, qPremultiply(qRgba(82, 231, 51, 65))},
                 {0.1, qPremultiply(qRgba(82, 231, 51, 52))},
                 {1.7, qPremultiply(qRgba(82, 231, 51, 52))},
                 {1.7, 0},
                 {3.0, qPremultiply(qRgba(255, 255, 0, 50))}};
    for (const auto& step : steps) {
        std::vector<ColumnSpans::Run> runs;
        Spans(25 + static_cast<int>(step.phase * 10), 280, step.phase).Runs(runs);
        fill.Change(image, runs, step.colour);
        QImage fresh = original;
        if (step.colour != 0) FillRuns(RasterTarget::Of(fresh, fresh.rect()), runs, step.colour);
        EXPECT_EQ(image, fresh) << "phase " << step.phase;
        QImage clean = image.copy();
        fill.RestoreTo(clean);
        EXPECT_EQ(clean, original);
    }
    fill.Remove(image);
    EXPECT_EQ(image, original);
}

}  // namespace
}  // namespace vellora::graph
