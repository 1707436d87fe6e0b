// The terminal's own link stack against the device plugged in as a USB device: UsbComm, the
// frame builder and the receive parser over the simulated port. A whole synchronisation, a
// whole mode written and read back, single writes, passwords, faults as the terminal sees
// them, the device's own bytes; report ids, chunking and unplugging of the port; and the
// "sim" endpoint with its state folder.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "device/device_harness.h"
#include "device/device_port_factory.h"
#include "device/simulated_port.h"
#include "link/usb_comm.h"
#include "protocol/entry_codec.h"
#include "protocol/frame_builder.h"
#include "protocol/receive_parser.h"

namespace vellora::device {
namespace {

using namespace testing;

// Kinds 1..3 have no dance block; kinds 8..10 (the settings of no mode) have one block.
bool HasBlock(int kind, int scene) {
    return scene == 0 || kind == 0 || (kind >= 4 && kind < kModeKindCount);
}

void ExpectSameBlocks(const model::ParamTable& got, const model::ParamTable& want) {
    for (int index = 0; index < model::kParamCount; ++index)
        for (int s = 0; s < 2; ++s) {
            if (!HasBlock(index / 256, s)) continue;
            ASSERT_EQ(*got.Slot(index, s), *want.Slot(index, s)) << index << " slot " << s;
        }
}

// The terminal's side on a virtual clock, wired to the device through the simulated port.
struct Terminal : protocol::ParserObserver {
    explicit Terminal(ProcessorOptions options = {}) : processor(clock, std::move(options)) {
        comm.SetDataArrivalHandler([this](const std::vector<std::uint8_t>& data) {
            arrivals.push_back(data);
            parser.OnDeviceBytes(data);
        });
        comm.SetPlugHandler([this](bool plugged) { plugs.push_back(plugged); });
    }
    void OnFrame(std::span<const std::uint8_t>, bool) override { replied = true; }
    /// As if the device had identified itself.
    void LinkUp() { link.Identified(Payload(Hex("FE 0B 54 52 2D 57 34 38 41 5F 3F"))); }
    /// Sends one frame, lets 50 ms pass, and says whether a good reply came.
    bool SendFrame(const Bytes& frame) {
        parser.ResetPosition();
        replied = false;
        arrivals.clear();
        const bool sent = comm.SendData(frame);
        clock.AdvanceBy(50);
        return sent && replied;
    }
    /// The same with a frame from the terminal's own builder (the current scene, `digits`).
    bool Send(std::uint8_t command, std::int32_t value, std::int32_t index, bool neutral = false,
              std::uint8_t modeOverride = 0) {
        protocol::FrameRequest request;
        request.command = static_cast<protocol::Command>(command);
        request.value = value;
        request.index = index;
        request.sendNeutral = neutral;
        request.scene = workspace.CurrentScene();
        request.modeOverride = modeOverride;
        request.passwordDigits = digits;
        protocol::SendBuffer buffer{};
        const protocol::ByteResult built = protocol::BuildFrame(request, workspace, buffer);
        EXPECT_TRUE(built.Ok()) << protocol::ErrorName(built.Error);
        return SendFrame(Bytes(buffer.begin(), buffer.begin() + (built.Ok() ? built.Bytes : 0)));
    }
    protocol::ProtocolError Decode(model::ParamTable& table, int kind, int scene) {
        return protocol::DecodeBlock(parser.LastPayload(), table, workspace, kind, scene).Error;
    }
    /// Every block of a mode with command 1, 2 or 11, each answer decoded into `into`.
    void AllBlocks(std::uint8_t command, int mode, model::ParamTable* into) {
        for (int scene = 0; scene < 2; ++scene)
            for (int kind = 0; kind < model::kMenuKindCount; ++kind) {
                if (!HasBlock(kind, scene)) continue;
                const bool common = kind >= kModeKindCount;
                ASSERT_TRUE(Send(command, common ? mode : protocol::ModeField(mode, scene),
                                 kind * 256, false,
                                 common ? static_cast<std::uint8_t>(mode) : std::uint8_t{0}));
                if (!into) continue;
                ASSERT_EQ(Decode(*into, kind, scene), protocol::ProtocolError::Ok) << kind;
            }
    }

    model::VirtualClock clock;
    SimulatedProcessor processor;
    SimulatedPort port{processor};
    link::UsbComm comm{port, clock};
    model::Workspace workspace;
    protocol::LinkState link;
    protocol::ReceiveParser parser{workspace, link, this};
    Bytes digits;          // the password digits of command 8
    bool replied = false;  // a good frame came while linked
    std::vector<std::vector<std::uint8_t>> arrivals;
    std::vector<bool> plugs;
};

TEST(Interop, WholeSynchronisationReadsTheDevicesWorkingSettings) {
    Terminal terminal;
    ProcessorState& state = terminal.processor.State();
    ASSERT_EQ(state.RecallMode(3), DeviceError::Ok);
    model::ParamTable& working = state.Working();
    working.Slot(1032, 1)->Gain = 123;      // main output band 0, dance scene
    working.Slot(7, 0)->EQdisabled = true;  // music band 7 switched off
    working.Slot(258, 0)->Q = 40;           // microphone 1/2 band 1
    working.SetValueAt(1801, 0, 66);        // subwoofer, not kept per scene
    working.SetValueAt(1801, 1, 66);
    working.SetValueAt(2056, 0, 42);  // recording left
    working.SetValueAt(2590, 0, 1);   // scene select

    ASSERT_TRUE(terminal.comm.Connect());
    (void)terminal.Send(250, 0, 0);  // the search frame
    ASSERT_TRUE(terminal.link.LinkUp());
    ASSERT_TRUE(terminal.Send(9, 0, 0));
    ASSERT_EQ(terminal.parser.PayloadByte(1), 3);
    terminal.AllBlocks(11, 3, &terminal.workspace.ParamStore);
    EXPECT_EQ(terminal.processor.FrameLog().size(), 18u);  // search, mode, 13 + 3 blocks
    EXPECT_EQ(state.CurrentMode(), 3);
    ExpectSameBlocks(terminal.workspace.ParamStore, working);
}

TEST(Interop, WholeModeWrittenAndReadBack) {
    Terminal terminal;
    ASSERT_TRUE(terminal.comm.Connect());
    terminal.LinkUp();
    model::ParamTable& image = terminal.workspace.ModeImage;
    image.Slot(8, 0)->Gain = 180;
    image.Slot(8, 0)->EQdisabled = true;
    image.Slot(1040, 1)->Freq = 300;
    image.SetValueAt(256, 0, 120);  // microphone 1/2 high-pass
    image.SetValueAt(256, 1, 120);
    image.SetValueAt(2568, 0, 90);  // master slider limit, a setting of no mode

    terminal.AllBlocks(2, 6, nullptr);
    EXPECT_EQ(terminal.parser.PayloadByte(1), protocol::kAccepted);
    const model::ParamTable& working = terminal.processor.State().Working();
    EXPECT_EQ(working.ValueAt(2568, 0), 90);
    EXPECT_EQ(working.Slot(8, 0)->Gain, 250);  // mode 6 is not the current mode

    // Read back as the mode manager does, into a fresh image.
    model::Workspace reader;
    terminal.AllBlocks(1, 6, &reader.ModeImage);
    ExpectSameBlocks(reader.ModeImage, image);
    EXPECT_EQ(reader.ModeImage.Slot(8, 0)->Gain, 180);
}

TEST(Interop, SingleWritesAndPasswords) {
    Terminal terminal;
    ASSERT_EQ(terminal.processor.State().SetAdministrator(std::vector<std::uint8_t>(6, 4)),
              DeviceError::Ok);
    ASSERT_TRUE(terminal.comm.Connect());
    terminal.LinkUp();
    ASSERT_TRUE(terminal.workspace.SetCurrentScene(1));
    terminal.workspace.ParamStore.Slot(1033, 1)->Gain = 310;
    const model::ParamTable& working = terminal.processor.State().Working();
    ASSERT_TRUE(terminal.Send(0, 0, 1033));
    EXPECT_EQ(working.Slot(1033, 1)->Gain, 310);
    ASSERT_TRUE(terminal.Send(0, 0, 1033, true));  // the neutral form
    EXPECT_EQ(working.Slot(1033, 1)->Gain, 250);

    terminal.digits.assign(6, 0);
    ASSERT_TRUE(terminal.Send(8, 2, 0));
    EXPECT_EQ(terminal.parser.PayloadByte(1), kRefused);
    terminal.digits = {4, 4, 4, 4, 4, 4, 1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(terminal.Send(8, 2, 1));
    EXPECT_EQ(terminal.parser.PayloadByte(1), protocol::kAccepted);
    terminal.digits = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(terminal.Send(8, 2, 0));
    EXPECT_EQ(terminal.parser.PayloadByte(1), protocol::kAccepted);
    ASSERT_TRUE(terminal.Send(8, 2, 2));
    EXPECT_FALSE(terminal.processor.AdministratorVerified());
}

TEST(Interop, FaultsAsTheTerminalSeesThem) {
    Terminal terminal(Options("bad-checksum=1"));
    ASSERT_TRUE(terminal.comm.Connect());
    terminal.LinkUp();
    EXPECT_FALSE(terminal.Send(9, 0, 0));
    EXPECT_EQ(terminal.parser.Drops().BadChecksum, 1u);
    EXPECT_TRUE(terminal.Send(9, 0, 0));  // the repeat counts

    terminal.processor.SetFaults(Options("block-length=1").Faults);
    ASSERT_TRUE(terminal.Send(11, 0, 4 * 256));
    EXPECT_EQ(terminal.parser.ReplyLength(), 114);
    EXPECT_EQ(terminal.Decode(terminal.workspace.ParamStore, 4, 0),
              protocol::ProtocolError::ReplyTooLong);
}

TEST(Interop, ToneKeyAndKeepAliveReachTheTerminal) {
    Terminal terminal;
    ASSERT_TRUE(terminal.comm.Connect());
    terminal.processor.State().Working().SetValueAt(2598, 0, 8);
    terminal.workspace.ParamStore.SetValueAt(2598, 0, 9);
    for (int i = 0; i < 50; ++i) terminal.link.CountSilentTick();
    terminal.processor.SendToneKey();
    terminal.clock.AdvanceBy(1);
    EXPECT_EQ(terminal.processor.State().Working().ValueAt(2598, 0), 5);
    EXPECT_EQ(terminal.workspace.ParamStore.ValueAt(2598, 0), 5);
    EXPECT_EQ(terminal.link.SilenceTicks(), 50);
    terminal.clock.AdvanceBy(999);
    EXPECT_EQ(terminal.arrivals, (std::vector<std::vector<std::uint8_t>>{{0xFD}, {0xFF}}));
    EXPECT_EQ(terminal.link.SilenceTicks(), 0);
}

TEST(SimulatedPort, BridgeIdsChunkingAndTheUnplugFault) {
    Terminal t(Options("unplug-after=3"));
    t.port.SetDeviceIds({0x1A86, 0xE010, false});
    EXPECT_FALSE(t.comm.Connect());  // the processor's own ids find nothing now
    t.comm.SetDeviceType(1);         // the bridge: report id 0
    ASSERT_TRUE(t.comm.Connect());
    (void)t.SendFrame(kSearch);
    EXPECT_TRUE(t.link.LinkUp());
    const auto sizes = [&t] {
        std::vector<std::size_t> out;
        for (const auto& a : t.arrivals) out.push_back(a.size());
        return out;
    };
    ASSERT_TRUE(t.SendFrame(CommandFrame(4, 0x23, 0x23, 0x23)));
    EXPECT_EQ(sizes(), (std::vector<std::size_t>{60, 60, 15}));
    t.port.SetMaxDataPerReport(7);                        // frames split anywhere
    ASSERT_TRUE(t.SendFrame(CommandFrame(11, 0, 4, 0)));  // the answer goes out before the cable
    EXPECT_EQ(sizes().size(), 17u);
    EXPECT_EQ(t.parser.ReplyLength(), 113);

    EXPECT_EQ(t.plugs, (std::vector<bool>{true, false}));
    EXPECT_FALSE(t.comm.IsOpen());
    EXPECT_FALSE(t.processor.IsRunning());
    EXPECT_FALSE(t.comm.Connect());
    EXPECT_EQ(t.comm.LastError(), link::LinkError::NotFound);
    t.port.Replug();
    ASSERT_TRUE(t.comm.Connect());
    EXPECT_TRUE(t.SendFrame(kModeQuery));
    EXPECT_EQ(t.plugs, (std::vector<bool>{true, false, true}));  // once
}

Bytes OutputReport(const Bytes& data, std::uint8_t id = 1) {
    Bytes report(link::kUsbReportLength, 0);
    report[0] = id;
    report[1] = static_cast<std::uint8_t>(data.size());
    std::copy(data.begin(), data.end(), report.begin() + 2);
    return report;
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
    EXPECT_EQ(port.WriteReport(OutputReport(kSearch)), link::LinkError::NotOpen);
    ASSERT_EQ(port.Open(SimulatedPort::kProcessorIds), link::LinkError::None);
    ASSERT_EQ(port.WriteReport(OutputReport(kSearch)), link::LinkError::None);
    EXPECT_TRUE(listener.got.empty());  // never from inside WriteReport
    clock.RunDue();
    Bytes expected = Hex("01 0B FE 0B 54 52 2D 57 34 38 41 5F 3F");
    expected.resize(link::kUsbReportLength, 0);
    EXPECT_EQ(listener.got, std::vector<Bytes>{expected});

    Bytes shortReport = OutputReport(kSearch);
    shortReport.pop_back();
    Bytes overCount = OutputReport({});
    overCount[1] = 64;
    for (const Bytes& bad : {shortReport, OutputReport(kSearch, 0), overCount})
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
