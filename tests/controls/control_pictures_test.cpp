// The controls' pictures: every number at its size, crisp at twice the density, and the
// variants that must be told apart at a glance really differ.
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

#include "controls_fixture.h"

namespace vellora::controls {
namespace {

class ControlPicturesTest : public test::ControlsTest {
protected:
    // Mean colour of the opaque part of a picture.
    QColor Mean(int number) {
        const QImage& image = pictures.Image(number);
        double r = 0, g = 0, b = 0, n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = QColor::fromRgba(image.pixel(x, y));
                if (c.alpha() < 128) continue;
                r += c.red();
                g += c.green();
                b += c.blue();
                ++n;
            }
        if (n == 0) return QColor(0, 0, 0, 0);
        return QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
    }
    // How different two pictures look, pixel by pixel (0..255).
    double Difference(int a, int b) {
        const QImage ia = pictures.Image(a).convertToFormat(QImage::Format_ARGB32);
        const QImage ib = pictures.Image(b).convertToFormat(QImage::Format_ARGB32);
        if (ia.size() != ib.size()) return 255;
        double sum = 0;
        for (int y = 0; y < ia.height(); ++y)
            for (int x = 0; x < ia.width(); ++x) {
                const QColor ca = QColor::fromRgba(ia.pixel(x, y)),
                             cb = QColor::fromRgba(ib.pixel(x, y));
                sum += (std::abs(ca.red() - cb.red()) + std::abs(ca.green() - cb.green()) +
                        std::abs(ca.blue() - cb.blue()) + std::abs(ca.alpha() - cb.alpha())) /
                       4.0;
            }
        return sum / (ia.width() * ia.height());
    }
};

TEST_F(ControlPicturesTest, EveryNumberAtItsSize) {
    struct Row {
        int number, w, h;
    };
    const Row rows[] = {
        {102, 24, 16},  {107, 24, 16},  {270, 24, 16},  {113, 43, 178}, {374, 43, 224},
        {112, 43, 178}, {377, 43, 224}, {137, 15, 22},  {108, 15, 22},  {182, 127, 127},
        {129, 16, 18},  {302, 16, 18},  {294, 24, 11},  {308, 12, 10},  {311, 12, 10},
        {104, 74, 178}, {220, 182, 28}, {274, 182, 28}, {269, 30, 16},  {150, 138, 21},
        {153, 112, 11}, {238, 72, 20},  {322, 60, 12},  {255, 60, 12},  {372, 72, 20}};
    for (const Row& r : rows) EXPECT_EQ(pictures.Size(r.number), QSize(r.w, r.h)) << r.number;
    const int numbers[] = {101, 103, 105, 110, 130, 131, 132, 133, 134, 135, 136, 138, 139, 140,
                           141, 142, 143, 144, 151, 152, 196, 197, 198, 199, 218, 219, 221, 227,
                           228, 271, 272, 273, 275, 276, 277, 295, 300, 301, 304, 305, 309, 310,
                           312, 316, 317, 359, 361, 362, 375, 376, 378, 379, 380, 381, 382};
    for (int n : numbers) {
        EXPECT_TRUE(pictures.Has(n)) << n;
        EXPECT_FALSE(pictures.Image(n).isNull()) << n;
    }
    // The graph's pictures stay as they were.
    EXPECT_EQ(pictures.Size(303), QSize(1000, 400));
}

TEST_F(ControlPicturesTest, CrispAtTwiceTheDensity) {
    pictures.SetDevicePixelRatio(2.0);
    const QImage& thumb = pictures.Image(102);
    EXPECT_EQ(thumb.size(), QSize(48, 32));
    EXPECT_EQ(thumb.devicePixelRatio(), 2.0);
}

TEST_F(ControlPicturesTest, VariantsDifferAtAGlance) {
    const std::pair<int, int> pairs[] = {
        {102, 107}, {102, 270}, {137, 108}, {112, 276}, {112, 272}, {276, 272}, {136, 271},
        {136, 275}, {141, 273}, {141, 277}, {221, 274}, {129, 130}, {129, 300}, {294, 295},
        {308, 310}, {308, 309}, {142, 143}, {142, 304}, {143, 305}, {378, 379}, {378, 199},
        {380, 196}, {312, 317}, {218, 219}, {361, 359}, {151, 152}};
    for (const auto& [a, b] : pairs) EXPECT_GT(Difference(a, b), 2.0) << a << " vs " << b;
    // Fills by colour: blue normal, amber second scene, grey locked, red muted.
    const QColor normal = Mean(112), scene = Mean(276), locked = Mean(272), muted = Mean(274);
    EXPECT_GT(normal.blue(), normal.red() + 60);
    EXPECT_GT(scene.red(), scene.blue() + 60);
    EXPECT_LT(std::abs(locked.red() - locked.blue()), 30);
    EXPECT_GT(muted.red(), muted.green() + 60);
}

TEST_F(ControlPicturesTest, KnobTurnsAboutItsCentre) {
    QImage a(127, 127, QImage::Format_ARGB32_Premultiplied);
    QImage b = a;
    for (QImage* img : {&a, &b}) img->fill(Qt::transparent);
    {
        QPainter pa(&a);
        pictures.DrawRotated(pa, 182, QPointF(63.5, 63.5), -133);
        QPainter pb(&b);
        pictures.DrawRotated(pb, 182, QPointF(63.5, 63.5), 133);
    }
    // The pointer lies left of the centre at one end of the sweep and right of it at the other.
    auto brightest = [](const QImage& img) {
        int best = 0, bx = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = QColor::fromRgba(img.pixel(x, y));
                if (c.blue() > best) {
                    best = c.blue();
                    bx = x;
                }
            }
        return bx;
    };
    EXPECT_LT(brightest(a), 60);
    EXPECT_GT(brightest(b), 67);
}

}  // namespace
}  // namespace vellora::controls
