// Speed of the undo history: one snapshot of a full history (the ring drops its oldest row)
// and one undo-redo pair that writes back a drag's band and sends it.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/clock.h"
#include "model/workspace.h"
#include "storage/undo_redo.h"

namespace {

using namespace vellora;

struct Linked : storage::ParamWriter {
    bool LinkUp() const override { return true; }
    bool WriteParam(int32_t index) override {
        benchmark::DoNotOptimize(index);
        return true;
    }
};

struct Fixture {
    Fixture() {
        history.ClearUndo();
        for (int i = 0; i < storage::UndoRedo::kHistorySize; ++i) history.PushUndo();
    }
    std::unique_ptr<model::Workspace> ws = std::make_unique<model::Workspace>();
    model::VirtualClock clock;
    storage::UndoRedo history{*ws, clock, [] {}};
};

void BM_PushUndoFullHistory(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        f.history.PushUndo();
        benchmark::DoNotOptimize(f.history.UndoPos());
    }
}

void BM_UndoRedoOneBand(benchmark::State& state) {
    Fixture f;
    f.ws->SetFieldBothScenes(7, model::Field::Gain, 300);
    Linked writer;
    for (auto _ : state) {
        f.history.Undo(writer);
        f.history.Redo(writer);
    }
    state.SetLabel(f.ws->ParamStore.Slot(7, 0)->Gain == 300 ? "one band" : "wrong state");
}

}  // namespace

BENCHMARK(BM_PushUndoFullHistory);
BENCHMARK(BM_UndoRedoOneBand);
BENCHMARK_MAIN();
