// Speed of the editor window: a page switch with its full graph redraw and repaint, and a
// master key press from the key to the parameter write handed to the link (the transport
// itself is not measured).
#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

#include "controls/control_pictures.h"
#include "controls/workspace_look_source.h"
#include "editor/editor_link.h"
#include "editor/frm_eq.h"
#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "model/clock.h"
#include "protocol/prompts.h"

namespace {

using namespace vellora;

// A link that is up and takes every write at once.
class CountingLink : public editor::EditorLink {
public:
    int Writes = 0;
    bool Modified = false;
    [[nodiscard]] bool LinkUp() const override { return true; }
    [[nodiscard]] bool WriteParam(int32_t) override {
        ++Writes;
        return true;
    }
    void SwitchClick() override {}
    void IndicatorClick() override {}
    void Exit() override {}
    void StartTimers() override {}
    [[nodiscard]] bool Busy() const override { return false; }
    [[nodiscard]] int CurrentMode() const override { return 0; }
    [[nodiscard]] std::string DeviceTag() const override { return "TR-W48A_"; }
    [[nodiscard]] bool VariantB() const override { return false; }
    [[nodiscard]] bool Simulated() const override { return true; }
    void MarkModified() override { Modified = true; }

};

class SilentPrompts : public protocol::Prompts {
public:
    void Warning(std::string_view) override {}
    void Error(std::string_view) override {}
    bool Question(std::string_view) override { return false; }
    void AskPassword(protocol::PasswordWindow&) override {}
};

struct Editor {
    explicit Editor(double dpr) : pictures(dpr) {
        graph::RegisterGraphPictures(pictures);
        controls::RegisterControlPictures(pictures);
        window = std::make_unique<editor::FrmEQ>(
            editor::EditorContext{ws, clock, pictures, look, link, prompts});
        window->Load(QSize(2880, 1620));
        window->resize(1900, 1000);
        window->show();
    }
    model::Workspace ws;
    controls::WorkspaceLookSource look{ws};
    model::VirtualClock clock;
    graph::PictureStore pictures;
    CountingLink link;
    SilentPrompts prompts;
    std::unique_ptr<editor::FrmEQ> window;
};

void BM_PageSwitch(benchmark::State& state) {
    Editor e(1.0);
    int page = 0;
    for (auto _ : state) {
        page = (page + 1) % 8;
        e.window->SelectPage(page);
        e.window->repaint();
    }
}
BENCHMARK(BM_PageSwitch)->Unit(benchmark::kMillisecond);

void BM_MasterKeyToWrite(benchmark::State& state) {
    Editor e(1.0);
    bool up = true;
    for (auto _ : state) {
        e.window->KeyPress(QLatin1Char(up ? 'q' : 'a'));
        up = !up;
    }
    state.counters["writes"] = e.link.Writes;
}
BENCHMARK(BM_MasterKeyToWrite)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
