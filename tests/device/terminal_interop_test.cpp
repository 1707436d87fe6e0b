// The terminal's own frame builder and receive parser against the device: the handshake, a
// whole synchronisation, a whole mode written and read back, single writes, passwords, and
// the faults as the terminal sees them.
#include <gtest/gtest.h>

#include "device/device_harness.h"
#include "protocol/entry_codec.h"
#include "protocol/frame_builder.h"
#include "protocol/receive_parser.h"

namespace vellora::device {
namespace {

using testing::DeviceHarness;

// The terminal's side: a workspace, its link state, the builder and the parser, wired to a
// device harness.
class Terminal {
public:
    explicit Terminal(DeviceHarness& device) : device_(device) {
        device_.device.SetOutputHandler(
            [this](std::span<const std::uint8_t> bytes) { parser.OnDeviceBytes(bytes); });
    }

    /// Builds and sends one frame, lets the device answer, and says whether a good reply came.
    bool Send(std::uint8_t command, std::int32_t value, std::int32_t index, bool neutral = false) {
        protocol::SendBuffer buffer{};
        const protocol::ByteResult built = builder.Build(command, value, index, neutral, buffer);
        EXPECT_TRUE(built.Ok()) << protocol::ErrorName(built.Error);
        if (!built.Ok()) return false;
        parser.ResetPosition();
        link.ReplyPending = true;
        link.ReplyOk = false;
        device_.device.Receive(std::span(buffer.data(), built.Bytes));
        device_.clock.AdvanceBy(50);
        return link.ReplyOk;
    }
    bool Identify() {
        (void)Send(250, 0, 0);
        return link.LinkUp;
    }

    model::Workspace workspace;
    protocol::LinkState link;
    protocol::FrameBuilder builder{workspace, link};
    protocol::ReceiveParser parser{workspace, link};

private:
    DeviceHarness& device_;
};

struct BlockRef {
    int Scene;
    int Kind;
};
// Kinds 0..7 of the singing scene, then the kinds of the dance scene that have one.
const BlockRef kBlockOrder[] = {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {0, 6},
                                {0, 7}, {1, 0}, {1, 4}, {1, 5}, {1, 6}, {1, 7}};

TEST(Interop, IdentificationBringsTheLinkUp) {
    DeviceHarness device;
    Terminal terminal(device);
    EXPECT_TRUE(terminal.Identify());
    EXPECT_FALSE(terminal.link.VariantB);
    EXPECT_TRUE(terminal.link.StartSyncRequest);

    DeviceHarness deviceB(testing::WithVariant('B'));
    Terminal terminalB(deviceB);
    EXPECT_TRUE(terminalB.Identify());
    EXPECT_TRUE(terminalB.link.VariantB);
}

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
    ASSERT_TRUE(terminal.Identify());
    ASSERT_TRUE(terminal.Send(9, 0, 0));
    const int mode = terminal.parser.PayloadByte(1);
    EXPECT_EQ(mode, 3);
    for (const BlockRef& b : kBlockOrder) {
        ASSERT_TRUE(terminal.Send(11, protocol::ModeField(mode, b.Scene), b.Kind * 256));
        const protocol::ByteResult read =
            protocol::DecodeBlock(terminal.parser.LastPayload(), terminal.workspace.ParamStore,
                                  terminal.workspace, b.Kind, b.Scene);
        ASSERT_TRUE(read.Ok()) << "kind " << b.Kind << ": " << protocol::ErrorName(read.Error);
    }
    for (int kind = 8; kind <= 10; ++kind) {
        terminal.link.ModeOverride = static_cast<std::uint8_t>(mode);
        ASSERT_TRUE(terminal.Send(11, mode, kind * 256));
        ASSERT_TRUE(protocol::DecodeBlock(terminal.parser.LastPayload(),
                                          terminal.workspace.ParamStore, terminal.workspace, kind,
                                          0)
                        .Ok());
    }
    EXPECT_EQ(device.device.FrameLog().size(), 18u);  // search, mode, 13 + 3 blocks
    EXPECT_EQ(state.CurrentMode(), 3);

    const model::ParamTable& store = terminal.workspace.ParamStore;
    EXPECT_EQ(store.Slot(1032, 1)->Gain, 123);
    EXPECT_EQ(store.Slot(1032, 0)->Gain, 250);
    EXPECT_TRUE(store.Slot(7, 0)->EQdisabled);
    EXPECT_EQ(store.Slot(7, 0)->Gain, 400);
    EXPECT_EQ(store.Slot(258, 0)->Q, 40);
    EXPECT_EQ(store.ValueAt(1801, 0), 66);
    EXPECT_EQ(store.ValueAt(1801, 1), 66);
    EXPECT_EQ(store.ValueAt(2056, 0), 42);
    EXPECT_EQ(store.ValueAt(2590, 0), 1);
}

TEST(Interop, WholeModeWrittenAndReadBack) {
    DeviceHarness device;
    Terminal terminal(device);
    ASSERT_TRUE(terminal.Identify());
    model::ParamTable& image = terminal.workspace.ModeImage;
    image.Slot(8, 0)->Gain = 180;
    image.Slot(8, 0)->EQdisabled = true;
    image.Slot(1040, 1)->Freq = 300;
    image.SetValueAt(256, 0, 120);  // microphone 1/2 high-pass
    image.SetValueAt(256, 1, 120);
    image.SetValueAt(2568, 0, 90);  // master slider limit, a setting of no mode

    const int mode = 6;
    for (const BlockRef& b : kBlockOrder)
        ASSERT_TRUE(terminal.Send(2, protocol::ModeField(mode, b.Scene), b.Kind * 256));
    for (int kind = 8; kind <= 10; ++kind) {
        terminal.link.ModeOverride = mode;
        ASSERT_TRUE(terminal.Send(2, mode, kind * 256));
    }
    EXPECT_EQ(terminal.parser.PayloadByte(1), kAccepted);
    EXPECT_EQ(device.device.State().Mode(mode)->Slot(8, 0)->Gain, 180);
    EXPECT_EQ(device.device.State().Working().ValueAt(2568, 0), 90);
    EXPECT_EQ(device.device.State().Working().Slot(8, 0)->Gain, 250);  // mode 6 is not current

    // Read back as the mode manager does: stored mode blocks into another terminal's image.
    Terminal reader(device);
    reader.link.LinkUp = true;
    for (const BlockRef& b : kBlockOrder) {
        ASSERT_TRUE(reader.Send(1, protocol::ModeField(mode, b.Scene), b.Kind * 256));
        ASSERT_TRUE(protocol::DecodeBlock(reader.parser.LastPayload(), reader.workspace.ModeImage,
                                          reader.workspace, b.Kind, b.Scene)
                        .Ok());
    }
    for (int index = 0; index < 2048; ++index)
        for (int s = 0; s < 2; ++s) {
            if (s == 1 && index >= 256 && index < 1024) continue;  // no dance block for 1..3
            ASSERT_EQ(*reader.workspace.ModeImage.Slot(index, s), *image.Slot(index, s))
                << "entry " << index << " slot " << s;
        }
}

TEST(Interop, SingleWriteIncludingTheNeutralForm) {
    DeviceHarness device;
    Terminal terminal(device);
    ASSERT_TRUE(terminal.Identify());
    ASSERT_TRUE(terminal.workspace.SetCurrentScene(1));
    terminal.workspace.ParamStore.Slot(1033, 1)->Gain = 310;
    ASSERT_TRUE(terminal.Send(0, 0, 1033));
    EXPECT_EQ(device.device.State().Working().Slot(1033, 1)->Gain, 310);
    ASSERT_TRUE(terminal.Send(0, 0, 1033, true));
    EXPECT_EQ(device.device.State().Working().Slot(1033, 1)->Gain, 250);
    EXPECT_EQ(terminal.parser.PayloadByte(1), kAccepted);
}

TEST(Interop, PasswordCheckAndChange) {
    DeviceHarness device;
    ASSERT_EQ(device.device.State().SetAdministrator(std::vector<std::uint8_t>{4, 4, 4, 4, 4, 4}),
              DeviceError::Ok);
    Terminal terminal(device);
    ASSERT_TRUE(terminal.Identify());
    terminal.link.PasswordDigits.fill(0);
    ASSERT_TRUE(terminal.Send(8, 2, 0));
    EXPECT_NE(terminal.parser.PayloadByte(1), 'S');
    terminal.link.PasswordDigits = {4, 4, 4, 4, 4, 4, 1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(terminal.Send(8, 2, 1));
    EXPECT_EQ(terminal.parser.PayloadByte(1), 'S');
    terminal.link.PasswordDigits = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(terminal.Send(8, 2, 0));
    EXPECT_EQ(terminal.parser.PayloadByte(1), 'S');
    ASSERT_TRUE(terminal.Send(8, 0, 2));
    ASSERT_TRUE(terminal.Send(8, 2, 2));
    EXPECT_FALSE(device.device.AdministratorVerified());
}

TEST(Interop, DamagedReplyDoesNotCountAndTheRepeatDoes) {
    DeviceHarness device;
    Terminal terminal(device);
    ASSERT_TRUE(terminal.Identify());
    FaultPlan plan;
    plan.BadChecksumReplies = 1;
    device.device.SetFaults(plan);
    EXPECT_FALSE(terminal.Send(9, 0, 0));
    EXPECT_EQ(terminal.parser.Drops().BadChecksum, 1u);
    EXPECT_TRUE(terminal.Send(9, 0, 0));
}

TEST(Interop, BlockReplyOfTheWrongLengthIsSeenAsSuch) {
    DeviceHarness device;
    Terminal terminal(device);
    ASSERT_TRUE(terminal.Identify());
    FaultPlan plan;
    plan.BlockLengthError = 1;
    device.device.SetFaults(plan);
    ASSERT_TRUE(terminal.Send(11, 0, 4 * 256));
    EXPECT_EQ(terminal.parser.ReplyLength(), 114);
    EXPECT_EQ(protocol::DecodeBlock(terminal.parser.LastPayload(), terminal.workspace.ParamStore,
                                    terminal.workspace, 4, 0)
                  .Error,
              protocol::ProtocolError::ReplyTooLong);
}

TEST(Interop, ToneKeyResetsTheTerminalsKeyShift) {
    DeviceHarness device;
    Terminal terminal(device);
    terminal.workspace.ParamStore.SetValueAt(2598, 0, 9);
    device.device.SendToneKey();
    device.clock.AdvanceBy(1);
    EXPECT_EQ(terminal.workspace.ParamStore.ValueAt(2598, 0), 5);
}

TEST(Interop, KeepAliveKeepsTheTerminalsSilenceCountAtZero) {
    DeviceHarness device;
    Terminal terminal(device);
    terminal.link.SilenceTicks = 50;
    device.clock.AdvanceBy(1000);
    EXPECT_EQ(terminal.link.SilenceTicks, 0);
}

}  // namespace
}  // namespace vellora::device
