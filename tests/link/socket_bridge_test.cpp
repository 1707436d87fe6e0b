// The socket bridge on the wire: exact record bytes, malformed records from either side, one
// terminal at a time, and the server's endpoint rules.
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <memory>

#if defined(Q_OS_UNIX)
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "link/link_test_support.h"
#include "link/socket_bridge_server.h"
#include "link/socket_port.h"

namespace vellora::link {
namespace {

using testing::Bytes;
using testing::Data;
using testing::RecordingComm;
using testing::WaitUntil;

QByteArray Raw(const Data& d) {
    return QByteArray(reinterpret_cast<const char*>(d.data()), static_cast<qsizetype>(d.size()));
}

/// A record written by hand: length byte, report id, count, data, zero padding.
Data Record(std::uint8_t length, std::uint8_t id, const Data& data) {
    Data r(static_cast<std::size_t>(length) + 1, 0);
    r[0] = length;
    if (length >= 1) r[1] = id;
    if (length >= 2) r[2] = static_cast<std::uint8_t>(data.size());
    for (std::size_t i = 0; i < data.size() && i + 3 < r.size(); ++i) r[i + 3] = data[i];
    return r;
}

Data Join(Data a, const Data& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A terminal's UsbComm on a SocketPort, and a device written by hand, byte by byte: a plain
// local server with no record logic.
struct RawDevice {
    RawDevice() { EXPECT_TRUE(server.listen(QString::fromStdString(endpoint.Path))); }
    void Connect() {
        ASSERT_TRUE(rec.comm.Connect());
        ASSERT_TRUE(WaitUntil([&] { return (peer = server.nextPendingConnection()) != nullptr; }));
    }
    void Write(const Data& bytes) {
        peer->write(Raw(bytes));
        peer->flush();
    }
    QByteArray ReadPeer(qsizetype n) {
        QByteArray got;
        EXPECT_TRUE(WaitUntil([&] { return (got += peer->readAll()).size() >= n; }));
        return got;
    }

    QTemporaryDir dir;
    Endpoint endpoint{EndpointKind::Unix, dir.filePath("raw.sock").toStdString(), "", 0};
    QLocalServer server;
    QLocalSocket* peer = nullptr;
    model::VirtualClock clock;
    SocketPort port{endpoint};
    RecordingComm rec{port, clock};
};

TEST(RawDevice, OutputReportIsOneRecordOfSixtyFiveBytes) {
    for (const int type : {0, 1}) {
        RawDevice d;
        d.rec.comm.SetDeviceType(type);
        ASSERT_NO_FATAL_FAILURE(d.Connect());
        const Data frame = Bytes(15, 0x80);
        ASSERT_TRUE(d.rec.comm.SendData(frame));
        // Report id 1, or 0 through the bridge chip, whose feature report does not travel.
        const std::uint8_t id = type == 1 ? 0 : 1;
        EXPECT_EQ(d.ReadPeer(66), Raw(Record(65, id, frame))) << "type " << type;
    }
}

TEST(RawDevice, RecordsSplitAnywhereAreJoined) {
    RawDevice d;
    ASSERT_NO_FATAL_FAILURE(d.Connect());
    for (const std::uint8_t byte : Join(Record(65, 1, {1, 2, 3}), Record(65, 1, Bytes(60, 50)))) {
        d.Write({byte});
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(WaitUntil([&] { return d.rec.arrived.size() == 2; }, &d.clock));
    EXPECT_EQ(d.rec.arrived, (std::vector<Data>{{1, 2, 3}, Bytes(60, 50)}));
    EXPECT_EQ(d.rec.plugs, std::vector<bool>{true});
}

TEST(RawDevice, BrokenRecordsAndEndsAreALostDevice) {
    const Data good_then_bad = Join(Record(65, 1, {7}), Record(64, 1, {8}));
    const Data whole = Record(65, 1, {5, 6});
    const Data half(whole.begin(), whole.begin() + 30);
    struct Case {
        const char* what;
        Data stream;
        bool hang_up;
        std::vector<Data> arrived;
        LinkError error;
    };
    const Case cases[] = {
        {"length 64 after a good record", good_then_bad, false, {{7}}, LinkError::BadRecord},
        {"end inside a record", half, true, {}, LinkError::ShortRecord},
        {"plain end", {}, true, {}, LinkError::Disconnected},
    };
    for (const Case& c : cases) {
        RawDevice d;
        ASSERT_NO_FATAL_FAILURE(d.Connect());
        if (!c.stream.empty()) d.Write(c.stream);
        if (c.hang_up) {
            QCoreApplication::processEvents();
            d.peer->disconnectFromServer();
        }
        ASSERT_TRUE(WaitUntil([&] { return d.rec.plugs.size() == 2; }, &d.clock)) << c.what;
        EXPECT_EQ(d.rec.arrived, c.arrived) << c.what;  // what came before still counts
        EXPECT_EQ(d.rec.comm.LastError(), c.error) << c.what;
        EXPECT_FALSE(d.port.IsOpen()) << c.what;
        EXPECT_TRUE(WaitUntil([&] { return d.peer->state() == QLocalSocket::UnconnectedState; }))
            << c.what;
    }
}

class ServerTest : public ::testing::Test {
protected:
    /// A terminal connected to the listening server, once the server has taken it.
    std::unique_ptr<QLocalSocket> Terminal() {
        auto terminal = std::make_unique<QLocalSocket>();
        terminal->connectToServer(QString::fromStdString(endpoint.Path));
        EXPECT_TRUE(terminal->waitForConnected(5000));
        EXPECT_TRUE(WaitUntil([&] { return server.HasClient(); }));
        return terminal;
    }

    QTemporaryDir dir;
    Endpoint endpoint{EndpointKind::Unix, dir.filePath("dev.sock").toStdString(), "", 0};
    SocketBridgeServer server;
};

TEST_F(ServerTest, RecordsBothWaysAndTheLimitsOfSendReport) {
    ASSERT_EQ(server.Listen(endpoint), LinkError::None);
    std::vector<QByteArray> output;
    QObject::connect(&server, &SocketBridgeServer::OutputData,
                     [&](const QByteArray& d) { output.push_back(d); });
    EXPECT_EQ(server.SendReport(Data{1}), LinkError::NotOpen);
    const auto terminal = Terminal();
    EXPECT_EQ(server.SendReport(Bytes(61)), LinkError::BadArgument);  // nothing is sent
    ASSERT_EQ(server.SendReport(Data{0xFA, 0x01}), LinkError::None);
    ASSERT_EQ(server.SendReport(Bytes(60, 1)), LinkError::None);
    QByteArray got;
    ASSERT_TRUE(WaitUntil([&] { return (got += terminal->readAll()).size() >= 132; }));
    Data first = {65, 1, 2, 0xFA, 0x01};
    first.resize(66);
    EXPECT_EQ(got, Raw(Join(first, Record(65, 1, Bytes(60, 1)))));

    // The terminal's records: each one's data bytes in order, a count of 0 ignored.
    terminal->write(Raw(Join(Join(Record(65, 1, {1, 2}), Record(65, 1, {})), Record(65, 0, {3}))));
    terminal->flush();
    ASSERT_TRUE(WaitUntil([&] { return output.size() == 2; }));
    EXPECT_EQ(output, (std::vector<QByteArray>{Raw({1, 2}), Raw({3})}));
}

TEST_F(ServerTest, TerminalThatBreaksTheRecordFormatIsDropped) {
    ASSERT_EQ(server.Listen(endpoint), LinkError::None);
    QSignalSpy gone(&server, &SocketBridgeServer::ClientDisconnected);
    QSignalSpy data(&server, &SocketBridgeServer::OutputData);
    const auto bad = Terminal();
    bad->write(Raw({200, 1, 2, 3}));
    bad->flush();
    ASSERT_TRUE(WaitUntil([&] { return gone.count() == 1; }));
    EXPECT_FALSE(server.HasClient());
    EXPECT_TRUE(WaitUntil([&] { return bad->state() == QLocalSocket::UnconnectedState; }));

    const auto leaving = Terminal();  // leaves in the middle of a record
    leaving->write(Raw({65, 1, 1}));
    leaving->flush();
    QCoreApplication::processEvents();
    leaving->disconnectFromServer();
    ASSERT_TRUE(WaitUntil([&] { return gone.count() == 2; }));
    EXPECT_EQ(gone.at(0).at(0).value<LinkError>(), LinkError::BadRecord);
    EXPECT_EQ(gone.at(1).at(0).value<LinkError>(), LinkError::ShortRecord);
    EXPECT_EQ(data.count(), 0);
}

TEST_F(ServerTest, TerminalThatNeverReadsIsDroppedOnceItsQueueIsFull) {
    ASSERT_EQ(server.Listen(endpoint), LinkError::None);
    QSignalSpy gone(&server, &SocketBridgeServer::ClientDisconnected);
    // Every request gets a full report back, as block reads do.
    QObject::connect(&server, &SocketBridgeServer::OutputData,
                     [&](const QByteArray&) { (void)server.SendReport(Bytes(60, 9)); });
    const auto terminal = Terminal();  // sends and never reads
    terminal->setReadBufferSize(1);    // nor lets the socket read for it
    const QByteArray request = Raw(Record(65, 1, {0x80}));
    // Far more answers than the queue and the system's socket buffers together can hold.
    const qsizetype most = 16 * SocketBridgeServer::kMaxQueuedBytes / request.size();
    qsizetype sent = 0;
    while (gone.count() == 0 && sent < most) {
        for (int i = 0; i < 64; ++i) terminal->write(request);
        sent += 64;
        terminal->flush();
        QCoreApplication::processEvents();
    }
    ASSERT_EQ(gone.count(), 1) << sent << " requests sent";
    EXPECT_EQ(gone.at(0).at(0).value<LinkError>(), LinkError::NotReading);
    EXPECT_FALSE(server.HasClient());
    EXPECT_EQ(server.SendReport(Data{1}), LinkError::NotOpen);
}

TEST_F(ServerTest, OneTerminalAtATimeAndADroppedOneHasLostItsDevice) {
    ASSERT_EQ(server.Listen(endpoint), LinkError::None);
    QSignalSpy connected(&server, &SocketBridgeServer::ClientConnected);
    QSignalSpy gone(&server, &SocketBridgeServer::ClientDisconnected);
    model::VirtualClock clock;
    SocketPort first_port(endpoint);
    SocketPort second_port(endpoint);
    RecordingComm first(first_port, clock);
    RecordingComm second(second_port, clock);

    ASSERT_TRUE(first.comm.Connect());
    ASSERT_TRUE(WaitUntil([&] { return server.HasClient(); }));
    (void)second.comm.Connect();  // accepted by the system, then turned away
    ASSERT_TRUE(WaitUntil([&] { return !second.comm.IsOpen(); }, &clock));
    EXPECT_EQ(connected.count(), 1);
    if (!second.plugs.empty()) {
        EXPECT_EQ(second.plugs, (std::vector<bool>{true, false}));
    }

    ASSERT_EQ(server.SendReport(Data{0x11}), LinkError::None);
    ASSERT_TRUE(WaitUntil([&] { return first.arrived.size() == 1; }, &clock));
    EXPECT_EQ(first.arrived[0], Data{0x11});

    server.DropClient();
    ASSERT_TRUE(WaitUntil([&] { return first.plugs.size() == 2; }, &clock));
    EXPECT_EQ(first.plugs, (std::vector<bool>{true, false}));
    EXPECT_EQ(first.comm.LastError(), LinkError::Disconnected);
    ASSERT_EQ(gone.count(), 1);
    EXPECT_EQ(gone.at(0).at(0).value<LinkError>(), LinkError::Disconnected);
}

#if defined(Q_OS_UNIX)
TEST_F(ServerTest, LeftoverSocketFileIsReplacedButALiveOneIsNot) {
    // A socket file with nobody behind it, as a crashed device leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(endpoint.Path.size(), sizeof(address.sun_path));
    std::copy(endpoint.Path.begin(), endpoint.Path.end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(endpoint.Path)));

    ASSERT_EQ(server.Listen(endpoint), LinkError::None) << server.ErrorString();
    SocketBridgeServer other;
    EXPECT_EQ(other.Listen(endpoint), LinkError::ListenFailed);
    EXPECT_FALSE(other.ErrorString().empty());
    EXPECT_TRUE(server.IsListening());
    SocketPort port(endpoint);
    EXPECT_EQ(port.Open(DeviceMatch{}), LinkError::None);  // the first server still answers
}
#endif

TEST_F(ServerTest, NeverReplacesAFileThatIsNotASocket) {
    QFile file(QString::fromStdString(endpoint.Path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    EXPECT_EQ(server.Listen(endpoint), LinkError::ListenFailed);
    EXPECT_NE(server.ErrorString().find("not a socket"), std::string::npos);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("keep me"));
}

TEST_F(ServerTest, TcpListensOnLoopbackOnly) {
    EXPECT_EQ(server.Listen(Endpoint{EndpointKind::Tcp, "", "0.0.0.0", 0}),
              LinkError::ListenFailed);
    EXPECT_EQ(server.Listen(Endpoint{EndpointKind::Tcp, "", "192.0.2.1", 0}),
              LinkError::ListenFailed);
    ASSERT_EQ(server.Listen(Endpoint{EndpointKind::Tcp, "", "127.0.0.1", 0}), LinkError::None);
    EXPECT_GT(server.ListeningEndpoint().Port, 0);
    EXPECT_EQ(server.Listen(Endpoint{EndpointKind::Auto, "", "", 0}), LinkError::ListenFailed);
}

}  // namespace
}  // namespace vellora::link
