// The numbered pictures: registry, sizes, making once, density, drawing modes, UI font.
#include "graph/picture_store.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>

#include <gtest/gtest.h>

#include "graph/graph_pictures.h"

namespace vellora::graph {
namespace {

TEST(PictureStore, GraphPicturesHaveTheirSizes) {
    PictureStore store;
    RegisterGraphPictures(store);
    EXPECT_EQ(store.Size(kPicGraphBackground), QSize(1000, 400));
    EXPECT_EQ(store.Size(kPicDisabledHandle), QSize(12, 12));
    EXPECT_EQ(store.Size(kPicBypassBanner), QSize(252, 45));
    for (int t = 0; t <= 16; ++t) {
        EXPECT_EQ(store.Size(325 + t), QSize(33, 33));
        EXPECT_EQ(store.Size(342 + t), QSize(17, 17));
        EXPECT_EQ(store.Image(342 + t).size(), QSize(17, 17));
    }
    EXPECT_EQ(store.Image(kPicBypassBanner).size(), QSize(252, 45));
    EXPECT_FALSE(store.Has(101));
    EXPECT_TRUE(store.Size(101).isEmpty());
    EXPECT_TRUE(store.Image(101).isNull());
    EXPECT_EQ(HandleMark(0), "1");
    EXPECT_EQ(HandleMark(14), "15");
    EXPECT_EQ(HandleMark(15), "H");
    EXPECT_EQ(HandleMark(16), "L");
}

TEST(PictureStore, PicturesAreMadeOnceAndAtTheScreenDensity) {
    PictureStore store(2.0);
    int calls = 0;
    store.Register(150, QSize(10, 6), [&](QPainter& p, QSize size) {
        ++calls;
        p.fillRect(QRect(QPoint(0, 0), size), Qt::red);
    });
    const QImage& first = store.Image(150);
    EXPECT_EQ(first.size(), QSize(20, 12));
    EXPECT_EQ(first.devicePixelRatio(), 2.0);
    EXPECT_EQ(first.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(first.pixelColor(19, 11), QColor(Qt::red));
    (void)store.Image(150);
    EXPECT_EQ(calls, 1);
    // A scaled draw makes the picture at the target size once, so vectors stay sharp.
    EXPECT_EQ(store.ImageAt(150, QSize(30, 30)).size(), QSize(60, 60));
    (void)store.ImageAt(150, QSize(30, 30));
    EXPECT_EQ(calls, 2);
    store.SetDevicePixelRatio(1.0);
    EXPECT_EQ(store.Image(150).size(), QSize(10, 6));
    EXPECT_EQ(calls, 3);
    // Registering again replaces the maker and forgets what was made.
    store.Register(150, QSize(4, 4), [&](QPainter& p, QSize size) {
        p.fillRect(QRect(QPoint(0, 0), size), Qt::blue);
    });
    EXPECT_EQ(store.Image(150).pixelColor(0, 0), QColor(Qt::blue));
}

TEST(PictureStore, DrawsAtAPointScaledPartlyAndRotated) {
    PictureStore store;
    // Left half red, right half green.
    store.Register(160, QSize(10, 4), [](QPainter& p, QSize size) {
        p.fillRect(QRect(0, 0, size.width() / 2, size.height()), Qt::red);
        p.fillRect(QRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height()),
                   Qt::green);
    });
    QImage canvas(40, 40, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::black);
    {
        QPainter p(&canvas);
        store.Draw(p, 160, QPoint(2, 2));
        store.DrawScaled(p, 160, QRect(0, 10, 20, 8));
        store.DrawPart(p, 160, QRect(30, 0, 5, 4), QRect(5, 0, 5, 4));
        store.DrawRotated(p, 160, QPointF(20, 30), 90.0);
        store.Draw(p, 999, QPoint(0, 0));  // unknown: nothing
    }
    EXPECT_EQ(canvas.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(11, 5), QColor(Qt::green));
    EXPECT_EQ(canvas.pixelColor(12, 2), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(1, 12), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(18, 17), QColor(Qt::green));
    EXPECT_EQ(canvas.pixelColor(31, 1), QColor(Qt::green));  // only the right half
    // Rotated a quarter turn clockwise about (20, 30): the red half lies above the centre.
    EXPECT_EQ(canvas.pixelColor(20, 27).red(), 255);
    EXPECT_EQ(canvas.pixelColor(20, 33).green(), 255);
    EXPECT_EQ(canvas.pixelColor(26, 30), QColor(Qt::black));
}

TEST(PictureStore, UiFontIsASongFaceAt12Pixels) {
    PictureStore store;
    const QFont font = PictureStore::UiFont();
    EXPECT_EQ(font.family(), QString::fromUtf8("宋体"));
    EXPECT_EQ(font.pixelSize(), 12);
    // 宋体 stands for the installed Song face; where that face is missing the text still shows
    // in whatever face the machine falls back to.
    EXPECT_TRUE(QFont::substitutes(font.family())
                    .contains(QStringLiteral("Noto Serif CJK SC"), Qt::CaseInsensitive));
    if (QFontDatabase::hasFamily(QStringLiteral("Noto Serif CJK SC"))) {
        EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Noto Serif CJK SC"));
    }
    QImage canvas(60, 16, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::black);
    {
        QPainter p(&canvas);
        PictureStore::DrawText(p, QPoint(0, 0), QStringLiteral("20KHz"), Qt::white);
    }
    int lit = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 60; ++x) lit += canvas.pixelColor(x, y).red() > 128;
    EXPECT_GT(lit, 20);
}

TEST(PictureStore, DecimalPointTakesNoDigitsRoom) {
    // Proportional Latin: the point of "12.0" is narrower than a digit, so no gap opens
    // before it (a half-width point would make "12.0" a full digit wider than "120").
    PictureStore store;
    const QFontMetricsF metrics(PictureStore::UiFont());
    // Centred texts sit inside their box, in any face.
    const QRectF box(10, 20, 40, 16);
    for (const QString& text :
         {QStringLiteral("0.0"), QStringLiteral("20220"), QStringLiteral("8")}) {
        const QRectF ink =
            metrics.tightBoundingRect(text).translated(PictureStore::CentredTextOrigin(text, box));
        EXPECT_TRUE(box.contains(ink)) << text.toStdString();
    }
    // The narrow point is the installed Song face's, and only that face's, property.
    if (!QFontDatabase::hasFamily(QStringLiteral("Noto Serif CJK SC")))
        GTEST_SKIP() << "Noto Serif CJK SC is not installed";
    const qreal digit = metrics.horizontalAdvance(QStringLiteral("0"));
    EXPECT_LT(metrics.horizontalAdvance(QStringLiteral("12.0")),
              metrics.horizontalAdvance(QStringLiteral("120")) + digit * 2.0 / 3.0);
    EXPECT_LT(metrics.horizontalAdvance(QStringLiteral("-6.0")),
              metrics.horizontalAdvance(QStringLiteral("-60")) + digit * 2.0 / 3.0);
}

}  // namespace
}  // namespace vellora::graph
