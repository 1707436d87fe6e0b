// UsbComm over a scripted port in virtual time: report layouts, chunking, delivery order,
// device ids, the bridge configuration, plug events and the re-scan of a quiet device.
#include "link/usb_comm.h"

#include <gtest/gtest.h>

#include "link/scripted_port.h"

namespace vellora::link {
namespace {

using testing::Bytes;
using testing::ScriptedPort;
using testing::WrittenData;
using Data = std::vector<std::uint8_t>;

class UsbCommTest : public ::testing::Test {
protected:
    UsbCommTest() {
        comm.SetDataArrivalHandler([this](const Data& d) { arrived.push_back(d); });
        comm.SetPlugHandler([this](bool s) { plugs.push_back(s); });
    }

    model::VirtualClock clock;
    ScriptedPort port;
    UsbComm comm{port, clock};
    std::vector<Data> arrived;
    std::vector<bool> plugs;
};

TEST_F(UsbCommTest, FifteenByteFrameIsOneFullLengthReportWithReportIdOne) {
    ASSERT_TRUE(comm.Connect());
    const Data frame = Bytes(15, 0xA0);
    ASSERT_TRUE(comm.SendData(frame));
    ASSERT_EQ(port.writes.size(), 1u);
    const Data& report = port.writes[0];
    ASSERT_EQ(report.size(), 65u);
    EXPECT_EQ(report[0], 1);
    EXPECT_EQ(report[1], 15);
    EXPECT_EQ(Data(report.begin() + 2, report.begin() + 17), frame);
    for (std::size_t i = 17; i < report.size(); ++i) EXPECT_EQ(report[i], 0) << i;
}

TEST_F(UsbCommTest, TwoHundredByteFrameTravelsAsSixtySixtySixtyTwenty) {
    ASSERT_TRUE(comm.Connect());
    const Data frame = Bytes(200, 1);
    ASSERT_TRUE(comm.SendData(frame));
    const auto chunks = WrittenData(port);
    ASSERT_EQ(chunks.size(), 4u);
    EXPECT_EQ(chunks[0], Data(frame.begin(), frame.begin() + 60));
    EXPECT_EQ(chunks[1], Data(frame.begin() + 60, frame.begin() + 120));
    EXPECT_EQ(chunks[2], Data(frame.begin() + 120, frame.begin() + 180));
    EXPECT_EQ(chunks[3], Data(frame.begin() + 180, frame.end()));
    for (const auto& report : port.writes) EXPECT_EQ(report.size(), 65u);
}

TEST_F(UsbCommTest, ChunkFollowsAShorterOutputReport) {
    port.report_length = 33;  // room for 31 data bytes
    ASSERT_TRUE(comm.Connect());
    ASSERT_TRUE(comm.SendData(Bytes(70)));
    const auto chunks = WrittenData(port);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].size(), 31u);
    EXPECT_EQ(chunks[1].size(), 31u);
    EXPECT_EQ(chunks[2].size(), 8u);
    for (const auto& report : port.writes) EXPECT_EQ(report.size(), 33u);
}

TEST_F(UsbCommTest, SendDataRefusesWithoutDeviceOrData) {
    EXPECT_FALSE(comm.SendData(Bytes(3)));  // nothing open
    ASSERT_TRUE(comm.Connect());
    EXPECT_FALSE(comm.SendData(Data{}));
    EXPECT_TRUE(port.writes.empty());
}

TEST_F(UsbCommTest, BridgeDeviceGetsTheFeatureReportOnceAndReportIdZero) {
    comm.SetDeviceType(1);
    port.device = {0x1A86, 0xE010, false};
    ASSERT_TRUE(comm.Connect());
    ASSERT_EQ(port.open_calls.size(), 1u);
    EXPECT_EQ(port.open_calls[0], (DeviceMatch{0x1A86, 0xE010, false}));
    ASSERT_EQ(port.features.size(), 1u);
    EXPECT_EQ(port.features[0], (Data{0x00, 0xFF, 0xC7, 0x83, 0xCC, 0x30}));
    ASSERT_TRUE(comm.SendData(Bytes(15)));
    EXPECT_EQ(port.writes.at(0)[0], 0);
    EXPECT_EQ(port.writes.at(0)[1], 15);

    EXPECT_TRUE(comm.Connect());  // found again: no second configuration, no second Plug
    EXPECT_EQ(port.features.size(), 1u);
    EXPECT_EQ(plugs, (std::vector<bool>{true}));
}

TEST_F(UsbCommTest, DirectDeviceGetsNoFeatureReport) {
    ASSERT_TRUE(comm.Connect());
    EXPECT_EQ(port.open_calls.at(0), (DeviceMatch{0x0483, 0x5750, true}));
    EXPECT_TRUE(port.features.empty());
}

TEST_F(UsbCommTest, IdTextsDefaultByDeviceType) {
    EXPECT_EQ(comm.VendorID(), "&H483");
    EXPECT_EQ(comm.ProductID(), "&H5750");
    comm.SetDeviceType(1);
    EXPECT_EQ(comm.VendorID(), "&H1A86");
    EXPECT_EQ(comm.ProductID(), "&HE010");
}

TEST_F(UsbCommTest, IdTextsMatterOnlyInSimulatorMode) {
    ASSERT_TRUE(comm.SetVendorID("&H1234"));
    ASSERT_TRUE(comm.SetProductID("&HABCD"));
    port.device = {0x1234, 0xABCD, true};

    EXPECT_FALSE(comm.Connect());  // not in simulator mode: the defaults are looked for
    EXPECT_EQ(port.open_calls.back(), (DeviceMatch{0x0483, 0x5750, true}));
    EXPECT_EQ(comm.LastError(), LinkError::NotFound);

    comm.SetDeviceSimulator(true);
    EXPECT_TRUE(comm.SimulatorMode());
    EXPECT_TRUE(comm.Connect());
    EXPECT_EQ(port.open_calls.back(), (DeviceMatch{0x1234, 0xABCD, true}));
}

TEST_F(UsbCommTest, SimulatorModeWithEmptyIdsUsesTheDefaults) {
    comm.SetDeviceSimulator(true);
    ASSERT_TRUE(comm.Connect());
    EXPECT_EQ(port.open_calls.back(), (DeviceMatch{0x0483, 0x5750, true}));
}

TEST_F(UsbCommTest, IdTextsAreCheckedWhenSet) {
    EXPECT_FALSE(comm.SetVendorID("&HXYZ"));
    EXPECT_FALSE(comm.SetVendorID("&H12345"));
    EXPECT_FALSE(comm.SetProductID("&H"));
    EXPECT_EQ(comm.VendorID(), "&H483");
    EXPECT_TRUE(comm.SetVendorID("0x1a86"));
    EXPECT_EQ(comm.VendorID(), "0x1a86");
    EXPECT_TRUE(comm.SetVendorID(""));
    EXPECT_EQ(comm.VendorID(), "&H483");
}

TEST(ParseDeviceId, ReadsHexadecimalIds) {
    struct Case {
        const char* text;
        std::optional<std::uint16_t> id;
    };
    const Case cases[] = {
        {"&H1A86", 0x1A86},        {"&HE010", 0xE010},     {"&H483", 0x0483},
        {"&H5750", 0x5750},        {"&hffff", 0xFFFF},     {"0x0483", 0x0483},
        {"E010", 0xE010},          {"", std::nullopt},     {"&H", std::nullopt},
        {"&H10000", std::nullopt}, {"&H-1", std::nullopt}, {"12G4", std::nullopt},
        {"&H 12", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(UsbComm::ParseDeviceId(c.text), c.id) << c.text;
}

TEST_F(UsbCommTest, SecondScanKeepsTheOpenDeviceAndRaisesNoSecondPlug) {
    ASSERT_TRUE(comm.Connect());
    ASSERT_TRUE(comm.Connect());
    EXPECT_EQ(port.open_calls.size(), 1u);
    EXPECT_EQ(port.close_calls, 0);
    EXPECT_EQ(plugs, (std::vector<bool>{true}));
}

TEST_F(UsbCommTest, NoDeviceReportsWhyAndRaisesNoPlug) {
    port.present = false;
    port.absent_error = LinkError::AccessDenied;
    EXPECT_FALSE(comm.Connect());
    EXPECT_EQ(comm.LastError(), LinkError::AccessDenied);
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_TRUE(plugs.empty());
}

TEST_F(UsbCommTest, InputReportsArriveInOrderEachOnce) {
    ASSERT_TRUE(comm.Connect());
    port.SendData({0xFF});
    port.SendData(Bytes(60, 7));
    port.SendData({1, 2, 3});
    clock.AdvanceBy(100);
    ASSERT_EQ(arrived.size(), 3u);
    EXPECT_EQ(arrived[0], Data{0xFF});
    EXPECT_EQ(arrived[1], Bytes(60, 7));
    EXPECT_EQ(arrived[2], (Data{1, 2, 3}));
}

TEST_F(UsbCommTest, CountZeroRaisesNothing) {
    ASSERT_TRUE(comm.Connect());
    port.SendData({});
    clock.AdvanceBy(10);
    EXPECT_TRUE(arrived.empty());
}

TEST_F(UsbCommTest, MalformedInputReportsAreDroppedAndCounted) {
    ASSERT_TRUE(comm.Connect());
    port.Send({1});                 // no count byte
    port.Send({1, 10, 1, 2, 3});    // count beyond the report
    port.Send({1, 2, 0xAA, 0xBB});  // fine
    EXPECT_EQ(comm.MalformedReports(), 2);
    EXPECT_EQ(comm.LastError(), LinkError::BadReport);
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0], (Data{0xAA, 0xBB}));
}

TEST_F(UsbCommTest, ReportsThatArriveDuringAWriteWaitUntilSendDataReturns) {
    ASSERT_TRUE(comm.Connect());
    bool in_send = false;
    std::vector<bool> arrived_in_send;
    comm.SetDataArrivalHandler([&](const Data& d) {
        arrived.push_back(d);
        arrived_in_send.push_back(in_send);
    });
    port.on_write = [&](std::span<const std::uint8_t> report) {
        port.SendData({report[2]});  // the device answers at once with the first byte
    };
    in_send = true;
    ASSERT_TRUE(comm.SendData(Bytes(130, 10)));  // three reports, three answers
    in_send = false;
    EXPECT_TRUE(arrived.empty());
    port.SendData({0x55});  // arrives after the deferred ones
    clock.RunDue();
    ASSERT_EQ(arrived.size(), 4u);
    EXPECT_EQ(arrived[0], Data{10});
    EXPECT_EQ(arrived[1], Data{70});
    EXPECT_EQ(arrived[2], Data{130});
    EXPECT_EQ(arrived[3], Data{0x55});
    EXPECT_EQ(arrived_in_send, (std::vector<bool>{false, false, false, false}));
}

TEST_F(UsbCommTest, WriteFailureEndsSendDataAndLosesTheDevice) {
    ASSERT_TRUE(comm.Connect());
    port.fail_write_at = 1;
    EXPECT_FALSE(comm.SendData(Bytes(200)));
    EXPECT_EQ(port.writes.size(), 2u);  // the rest is not sent
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(comm.LastError(), LinkError::WriteFailed);
    EXPECT_EQ(plugs, (std::vector<bool>{true, false}));
    EXPECT_FALSE(comm.SendData(Bytes(1)));
}

TEST_F(UsbCommTest, LostDeviceRaisesPlugFalseOnceAndIsFoundAgainByTheRescan) {
    comm.Start();
    ASSERT_TRUE(comm.Connect());
    port.Unplug(LinkError::ReadFailed);
    EXPECT_EQ(plugs, (std::vector<bool>{true, false}));
    EXPECT_EQ(comm.LastError(), LinkError::ReadFailed);
    EXPECT_FALSE(comm.SendData(Bytes(4)));

    port.present = true;
    clock.AdvanceBy(400);  // 80 ticks: no scan yet
    EXPECT_EQ(plugs.size(), 2u);
    clock.AdvanceBy(5);  // tick 81
    EXPECT_EQ(plugs, (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(comm.IsOpen());
}

TEST_F(UsbCommTest, FirstScanComesWithTheEightyFirstQuietTick) {
    comm.Start();
    clock.AdvanceBy(400);
    EXPECT_TRUE(port.open_calls.empty());
    EXPECT_EQ(comm.PlugTicks(), 80);
    clock.AdvanceBy(5);
    EXPECT_EQ(port.open_calls.size(), 1u);
    EXPECT_EQ(plugs, (std::vector<bool>{true}));
    EXPECT_EQ(comm.PlugTicks(), 0);
}

TEST_F(UsbCommTest, AbsentDeviceIsLookedForEveryEightyOneTicks) {
    port.present = false;
    comm.Start();
    clock.AdvanceBy(405 * 3);
    EXPECT_EQ(port.open_calls.size(), 3u);
    clock.AdvanceBy(404);
    EXPECT_EQ(port.open_calls.size(), 3u);
}

TEST_F(UsbCommTest, TrafficRestartsTheQuietCount) {
    ASSERT_TRUE(comm.Connect());
    comm.Start();
    clock.AdvanceBy(300);
    port.SendData({0xFF});  // input at 300 ms
    EXPECT_EQ(comm.PlugTicks(), 0);
    port.VanishSilently();
    clock.AdvanceBy(400);  // 700 ms: 80 quiet ticks since the traffic
    EXPECT_EQ(plugs, (std::vector<bool>{true}));
    clock.AdvanceBy(5);  // 705 ms: the scan notices that the device has gone
    EXPECT_EQ(plugs, (std::vector<bool>{true, false}));
    EXPECT_EQ(comm.LastError(), LinkError::NotFound);  // and looked for it again
}

TEST_F(UsbCommTest, SuccessfulSendRestartsTheQuietCount) {
    ASSERT_TRUE(comm.Connect());
    comm.Start();
    clock.AdvanceBy(200);
    EXPECT_EQ(comm.PlugTicks(), 40);
    ASSERT_TRUE(comm.SendData(Data{0xFF}));
    EXPECT_EQ(comm.PlugTicks(), 0);
    port.fail_write_at = 1;
    clock.AdvanceBy(50);
    EXPECT_FALSE(comm.SendData(Data{0xFF}));
    EXPECT_EQ(comm.PlugTicks(), 10);
}

TEST_F(UsbCommTest, ChangedIdsReplaceTheOpenDevice) {
    ASSERT_TRUE(comm.Connect());
    comm.SetDeviceType(1);
    port.device = {0x1A86, 0xE010, false};
    EXPECT_TRUE(comm.Connect());
    EXPECT_EQ(plugs, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(port.open_calls.back(), (DeviceMatch{0x1A86, 0xE010, false}));
}

TEST_F(UsbCommTest, ReportsAfterTheDeviceIsClosedAreIgnored) {
    ASSERT_TRUE(comm.Connect());
    port.Unplug();
    port.SendData({1, 2});
    clock.RunDue();
    EXPECT_TRUE(arrived.empty());
}

TEST(UsbCommLifetime, DestructionClosesTheDeviceWithoutPlug) {
    model::VirtualClock clock;
    ScriptedPort port;
    std::vector<bool> plugs;
    {
        UsbComm comm(port, clock);
        comm.SetPlugHandler([&](bool s) { plugs.push_back(s); });
        comm.Start();
        ASSERT_TRUE(comm.Connect());
    }
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(plugs, (std::vector<bool>{true}));
    EXPECT_EQ(clock.PendingCount(), 0u);  // the poll is gone too
    port.present = false;
    port.SendData({1});  // no listener any more: nothing happens
}

}  // namespace
}  // namespace vellora::link
