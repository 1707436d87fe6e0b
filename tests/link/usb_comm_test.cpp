// UsbComm over a scripted port in virtual time: report layouts and chunking, device types and
// ids, deferred delivery, bad reports, lost devices and the scan of a quiet device.
#include "link/usb_comm.h"

#include <gtest/gtest.h>

#include "link/link_test_support.h"

namespace vellora::link {
namespace {

using testing::Bytes;
using testing::Data;
using testing::RecordingComm;
using testing::ScriptedPort;
using Plugs = std::vector<bool>;

class UsbCommTest : public ::testing::Test {
protected:
    model::VirtualClock clock;
    ScriptedPort port;
    RecordingComm rec{port, clock};
    UsbComm& comm = rec.comm;
};

TEST_F(UsbCommTest, FramesTravelInFullLengthReportsOfAtMostSixtyDataBytes) {
    struct Case {
        int report_length;
        std::size_t frame;
        std::vector<std::size_t> chunks;
    };
    const Case cases[] = {
        {65, 15, {15}},
        {65, 200, {60, 60, 60, 20}},
        {33, 70, {31, 31, 8}},  // a shorter output report holds 31 data bytes
    };
    for (const Case& c : cases) {
        ScriptedPort p;
        p.report_length = c.report_length;
        UsbComm u(p, clock);
        ASSERT_TRUE(u.Connect());
        const Data frame = Bytes(c.frame, 0xA0);
        ASSERT_TRUE(u.SendData(frame));
        ASSERT_EQ(p.writes.size(), c.chunks.size()) << c.frame << " bytes";
        std::size_t offset = 0;
        for (std::size_t i = 0; i < c.chunks.size(); ++i) {
            // Report id 1, the count, the data, zero padding to the full length.
            Data expected(static_cast<std::size_t>(c.report_length), 0);
            expected[0] = 1;
            expected[1] = static_cast<std::uint8_t>(c.chunks[i]);
            std::copy_n(frame.begin() + static_cast<std::ptrdiff_t>(offset), c.chunks[i],
                        expected.begin() + 2);
            EXPECT_EQ(p.writes[i], expected) << c.frame << " bytes, report " << i;
            offset += c.chunks[i];
        }
    }
}

TEST_F(UsbCommTest, BridgeChipIsConfiguredOnceAndGetsReportIdZero) {
    comm.SetDeviceType(1);
    EXPECT_EQ(comm.VendorID(), "&H1A86");
    EXPECT_EQ(comm.ProductID(), "&HE010");
    port.device = {0x1A86, 0xE010, false};
    ASSERT_TRUE(comm.Connect());
    // Found again: the open device is kept, neither configured nor plugged a second time.
    ASSERT_TRUE(comm.Connect());
    EXPECT_EQ(port.open_calls, std::vector<DeviceMatch>{port.device});
    EXPECT_EQ(port.close_calls, 0);
    EXPECT_EQ(port.features, std::vector<Data>{(Data{0x00, 0xFF, 0xC7, 0x83, 0xCC, 0x30})});
    EXPECT_EQ(rec.plugs, Plugs{true});
    ASSERT_TRUE(comm.SendData(Bytes(15)));
    EXPECT_EQ(port.writes.at(0)[0], 0);
}

TEST_F(UsbCommTest, IdTextsAreCheckedAndMatterOnlyInSimulatorMode) {
    EXPECT_FALSE(comm.SetVendorID("&HXYZ"));
    EXPECT_FALSE(comm.SetProductID("&H"));
    EXPECT_EQ(comm.VendorID(), "&H483");
    EXPECT_EQ(comm.ProductID(), "&H5750");
    ASSERT_TRUE(comm.SetVendorID("&H1234"));
    ASSERT_TRUE(comm.SetProductID("0xabcd"));
    EXPECT_EQ(comm.ProductID(), "0xabcd");
    port.device = {0x1234, 0xABCD, true};
    port.absent_error = LinkError::AccessDenied;

    EXPECT_FALSE(comm.Connect());  // not in simulator mode: the defaults are looked for
    EXPECT_EQ(port.open_calls.back(), (DeviceMatch{0x0483, 0x5750, true}));
    EXPECT_EQ(comm.LastError(), LinkError::AccessDenied);  // the port's reason
    EXPECT_TRUE(rec.plugs.empty());

    comm.SetDeviceSimulator(true);
    EXPECT_TRUE(comm.Connect());
    EXPECT_EQ(port.open_calls.back(), (DeviceMatch{0x1234, 0xABCD, true}));
    EXPECT_TRUE(port.features.empty());  // the processor itself needs no configuration

    // Empty texts stand for the defaults again; changed ids replace the open device.
    ASSERT_TRUE(comm.SetVendorID(""));
    ASSERT_TRUE(comm.SetProductID(""));
    port.device = {0x0483, 0x5750, true};
    EXPECT_TRUE(comm.Connect());
    EXPECT_EQ(port.open_calls.back(), (DeviceMatch{0x0483, 0x5750, true}));
    EXPECT_EQ(rec.plugs, (Plugs{true, false, true}));
}

TEST(ParseDeviceId, ReadsHexadecimalIds) {
    const std::pair<const char*, std::optional<std::uint16_t>> cases[] = {
        {"&H1A86", 0x1A86},        {"&HE010", 0xE010},     {"&H483", 0x0483},
        {"&H5750", 0x5750},        {"&hffff", 0xFFFF},     {"0x0483", 0x0483},
        {"E010", 0xE010},          {"", std::nullopt},     {"&H", std::nullopt},
        {"&H10000", std::nullopt}, {"&H-1", std::nullopt}, {"12G4", std::nullopt},
        {"&H 12", std::nullopt},
    };
    for (const auto& [text, id] : cases) EXPECT_EQ(UsbComm::ParseDeviceId(text), id) << text;
}

TEST_F(UsbCommTest, SendDataFailsWithoutDeviceOrDataAndAWriteFailureLosesTheDevice) {
    EXPECT_FALSE(comm.SendData(Bytes(3)));  // nothing open
    ASSERT_TRUE(comm.Connect());
    EXPECT_FALSE(comm.SendData(Data{}));
    EXPECT_TRUE(port.writes.empty());

    comm.Start();
    clock.AdvanceBy(50);
    port.fail_write_at = 1;
    EXPECT_FALSE(comm.SendData(Bytes(200)));
    EXPECT_EQ(port.writes.size(), 2u);  // the rest is not sent
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(comm.LastError(), LinkError::WriteFailed);
    EXPECT_EQ(comm.PlugTicks(), 10);  // a failed write is no traffic
    EXPECT_EQ(rec.plugs, (Plugs{true, false}));
}

TEST_F(UsbCommTest, BadReportsAndReportsAfterALossAreDropped) {
    ASSERT_TRUE(comm.Connect());
    port.Send({1});                 // no count byte
    port.Send({1, 4, 1, 2, 3});     // count one beyond the report
    port.Send({1, 2, 0xAA, 0xBB});  // fine
    EXPECT_EQ(comm.MalformedReports(), 2);
    EXPECT_EQ(comm.LastError(), LinkError::BadReport);

    port.Unplug(LinkError::ReadFailed);
    EXPECT_EQ(rec.plugs, (Plugs{true, false}));
    EXPECT_EQ(comm.LastError(), LinkError::ReadFailed);
    port.SendData({1, 2});
    clock.RunDue();
    EXPECT_EQ(rec.arrived, std::vector<Data>{(Data{0xAA, 0xBB})});
}

TEST_F(UsbCommTest, ReportsThatArriveDuringAWriteWaitUntilSendDataReturns) {
    ASSERT_TRUE(comm.Connect());
    bool in_send = false;
    std::vector<bool> arrived_in_send;
    comm.SetDataArrivalHandler([&](const Data& d) {
        rec.arrived.push_back(d);
        arrived_in_send.push_back(in_send);
    });
    // The device answers each report at once with its first byte.
    port.on_write = [&](std::span<const std::uint8_t> report) { port.SendData({report[2]}); };
    in_send = true;
    ASSERT_TRUE(comm.SendData(Bytes(130, 10)));  // three reports, three answers
    in_send = false;
    EXPECT_TRUE(rec.arrived.empty());
    port.SendData({0x55});  // arrives after the deferred ones
    clock.RunDue();
    EXPECT_EQ(rec.arrived, (std::vector<Data>{{10}, {70}, {130}, {0x55}}));
    EXPECT_EQ(arrived_in_send, (std::vector<bool>{false, false, false, false}));
}

TEST_F(UsbCommTest, AbsentDeviceIsLookedForOnEveryEightyFirstTick) {
    port.present = false;
    comm.Start();
    clock.AdvanceBy(400);
    EXPECT_TRUE(port.open_calls.empty());
    EXPECT_EQ(comm.PlugTicks(), 80);
    clock.AdvanceBy(5);
    EXPECT_EQ(port.open_calls.size(), 1u);
    EXPECT_EQ(comm.PlugTicks(), 0);
    clock.AdvanceBy(405 + 404);
    EXPECT_EQ(port.open_calls.size(), 2u);
    port.present = true;
    clock.AdvanceBy(1);
    EXPECT_EQ(port.open_calls.size(), 3u);
    EXPECT_EQ(rec.plugs, Plugs{true});
}

TEST_F(UsbCommTest, TrafficRestartsTheQuietCountAndTheScanNoticesASilentLoss) {
    ASSERT_TRUE(comm.Connect());
    comm.Start();
    clock.AdvanceBy(200);
    ASSERT_TRUE(comm.SendData(Data{0xFF}));
    EXPECT_EQ(comm.PlugTicks(), 0);
    clock.AdvanceBy(100);
    port.SendData({0xFF});  // input at 300 ms
    EXPECT_EQ(comm.PlugTicks(), 0);
    port.VanishSilently();
    clock.AdvanceBy(400);  // 80 quiet ticks since the input
    EXPECT_EQ(rec.plugs, Plugs{true});
    clock.AdvanceBy(5);  // the scan notices that the device has gone, and looks for it again
    EXPECT_EQ(rec.plugs, (Plugs{true, false}));
    EXPECT_EQ(comm.LastError(), LinkError::NotFound);
}

TEST(UsbCommLifetime, DestructionClosesTheDeviceWithoutPlug) {
    model::VirtualClock clock;
    ScriptedPort port;
    Plugs plugs;
    {
        UsbComm comm(port, clock);
        comm.SetPlugHandler([&](bool s) { plugs.push_back(s); });
        comm.Start();
        ASSERT_TRUE(comm.Connect());
    }
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(plugs, Plugs{true});
    EXPECT_EQ(clock.PendingCount(), 0u);  // the poll is gone too
    port.SendData({1});                   // no listener any more: nothing happens
}

}  // namespace
}  // namespace vellora::link
