// vellora-sim: the simulated processor in its own process, serving one terminal at a time over
// the socket bridge until it is stopped; its state can live in a folder across runs.
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "device/simulated_processor.h"
#include "device/state_file.h"
#include "device/state_keeper.h"
#include "link/link_error.h"
#include "link/qt_clock.h"
#include "link/socket_bridge_server.h"
#include "sim_options.h"

namespace {

// Set by the signal handlers, read by a timer on the event loop. A handler may do nothing
// else safely, so these two flags are the program's only global state.
volatile std::sig_atomic_t g_stop_signal = 0;
volatile std::sig_atomic_t g_tone_signal = 0;

extern "C" void OnStopSignal(int signal) {
    g_stop_signal = signal;
}
#if defined(SIGUSR1)
extern "C" void OnToneSignal(int) {
    g_tone_signal = 1;
}
#endif

constexpr int kSignalPollMs = 50;

void Say(const std::string& line) {
    std::fputs(("vellora-sim: " + line + "\n").c_str(), stderr);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vellora;
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const sim::SimArgs parsed = sim::ParseSimArgs(args);
    if (parsed.Result == sim::SimArgs::Outcome::Help) {
        std::fputs(sim::SimHelpText().c_str(), stdout);
        return 0;
    }
    if (parsed.Result == sim::SimArgs::Outcome::Error) {
        Say(parsed.Error);
        std::fputs("Try 'vellora-sim --help'.\n", stderr);
        return 2;
    }
    const sim::SimOptions& options = parsed.Options;

    QCoreApplication app(argc, argv);
    link::QtClock clock;
    device::ProcessorOptions processorOptions;
    processorOptions.Variant = options.Variant;
    processorOptions.ReplyLatencyMs = options.LatencyMs;
    processorOptions.Faults = options.Faults;
    device::SimulatedProcessor processor(clock, processorOptions);

    // A folder the state cannot be kept in is found now, not at the first save.
    if (!options.StateFolder.isEmpty()) {
        const device::DeviceError usable = device::CheckStateFolder(options.StateFolder);
        if (usable != device::DeviceError::Ok) {
            Say("cannot use the state folder " + options.StateFolder.toStdString() + ": " +
                std::string(device::DeviceErrorText(usable)));
            return 1;
        }
    }

    std::unique_ptr<device::StateKeeper> keeper;
    if (!options.StateFolder.isEmpty()) {
        keeper = std::make_unique<device::StateKeeper>(processor, clock, options.StateFolder);
        const device::DeviceError loaded = keeper->Load();
        if (loaded != device::DeviceError::Ok && loaded != device::DeviceError::StateNotFound) {
            std::string line = "state in " + options.StateFolder.toStdString() + ": " +
                               std::string(device::DeviceErrorText(loaded)) +
                               "; starting from the factory state";
            if (!keeper->DamagedCopy().isEmpty())
                line += " (the old file is kept as " + keeper->DamagedCopy().toStdString() + ")";
            Say(line);
        }
        keeper->SetSaveFailedHandler([&options](device::DeviceError error) {
            Say("cannot save the state in " + options.StateFolder.toStdString() + ": " +
                std::string(device::DeviceErrorText(error)));
        });
    }
    bool passwordsGiven = false;
    if (options.AdminPassword) {
        (void)processor.State().SetAdministrator(*options.AdminPassword);
        passwordsGiven = true;
    }
    if (options.PanelPassword) {
        (void)processor.State().SetPanel(*options.PanelPassword);
        passwordsGiven = true;
    }
    if (keeper && passwordsGiven) keeper->MarkChanged();

    link::SocketBridgeServer server;
    QObject::connect(&server, &link::SocketBridgeServer::ClientConnected, [&] {
        Say("terminal connected");
        processor.Start();
    });
    QObject::connect(&server, &link::SocketBridgeServer::ClientDisconnected,
                     [&](link::LinkError reason) {
                         Say(std::string("terminal gone: ") + link::LinkErrorText(reason));
                         processor.Stop();
                     });
    QObject::connect(&server, &link::SocketBridgeServer::OutputData, [&](const QByteArray& data) {
        processor.Receive(std::span(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                    static_cast<std::size_t>(data.size())));
    });
    processor.SetOutputHandler([&server](std::span<const std::uint8_t> bytes) {
        for (std::size_t at = 0; at < bytes.size() && server.HasClient();
             at += link::kRecordMaxCount)
            (void)server.SendReport(
                bytes.subspan(at, std::min(link::kRecordMaxCount, bytes.size() - at)));
    });
    // The unplug fault: the terminal is dropped; it may connect again, as after replugging.
    processor.SetUnplugHandler([&server] {
        Say("unplugged (fault)");
        server.DropClient();
    });

    if (server.Listen(options.Listen) != link::LinkError::None) {
        Say("cannot listen on " + link::EndpointText(options.Listen) + ": " + server.ErrorString());
        return 1;
    }

    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
#if defined(SIGUSR1)
    std::signal(SIGUSR1, OnToneSignal);
#endif
    QTimer signalPoll;
    QObject::connect(&signalPoll, &QTimer::timeout, [&] {
        if (g_tone_signal != 0) {
            g_tone_signal = 0;
            processor.SendToneKey();
        }
        if (g_stop_signal != 0) app.quit();
    });
    signalPoll.start(kSignalPollMs);

    const std::string ready = "vellora-sim: listening on " +
                              link::EndpointText(server.ListeningEndpoint()) + " (variant " +
                              std::string(1, processor.Variant()) + ")\n";
    std::fputs(ready.c_str(), stdout);
    std::fflush(stdout);

    app.exec();

    server.Close();
    processor.Stop();
    if (keeper) {
        const device::DeviceError saved = keeper->Save();
        if (saved != device::DeviceError::Ok) {
            Say("cannot save the state in " + options.StateFolder.toStdString() + ": " +
                std::string(device::DeviceErrorText(saved)));
            return 1;
        }
    }
    return 0;
}
