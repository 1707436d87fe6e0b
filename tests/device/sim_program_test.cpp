// The vellora-sim program end to end: started on a Unix socket in a temporary folder over a
// damaged state file, found by the terminal's socket port, identified, told to save a mode,
// stopped with SIGTERM, started again on the same state folder with the unplug fault; and its
// refusals of bad arguments.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

#include <gtest/gtest.h>

#include "device/device_harness.h"
#include "link/qt_clock.h"
#include "link/socket_port.h"
#include "link/usb_comm.h"
#include "protocol/receive_parser.h"

namespace vellora::device {
namespace {

using namespace testing;

constexpr int kLimitMs = 30000;  // generous: the machine may be busy building other things
const QString kProgram = QStringLiteral(VELLORA_BIN_DIR "/vellora-sim");

bool WaitUntil(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(kLimitMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

/// Starts vellora-sim and returns the line it prints when ready ("" when none came).
QString Start(QProcess& sim, const QStringList& args) {
    sim.start(kProgram, args);
    while (!sim.canReadLine() && sim.waitForReadyRead(kLimitMs)) continue;
    return QString::fromUtf8(sim.readLine()).trimmed();
}

/// SIGTERM, then the exit code (-1 when it did not end normally in time).
int Stop(QProcess& sim) {
    sim.terminate();
    if (!sim.waitForFinished(kLimitMs) || sim.exitStatus() != QProcess::NormalExit) return -1;
    return sim.exitCode();
}

// The terminal side: socket port, USB_Comm and the receive parser on real time.
struct SocketTerminal : protocol::ParserObserver {
    explicit SocketTerminal(const QString& socket)
        : port(link::Endpoint{link::EndpointKind::Unix, socket.toStdString(), "", 0}) {
        comm.SetDataArrivalHandler(
            [this](const std::vector<std::uint8_t>& data) { parser.OnDeviceBytes(data); });
    }
    void OnFrame(std::span<const std::uint8_t>, bool) override { replied = true; }
    /// Sends a frame and waits until `answered` says its answer came.
    bool Send(const Bytes& frame, const std::function<bool()>& answered) {
        parser.ResetPosition();
        replied = false;
        return comm.SendData(frame) && WaitUntil(answered);
    }
    [[nodiscard]] std::function<bool()> LinkedUp() {
        return [this] { return link.LinkUp(); };
    }
    [[nodiscard]] std::function<bool()> Replied() {
        return [this] { return replied; };
    }

    link::QtClock clock;
    link::SocketPort port;
    link::UsbComm comm{port, clock};
    model::Workspace workspace;
    protocol::LinkState link;
    protocol::ReceiveParser parser{workspace, link, this};
    bool replied = false;  // a good frame came while linked
};

TEST(SimProgram, ServesTerminalsAndKeepsItsStateAcrossRuns) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString socket = dir.filePath("sim.sock");
    const QString state = dir.filePath("state");
    const QStringList args{"--listen", "unix:" + socket, "--state", state, "--variant", "B"};
    ASSERT_TRUE(QDir().mkpath(state));
    QFile damaged(state + "/device-state.bin");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a state");
    damaged.close();
    {
        // The damaged file is reported and kept aside; the device starts from the factory.
        QProcess sim;
        ASSERT_EQ(Start(sim, args), "vellora-sim: listening on unix:" + socket + " (variant B)");
        SocketTerminal terminal(socket);
        ASSERT_TRUE(terminal.comm.Connect());
        ASSERT_TRUE(terminal.Send(kSearch, terminal.LinkedUp()));
        EXPECT_TRUE(terminal.link.VariantB());
        ASSERT_TRUE(terminal.Send(CommandFrame(3, 5, 0, 0), terminal.Replied()));
        EXPECT_EQ(terminal.parser.PayloadByte(1), protocol::kAccepted);
        terminal.port.Close();
        EXPECT_EQ(Stop(sim), 0);
        EXPECT_TRUE(sim.readAllStandardError().contains("damaged"));
        EXPECT_EQ(QDir(state).entryList({"device-state.bin.*.damaged"}, QDir::Files).size(), 1);
    }
    // The unplug fault drops the first terminal after its second answer, once.
    QProcess sim;
    ASSERT_FALSE(Start(sim, args + QStringList{"--fault", "unplug-after=2"}).isEmpty());
    for (const bool first : {true, false}) {
        SocketTerminal terminal(socket);
        ASSERT_TRUE(terminal.comm.Connect());
        ASSERT_TRUE(terminal.Send(kSearch, terminal.LinkedUp()));
        ASSERT_TRUE(terminal.Send(kModeQuery, terminal.Replied()));
        EXPECT_EQ(terminal.parser.PayloadByte(1), 5);
        EXPECT_TRUE(!first || WaitUntil([&] { return !terminal.comm.IsOpen(); }));
    }
    EXPECT_EQ(Stop(sim), 0);
}

TEST(SimProgram, BadArgumentsAndEndpointsItCannotListenOn) {
    // A state folder that cannot be written is found at the start, not at the first save.
    QTemporaryDir dir;
    const QString file = dir.filePath("a-file");
    QFile plain(file);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString socket = "unix:" + dir.filePath("sim.sock");
    const struct {
        QStringList Args;
        int Status;
        const char* Mention;  ///< what the one error line must say, for status 1
    } cases[] = {
        {{}, 2, ""},
        {{"--listen", "sim"}, 2, ""},
        {{"--listen", "unix:/x", "--variant", "AB"}, 2, ""},
        {{"--listen", "unix:/x", "--panel-password", "12a4"}, 2, ""},
        {{"--listen", "unix:/x", "--fault", "answer-from=0"}, 2, ""},
        {{"--listen", "unix:/x", "--latency", "-3"}, 2, ""},
        {{"--bogus"}, 2, ""},
        {{"--listen", "unix:/nonexistent-folder/sim.sock"}, 1, "cannot listen"},
        {{"--listen", socket, "--state", file}, 1, "cannot use the state folder"},
        {{"--listen", socket, "--state", file + "/inside"}, 1, "cannot use the state folder"},
    };
    for (const auto& c : cases) {
        QProcess sim;
        sim.start(kProgram, c.Args);
        ASSERT_TRUE(sim.waitForFinished(kLimitMs)) << c.Args.join(' ').toStdString();
        EXPECT_EQ(sim.exitCode(), c.Status) << c.Args.join(' ').toStdString();
        EXPECT_TRUE(sim.readAllStandardOutput().isEmpty());
        const QByteArray error = sim.readAllStandardError();
        EXPECT_TRUE(error.startsWith("vellora-sim: ")) << error.toStdString();
        EXPECT_EQ(error.contains("cannot listen"), std::string_view(c.Mention) == "cannot listen")
            << error.toStdString();
        if (c.Status == 1) {
            EXPECT_TRUE(error.contains(c.Mention)) << error.toStdString();
            EXPECT_EQ(error.count('\n'), 1) << error.toStdString();
        }
    }
}

}  // namespace
}  // namespace vellora::device
