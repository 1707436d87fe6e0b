// The socket bridge on the wire: exact record bytes, malformed records from either side, one
// terminal at a time, and the server's endpoint rules.
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>

#if defined(Q_OS_UNIX)
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "link/event_loop.h"
#include "link/scripted_port.h"
#include "link/socket_bridge_server.h"
#include "link/socket_port.h"
#include "link/usb_comm.h"

namespace vellora::link {
namespace {

using testing::Bytes;
using testing::WaitUntil;
using Data = std::vector<std::uint8_t>;

QByteArray Raw(const Data& d) {
    return QByteArray(reinterpret_cast<const char*>(d.data()), static_cast<qsizetype>(d.size()));
}

Data Record(std::uint8_t length, std::uint8_t id, const Data& data) {
    Data r(static_cast<std::size_t>(length) + 1, 0);
    r[0] = length;
    if (length >= 1) r[1] = id;
    if (length >= 2) r[2] = static_cast<std::uint8_t>(data.size());
    for (std::size_t i = 0; i < data.size() && i + 3 < r.size(); ++i) r[i + 3] = data[i];
    return r;
}

// A device written by hand, byte by byte: a plain local server with no record logic.
class RawDeviceTest : public ::testing::Test {
protected:
    RawDeviceTest() {
        EXPECT_TRUE(server.listen(QString::fromStdString(endpoint.Path)));
        comm.SetDataArrivalHandler([this](const Data& d) { arrived.push_back(d); });
        comm.SetPlugHandler([this](bool s) { plugs.push_back(s); });
    }
    void ConnectDevice() {
        ASSERT_TRUE(comm.Connect());
        ASSERT_TRUE(WaitUntil([&] {
            if (peer == nullptr) peer = server.nextPendingConnection();
            return peer != nullptr;
        }));
    }
    QByteArray ReadPeer(qsizetype n) {
        QByteArray got;
        EXPECT_TRUE(WaitUntil([&] {
            got += peer->readAll();
            return got.size() >= n;
        }));
        return got;
    }

    QTemporaryDir dir;
    Endpoint endpoint{EndpointKind::Unix, dir.filePath("raw.sock").toStdString(), "", 0};
    QLocalServer server;
    QLocalSocket* peer = nullptr;
    model::VirtualClock clock;
    SocketPort port{endpoint};
    UsbComm comm{port, clock};
    std::vector<Data> arrived;
    std::vector<bool> plugs;
};

TEST_F(RawDeviceTest, OutputReportTravelsAsOneRecordOfSixtyFiveBytes) {
    ConnectDevice();
    const Data frame = Bytes(15, 0x80);
    ASSERT_TRUE(comm.SendData(frame));
    const QByteArray got = ReadPeer(66);
    Data expected(66, 0);
    expected[0] = 65;
    expected[1] = 1;
    expected[2] = 15;
    std::copy(frame.begin(), frame.end(), expected.begin() + 3);
    EXPECT_EQ(got, Raw(expected));
}

TEST_F(RawDeviceTest, BridgeDeviceTypeSendsReportIdZeroAndNoFeatureRecord) {
    comm.SetDeviceType(1);
    comm.SetDeviceSimulator(false);
    ConnectDevice();
    ASSERT_TRUE(comm.SendData(Data{0xFF}));
    const QByteArray got = ReadPeer(66);
    ASSERT_EQ(got.size(), 66);  // the feature report did not travel
    EXPECT_EQ(static_cast<std::uint8_t>(got[0]), 65);
    EXPECT_EQ(static_cast<std::uint8_t>(got[1]), 0);
    EXPECT_EQ(static_cast<std::uint8_t>(got[2]), 1);
    EXPECT_EQ(static_cast<std::uint8_t>(got[3]), 0xFF);
}

TEST_F(RawDeviceTest, RecordsSplitAnywhereAreJoined) {
    ConnectDevice();
    Data stream = Record(65, 1, {1, 2, 3});
    const Data second = Record(65, 1, Bytes(60, 50));
    stream.insert(stream.end(), second.begin(), second.end());
    for (const std::uint8_t byte : stream) {
        peer->write(Raw({byte}));
        peer->flush();
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(WaitUntil([&] { return arrived.size() == 2; }, &clock));
    EXPECT_EQ(arrived[0], (Data{1, 2, 3}));
    EXPECT_EQ(arrived[1], Bytes(60, 50));
    EXPECT_EQ(plugs, (std::vector<bool>{true}));
}

TEST_F(RawDeviceTest, WrongRecordLengthIsALostDevice) {
    ConnectDevice();
    Data stream = Record(65, 1, {7});
    const Data bad = Record(64, 1, {8});
    stream.insert(stream.end(), bad.begin(), bad.end());
    peer->write(Raw(stream));
    peer->flush();
    ASSERT_TRUE(WaitUntil([&] { return plugs.size() == 2; }, &clock));
    EXPECT_EQ(arrived, std::vector<Data>{Data{7}});  // what came before still counts
    EXPECT_EQ(plugs, (std::vector<bool>{true, false}));
    EXPECT_EQ(comm.LastError(), LinkError::BadRecord);
    EXPECT_TRUE(WaitUntil([&] { return peer->state() == QLocalSocket::UnconnectedState; }));
}

TEST_F(RawDeviceTest, CountOverSixtyIsALostDevice) {
    ConnectDevice();
    Data bad = Record(65, 1, {});
    bad[2] = 61;
    peer->write(Raw(bad));
    peer->flush();
    ASSERT_TRUE(WaitUntil([&] { return plugs.size() == 2; }, &clock));
    EXPECT_TRUE(arrived.empty());
    EXPECT_EQ(comm.LastError(), LinkError::BadRecord);
}

TEST_F(RawDeviceTest, ZeroLengthRecordIsALostDevice) {
    ConnectDevice();
    peer->write(Raw({0}));
    peer->flush();
    ASSERT_TRUE(WaitUntil([&] { return plugs.size() == 2; }, &clock));
    EXPECT_EQ(comm.LastError(), LinkError::BadRecord);
}

TEST_F(RawDeviceTest, ConnectionEndingInsideARecordIsAShortRecord) {
    ConnectDevice();
    const Data whole = Record(65, 1, {5, 6});
    peer->write(Raw(Data(whole.begin(), whole.begin() + 30)));
    peer->flush();
    QCoreApplication::processEvents();
    peer->disconnectFromServer();
    ASSERT_TRUE(WaitUntil([&] { return plugs.size() == 2; }, &clock));
    EXPECT_TRUE(arrived.empty());
    EXPECT_EQ(comm.LastError(), LinkError::ShortRecord);
}

TEST_F(RawDeviceTest, PlainDisconnectIsADisconnectedDevice) {
    ConnectDevice();
    peer->disconnectFromServer();
    ASSERT_TRUE(WaitUntil([&] { return plugs.size() == 2; }, &clock));
    EXPECT_EQ(comm.LastError(), LinkError::Disconnected);
    EXPECT_FALSE(port.IsOpen());
}

TEST(SocketPort, StaleSocketFileIsNotFound) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("none.sock").toStdString();
    SocketPort port(Endpoint{EndpointKind::Unix, path, "", 0});
    EXPECT_EQ(port.Open(DeviceMatch{}), LinkError::NotFound);
    EXPECT_FALSE(port.IsOpen());
    const Data report(65, 1);
    EXPECT_EQ(port.WriteReport(report), LinkError::NotOpen);
}

class ServerTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Endpoint endpoint{EndpointKind::Unix, dir.filePath("dev.sock").toStdString(), "", 0};
    SocketBridgeServer server;
};

TEST_F(ServerTest, InputReportRecordOnTheWire) {
    ASSERT_EQ(server.Listen(endpoint), LinkError::None);
    QLocalSocket terminal;
    terminal.connectToServer(QString::fromStdString(endpoint.Path));
    ASSERT_TRUE(terminal.waitForConnected(5000));
    ASSERT_TRUE(WaitUntil([&] { return server.HasClient(); }));
    ASSERT_EQ(server.SendReport(Data{0xFA, 0x01}), LinkError::None);
    QByteArray got;
    ASSERT_TRUE(WaitUntil([&] {
        got += terminal.readAll();
        return got.size() >= 66;
    }));
    Data expected(66, 0);
    expected[0] = 65;
    expected[1] = 1;
    expected[2] = 2;
    expected[3] = 0xFA;
    expected[4] = 0x01;
    EXPECT_EQ(got, Raw(expected));
}

TEST_F(ServerTest, SendReportLimits) {
    ASSERT_EQ(server.Listen(endpoint), LinkError::None);
    EXPECT_EQ(server.SendReport(Data{1}), LinkError::NotOpen);
    QLocalSocket terminal;
    terminal.connectToServer(QString::fromStdString(endpoint.Path));
    ASSERT_TRUE(terminal.waitForConnected(5000));
    ASSERT_TRUE(WaitUntil([&] { return server.HasClient(); }));
    EXPECT_EQ(server.SendReport(Bytes(61)), LinkError::BadArgument);
    EXPECT_EQ(server.SendReport(Bytes(60)), LinkError::None);
}

TEST_F(ServerTest, OutputDataOfEachRecordInOrderAndCountZeroIgnored) {
    ASSERT_EQ(server.Listen(endpoint), LinkError::None);
    std::vector<QByteArray> got;
    QObject::connect(&server, &SocketBridgeServer::OutputData,
                     [&](const QByteArray& d) { got.push_back(d); });
    QLocalSocket terminal;
    terminal.connectToServer(QString::fromStdString(endpoint.Path));
    ASSERT_TRUE(terminal.waitForConnected(5000));
    Data stream = Record(65, 1, {1, 2});
    for (const Data& r : {Record(65, 1, {}), Record(65, 0, {3})})
        stream.insert(stream.end(), r.begin(), r.end());
    terminal.write(Raw(stream));
    terminal.flush();
    ASSERT_TRUE(WaitUntil([&] { return got.size() == 2; }));
    EXPECT_EQ(got[0], Raw({1, 2}));
    EXPECT_EQ(got[1], Raw({3}));
}

TEST_F(ServerTest, MalformedTerminalRecordDropsTheTerminal) {
    ASSERT_EQ(server.Listen(endpoint), LinkError::None);
    QSignalSpy gone(&server, &SocketBridgeServer::ClientDisconnected);
    QSignalSpy data(&server, &SocketBridgeServer::OutputData);
    QLocalSocket terminal;
    terminal.connectToServer(QString::fromStdString(endpoint.Path));
    ASSERT_TRUE(terminal.waitForConnected(5000));
    terminal.write(Raw({200, 1, 2, 3}));
    terminal.flush();
    ASSERT_TRUE(WaitUntil([&] { return gone.count() == 1; }));
    EXPECT_EQ(gone.at(0).at(0).value<LinkError>(), LinkError::BadRecord);
    EXPECT_EQ(data.count(), 0);
    EXPECT_FALSE(server.HasClient());
    EXPECT_TRUE(WaitUntil([&] { return terminal.state() == QLocalSocket::UnconnectedState; }));
}

TEST_F(ServerTest, TerminalLeavingMidRecordIsReported) {
    ASSERT_EQ(server.Listen(endpoint), LinkError::None);
    QSignalSpy gone(&server, &SocketBridgeServer::ClientDisconnected);
    QLocalSocket terminal;
    terminal.connectToServer(QString::fromStdString(endpoint.Path));
    ASSERT_TRUE(terminal.waitForConnected(5000));
    ASSERT_TRUE(WaitUntil([&] { return server.HasClient(); }));
    terminal.write(Raw({65, 1, 1}));
    terminal.flush();
    QCoreApplication::processEvents();
    terminal.disconnectFromServer();
    ASSERT_TRUE(WaitUntil([&] { return gone.count() == 1; }));
    EXPECT_EQ(gone.at(0).at(0).value<LinkError>(), LinkError::ShortRecord);
}

TEST_F(ServerTest, OneTerminalAtATime) {
    ASSERT_EQ(server.Listen(endpoint), LinkError::None);
    QSignalSpy connected(&server, &SocketBridgeServer::ClientConnected);
    model::VirtualClock clock;
    SocketPort first_port(endpoint);
    SocketPort second_port(endpoint);
    UsbComm first(first_port, clock);
    UsbComm second(second_port, clock);
    std::vector<bool> second_plugs;
    second.SetPlugHandler([&](bool s) { second_plugs.push_back(s); });
    std::vector<Data> first_arrived;
    first.SetDataArrivalHandler([&](const Data& d) { first_arrived.push_back(d); });

    ASSERT_TRUE(first.Connect());
    ASSERT_TRUE(WaitUntil([&] { return server.HasClient(); }));
    (void)second.Connect();  // accepted by the system, then turned away
    ASSERT_TRUE(WaitUntil([&] { return !second.IsOpen(); }, &clock));
    EXPECT_EQ(connected.count(), 1);
    if (!second_plugs.empty()) {
        EXPECT_EQ(second_plugs, (std::vector<bool>{true, false}));
    }

    ASSERT_EQ(server.SendReport(Data{0x11}), LinkError::None);
    ASSERT_TRUE(WaitUntil([&] { return first_arrived.size() == 1; }, &clock));
    EXPECT_EQ(first_arrived[0], Data{0x11});
    EXPECT_TRUE(first.IsOpen());
}

TEST_F(ServerTest, DroppedClientIsALostDeviceForTheTerminal) {
    ASSERT_EQ(server.Listen(endpoint), LinkError::None);
    QSignalSpy gone(&server, &SocketBridgeServer::ClientDisconnected);
    model::VirtualClock clock;
    SocketPort port(endpoint);
    UsbComm comm(port, clock);
    std::vector<bool> plugs;
    comm.SetPlugHandler([&](bool s) { plugs.push_back(s); });
    ASSERT_TRUE(comm.Connect());
    ASSERT_TRUE(WaitUntil([&] { return server.HasClient(); }));
    server.DropClient();
    ASSERT_TRUE(WaitUntil([&] { return plugs.size() == 2; }, &clock));
    EXPECT_EQ(plugs, (std::vector<bool>{true, false}));
    EXPECT_EQ(gone.count(), 1);
    EXPECT_EQ(comm.LastError(), LinkError::Disconnected);
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
    SocketBridgeServer tcp;
    EXPECT_EQ(tcp.Listen(Endpoint{EndpointKind::Tcp, "", "0.0.0.0", 0}), LinkError::ListenFailed);
    EXPECT_EQ(tcp.Listen(Endpoint{EndpointKind::Tcp, "", "192.0.2.1", 0}), LinkError::ListenFailed);
    ASSERT_EQ(tcp.Listen(Endpoint{EndpointKind::Tcp, "", "127.0.0.1", 0}), LinkError::None);
    EXPECT_GT(tcp.ListeningEndpoint().Port, 0);
    EXPECT_EQ(tcp.Listen(Endpoint{EndpointKind::Auto, "", "", 0}), LinkError::ListenFailed);
}

}  // namespace
}  // namespace vellora::link
