// Speed of the link on the real clock and the real event loop: one parameter write (a command
// frame and its reply) and a full synchronisation (17 frames), against the simulated
// processor in process and over the socket bridge (a Unix socket), through the same link
// session as the program's. The simulated processor answers at once, so the times are what
// the terminal's own stack costs.
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
#include "model/workspace.h"
#include "protocol/link_session.h"
#include "protocol/password_window.h"
#include "protocol/qt_event_wait.h"

namespace {

using namespace vellora;

// The benchmark has no one to ask: messages are dropped, questions answered No, and the
// password window (never shown by the simulated processor's factory state) closed at once.
class Unattended : public protocol::Prompts {
public:
    void Warning(std::string_view) override {}
    void Error(std::string_view) override {}
    bool Question(std::string_view) override { return false; }
    void AskPassword(protocol::PasswordWindow&) override {}
};

device::ProcessorOptions Immediate() {
    device::ProcessorOptions options;
    options.ReplyLatencyMs = 0;
    return options;
}

// The terminal's side: the link session on the port the rig makes, linked up.
class Terminal {
public:
    Terminal(link::QtClock& clock, protocol::LinkSession::PortFactory makePort)
        : wait_(clock), session_(ws_, wait_, prompts_, std::move(makePort)) {}

    [[nodiscard]] bool LinkUp() {
        return session_.Open(link::Endpoint{}) == protocol::LinkSession::OpenResult::Ok &&
               session_.LinkUp() == protocol::LinkSession::LinkUpResult::Ok;
    }

    protocol::LinkSession& Session() { return session_; }

private:
    model::Workspace ws_;
    protocol::QtEventWait wait_;
    Unattended prompts_;
    protocol::LinkSession session_;
};

// The simulated processor plugged in as a USB device in this process.
struct InProcess {
    link::QtClock clock;
    device::SimulatedProcessor processor{clock, Immediate()};
    Terminal terminal{clock, [this](const link::Endpoint&, model::Clock&) {
                          return std::make_unique<device::SimulatedPort>(processor);
                      }};
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
        terminal = std::make_unique<Terminal>(clock, [this](const link::Endpoint&, model::Clock&) {
            return std::make_unique<link::SocketPort>(endpoint);
        });
        return true;
    }

    link::QtClock clock;
    QTemporaryDir folder;
    link::Endpoint endpoint;
    device::SimulatedProcessor processor{clock, Immediate()};
    link::SocketBridgeServer server;
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
protocol::LinkSession& SessionOf(Rig& rig) {
    if constexpr (std::is_same_v<Rig, OverSocket>) {
        return rig.terminal->Session();
    } else {
        return rig.terminal.Session();
    }
}

template <typename Rig>
void BM_WriteParamRoundTrip(benchmark::State& state) {
    auto rig = Ready<Rig>(state);
    if (!rig) return;
    protocol::CommandChannel& channel = SessionOf(*rig).Channel();
    for (auto _ : state) {
        if (channel.WriteParam(model::entry::kMasterSlider0) != protocol::CommandStatus::Ok) {
            state.SkipWithError("the write was not answered");
            break;
        }
    }
}

template <typename Rig>
void BM_FullSynchronisation(benchmark::State& state) {
    auto rig = Ready<Rig>(state);
    if (!rig) return;
    protocol::LinkSession& session = SessionOf(*rig);
    for (auto _ : state) {
        if (session.Synchronise() != protocol::CommandStatus::Ok) {
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
