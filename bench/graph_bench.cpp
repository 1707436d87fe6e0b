// Speed of the response graph as the window sees it: every frame ends with the paint event's
// Repaint into a widget-sized target, at the goal sizes and over a sweep of widths.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>

#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "graph/response_graph.h"

namespace {

using namespace vellora;

// The fade states a frame is measured in.
enum FadeArg : int {
    kDuringFade = 0,  ///< phase 0, level 5: the selected band's fill, as while dragging
    kAfterFade = 1,   ///< phase -1, level 5: the sum's fill, once the page has settled
};

struct Fixture {
    explicit Fixture(const benchmark::State& state)
        : w(static_cast<int>(state.range(0))),
          h(static_cast<int>(state.range(1))),
          dpr(static_cast<double>(state.range(2))),
          pictures(dpr),
          graph(ws, pictures),
          // The window's backing store: opaque, at the screen's density.
          window(static_cast<int>(std::ceil(w * dpr)), static_cast<int>(std::ceil(h * dpr)),
                 QImage::Format_RGB32) {
        window.setDevicePixelRatio(dpr);
        window.fill(Qt::black);
        graph::RegisterGraphPictures(pictures);
        graph.SetupGeometry(w, h, dpr);
        graph.RedrawAll(graph::GraphView{0, 0, 0}, nullptr);  // music: 15 bands, two filters
        graph.SetSelectedBand(7);
        graph.Compose();
        if (state.range(3) == kAfterFade)
            while (graph.FadeTick()) {
            }
        Paint();
    }

    // What GraphPanel::paintEvent does after the frame sink asked for an update.
    void Paint() {
        QPainter p(&window);
        graph.Repaint(p);
    }

    // A drag step of the selected band: it follows the pointer, its curve and the sum are
    // recomputed; while dragging the fade starts over.
    void Drag(const benchmark::State& state) {
        graph::CurveBand& band = *graph.Bands().At(graph.SelectedBand());
        band.GainOrType = 150 + (step % 200);
        band.Freq = 150 + (step % 100);
        ++step;
        graph.ComputeBandCurve(graph.SelectedBand());
        graph.ComputeSum();
        if (state.range(3) == kDuringFade) graph.ResetFade();
    }

    int w, h;
    double dpr;
    int step = 0;
    model::Workspace ws;
    graph::PictureStore pictures;
    graph::ResponseGraph graph;
    QImage window;
};

void Finish(benchmark::State& state, const Fixture& f) {
    if (f.graph.Bands().CurveCount != 17)
        state.SkipWithError("the music page should have 17 bands");
    state.SetLabel(f.graph.FadePhase() == graph::kFadeSum ? "sum fill" : "band fill");
    // Bytes held by the graph's images (the layers and the pixels kept under the picture).
    state.counters["layer_MB"] = static_cast<double>(f.graph.LayerBytes()) / 1e6;
}

// A full rebuild: band list, every curve, the sum, the curve layer, one frame. The pages
// alternate (the music page, then page 1 with 16 bands), so that every curve changes. A rebuild
// always starts the fade over.
void BM_FullRebuild(benchmark::State& state) {
    Fixture f(state);
    int n = 0;
    for (auto _ : state) {
        f.graph.RedrawAll(graph::GraphView{(n++ & 1) != 0 ? 1 : 0, 0, 0}, nullptr);
        f.graph.Compose();
        f.Paint();
        benchmark::DoNotOptimize(f.window.constBits());
    }
    f.graph.RedrawAll(graph::GraphView{0, 0, 0}, nullptr);
    Finish(state, f);
}

// One mouse move on the selected band.
void BM_DragFrame(benchmark::State& state) {
    Fixture f(state);
    for (auto _ : state) {
        f.Drag(state);
        f.graph.Compose();
        f.Paint();
        benchmark::DoNotOptimize(f.window.constBits());
    }
    Finish(state, f);
}

// The first mouse move after another band was selected: the curve layer is redrawn with the
// previously selected band among the unselected curves.
void BM_FirstDragAfterSelect(benchmark::State& state) {
    Fixture f(state);
    int n = 0;
    for (auto _ : state) {
        f.graph.SetSelectedBand((n++ & 1) != 0 ? 7 : 6);
        f.Drag(state);
        f.graph.Compose();
        f.Paint();
        benchmark::DoNotOptimize(f.window.constBits());
    }
    Finish(state, f);
}

// A frame with no edit (the fade or blink timers), measured in each fade state.
void BM_StillFrame(benchmark::State& state) {
    Fixture f(state);
    for (auto _ : state) {
        f.graph.Compose();
        f.Paint();
        benchmark::DoNotOptimize(f.window.constBits());
    }
    Finish(state, f);
}

// The arithmetic of a drag step alone (no drawing).
void BM_BandMath(benchmark::State& state) {
    Fixture f(state);
    for (auto _ : state) {
        f.Drag(state);
        benchmark::DoNotOptimize(f.graph.Table().SumCurve().data());
    }
}

// The goal sizes, then a sweep of widths at normal density; each in both fade states.
void Sizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"w", "h", "dpr", "fade"});
    for (int fade : {kDuringFade, kAfterFade}) {
        b->Args({1900, 600, 1, fade});
        b->Args({1900, 600, 2, fade});
        b->Args({1900, 1000, 2, fade});
        for (int w : {645, 1000, 3800}) b->Args({w, 600, 1, fade});
    }
    b->Unit(benchmark::kMillisecond);
}

// A rebuild always starts in the first fade state.
void RebuildSizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"w", "h", "dpr", "fade"});
    b->Args({1900, 600, 1, kDuringFade});
    b->Args({1900, 600, 2, kDuringFade});
    b->Args({1900, 1000, 2, kDuringFade});
    for (int w : {645, 1000, 3800}) b->Args({w, 600, 1, kDuringFade});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_FullRebuild)->Apply(RebuildSizes);
BENCHMARK(BM_DragFrame)->Apply(Sizes);
BENCHMARK(BM_FirstDragAfterSelect)->Apply(Sizes);
BENCHMARK(BM_StillFrame)->Apply(Sizes);
BENCHMARK(BM_BandMath)->Apply(RebuildSizes);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
