// The drawn graph: layers, the selected band and the sum, handles and their clamping,
// labels and their shift at the right edge, greyed pages, the bypass banner, fade and blink.
#include "graph/response_graph.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "model/value_scales.h"
#include "test_slider_host.h"

namespace vellora::graph {
namespace {

class ResponseGraphTest : public ::testing::Test {
protected:
    ResponseGraphTest() {
        RegisterGraphPictures(pictures);
        graph.SetupGeometry(1000, 400);
    }

    void Show(int page, int view = 0) {
        graph.RedrawAll(GraphView{page, ws.CurrentScene(), view}, nullptr);
        graph.Compose();
    }

    QColor Front(int x, int y) const { return graph.FrontLayer().pixelColor(x, y); }

    // Pixels in a rectangle of FrontLayer that are bright and nearly white (label text).
    int LabelPixels(const QRect& r) const {
        int n = 0;
        const QImage& img = graph.FrontLayer();
        for (int y = std::max(0, r.top()); y <= std::min(img.height() - 1, r.bottom()); ++y)
            for (int x = std::max(0, r.left()); x <= std::min(img.width() - 1, r.right()); ++x) {
                const QColor c = img.pixelColor(x, y);
                n += c.red() > 100 && c.green() > 100 && c.blue() > 100 &&
                     std::abs(c.red() - c.blue()) < 30;
            }
        return n;
    }

    model::Workspace ws;
    PictureStore pictures;
    ResponseGraph graph{ws, pictures};
};

TEST_F(ResponseGraphTest, LayersFollowTheSizeAndDensity) {
    EXPECT_EQ(graph.FrontLayer().size(), QSize(1000, 400));
    EXPECT_EQ(graph.FrontLayer().format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_FALSE(graph.SetupGeometry(1000, 400));
    EXPECT_TRUE(graph.SetupGeometry(645, 300, 2.0));
    EXPECT_EQ(graph.BackLayer().size(), QSize(1290, 600));
    EXPECT_EQ(graph.Table().GridSize(), 600);
    graph.ReleaseGraphics();
    EXPECT_FALSE(graph.HasGraphics());
    graph.Compose();  // nothing to draw on: no effect
    EXPECT_TRUE(graph.SetupGeometry(645, 300, 2.0));
    EXPECT_TRUE(graph.HasGraphics());
}

TEST_F(ResponseGraphTest, GridLinesAreDrawnWithoutSmoothing) {
    const GraphGeometry& g = graph.Geometry();
    const int x1k = model::RoundHalfEven(g.FreqToX(1000.0f));
    const int y = 300;
    const QColor line = graph.BackLayer().pixelColor(x1k, y);
    const QColor beside = graph.BackLayer().pixelColor(x1k + 2, y);
    EXPECT_GT(line.red(), beside.red() + 20);
    // A hard edge: the neighbouring column is untouched by the line.
    EXPECT_EQ(graph.BackLayer().pixelColor(x1k + 1, y), graph.BackLayer().pixelColor(x1k + 2, y));
    const int yMinus12 = model::RoundHalfEven(g.DbToY(-12.0f));
    EXPECT_GT(graph.BackLayer().pixelColor(500, yMinus12).red(),
              graph.BackLayer().pixelColor(500, yMinus12 + 2).red() + 20);
}

TEST_F(ResponseGraphTest, FlatPageDrawsTheSumAtZeroDb) {
    Show(6);  // centre channel: seven flat bands and an inactive high-pass
    const int y0 = graph.Geometry().Y0();
    // Between two handles: the 2-pixel sum curve in its colour lies over y0.
    const int x = model::RoundHalfEven(graph.Geometry().FreqToX(700.0f));
    const QColor sum = Front(x, y0);
    EXPECT_GT(sum.red(), 220);
    EXPECT_GT(sum.green(), 170);
    EXPECT_LT(sum.blue(), 80);
    EXPECT_LT(Front(x, y0 - 4).red(), 120);
    EXPECT_LT(Front(x, y0 + 4).red(), 120);
}

TEST_F(ResponseGraphTest, SelectedCurveIsOnlyOnTheFrontLayer) {
    Show(0);
    const GraphGeometry& g = graph.Geometry();
    // Band 8 (index 7) at 630 Hz is +15 dB in the singing scene; 0 is selected.
    auto peakY = [&](int position) {
        const auto col = graph.Table().Column(position);
        const int x = graph.HandleCentre(position).x();
        return std::pair{x, model::RoundHalfEven(g.DbToY(col[static_cast<size_t>(x - kPlotLeft)]))};
    };
    const auto [x0, y0] = peakY(0);  // 25 Hz, +8 dB
    const QColor onCurveLayer = graph.CurveLayer().pixelColor(
        x0 + 25, model::RoundHalfEven(
                     g.DbToY(graph.Table().Column(0)[static_cast<size_t>(x0 + 25 - kPlotLeft)])));
    const QColor onFront = Front(x0 + 25, model::RoundHalfEven(g.DbToY(graph.Table().Column(
                                              0)[static_cast<size_t>(x0 + 25 - kPlotLeft)])));
    EXPECT_NE(onCurveLayer, onFront);
    (void)y0;
    graph.SetSelectedBand(7);
    const int x = x0 + 25;
    const int y =
        model::RoundHalfEven(g.DbToY(graph.Table().Column(0)[static_cast<size_t>(x - kPlotLeft)]));
    // Band 0's curve is now part of CurveLayer: green-dominant there.
    const QColor c = graph.CurveLayer().pixelColor(x, y);
    EXPECT_GT(c.green(), c.blue());
}

TEST_F(ResponseGraphTest, SelectedFillFadesOutThenTheSumFillFadesIn) {
    Show(4);
    EXPECT_EQ(graph.FadePhase(), kFadeBand);
    EXPECT_EQ(graph.FadeLevel(), 5);
    const int expected[][2] = {{0, 4},  {0, 3},  {0, 2},  {0, 1},  {0, 0},
                               {-1, 0}, {-1, 1}, {-1, 2}, {-1, 3}, {-1, 4}};
    for (const auto& e : expected) {
        EXPECT_TRUE(graph.FadeTick());
        EXPECT_EQ(graph.FadePhase(), e[0]);
        EXPECT_EQ(graph.FadeLevel(), e[1]);
    }
    EXPECT_FALSE(graph.FadeTick());  // the level reaches 5: the timer stops
    EXPECT_EQ(graph.FadeLevel(), 5);
    EXPECT_FALSE(graph.FadeTick());
    EXPECT_EQ(graph.FadeLevel(), 5);
    graph.ResetFade();
    EXPECT_EQ(graph.FadePhase(), kFadeBand);
}

TEST_F(ResponseGraphTest, SumFillIsYellowAtFullFade) {
    ws.ParamStore.Slot(1024 + 12, 0)->Gain = 370;  // +12 dB at 500 Hz on the main output
    Show(4);
    for (int i = 0; i < 11; ++i) (void)graph.FadeTick();
    ASSERT_EQ(graph.FadePhase(), kFadeSum);
    const GraphGeometry& g = graph.Geometry();
    const int x = model::RoundHalfEven(g.FreqToX(500.0f)) + 3;
    const int yInside = g.Y0() - 10;  // between 0 dB and the +12 dB peak
    const QColor inside = Front(x, yInside);
    const QColor curveLayer = graph.CurveLayer().pixelColor(x, yInside);
    EXPECT_GT(inside.red(), curveLayer.red());
    EXPECT_GT(inside.green(), curveLayer.green());
    EXPECT_LE(inside.blue(), curveLayer.blue());
}

TEST_F(ResponseGraphTest, BlinkFlipsTheSelectedHandleEveryFourTicks) {
    Show(4);
    EXPECT_EQ(graph.BlinkCounter(), 1);
    const bool big = graph.BlinkBig();
    int paints = 0;
    graph.SetFrameSink([&] { ++paints; });
    EXPECT_FALSE(graph.BlinkTick());
    EXPECT_FALSE(graph.BlinkTick());
    EXPECT_FALSE(graph.BlinkTick());
    EXPECT_TRUE(graph.BlinkTick());
    EXPECT_NE(graph.BlinkBig(), big);
    EXPECT_EQ(graph.BlinkCounter(), 1);
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(graph.TakePaintCount(), 2);
    EXPECT_EQ(graph.TakePaintCount(), 0);
}

TEST_F(ResponseGraphTest, HandlesAreClampedToThePlot) {
    ws.ParamStore.Slot(1024 + 8, 0)->Gain = 370;
    ws.ParamStore.Slot(1024 + 9, 0)->Gain = 9000;
    ws.ParamStore.Slot(1024 + 10, 0)->Gain = -9000;
    ws.ParamStore.Slot(1024 + 11, 0)->Freq = 100000;
    ws.ParamStore.Slot(1024 + 12, 0)->Freq = -100;
    Show(4);
    const GraphGeometry& g = graph.Geometry();
    EXPECT_EQ(graph.HandleCentre(0).y(), model::RoundHalfEven(g.DbToY(12.0f)));
    EXPECT_EQ(graph.HandleCentre(1).y(), kPlotTop);
    EXPECT_EQ(graph.HandleCentre(2).y(), g.YB());
    EXPECT_EQ(graph.HandleCentre(3).x(), model::RoundHalfEven(g.FreqToX(20220.0f)));
    EXPECT_EQ(graph.HandleCentre(4).x(), model::RoundHalfEven(g.FreqToX(17.0f)));
    EXPECT_EQ(graph.HandleCentre(10).y(), g.Y0());  // a filter sits on 0 dB
    for (int i = 0; i < graph.Bands().CurveCount; ++i)
        for (float v : graph.Table().Column(i)) ASSERT_TRUE(std::isfinite(v));
}

TEST_F(ResponseGraphTest, LabelsBesideTheSelectedBandAndShiftedAtTheRightEdge) {
    Show(0);
    const QPoint c = graph.HandleCentre(0);
    EXPECT_GT(LabelPixels(QRect(c.x() + 15, c.y() - 16, 40, 34)), 40);

    graph.SetSelectedBand(14);  // 16 kHz, close to the right edge
    graph.Compose();
    const QPoint e = graph.HandleCentre(14);
    ASSERT_GT(e.x(), graph.Geometry().XR() - 80);
    EXPECT_GT(LabelPixels(QRect(e.x() - 55, e.y() - 16, 40, 34)), 40);
    EXPECT_EQ(LabelPixels(QRect(e.x() + 15, e.y() - 16, 40, 34)), 0);
}

TEST_F(ResponseGraphTest, FilterAtItsOffPositionShowsOff) {
    Show(0);
    graph.SetSelectedBand(15);  // the music high-pass at 10 Hz: off
    graph.Compose();
    for (float v : graph.Table().Column(15)) ASSERT_EQ(v, 0.0f);
    const QPoint c = graph.HandleCentre(15);
    EXPECT_EQ(c.y(), graph.Geometry().Y0());
    EXPECT_GT(LabelPixels(QRect(c.x() - 10, c.y() - 22, 22, 13)), 15);
    EXPECT_EQ(LabelPixels(QRect(c.x() + 15, c.y() - 16, 40, 34)), 0);

    graph.SetSelectedBand(16);  // the low-pass at 20220 Hz: "OFF" moved in from the edge
    graph.Compose();
    const QPoint l = graph.HandleCentre(16);
    EXPECT_GT(LabelPixels(QRect(l.x() - 70 + 60, l.y() - 25, 22, 13)), 15);
}

TEST_F(ResponseGraphTest, SwitchedOffSelectedBandShowsAFlatLineAndNoLabels) {
    ws.ParamStore.Slot(0, 0)->EQdisabled = true;
    Show(0);
    ASSERT_EQ(graph.SelectedBand(), 0);
    const QPoint c = graph.HandleCentre(0);
    EXPECT_EQ(LabelPixels(QRect(c.x() + 15, c.y() - 16, 40, 34)), 0);
    for (float v : graph.Table().Column(0)) ASSERT_EQ(v, 0.0f);
    // The disabled handle: small and grey, nothing of the selected picture's 33 pixels.
    const QColor centre = Front(c.x(), c.y());
    EXPECT_LT(std::abs(centre.red() - centre.blue()), 30);
    const QColor ring = Front(c.x() + 12, c.y());
    const QColor ringOff = graph.CurveLayer().pixelColor(c.x() + 12, c.y());
    EXPECT_LT(std::abs(ring.red() - ringOff.red()) + std::abs(ring.green() - ringOff.green()), 120);
}

TEST_F(ResponseGraphTest, GreyedPageHasGreyHandlesSumAndNoLabels) {
    ws.SetBassAutoControl(1);
    Show(4);
    ASSERT_TRUE(graph.Bands().PageGreyed);
    const int x = model::RoundHalfEven(graph.Geometry().FreqToX(700.0f));
    const QColor sum = Front(x, graph.Geometry().Y0());
    EXPECT_NEAR(sum.red(), 130, 12);
    EXPECT_NEAR(sum.green(), 130, 12);
    EXPECT_NEAR(sum.blue(), 130, 12);
    // The frequency label's row, clear of the sum line at 0 dB.
    const QPoint c = graph.HandleCentre(0);
    const QRect firstLabel(c.x() + 15, c.y() - 16, 40, 11);
    EXPECT_EQ(LabelPixels(firstLabel), 0);
    ws.SetBassAutoControl(0);
    Show(4);
    EXPECT_GT(LabelPixels(firstLabel), 15);
}

TEST_F(ResponseGraphTest, BypassBannerFollowsThePageSwitch) {
    Show(5);
    const QPoint probe(1000 / 2 - 100 + 126, 400 / 3 + 22);
    const QColor without = Front(probe.x(), probe.y());
    ws.ParamStore.Slot(2582 + 5, 0)->Value = 1;
    graph.Compose();
    const QColor with = Front(probe.x(), probe.y());
    EXPECT_NE(with, without);
    // Scene 1's value is not the switch.
    ws.ParamStore.Slot(2582 + 5, 0)->Value = 0;
    ws.ParamStore.Slot(2582 + 5, 1)->Value = 1;
    graph.Compose();
    EXPECT_EQ(Front(probe.x(), probe.y()), without);
    // The effects page's views use their own switches.
    ws.ParamStore.Slot(2600, 0)->Value = 1;
    Show(3, 0);
    EXPECT_EQ(Front(probe.x(), probe.y()), graph.CurveLayer().pixelColor(probe.x(), probe.y()));
    Show(3, 1);
    EXPECT_NE(Front(probe.x(), probe.y()), graph.CurveLayer().pixelColor(probe.x(), probe.y()));
}

TEST_F(ResponseGraphTest, HighlightSlidersLightsTheSelectedBandsSlider) {
    test::TestSliderHost host;
    host.Add(2560);
    const int s0 = host.Add(1024 + 8);
    const int s1 = host.Add(1024 + 9);
    const int other = host.Add(0);  // another page's slider, tagged from an earlier page
    host.sliders[static_cast<size_t>(other)].EqIndex = 1;
    graph.RedrawAll(GraphView{4, 0, 0}, &host);
    host.sliders[static_cast<size_t>(other)].EqIndex = 1;
    graph.SetSelectedBand(1);
    graph.HighlightSliders(host);
    EXPECT_FALSE(host.sliders[static_cast<size_t>(s0)].ForceShowFocus);
    EXPECT_TRUE(host.sliders[static_cast<size_t>(s1)].ForceShowFocus);
    EXPECT_FALSE(host.sliders[static_cast<size_t>(other)].ForceShowFocus);
}

TEST_F(ResponseGraphTest, RedrawAllResetsSelectionAndFade) {
    Show(0);
    graph.SetSelectedBand(5);
    (void)graph.FadeTick();
    graph.RedrawAll(GraphView{1, 0, 0}, nullptr);
    EXPECT_EQ(graph.SelectedBand(), 0);
    EXPECT_EQ(graph.FadePhase(), kFadeBand);
    EXPECT_EQ(graph.FadeLevel(), 5);
    EXPECT_EQ(graph.Bands().CurveCount, 16);
    EXPECT_EQ(graph.View().Page, 1);
}

TEST_F(ResponseGraphTest, ARepaintCopiesTheFrontLayer) {
    Show(0);
    QImage window(1000, 400, QImage::Format_ARGB32_Premultiplied);
    window.fill(Qt::magenta);
    {
        QPainter p(&window);
        graph.Repaint(p);
    }
    EXPECT_EQ(window, graph.FrontLayer());
}

// Only what changed is drawn from one picture to the next: the curves around an edited or
// newly selected band, the fill where it moved, the rest put back from the pixels kept. After
// every step the picture and the curve layer equal those of a graph drawn afresh in the same
// state.
TEST(ResponseGraphUpdateTest, EveryPictureEqualsOneDrawnAfresh) {
    model::Workspace ws;
    // A band edit, as the editing code makes it: in the list and in the store.
    auto setGain = [&ws](ResponseGraph& g, int position, int gain) {
        CurveBand& band = *g.Bands().At(position);
        band.GainOrType = gain;
        ws.ParamStore.Slot(band.ParamIndex, g.View().Scene)->Gain = gain;
        g.ComputeBandCurve(position);
        g.ComputeSum();
    };
    using Step = std::pair<const char*, std::function<void(ResponseGraph&)>>;
    const Step steps[] = {
        {"first picture", [](ResponseGraph&) {}},
        {"another band selected", [](ResponseGraph& g) { g.SetSelectedBand(3); }},
        {"the selected band dragged",
         [&](ResponseGraph& g) {
             setGain(g, 3, 390);
             g.ResetFade();
         }},
        {"three fade ticks",
         [](ResponseGraph& g) {
             for (int i = 0; i < 3; ++i) (void)g.FadeTick();
         }},
        {"faded to the sum",
         [](ResponseGraph& g) {
             while (g.FadeTick()) {
             }
         }},
        {"dragged under the sum's fill", [&](ResponseGraph& g) { setGain(g, 3, 120); }},
        {"an unselected band edited",
         [&](ResponseGraph& g) {
             setGain(g, 9, 380);
             g.DrawCurveLayer();
             g.ResetFade();
         }},
        {"a blink",
         [](ResponseGraph& g) {
             for (int i = 0; i < 4; ++i) g.BlinkTick();
         }},
        {"the selected band switched off",
         [&](ResponseGraph& g) {
             CurveBand& band = *g.Bands().At(3);
             band.EQdisabled = true;
             ws.ParamStore.Slot(band.ParamIndex, g.View().Scene)->EQdisabled = true;
             g.ComputeBandCurve(3);
             g.ComputeSum();
             g.DrawCurveLayer();
         }},
        {"a filter selected", [](ResponseGraph& g) { g.SetSelectedBand(16); }},
        {"another page",
         [](ResponseGraph& g) {
             g.RedrawAll(GraphView{4, 0, 0}, nullptr);
         }},
        {"the page bypassed", [&](ResponseGraph&) { ws.ParamStore.Slot(2582 + 4, 0)->Value = 1; }},
    };
    for (qreal dpr : {1.0, 2.0}) {
        ws = model::Workspace();
        PictureStore pictures(dpr);
        RegisterGraphPictures(pictures);
        ResponseGraph graph(ws, pictures);
        graph.SetupGeometry(700, 300, dpr);
        graph.RedrawAll(GraphView{0, 0, 0}, nullptr);
        for (const auto& [what, act] : steps) {
            SCOPED_TRACE(std::string(what) + " at density " + std::to_string(dpr));
            act(graph);
            graph.Compose();

            ResponseGraph fresh(ws, pictures);
            fresh.SetupGeometry(700, 300, dpr);
            fresh.RedrawAll(graph.View(), nullptr);
            fresh.SetSelectedBand(graph.SelectedBand());
            fresh.Compose();
            for (int i = 0; i < 12 && (fresh.FadePhase() != graph.FadePhase() ||
                                       fresh.FadeLevel() != graph.FadeLevel());
                 ++i)
                (void)fresh.FadeTick();
            while (fresh.BlinkBig() != graph.BlinkBig()) fresh.BlinkTick();
            fresh.Compose();
            ASSERT_EQ(graph.FadePhase(), fresh.FadePhase());
            EXPECT_TRUE(graph.CurveLayer() == fresh.CurveLayer());
            EXPECT_TRUE(graph.FrontLayer() == fresh.FrontLayer());
        }
    }
}

// A paint that comes between a change of the curves and the next Compose shows the curves
// with the last picture over them, not the bare curve layer.
TEST_F(ResponseGraphTest, APaintBeforeComposeKeepsTheLastPicture) {
    Show(0);
    const QPoint c = graph.HandleCentre(0);
    graph.SetSelectedBand(5);
    QImage window(1000, 400, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&window);
        graph.Repaint(p);
    }
    EXPECT_NE(window.pixelColor(c), graph.CurveLayer().pixelColor(c));  // the handle is there
    EXPECT_EQ(window, graph.FrontLayer());
}

// At twice the density and 1900 x 1000 the graph holds one picture of its size, the packed
// background and the pixels under the composed picture: not two or three full images.
TEST(ResponseGraphMemoryTest, OneFullImageAtTwiceTheDensity) {
    model::Workspace ws;
    PictureStore pictures(2.0);
    RegisterGraphPictures(pictures);
    ResponseGraph graph(ws, pictures);
    graph.SetupGeometry(1900, 1000, 2.0);
    graph.RedrawAll(GraphView{0, 0, 0}, nullptr);
    graph.Compose();
    while (graph.FadeTick()) {
    }
    const int64_t full = int64_t{3800} * 2000 * 4;
    EXPECT_GE(graph.LayerBytes(), full);
    EXPECT_LT(graph.LayerBytes(), full + full / 2);
}

}  // namespace
}  // namespace vellora::graph
