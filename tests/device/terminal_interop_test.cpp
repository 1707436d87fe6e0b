// The terminal's own frame builder and receive parser against the device: a whole
// synchronisation, a whole mode written and read back, single writes, passwords, the faults
// as the terminal sees them, and the device's own bytes.
#include <gtest/gtest.h>

#include "device/device_harness.h"
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

// The terminal's side: a workspace, its link state, the builder and the parser, wired to a
// device harness.
struct Terminal {
    explicit Terminal(DeviceHarness& h) : device(h) {
        h.device.SetOutputHandler(
            [this](std::span<const std::uint8_t> b) { parser.OnDeviceBytes(b); });
    }
    /// Builds and sends one frame, lets the device answer, and says whether a good reply came.
    bool Send(std::uint8_t command, std::int32_t value, std::int32_t index, bool neutral = false) {
        protocol::SendBuffer buffer{};
        const protocol::ByteResult built = builder.Build(command, value, index, neutral, buffer);
        EXPECT_TRUE(built.Ok()) << protocol::ErrorName(built.Error);
        parser.ResetPosition();
        link.ReplyPending = true;
        link.ReplyOk = false;
        device.device.Receive(std::span(buffer.data(), built.Ok() ? built.Bytes : 0));
        device.clock.AdvanceBy(50);
        return link.ReplyOk;
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
                if (common) link.ModeOverride = static_cast<std::uint8_t>(mode);
                ASSERT_TRUE(
                    Send(command, common ? mode : protocol::ModeField(mode, scene), kind * 256));
                if (!into) continue;
                ASSERT_EQ(Decode(*into, kind, scene), protocol::ProtocolError::Ok) << kind;
            }
    }

    DeviceHarness& device;
    model::Workspace workspace;
    protocol::LinkState link;
    protocol::FrameBuilder builder{workspace, link};
    protocol::ReceiveParser parser{workspace, link};
};

TEST(Interop, WholeSynchronisationReadsTheDevicesWorkingSettings) {
    DeviceHarness device;
    ProcessorState& state = device.device.State();
    ASSERT_EQ(state.RecallMode(3), DeviceError::Ok);
    model::ParamTable& working = state.Working();
    working.Slot(1032, 1)->Gain = 123;      // main output band 0, dance scene
    working.Slot(7, 0)->EQdisabled = true;  // music band 7 switched off
    working.Slot(258, 0)->Q = 40;           // microphone 1/2 band 1
    working.SetValueAt(1801, 0, 66);        // subwoofer, not kept per scene
    working.SetValueAt(1801, 1, 66);
    working.SetValueAt(2056, 0, 42);  // recording left
    working.SetValueAt(2590, 0, 1);   // scene select

    Terminal terminal(device);
    (void)terminal.Send(250, 0, 0);  // the search frame
    ASSERT_TRUE(terminal.link.LinkUp);
    ASSERT_TRUE(terminal.Send(9, 0, 0));
    ASSERT_EQ(terminal.parser.PayloadByte(1), 3);
    terminal.AllBlocks(11, 3, &terminal.workspace.ParamStore);
    EXPECT_EQ(device.device.FrameLog().size(), 18u);  // search, mode, 13 + 3 blocks
    EXPECT_EQ(state.CurrentMode(), 3);
    ExpectSameBlocks(terminal.workspace.ParamStore, working);
}

TEST(Interop, WholeModeWrittenAndReadBack) {
    DeviceHarness device;
    Terminal terminal(device);
    terminal.link.LinkUp = true;
    model::ParamTable& image = terminal.workspace.ModeImage;
    image.Slot(8, 0)->Gain = 180;
    image.Slot(8, 0)->EQdisabled = true;
    image.Slot(1040, 1)->Freq = 300;
    image.SetValueAt(256, 0, 120);  // microphone 1/2 high-pass
    image.SetValueAt(256, 1, 120);
    image.SetValueAt(2568, 0, 90);  // master slider limit, a setting of no mode

    terminal.AllBlocks(2, 6, nullptr);
    EXPECT_EQ(terminal.parser.PayloadByte(1), kAccepted);
    EXPECT_EQ(device.device.State().Working().ValueAt(2568, 0), 90);
    EXPECT_EQ(device.device.State().Working().Slot(8, 0)->Gain, 250);  // mode 6 is not current

    // Read back as the mode manager does: stored mode blocks into another terminal's image.
    Terminal reader(device);
    reader.link.LinkUp = true;
    reader.AllBlocks(1, 6, &reader.workspace.ModeImage);
    ExpectSameBlocks(reader.workspace.ModeImage, image);
    EXPECT_EQ(reader.workspace.ModeImage.Slot(8, 0)->Gain, 180);
}

TEST(Interop, SingleWritesAndPasswords) {
    DeviceHarness device;
    ASSERT_EQ(device.device.State().SetAdministrator(std::vector<std::uint8_t>{4, 4, 4, 4, 4, 4}),
              DeviceError::Ok);
    Terminal terminal(device);
    terminal.link.LinkUp = true;
    ASSERT_TRUE(terminal.workspace.SetCurrentScene(1));
    terminal.workspace.ParamStore.Slot(1033, 1)->Gain = 310;
    ASSERT_TRUE(terminal.Send(0, 0, 1033));
    EXPECT_EQ(device.device.State().Working().Slot(1033, 1)->Gain, 310);
    ASSERT_TRUE(terminal.Send(0, 0, 1033, true));  // the neutral form
    EXPECT_EQ(device.device.State().Working().Slot(1033, 1)->Gain, 250);

    terminal.link.PasswordDigits.fill(0);
    ASSERT_TRUE(terminal.Send(8, 2, 0));
    EXPECT_EQ(terminal.parser.PayloadByte(1), kRefused);
    terminal.link.PasswordDigits = {4, 4, 4, 4, 4, 4, 1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(terminal.Send(8, 2, 1));
    EXPECT_EQ(terminal.parser.PayloadByte(1), kAccepted);
    terminal.link.PasswordDigits = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(terminal.Send(8, 2, 0));
    EXPECT_EQ(terminal.parser.PayloadByte(1), kAccepted);
    ASSERT_TRUE(terminal.Send(8, 2, 2));
    EXPECT_FALSE(device.device.AdministratorVerified());
}

TEST(Interop, FaultsAsTheTerminalSeesThem) {
    DeviceHarness device(Options("bad-checksum=1"));
    Terminal terminal(device);
    terminal.link.LinkUp = true;
    EXPECT_FALSE(terminal.Send(9, 0, 0));
    EXPECT_EQ(terminal.parser.Drops().BadChecksum, 1u);
    EXPECT_TRUE(terminal.Send(9, 0, 0));  // the repeat counts

    device.device.SetFaults(Options("block-length=1").Faults);
    ASSERT_TRUE(terminal.Send(11, 0, 4 * 256));
    EXPECT_EQ(terminal.parser.ReplyLength(), 114);
    EXPECT_EQ(terminal.Decode(terminal.workspace.ParamStore, 4, 0),
              protocol::ProtocolError::ReplyTooLong);
}

TEST(Interop, ToneKeyAndKeepAliveReachTheTerminal) {
    DeviceHarness device;
    Terminal terminal(device);
    device.device.State().Working().SetValueAt(2598, 0, 8);
    terminal.workspace.ParamStore.SetValueAt(2598, 0, 9);
    terminal.link.SilenceTicks = 50;
    device.device.SendToneKey();
    device.clock.AdvanceBy(1);
    EXPECT_EQ(device.device.State().Working().ValueAt(2598, 0), 5);
    EXPECT_EQ(terminal.workspace.ParamStore.ValueAt(2598, 0), 5);
    EXPECT_EQ(terminal.link.SilenceTicks, 50);
    device.clock.AdvanceBy(999);
    EXPECT_EQ(terminal.link.SilenceTicks, 0);
}

}  // namespace
}  // namespace vellora::device
