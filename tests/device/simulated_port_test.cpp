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

using namespace testing;

Bytes OutputReport(const Bytes& data, std::uint8_t id = 1) {
    Bytes report(link::kUsbReportLength, 0);
    report[0] = id;
    report[1] = static_cast<std::uint8_t>(data.size());
    std::copy(data.begin(), data.end(), report.begin() + 2);
    return report;
}

// The terminal's link stack over the simulated port: UsbComm, the receive parser.
struct Linked {
    Linked() {
        comm.SetDataArrivalHandler([this](const std::vector<std::uint8_t>& data) {
            arrivals.push_back(data);
            parser.OnDeviceBytes(data);
        });
        comm.SetPlugHandler([this](bool state) { plugs.push_back(state); });
    }
    bool Send(const Bytes& frame) {
        parser.ResetPosition();
        link.ReplyOk = false;
        arrivals.clear();
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

TEST(SimulatedPort, BridgeIdsChunkingAndTheUnplugFault) {
    Linked l;
    l.processor.SetFaults(Options("unplug-after=3").Faults);
    l.port.SetDeviceIds({0x1A86, 0xE010, false});
    EXPECT_FALSE(l.comm.Connect());  // the processor's own ids find nothing now
    l.comm.SetDeviceType(1);         // the bridge: report id 0
    ASSERT_TRUE(l.comm.Connect());
    ASSERT_TRUE(l.Send(SearchFrame()));
    EXPECT_TRUE(l.link.LinkUp);
    ASSERT_TRUE(l.Send(CommandFrame(4, 0x23, 0x23, 0x23)));
    const auto sizes = [&l] {
        std::vector<std::size_t> out;
        for (const auto& a : l.arrivals) out.push_back(a.size());
        return out;
    };
    EXPECT_EQ(sizes(), (std::vector<std::size_t>{60, 60, 15}));
    EXPECT_EQ(l.parser.ReplyLength(), 135);
    l.port.SetMaxDataPerReport(7);  // frames split anywhere
    ASSERT_TRUE(l.Send(CommandFrame(11, 0, 4, 0)));
    EXPECT_EQ(sizes().size(), 17u);
    EXPECT_TRUE(l.link.ReplyOk);  // the answer went out before the cable
    EXPECT_EQ(l.parser.ReplyLength(), 113);

    EXPECT_EQ(l.plugs, (std::vector<bool>{true, false}));
    EXPECT_FALSE(l.comm.IsOpen());
    EXPECT_FALSE(l.processor.IsRunning());
    EXPECT_FALSE(l.comm.Connect());
    EXPECT_EQ(l.comm.LastError(), link::LinkError::NotFound);
    l.port.Replug();
    ASSERT_TRUE(l.comm.Connect());
    ASSERT_TRUE(l.Send(kModeQuery));
    EXPECT_TRUE(l.link.ReplyOk);
    EXPECT_EQ(l.plugs, (std::vector<bool>{true, false, true}));  // once
}

TEST(SimulatedPort, ReportsGoOutOnTheClockAndMalformedOnesAreRefused) {
    struct Reports : link::HidPortListener {
        void InputReport(std::span<const std::uint8_t> r) override {
            got.emplace_back(r.begin(), r.end());
        }
        void PortLost(link::LinkError) override {}
        std::vector<Bytes> got;
    } listener;
    model::VirtualClock clock;
    SimulatedProcessor processor(clock, Options("", 'A', 0));
    SimulatedPort port(processor);
    port.SetListener(&listener);
    EXPECT_EQ(port.WriteReport(OutputReport(SearchFrame())), link::LinkError::NotOpen);
    ASSERT_EQ(port.Open(SimulatedPort::kProcessorIds), link::LinkError::None);
    ASSERT_EQ(port.WriteReport(OutputReport(SearchFrame())), link::LinkError::None);
    EXPECT_TRUE(listener.got.empty());  // never from inside WriteReport
    clock.RunDue();
    Bytes expected = Hex("01 0B FE 0B 54 52 2D 57 34 38 41 5F 3F");
    expected.resize(link::kUsbReportLength, 0);
    EXPECT_EQ(listener.got, std::vector<Bytes>{expected});

    Bytes shortReport = OutputReport(SearchFrame());
    shortReport.pop_back();
    Bytes overCount = OutputReport({});
    overCount[1] = 64;
    for (const Bytes& bad : {shortReport, OutputReport(SearchFrame(), 0), overCount})
        EXPECT_EQ(port.WriteReport(bad), link::LinkError::BadArgument);
    EXPECT_EQ(port.ReportsReceived(), 1u);
    EXPECT_EQ(port.Open({0x1234, 0x5678, true}), link::LinkError::None);  // already open
    port.Close();
    EXPECT_EQ(port.Open({0x1234, 0x5678, true}), link::LinkError::NotFound);
    port.SetListener(nullptr);
}

TEST(SimEndpoint, BuildsAProcessorThatKeepsItsStateInTheFolder) {
    QTemporaryDir dir;
    model::VirtualClock clock;
    const link::Endpoint sim{link::EndpointKind::Sim, "", "", 0};
    const SimulatedDeviceOptions options{Options("", 'B'), dir.path()};
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
    }
    DevicePort again = MakeDevicePort(sim, clock, options);
    EXPECT_EQ(again.StateError, DeviceError::Ok);
    EXPECT_EQ(again.Simulated->Processor().State().CurrentMode(), 8);

    // Other endpoints are the link layer's ports.
    DevicePort other =
        MakeDevicePort({link::EndpointKind::Unix, "/nonexistent/v.sock", "", 0}, clock);
    ASSERT_NE(other.Port, nullptr);
    EXPECT_EQ(other.Simulated, nullptr);
    EXPECT_EQ(other.Port->Open(SimulatedPort::kProcessorIds), link::LinkError::NotFound);
}

}  // namespace
}  // namespace vellora::device
