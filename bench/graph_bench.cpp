// Speed of the response graph: a full rebuild and compose of a 17-band page, a compose on
// its own, and one drag step (one band recomputed, the sum, one compose).
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "graph/response_graph.h"

namespace {

using namespace vellora;

struct Fixture {
    Fixture(int w, int h, double dpr) : pictures(dpr), graph(ws, pictures) {
        graph::RegisterGraphPictures(pictures);
        graph.SetupGeometry(w, h, dpr);
        graph.RedrawAll(graph::GraphView{0, 0, 0}, nullptr);  // music: 15 bands, high-pass, low-pass
        graph.SetSelectedBand(7);
        graph.Compose();
    }
    model::Workspace ws;
    graph::PictureStore pictures;
    graph::ResponseGraph graph;
};

void SetSize(benchmark::State& state, int& w, int& h, double& dpr) {
    w = static_cast<int>(state.range(0));
    h = static_cast<int>(state.range(1));
    dpr = static_cast<double>(state.range(2));
}

void BM_RebuildAndCompose(benchmark::State& state) {
    int w, h;
    double dpr;
    SetSize(state, w, h, dpr);
    Fixture f(w, h, dpr);
    for (auto _ : state) {
        f.graph.RedrawAll(graph::GraphView{0, 0, 0}, nullptr);
        f.graph.Compose();
        benchmark::DoNotOptimize(f.graph.FrontLayer().constBits());
    }
    state.SetLabel(f.graph.Bands().CurveCount == 17 ? "17 bands" : "wrong page");
}

void BM_Compose(benchmark::State& state) {
    int w, h;
    double dpr;
    SetSize(state, w, h, dpr);
    Fixture f(w, h, dpr);
    for (auto _ : state) {
        f.graph.Compose();
        benchmark::DoNotOptimize(f.graph.FrontLayer().constBits());
    }
}

// What one mouse move on the graph costs: the band follows the pointer, its curve and the
// sum are recomputed, and the front layer is composed.
void BM_DragStep(benchmark::State& state) {
    int w, h;
    double dpr;
    SetSize(state, w, h, dpr);
    Fixture f(w, h, dpr);
    int step = 0;
    for (auto _ : state) {
        graph::CurveBand& band = *f.graph.Bands().At(7);
        band.GainOrType = 150 + (step % 200);
        band.Freq = 150 + (step % 100);
        ++step;
        f.graph.ComputeBandCurve(7);
        f.graph.ComputeSum();
        f.graph.Compose();
        benchmark::DoNotOptimize(f.graph.FrontLayer().constBits());
    }
}

// The arithmetic of a drag step alone (no drawing).
void BM_BandMath(benchmark::State& state) {
    int w, h;
    double dpr;
    SetSize(state, w, h, dpr);
    Fixture f(w, h, dpr);
    int step = 0;
    for (auto _ : state) {
        f.graph.Bands().At(7)->GainOrType = 150 + (step++ % 200);
        f.graph.ComputeBandCurve(7);
        f.graph.ComputeSum();
        benchmark::DoNotOptimize(f.graph.Table().SumCurve().data());
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"w", "h", "dpr"});
    b->Args({1600, 600, 1});
    b->Args({1920, 1000, 1});
    b->Args({1600, 600, 2});
    b->Unit(benchmark::kMillisecond);
    b->Repetitions(5);
    b->ReportAggregatesOnly(true);
}

BENCHMARK(BM_RebuildAndCompose)->Apply(Sizes);
BENCHMARK(BM_Compose)->Apply(Sizes);
BENCHMARK(BM_DragStep)->Apply(Sizes);
BENCHMARK(BM_BandMath)->Apply(Sizes);

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
