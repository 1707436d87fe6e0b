// One suite of UsbComm behaviour run against every port that works on this machine: the
// scripted in-test port, and the socket bridge over a Unix socket and over TCP on 127.0.0.1
// with the bridge server playing the device.
#include <QTemporaryDir>
#include <memory>

#include <gtest/gtest.h>

#include "link/event_loop.h"
#include "link/scripted_port.h"
#include "link/socket_bridge_server.h"
#include "link/socket_port.h"
#include "link/usb_comm.h"

namespace vellora::link {
namespace {

using testing::Bytes;
using testing::ScriptedPort;
using testing::WaitUntil;
using Data = std::vector<std::uint8_t>;

// The device side of a port, as the suite sees it.
class PortHarness {
public:
    virtual ~PortHarness() = default;
    virtual HidPort& Port() = 0;
    /// The device appears, or disappears (dropping an open connection).
    virtual void SetPresent(bool present) = 0;
    /// The device sends one input report carrying `data` (0..60 bytes).
    virtual void DeviceSends(const Data& data) = 0;
    /// Data bytes of every output report the device has received, in order.
    virtual const std::vector<Data>& Received() const = 0;
};

class ScriptedHarness : public PortHarness {
public:
    HidPort& Port() override { return port_; }
    void SetPresent(bool present) override {
        if (!present && port_.IsOpen()) {
            port_.Unplug();
        }
        port_.present = present;
    }
    void DeviceSends(const Data& data) override { port_.SendData(data); }
    const std::vector<Data>& Received() const override {
        received_ = testing::WrittenData(port_);
        return received_;
    }

private:
    ScriptedPort port_;
    mutable std::vector<Data> received_;
};

class BridgeHarness : public PortHarness {
public:
    explicit BridgeHarness(Endpoint endpoint) : endpoint_(std::move(endpoint)) {
        QObject::connect(&server_, &SocketBridgeServer::OutputData, [this](const QByteArray& d) {
            received_.emplace_back(d.begin(), d.end());
        });
        SetPresent(true);
        port_ = std::make_unique<SocketPort>(endpoint_);
    }
    HidPort& Port() override { return *port_; }
    void SetPresent(bool present) override {
        if (present) {
            EXPECT_EQ(server_.Listen(endpoint_), LinkError::None) << server_.ErrorString();
            endpoint_ = server_.ListeningEndpoint();  // the port chosen for tcp port 0
        } else {
            server_.Close();
        }
    }
    void DeviceSends(const Data& data) override {
        ASSERT_TRUE(WaitUntil([&] { return server_.HasClient(); }));
        ASSERT_EQ(server_.SendReport(data), LinkError::None);
    }
    const std::vector<Data>& Received() const override { return received_; }

private:
    Endpoint endpoint_;
    SocketBridgeServer server_;
    std::unique_ptr<SocketPort> port_;
    std::vector<Data> received_;
};

class UnixHarness : public BridgeHarness {
public:
    UnixHarness() : BridgeHarness(Path()) {}

private:
    static Endpoint Path() {
        static QTemporaryDir dir;
        static int n = 0;
        Endpoint e;
        e.Kind = EndpointKind::Unix;
        e.Path = dir.filePath(QString("dev%1.sock").arg(++n)).toStdString();
        return e;
    }
};

class TcpHarness : public BridgeHarness {
public:
    TcpHarness() : BridgeHarness(Endpoint{EndpointKind::Tcp, "", "127.0.0.1", 0}) {}
};

template <typename Harness>
class PortSuite : public ::testing::Test {
protected:
    PortSuite() {
        comm.SetDataArrivalHandler([this](const Data& d) { arrived.push_back(d); });
        comm.SetPlugHandler([this](bool s) { plugs.push_back(s); });
    }
    template <typename Pred>
    bool Wait(Pred pred) {
        return WaitUntil(pred, &clock);
    }

    Harness device;
    model::VirtualClock clock;
    UsbComm comm{device.Port(), clock};
    std::vector<Data> arrived;
    std::vector<bool> plugs;
};

using Harnesses = ::testing::Types<ScriptedHarness, UnixHarness, TcpHarness>;
TYPED_TEST_SUITE(PortSuite, Harnesses);

TYPED_TEST(PortSuite, NoDeviceIsNotFound) {
    this->device.SetPresent(false);
    EXPECT_FALSE(this->comm.Connect());
    EXPECT_EQ(this->comm.LastError(), LinkError::NotFound);
    EXPECT_FALSE(this->comm.SendData(Bytes(3)));
    EXPECT_TRUE(this->plugs.empty());
}

TYPED_TEST(PortSuite, SecondScanKeepsTheDeviceAndRaisesNoSecondPlug) {
    ASSERT_TRUE(this->comm.Connect());
    ASSERT_TRUE(this->comm.Connect());
    EXPECT_EQ(this->plugs, (std::vector<bool>{true}));
    ASSERT_TRUE(this->comm.SendData(Data{0xFF}));
    ASSERT_TRUE(this->Wait([&] { return this->device.Received().size() == 1; }));
    EXPECT_EQ(this->device.Received()[0], Data{0xFF});
}

TYPED_TEST(PortSuite, FifteenByteFrameIsOneReport) {
    ASSERT_TRUE(this->comm.Connect());
    const Data frame = Bytes(15, 0x30);
    ASSERT_TRUE(this->comm.SendData(frame));
    ASSERT_TRUE(this->Wait([&] { return !this->device.Received().empty(); }));
    testing::Settle(&this->clock);
    EXPECT_EQ(this->device.Received(), std::vector<Data>{frame});
}

TYPED_TEST(PortSuite, TwoHundredByteFrameIsFourReportsInOrder) {
    ASSERT_TRUE(this->comm.Connect());
    const Data frame = Bytes(200, 3);
    ASSERT_TRUE(this->comm.SendData(frame));
    ASSERT_TRUE(this->Wait([&] { return this->device.Received().size() >= 4; }));
    const auto& got = this->device.Received();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].size(), 60u);
    EXPECT_EQ(got[1].size(), 60u);
    EXPECT_EQ(got[2].size(), 60u);
    EXPECT_EQ(got[3].size(), 20u);
    Data joined;
    for (const auto& chunk : got) joined.insert(joined.end(), chunk.begin(), chunk.end());
    EXPECT_EQ(joined, frame);
}

TYPED_TEST(PortSuite, InputReportsArriveInOrderEachOnceAndCountZeroRaisesNothing) {
    ASSERT_TRUE(this->comm.Connect());
    this->device.DeviceSends({0xFF});
    this->device.DeviceSends({});
    this->device.DeviceSends(Bytes(60, 100));
    this->device.DeviceSends({9, 8, 7});
    ASSERT_TRUE(this->Wait([&] { return this->arrived.size() >= 3; }));
    testing::Settle(&this->clock);
    ASSERT_EQ(this->arrived.size(), 3u);
    EXPECT_EQ(this->arrived[0], Data{0xFF});
    EXPECT_EQ(this->arrived[1], Bytes(60, 100));
    EXPECT_EQ(this->arrived[2], (Data{9, 8, 7}));
}

TYPED_TEST(PortSuite, ManyReportsKeepTheirOrder) {
    ASSERT_TRUE(this->comm.Connect());
    for (int i = 0; i < 200; ++i) this->device.DeviceSends({static_cast<std::uint8_t>(i)});
    ASSERT_TRUE(this->Wait([&] { return this->arrived.size() >= 200; }));
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(this->arrived[static_cast<std::size_t>(i)], Data{static_cast<std::uint8_t>(i)});
    }
}

TYPED_TEST(PortSuite, DeviceThatGoesIsLostAndFoundAgainByTheRescan) {
    this->comm.Start();
    ASSERT_TRUE(this->comm.Connect());
    this->device.SetPresent(false);
    ASSERT_TRUE(this->Wait([&] { return this->plugs.size() == 2; }));
    EXPECT_EQ(this->plugs, (std::vector<bool>{true, false}));
    EXPECT_FALSE(this->comm.IsOpen());
    EXPECT_FALSE(this->comm.SendData(Bytes(2)));

    this->device.SetPresent(true);
    this->clock.AdvanceBy(405);  // the scan on the 81st quiet tick
    ASSERT_TRUE(this->Wait([&] { return this->plugs.size() == 3; }));
    EXPECT_TRUE(this->plugs.back());
    ASSERT_TRUE(this->comm.SendData(Data{0x42}));
    ASSERT_TRUE(this->Wait([&] { return !this->device.Received().empty(); }));
    EXPECT_EQ(this->device.Received().back(), Data{0x42});
}

TYPED_TEST(PortSuite, PollingFindsThePresentDeviceOnTheEightyFirstTick) {
    this->comm.Start();
    this->clock.AdvanceBy(400);
    EXPECT_TRUE(this->plugs.empty());
    this->clock.AdvanceBy(5);
    EXPECT_EQ(this->plugs, (std::vector<bool>{true}));
}

}  // namespace
}  // namespace vellora::link
