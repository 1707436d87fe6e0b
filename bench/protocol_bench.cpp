// Speed of the link engine on the real clock and the real event loop: one parameter write
// (a command frame and its reply) and a full synchronisation (17 frames), against the
// simulated processor in process and over the socket bridge (a Unix socket). The simulated
// processor answers at once, so the times are what the terminal's own stack costs.
#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>

#include "device/simulated_port.h"
#include "device/simulated_processor.h"
#include "link/bridge_record.h"
#include "link/endpoint.h"
#include "link/qt_clock.h"
#include "link/socket_bridge_server.h"
#include "link/socket_port.h"
#include "link/usb_comm.h"
#include "model/workspace.h"
#include "protocol/byte_sink.h"
#include "protocol/communications.h"
#include "protocol/engine_view.h"
#include "protocol/qt_event_wait.h"
#include "protocol/scripted_prompts.h"

namespace {

using namespace vellora;

// The benchmark has no windows: the engine's window calls only count.
class CountingView : public protocol::EngineView {
public:
    void BeginBulk(protocol::BulkOperation) override { ++bulk; }
    void EndBulk(protocol::BulkOperation) override {}
    void BulkProgress(int, int) override {}
    void ProgressStep() override {}
    void SetConnectStatus(int) override {}
    void SetSwitchCaption(std::string_view) override {}
    void SetMasterLimits(const std::array<int32_t, 3>&) override {}
    void FullRefresh() override {}
    void ClearUndo() override {}
    void ToneKeyReset() override {}
    void BlinkToggled(bool) override {}
    void StopEditorTimers() override {}
    void CloseEditor() override {}
    void EndProgram() override {}
    int bulk = 0;
};

device::ProcessorOptions Immediate() {
    device::ProcessorOptions options;
    options.ReplyLatencyMs = 0;
    return options;
}

// The terminal's side: USB_Comm over a port, the link engine, linked up.
class Terminal {
public:
    Terminal(link::HidPort& port, link::QtClock& clock)
        : clock_(clock),
          usb_(port, clock),
          sink_([this](std::span<const uint8_t> b) { return usb_.SendData(b); }),
          engine_(ws_, link_, clock, sink_, wait_, prompts_, view_) {
        usb_.SetDataArrivalHandler(
            [this](const std::vector<uint8_t>& d) { engine_.OnDeviceBytes(d); });
    }

    [[nodiscard]] bool LinkUp() {
        if (!usb_.Connect()) return false;
        usb_.Start();
        engine_.CommBaseTicks().Start();
        engine_.SendLinkSearch();
        bool expired = false;
        const model::TimerId id = clock_.CallAfter(5000, [&expired] { expired = true; });
        while (!link_.LinkUp && !expired) wait_.Step();
        if (!expired) clock_.Cancel(id);
        link_.StartSyncRequest = false;
        return link_.LinkUp;
    }

    protocol::Communications& Engine() { return engine_; }

private:
    link::QtClock& clock_;
    link::UsbComm usb_;
    model::Workspace ws_;
    protocol::LinkState link_;
    protocol::FunctionSink sink_;
    protocol::QtEventWait wait_;
    protocol::ScriptedPrompts prompts_;
    CountingView view_;
    protocol::Communications engine_;
};

// The simulated processor plugged in as a USB device in this process.
struct InProcess {
    link::QtClock clock;
    device::SimulatedProcessor processor{clock, Immediate()};
    device::SimulatedPort port{processor};
    Terminal terminal{port, clock};
};

// The simulated processor behind the socket bridge: a server as vellora-sim runs it and the
// terminal's socket port, on one event loop.
struct OverSocket {
    OverSocket() {
        QObject::connect(&server, &link::SocketBridgeServer::ClientConnected,
                         [this] { processor.Start(); });
        QObject::connect(&server, &link::SocketBridgeServer::ClientDisconnected,
                         [this](link::LinkError) { processor.Stop(); });
        QObject::connect(
            &server, &link::SocketBridgeServer::OutputData, [this](const QByteArray& data) {
                processor.Receive(std::span(reinterpret_cast<const uint8_t*>(data.constData()),
                                            static_cast<std::size_t>(data.size())));
            });
        processor.SetOutputHandler([this](std::span<const uint8_t> bytes) {
            for (std::size_t at = 0; at < bytes.size(); at += link::kRecordMaxCount)
                (void)server.SendReport(
                    bytes.subspan(at, std::min(link::kRecordMaxCount, bytes.size() - at)));
        });
    }
    [[nodiscard]] bool Listen() {
        endpoint.Kind = link::EndpointKind::Unix;
        endpoint.Path = folder.filePath("bench.sock").toStdString();
        if (!folder.isValid() || server.Listen(endpoint) != link::LinkError::None) return false;
        port = std::make_unique<link::SocketPort>(endpoint);
        terminal = std::make_unique<Terminal>(*port, clock);
        return true;
    }

    link::QtClock clock;
    QTemporaryDir folder;
    link::Endpoint endpoint;
    device::SimulatedProcessor processor{clock, Immediate()};
    link::SocketBridgeServer server;
    std::unique_ptr<link::SocketPort> port;
    std::unique_ptr<Terminal> terminal;
};

template <typename Rig>
std::unique_ptr<Rig> Ready(benchmark::State& state) {
    auto rig = std::make_unique<Rig>();
    if constexpr (std::is_same_v<Rig, OverSocket>) {
        if (!rig->Listen()) {
            state.SkipWithError("cannot listen on a Unix socket");
            return nullptr;
        }
        if (!rig->terminal->LinkUp()) {
            state.SkipWithError("the simulated processor did not link up");
            return nullptr;
        }
    } else if (!rig->terminal.LinkUp()) {
        state.SkipWithError("the simulated processor did not link up");
        return nullptr;
    }
    return rig;
}

template <typename Rig>
protocol::Communications& EngineOf(Rig& rig) {
    if constexpr (std::is_same_v<Rig, OverSocket>) {
        return rig.terminal->Engine();
    } else {
        return rig.terminal.Engine();
    }
}

template <typename Rig>
void BM_WriteParamRoundTrip(benchmark::State& state) {
    auto rig = Ready<Rig>(state);
    if (!rig) return;
    protocol::Communications& engine = EngineOf(*rig);
    for (auto _ : state) {
        if (engine.WriteParam(model::entry::kMasterSlider0) != protocol::CommandStatus::Ok) {
            state.SkipWithError("the write was not answered");
            break;
        }
    }
}

template <typename Rig>
void BM_FullSynchronisation(benchmark::State& state) {
    auto rig = Ready<Rig>(state);
    if (!rig) return;
    protocol::Communications& engine = EngineOf(*rig);
    const auto working = static_cast<uint8_t>(protocol::Command::ReadWorkingBlock);
    for (auto _ : state) {
        if (engine.SyncFromDevice(0, true, working) != protocol::CommandStatus::Ok) {
            state.SkipWithError("the synchronisation failed");
            break;
        }
    }
    state.counters["frames"] = 17;
}

void Configure(benchmark::internal::Benchmark* b) {
    b->UseRealTime()->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_WriteParamRoundTrip<InProcess>)->Name("WriteParam/in_process")->Apply(Configure);
BENCHMARK(BM_WriteParamRoundTrip<OverSocket>)->Name("WriteParam/socket_bridge")->Apply(Configure);
BENCHMARK(BM_FullSynchronisation<InProcess>)->Name("FullSync/in_process")->Apply(Configure);
BENCHMARK(BM_FullSynchronisation<OverSocket>)->Name("FullSync/socket_bridge")->Apply(Configure);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
