// One suite of UsbComm behaviour run against every port that works on this machine: the
// scripted in-test port, and the socket bridge over a Unix socket and over TCP on 127.0.0.1
// with the bridge server playing the device.
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

#include "link/link_test_support.h"
#include "link/socket_bridge_server.h"
#include "link/socket_port.h"

namespace vellora::link {
namespace {

using testing::Bytes;
using testing::Data;
using testing::WaitUntil;

// The device side of each port: Port(), SetPresent (the device appears, or disappears and
// drops an open connection), DeviceSends (one input report of 0..60 data bytes) and Received
// (the data bytes of every output report the device has received, in order).
class ScriptedHarness {
public:
    HidPort& Port() { return port_; }
    void SetPresent(bool present) {
        if (!present && port_.IsOpen()) port_.Unplug();
        port_.present = present;
    }
    void DeviceSends(const Data& data) { port_.SendData(data); }
    std::vector<Data> Received() const { return port_.WrittenData(); }

private:
    testing::ScriptedPort port_;
};

template <EndpointKind Kind>
class BridgeHarness {
public:
    BridgeHarness() {
        static QTemporaryDir dir;
        static int n = 0;
        endpoint_ =
            Kind == EndpointKind::Unix
                ? Endpoint{Kind, dir.filePath(QString("dev%1.sock").arg(++n)).toStdString(), "", 0}
                : Endpoint{Kind, "", "127.0.0.1", 0};
        QObject::connect(&server_, &SocketBridgeServer::OutputData, [this](const QByteArray& d) {
            received_.emplace_back(d.begin(), d.end());
        });
        SetPresent(true);
        port_ = std::make_unique<SocketPort>(endpoint_);
    }
    HidPort& Port() { return *port_; }
    void SetPresent(bool present) {
        if (present) {
            EXPECT_EQ(server_.Listen(endpoint_), LinkError::None) << server_.ErrorString();
            endpoint_ = server_.ListeningEndpoint();  // the port chosen for tcp port 0
        } else {
            server_.Close();
        }
    }
    void DeviceSends(const Data& data) {
        ASSERT_TRUE(WaitUntil([&] { return server_.HasClient(); }));
        ASSERT_EQ(server_.SendReport(data), LinkError::None);
    }
    std::vector<Data> Received() const { return received_; }

private:
    Endpoint endpoint_;
    SocketBridgeServer server_;
    std::unique_ptr<SocketPort> port_;
    std::vector<Data> received_;
};

template <typename Harness>
class PortSuite : public ::testing::Test {
protected:
    template <typename Pred>
    bool Wait(Pred pred) {
        return WaitUntil(pred, &clock);
    }

    Harness device;
    model::VirtualClock clock;
    testing::RecordingComm rec{device.Port(), clock};
    UsbComm& comm = rec.comm;
};

using Harnesses = ::testing::Types<ScriptedHarness, BridgeHarness<EndpointKind::Unix>,
                                   BridgeHarness<EndpointKind::Tcp>>;
TYPED_TEST_SUITE(PortSuite, Harnesses);

TYPED_TEST(PortSuite, DeviceIsFoundKeptLostAndFoundAgainAndFramesArriveInChunksOfSixty) {
    this->device.SetPresent(false);
    EXPECT_FALSE(this->comm.Connect());
    EXPECT_EQ(this->comm.LastError(), LinkError::NotFound);
    EXPECT_FALSE(this->comm.SendData(Bytes(3)));
    EXPECT_TRUE(this->rec.plugs.empty());

    this->device.SetPresent(true);
    this->comm.Start();
    this->clock.AdvanceBy(400);
    EXPECT_TRUE(this->rec.plugs.empty());
    this->clock.AdvanceBy(5);  // the scan on the 81st quiet tick
    EXPECT_EQ(this->rec.plugs, std::vector<bool>{true});
    ASSERT_TRUE(this->comm.Connect());  // a second scan keeps the device: no second Plug
    EXPECT_EQ(this->rec.plugs, std::vector<bool>{true});

    this->device.SetPresent(false);
    ASSERT_TRUE(this->Wait([&] { return this->rec.plugs.size() == 2; }));
    EXPECT_EQ(this->rec.plugs, (std::vector<bool>{true, false}));
    EXPECT_FALSE(this->comm.SendData(Bytes(2)));

    this->device.SetPresent(true);
    this->clock.AdvanceBy(405);
    ASSERT_TRUE(this->Wait([&] { return this->rec.plugs.size() == 3; }));
    EXPECT_TRUE(this->rec.plugs.back());
    const Data frame = Bytes(200, 3);  // four reports: 60, 60, 60 and 20 data bytes
    ASSERT_TRUE(this->comm.SendData(frame));
    std::vector<Data> expected;
    for (std::ptrdiff_t at : {0, 60, 120, 180})
        expected.emplace_back(frame.begin() + at,
                              frame.begin() + std::min<std::ptrdiff_t>(at + 60, 200));
    ASSERT_TRUE(this->Wait([&] { return this->device.Received().size() >= expected.size(); }));
    testing::Settle(&this->clock);
    EXPECT_EQ(this->device.Received(), expected);
}

TYPED_TEST(PortSuite, InputReportsArriveInOrderEachOnceAndCountZeroRaisesNothing) {
    ASSERT_TRUE(this->comm.Connect());
    this->device.DeviceSends({0xFF});
    this->device.DeviceSends({});
    this->device.DeviceSends(Bytes(60, 100));
    std::vector<Data> expected = {{0xFF}, Bytes(60, 100)};
    for (int i = 0; i < 200; ++i) {
        expected.push_back({static_cast<std::uint8_t>(i)});
        this->device.DeviceSends(expected.back());
    }
    ASSERT_TRUE(this->Wait([&] { return this->rec.arrived.size() >= expected.size(); }));
    testing::Settle(&this->clock);
    EXPECT_EQ(this->rec.arrived, expected);
}

}  // namespace
}  // namespace vellora::link
