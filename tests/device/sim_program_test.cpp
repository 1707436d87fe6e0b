// The vellora-sim program end to end: started on a Unix socket in a temporary folder, found by
// the terminal's socket port, identified, told to save a mode, stopped with SIGTERM, started
// again on the same state folder; and its refusals of bad arguments.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "device/device_harness.h"
#include "device/state_file.h"
#include "link/qt_clock.h"
#include "link/socket_port.h"
#include "link/usb_comm.h"
#include "protocol/receive_parser.h"

namespace vellora::device {
namespace {

using testing::Bytes;
using testing::CommandFrame;
using testing::SearchFrame;

// Generous: the machine may be busy building other things.
constexpr int kStartLimitMs = 30000;
constexpr int kReplyLimitMs = 10000;

const QString kProgram = QStringLiteral(VELLORA_BIN_DIR "/vellora-sim");

template <typename Pred>
bool WaitUntil(Pred pred, int limit_ms) {
    const QDeadlineTimer deadline(limit_ms);
    while (!pred()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

class SimProgram {
public:
    explicit SimProgram(const QStringList& args) {
        process.setProgram(kProgram);
        process.setArguments(args);
        process.start();
    }
    ~SimProgram() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(kStartLimitMs);
        }
    }
    /// The first line on stdout, or an empty text when none came in time.
    QString ReadyLine() {
        QByteArray out;
        const bool got = WaitUntil(
            [&] {
                out += process.readAllStandardOutput();
                return out.contains('\n') || process.state() == QProcess::NotRunning;
            },
            kStartLimitMs);
        if (!got || !out.contains('\n')) return {};
        return QString::fromUtf8(out.left(out.indexOf('\n')));
    }
    /// SIGTERM, then the exit code (-1 when it did not end normally in time).
    int Stop() {
        process.terminate();
        if (!process.waitForFinished(kStartLimitMs)) return -1;
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    QProcess process;
};

// The terminal side: socket port, USB_Comm and the receive parser on real time.
class Terminal {
public:
    explicit Terminal(const link::Endpoint& endpoint) : port(endpoint) {
        comm.SetDataArrivalHandler(
            [this](const std::vector<std::uint8_t>& data) { parser.OnDeviceBytes(data); });
    }
    bool Exchange(const Bytes& frame) {
        parser.ResetPosition();
        link.ReplyOk = false;
        if (!comm.SendData(frame)) return false;
        return WaitUntil([&] { return link.ReplyOk; }, kReplyLimitMs);
    }
    bool Identify() {
        if (!comm.SendData(SearchFrame())) return false;
        return WaitUntil([&] { return link.LinkUp; }, kReplyLimitMs);
    }

    link::QtClock clock;
    link::SocketPort port;
    link::UsbComm comm{port, clock};
    model::Workspace workspace;
    protocol::LinkState link;
    protocol::ReceiveParser parser{workspace, link};
};

TEST(SimProgram, ServesATerminalAndKeepsItsStateAcrossRuns) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString socket = dir.filePath("sim.sock");
    const QString state = dir.filePath("state");
    const link::Endpoint endpoint{link::EndpointKind::Unix, socket.toStdString(), "", 0};
    const QStringList args{"--listen", "unix:" + socket, "--state", state, "--variant", "B"};
    {
        SimProgram sim(args);
        ASSERT_EQ(sim.ReadyLine(), "vellora-sim: listening on unix:" + socket + " (variant B)");
        Terminal terminal(endpoint);
        ASSERT_TRUE(terminal.comm.Connect());
        ASSERT_TRUE(terminal.Identify());
        EXPECT_TRUE(terminal.link.VariantB);
        ASSERT_TRUE(terminal.Exchange(CommandFrame(3, 5, 0, 0)));
        EXPECT_EQ(terminal.parser.PayloadByte(1), 'S');
        terminal.port.Close();
        EXPECT_EQ(sim.Stop(), 0);
    }
    {
        SimProgram sim(args);
        ASSERT_FALSE(sim.ReadyLine().isEmpty());
        Terminal terminal(endpoint);
        ASSERT_TRUE(terminal.comm.Connect());
        ASSERT_TRUE(terminal.Identify());
        ASSERT_TRUE(terminal.Exchange(CommandFrame(9, 0x23, 0x23, 0x23)));
        EXPECT_EQ(terminal.parser.PayloadByte(1), 5);
        EXPECT_EQ(sim.Stop(), 0);
    }
}

TEST(SimProgram, UnplugFaultDropsTheTerminalAndTheNextOneIsServed) {
    QTemporaryDir dir;
    const QString socket = dir.filePath("sim.sock");
    const link::Endpoint endpoint{link::EndpointKind::Unix, socket.toStdString(), "", 0};
    SimProgram sim({"--listen", "unix:" + socket, "--fault", "unplug-after=1"});
    ASSERT_FALSE(sim.ReadyLine().isEmpty());
    {
        Terminal first(endpoint);
        ASSERT_TRUE(first.comm.Connect());
        ASSERT_TRUE(first.Identify());
        EXPECT_TRUE(WaitUntil([&] { return !first.comm.IsOpen(); }, kReplyLimitMs));
    }
    Terminal second(endpoint);
    ASSERT_TRUE(second.comm.Connect());
    EXPECT_TRUE(second.Identify());  // the fault happens once
    ASSERT_TRUE(second.Exchange(CommandFrame(9, 0x23, 0x23, 0x23)));
    EXPECT_EQ(sim.Stop(), 0);
}

TEST(SimProgram, DamagedStateIsReportedAndTheDeviceStartsFromTheFactory) {
    QTemporaryDir dir;
    const QString socket = dir.filePath("sim.sock");
    QFile damaged(dir.filePath("device-state.bin"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a state");
    damaged.close();
    SimProgram sim({"--listen", "unix:" + socket, "--state", dir.path()});
    ASSERT_FALSE(sim.ReadyLine().isEmpty());
    EXPECT_EQ(sim.Stop(), 0);
    const QByteArray errors = sim.process.readAllStandardError();
    EXPECT_TRUE(errors.contains("damaged")) << errors.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("device-state.bin.damaged")));
    ProcessorState state;
    EXPECT_EQ(LoadStateFile(dir.path(), state), DeviceError::Ok);
}

TEST(SimProgram, BadArgumentsGiveOneErrorLineAndStatusTwo) {
    for (const QStringList& args :
         {QStringList{}, QStringList{"--listen", "sim"},
          QStringList{"--listen", "unix:/x", "--variant", "AB"},
          QStringList{"--listen", "unix:/x", "--panel-password", "12a4"},
          QStringList{"--listen", "unix:/x", "--fault", "answer-from=0"},
          QStringList{"--listen", "unix:/x", "--latency", "-3"}, QStringList{"--bogus"}}) {
        QProcess process;
        process.start(kProgram, args);
        ASSERT_TRUE(process.waitForFinished(kStartLimitMs)) << args.join(' ').toStdString();
        EXPECT_EQ(process.exitCode(), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
        EXPECT_TRUE(process.readAllStandardError().startsWith("vellora-sim: "));
    }
}

TEST(SimProgram, EndpointItCannotListenOnIsStatusOne) {
    QProcess process;
    process.start(kProgram, {"--listen", "unix:/nonexistent-folder/sim.sock"});
    ASSERT_TRUE(process.waitForFinished(kStartLimitMs));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(process.readAllStandardError().contains("cannot listen"));
}

}  // namespace
}  // namespace vellora::device
