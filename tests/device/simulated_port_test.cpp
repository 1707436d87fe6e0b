// The simulated processor plugged in as a USB device: UsbComm over the simulated port behaves
// as over the real processor (reports, chunking, report ids, unplugging), and the "sim"
// endpoint builds such a port with its state folder.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "device/device_harness.h"
#include "device/device_port_factory.h"
#include "device/simulated_port.h"
#include "link/usb_comm.h"
#include "protocol/receive_parser.h"

namespace vellora::device {
namespace {

using testing::Bytes;
using testing::CommandFrame;
using testing::Hex;
using testing::SearchFrame;

// A listener that keeps every report it is handed.
class Reports : public link::HidPortListener {
public:
    void InputReport(std::span<const std::uint8_t> report) override {
        reports.emplace_back(report.begin(), report.end());
    }
    void PortLost(link::LinkError reason) override { lost.push_back(reason); }
    std::vector<Bytes> reports;
    std::vector<link::LinkError> lost;
};

Bytes OutputReport(const Bytes& data, std::uint8_t id = 1) {
    Bytes report(link::kUsbReportLength, 0);
    report[0] = id;
    report[1] = static_cast<std::uint8_t>(data.size());
    std::copy(data.begin(), data.end(), report.begin() + 2);
    return report;
}

// The terminal's link stack over the simulated port: UsbComm, the receive parser.
class LinkedDevice : public ::testing::Test {
protected:
    LinkedDevice() {
        comm.SetDataArrivalHandler([this](const std::vector<std::uint8_t>& data) {
            arrivals.push_back(data);
            parser.OnDeviceBytes(data);
        });
        comm.SetPlugHandler([this](bool state) { plugs.push_back(state); });
    }
    bool Send(const Bytes& frame) {
        parser.ResetPosition();
        link.ReplyOk = false;
        const bool sent = comm.SendData(frame);
        clock.AdvanceBy(20);
        return sent;
    }

    model::VirtualClock clock;
    SimulatedProcessor processor{clock};
    SimulatedPort port{processor};
    link::UsbComm comm{port, clock};
    model::Workspace workspace;
    protocol::LinkState link;
    protocol::ReceiveParser parser{workspace, link};
    std::vector<std::vector<std::uint8_t>> arrivals;
    std::vector<bool> plugs;
};

TEST_F(LinkedDevice, FoundIdentifiedAndAnswering) {
    ASSERT_TRUE(comm.Connect());
    EXPECT_EQ(plugs, std::vector<bool>{true});
    ASSERT_TRUE(Send(SearchFrame()));
    EXPECT_TRUE(link.LinkUp);
    ASSERT_TRUE(Send(CommandFrame(9, 0x23, 0x23, 0x23)));
    EXPECT_TRUE(link.ReplyOk);
    EXPECT_EQ(parser.PayloadByte(1), 0);
}

TEST_F(LinkedDevice, LongReplyComesInReportsOfSixtyBytes) {
    ASSERT_TRUE(comm.Connect());
    ASSERT_TRUE(Send(SearchFrame()));
    arrivals.clear();
    ASSERT_TRUE(Send(CommandFrame(4, 0x23, 0x23, 0x23)));  // 135 bytes
    ASSERT_EQ(arrivals.size(), 3u);
    EXPECT_EQ(arrivals[0].size(), 60u);
    EXPECT_EQ(arrivals[1].size(), 60u);
    EXPECT_EQ(arrivals[2].size(), 15u);
    EXPECT_TRUE(link.ReplyOk);
    EXPECT_EQ(parser.ReplyLength(), 135);
}

TEST_F(LinkedDevice, SmallReportsSplitFramesAnywhereAndTheyStillArrive) {
    port.SetMaxDataPerReport(7);
    ASSERT_TRUE(comm.Connect());
    ASSERT_TRUE(Send(SearchFrame()));
    EXPECT_TRUE(link.LinkUp);
    arrivals.clear();
    ASSERT_TRUE(Send(CommandFrame(11, 0, 4, 0)));
    EXPECT_EQ(arrivals.size(), 17u);  // 113 bytes in sevens
    EXPECT_TRUE(link.ReplyOk);
    EXPECT_EQ(parser.ReplyLength(), 113);
}

TEST_F(LinkedDevice, KeepAliveBytesKeepComing) {
    ASSERT_TRUE(comm.Connect());
    clock.AdvanceBy(3000);
    EXPECT_EQ(arrivals, (std::vector<std::vector<std::uint8_t>>(3, {0xFF})));
}

TEST_F(LinkedDevice, UnpluggedDeviceIsLostAndNotFoundUntilReplugged) {
    ASSERT_TRUE(comm.Connect());
    port.Unplug();
    EXPECT_EQ(plugs, (std::vector<bool>{true, false}));
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_FALSE(processor.IsRunning());
    EXPECT_FALSE(comm.Connect());
    EXPECT_EQ(comm.LastError(), link::LinkError::NotFound);
    port.Replug();
    EXPECT_TRUE(comm.Connect());
    EXPECT_EQ(plugs, (std::vector<bool>{true, false, true}));
}

TEST_F(LinkedDevice, UnplugFaultAfterTheIdentification) {
    FaultPlan plan;
    plan.UnplugAfterFrames = 1;
    processor.SetFaults(plan);
    ASSERT_TRUE(comm.Connect());
    ASSERT_TRUE(Send(SearchFrame()));
    EXPECT_TRUE(link.LinkUp);  // the answer went out before the cable
    EXPECT_EQ(plugs, (std::vector<bool>{true, false}));
    EXPECT_FALSE(port.Plugged());
}

TEST_F(LinkedDevice, BridgeIdsGiveReportIdZero) {
    port.SetDeviceIds({0x1A86, 0xE010, false});
    EXPECT_FALSE(comm.Connect());  // the processor's own ids find nothing now
    comm.SetDeviceType(1);
    ASSERT_TRUE(comm.Connect());
    ASSERT_TRUE(Send(SearchFrame()));
    EXPECT_TRUE(link.LinkUp);
}

TEST(SimulatedPortReports, NothingIsHandedOverInsideWriteReport) {
    model::VirtualClock clock;
    SimulatedProcessor processor(clock);
    processor.SetReplyLatencyMs(0);
    SimulatedPort port(processor);
    Reports listener;
    port.SetListener(&listener);
    ASSERT_EQ(port.Open(SimulatedPort::kProcessorIds), link::LinkError::None);
    ASSERT_EQ(port.WriteReport(OutputReport(SearchFrame())), link::LinkError::None);
    EXPECT_TRUE(listener.reports.empty());
    clock.RunDue();
    ASSERT_EQ(listener.reports.size(), 1u);
    Bytes expected(link::kUsbReportLength, 0);
    const Bytes tag = Hex("01 0B FE 0B 54 52 2D 57 34 38 41 5F 3F");
    std::copy(tag.begin(), tag.end(), expected.begin());
    EXPECT_EQ(listener.reports[0], expected);
    port.SetListener(nullptr);
}

TEST(SimulatedPortReports, MalformedReportsAreRefused) {
    model::VirtualClock clock;
    SimulatedProcessor processor(clock);
    SimulatedPort port(processor);
    EXPECT_EQ(port.WriteReport(OutputReport(SearchFrame())), link::LinkError::NotOpen);
    ASSERT_EQ(port.Open(SimulatedPort::kProcessorIds), link::LinkError::None);
    Bytes shortReport = OutputReport(SearchFrame());
    shortReport.pop_back();
    EXPECT_EQ(port.WriteReport(shortReport), link::LinkError::BadArgument);
    EXPECT_EQ(port.WriteReport(OutputReport(SearchFrame(), 0)), link::LinkError::BadArgument);
    Bytes overCount = OutputReport({});
    overCount[1] = 64;
    EXPECT_EQ(port.WriteReport(overCount), link::LinkError::BadArgument);
    EXPECT_EQ(port.ReportsReceived(), 0u);
    EXPECT_EQ(port.Open({0x1234, 0x5678, true}), link::LinkError::None);  // already open
    port.Close();
    EXPECT_EQ(port.Open({0x1234, 0x5678, true}), link::LinkError::NotFound);
}

TEST(SimEndpoint, BuildsAProcessorThatKeepsItsStateInTheFolder) {
    QTemporaryDir dir;
    model::VirtualClock clock;
    link::Endpoint sim;
    sim.Kind = link::EndpointKind::Sim;
    SimulatedDeviceOptions options;
    options.Processor.Variant = 'B';
    options.StateFolder = dir.path();
    {
        DevicePort made = MakeDevicePort(sim, clock, options);
        ASSERT_NE(made.Simulated, nullptr);
        EXPECT_EQ(made.Port.get(), made.Simulated);
        EXPECT_EQ(made.StateError, DeviceError::StateNotFound);
        EXPECT_EQ(made.Simulated->Processor().Variant(), 'B');
        ASSERT_EQ(made.Port->Open(SimulatedPort::kProcessorIds), link::LinkError::None);
        ASSERT_EQ(made.Port->WriteReport(OutputReport(CommandFrame(3, 8, 0, 0))),
                  link::LinkError::None);
        clock.AdvanceBy(10);
        EXPECT_EQ(made.Simulated->Processor().State().CurrentMode(), 8);
    }
    DevicePort again = MakeDevicePort(sim, clock, options);
    EXPECT_EQ(again.StateError, DeviceError::Ok);
    EXPECT_EQ(again.Simulated->Processor().State().CurrentMode(), 8);
}

TEST(SimEndpoint, OtherEndpointsAreTheLinksPorts) {
    model::VirtualClock clock;
    link::Endpoint socket;
    socket.Kind = link::EndpointKind::Unix;
    socket.Path = "/nonexistent/vellora.sock";
    DevicePort made = MakeDevicePort(socket, clock);
    ASSERT_NE(made.Port, nullptr);
    EXPECT_EQ(made.Simulated, nullptr);
    EXPECT_EQ(made.Port->Open(SimulatedPort::kProcessorIds), link::LinkError::NotFound);
}

}  // namespace
}  // namespace vellora::device
