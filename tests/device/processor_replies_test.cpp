// The device's answers on the wire: exact reply bytes per command, written out by hand, and
// the framing rules of the terminal's byte stream (split, joined, damaged frames).
#include <gtest/gtest.h>

#include "device/device_harness.h"

namespace vellora::device {
namespace {

using testing::Bytes;
using testing::CommandFrame;
using testing::DeviceHarness;
using testing::Hex;
using testing::SearchFrame;

TEST(Identification, VariantAAnswersTheSearchFrameWithItsTag) {
    DeviceHarness h;
    EXPECT_EQ(h.Ask(Hex("FE FA 23 23 23 0F 59 4F 50 5F 43 54 52 4C FC")),
              Hex("FE 0B 54 52 2D 57 34 38 41 5F 3F"));
}

TEST(Identification, VariantBCarriesItsLetter) {
    DeviceHarness h(testing::WithVariant('B'));
    EXPECT_EQ(h.Ask(SearchFrame()), Hex("FE 0B 54 52 2D 57 34 38 42 5F 40"));
}

TEST(Identification, SearchWithAnotherTextIsNotForThisDevice) {
    DeviceHarness h;
    const Bytes other =
        CommandFrame(250, 0x23, 0x23, 0x23, Bytes{'Y', 'O', 'P', '_', 'X', 'X', 'X', 'X'});
    EXPECT_TRUE(h.Ask(other).empty());
    EXPECT_EQ(h.device.Counters().FramesAnswered, 0u);
}

TEST(Identification, VariantMustBeOneCapitalLetter) {
    model::VirtualClock clock;
    SimulatedProcessor device(clock);
    EXPECT_EQ(device.SetVariant('b'), DeviceError::BadVariant);
    EXPECT_EQ(device.SetVariant(static_cast<char>(0xFE)), DeviceError::BadVariant);
    EXPECT_EQ(device.Variant(), 'A');
    EXPECT_EQ(device.SetVariant('Z'), DeviceError::Ok);
}

TEST(ShortReplies, WriteParamIsAcknowledged) {
    DeviceHarness h;
    // Main output source level 1 (1024), singing scene, value 90.
    EXPECT_EQ(h.Ask(CommandFrame(0, 0, 4, 0, Hex("00 5A"))), Hex("FE 05 00 53 56"));
    EXPECT_EQ(h.device.State().Working().ValueAt(1024, 0), 90);
}

TEST(ShortReplies, WriteParamOfTheWrongSizeIsRefusedAndChangesNothing) {
    DeviceHarness h;
    // Music band 0 is an EQ band: its entry is 8 bytes, not 2.
    EXPECT_EQ(h.Ask(CommandFrame(0, 0, 0, 0, Hex("00 5A"))), Hex("FE 05 00 4E 51"));
    EXPECT_EQ(h.device.State().Working().Slot(0, 0)->Gain, 330);
}

TEST(ShortReplies, SaveToModeIsAcknowledgedAndTheCurrentModeFollows) {
    DeviceHarness h;
    EXPECT_EQ(h.Ask(CommandFrame(3, 3, 0, 0)), Hex("FE 05 03 53 59"));
    EXPECT_EQ(h.Ask(CommandFrame(9, 0x23, 0x23, 0x23)), Hex("FE 05 09 03 0F"));
}

TEST(ShortReplies, SaveToModeBeyondTheElevenModesIsRefused) {
    DeviceHarness h;
    EXPECT_EQ(h.Ask(CommandFrame(3, 11, 0, 0)), Hex("FE 05 03 4E 54"));
    EXPECT_EQ(h.device.State().CurrentMode(), 0);
}

TEST(ShortReplies, UnknownCommandIsRefused) {
    DeviceHarness h;
    EXPECT_EQ(h.Ask(CommandFrame(5, 0x23, 0x23, 0x23)), Hex("FE 05 05 4E 56"));
}

TEST(Passwords, FactoryAdministratorPasswordOfZerosIsAccepted) {
    DeviceHarness h;
    EXPECT_EQ(h.Ask(CommandFrame(8, 0, 2, 0, Hex("00 00 00 00 00 00"))), Hex("FE 05 08 53 5E"));
    EXPECT_TRUE(h.device.AdministratorVerified());
}

TEST(Passwords, WrongDigitsAreRefused) {
    DeviceHarness h;
    EXPECT_EQ(h.Ask(CommandFrame(8, 0, 0, 0, Hex("01 02 03 04"))), Hex("FE 05 08 4E 59"));
    EXPECT_FALSE(h.device.PanelVerified());
}

TEST(Passwords, ChangeNeedsTheOldDigitsThenTheNewOnesAreTheOnlyOnes) {
    DeviceHarness h;
    EXPECT_EQ(h.Ask(CommandFrame(8, 0, 0, 1, Hex("09 09 09 09 01 02 03 04"))),
              Hex("FE 05 08 4E 59"));
    EXPECT_EQ(h.Ask(CommandFrame(8, 0, 0, 1, Hex("00 00 00 00 01 02 03 04"))),
              Hex("FE 05 08 53 5E"));
    EXPECT_EQ(h.Ask(CommandFrame(8, 0, 0, 0, Hex("00 00 00 00"))), Hex("FE 05 08 4E 59"));
    EXPECT_EQ(h.Ask(CommandFrame(8, 0, 0, 0, Hex("01 02 03 04"))), Hex("FE 05 08 53 5E"));
    EXPECT_EQ(h.device.State().Panel(), (PanelPassword{1, 2, 3, 4}));
}

TEST(Passwords, ChangeToSomethingThatIsNotDigitsIsRefused) {
    DeviceHarness h;
    EXPECT_EQ(h.Ask(CommandFrame(8, 0, 0, 1, Hex("00 00 00 00 01 02 0A 04"))),
              Hex("FE 05 08 4E 59"));
    EXPECT_EQ(h.device.State().Panel(), (PanelPassword{0, 0, 0, 0}));
}

TEST(Passwords, CheckWithTheWrongDigitCountOrSlotIsRefused) {
    DeviceHarness h;
    EXPECT_EQ(h.Ask(CommandFrame(8, 0, 2, 0, Hex("00 00 00 00"))), Hex("FE 05 08 4E 59"));
    EXPECT_EQ(h.Ask(CommandFrame(8, 0, 1, 0, Hex("00 00 00 00"))), Hex("FE 05 08 4E 59"));
}

TEST(Passwords, CloseIsAcknowledgedAndEndsTheAcceptance) {
    DeviceHarness h;
    (void)h.Ask(CommandFrame(8, 0, 2, 0, Hex("00 00 00 00 00 00")));
    ASSERT_TRUE(h.device.AdministratorVerified());
    EXPECT_EQ(h.Ask(CommandFrame(8, 0, 2, 2)), Hex("FE 05 08 53 5E"));
    EXPECT_FALSE(h.device.AdministratorVerified());
}

TEST(Rights, LevelAndPanelLockChangeOnlyAfterTheirPassword) {
    DeviceHarness h;
    // 2592 = kind 10, address 32; 2574 = kind 10, address 14.
    EXPECT_EQ(h.Ask(CommandFrame(0, 0, 10, 32, Hex("00 01"))), Hex("FE 05 00 4E 51"));
    EXPECT_EQ(h.device.State().Working().ValueAt(2592, 0), 0);
    (void)h.Ask(CommandFrame(8, 0, 2, 0, Hex("00 00 00 00 00 00")));
    EXPECT_EQ(h.Ask(CommandFrame(0, 0, 10, 32, Hex("00 01"))), Hex("FE 05 00 53 56"));
    EXPECT_EQ(h.device.State().Working().ValueAt(2592, 0), 1);
    // The administrator's password does not open the panel lock.
    EXPECT_EQ(h.Ask(CommandFrame(0, 0, 10, 14, Hex("00 01"))), Hex("FE 05 00 4E 51"));
    (void)h.Ask(CommandFrame(8, 0, 0, 0, Hex("00 00 00 00")));
    EXPECT_EQ(h.Ask(CommandFrame(0, 0, 10, 14, Hex("00 01"))), Hex("FE 05 00 53 56"));
    EXPECT_EQ(h.device.State().Working().ValueAt(2574, 0), 1);
}

TEST(Rights, NewSessionForgetsAcceptedPasswords) {
    DeviceHarness h;
    (void)h.Ask(CommandFrame(8, 0, 2, 0, Hex("00 00 00 00 00 00")));
    (void)h.Ask(SearchFrame());
    EXPECT_FALSE(h.device.AdministratorVerified());
}

TEST(Blocks, RecordingLeftBlockOfTheFactory) {
    DeviceHarness h;
    // Nine plain entries: 100 x 7, 80, 100.
    EXPECT_EQ(h.Ask(CommandFrame(11, 0, 8, 0)),
              Hex("FE 15 00 64 00 64 00 64 00 64 00 64 00 64 00 64 00 50 00 64 83"));
}

TEST(Blocks, TwoBandsAndThreePlainEntriesMakeATwentyFiveByteReply) {
    // A layout whose kind 0 holds two EQ bands and three plain entries.
    model::Workspace layout;
    layout.SetMenuKindLast(0, 4);
    for (int s = 0; s < 2; ++s) {
        model::SceneSlot& band0 = *layout.ParamStore.Slot(0, s);
        band0.QType = model::kLowShelf;
        band0.ShelfQ = 10;
        band0.Freq = 100;
        band0.Gain = 330;
        band0.Q = 16;
        model::SceneSlot& band1 = *layout.ParamStore.Slot(1, s);
        band1.QType = model::kPeaking;
        band1.ShelfQ = 10;
        band1.Freq = 5;
        band1.EQdisabled = true;
        band1.Gain = 250;
        band1.Q = 100;
        const int32_t values[] = {30362, 250, 0};
        for (int i = 2; i <= 4; ++i) {
            model::SceneSlot& plain = *layout.ParamStore.Slot(i, s);
            plain.FilterType = model::kPlain;
            plain.Value = values[i - 2];
        }
    }
    DeviceHarness h{ProcessorState(layout)};
    EXPECT_EQ(h.Ask(CommandFrame(1, 0, 0, 0)),
              Hex("FE 19 01 0A 00 64 01 50 00 10 00 0A 78 05 01 00 00 64 79 70 01 00 00 00 BD"));
}

TEST(Blocks, RefusedAddresses) {
    DeviceHarness h;
    const Bytes refused1 = Hex("FE 05 01 4E 52");
    EXPECT_EQ(h.Ask(CommandFrame(1, 22, 0, 0)), refused1);  // ModeField beyond mode 10, scene 1
    EXPECT_EQ(h.Ask(CommandFrame(1, 0, 11, 0)), refused1);  // no menu kind 11
    EXPECT_EQ(h.Ask(CommandFrame(1, 0, 4, 1)), refused1);   // a block starts at address 0
    EXPECT_EQ(h.Ask(CommandFrame(11, 0, 4, 1)), Hex("FE 05 0B 4E 5C"));
}

TEST(Names, FactoryNamesInGbk) {
    DeviceHarness h;
    const Bytes reply = h.Ask(CommandFrame(4, 0x23, 0x23, 0x23));
    ASSERT_EQ(reply.size(), 135u);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 2), Hex("FE 87"));
    EXPECT_EQ(Bytes(reply.begin() + 2, reply.begin() + 14),
              Hex("C4 A3 CA BD 31 00 00 00 00 00 00 00"));
    EXPECT_EQ(Bytes(reply.begin() + 2 + 9 * 12, reply.begin() + 2 + 10 * 12),
              Hex("C4 A3 CA BD 31 30 00 00 00 00 00 00"));
    EXPECT_EQ(Bytes(reply.begin() + 2 + 10 * 12, reply.begin() + 2 + 11 * 12),
              Hex("C4 A3 CA BD 31 31 00 00 00 00 00 00"));
    EXPECT_EQ(reply.back(), protocol::FrameChecksum(std::span(reply.data(), 134)));
}

TEST(KeepAlive, TheTerminalsByteIsEchoed) {
    DeviceHarness h;
    EXPECT_EQ(h.Ask(Hex("FF")), Hex("FF"));
}

TEST(Framing, FrameSplitAcrossArrivalsIsAnsweredOnce) {
    DeviceHarness h;
    const Bytes frame = CommandFrame(9, 0x23, 0x23, 0x23);
    h.device.Receive(Bytes(frame.begin(), frame.begin() + 3));
    h.clock.AdvanceBy(50);
    EXPECT_TRUE(h.sent.empty());
    EXPECT_EQ(h.Ask(Bytes(frame.begin() + 3, frame.end())), Hex("FE 05 09 00 0C"));
}

TEST(Framing, TwoFramesInOneArrivalGetTwoAnswersInOrder) {
    DeviceHarness h;
    Bytes both = CommandFrame(3, 2, 0, 0);
    const Bytes second = CommandFrame(9, 0x23, 0x23, 0x23);
    both.insert(both.end(), second.begin(), second.end());
    EXPECT_EQ(h.Ask(both), Hex("FE 05 03 53 59 FE 05 09 02 0E"));
}

TEST(Framing, KeepAliveInsideAFrameIsEchoedAndTheFrameStillCompletes) {
    DeviceHarness h;
    Bytes frame = CommandFrame(9, 0x23, 0x23, 0x23);
    frame.insert(frame.begin() + 4, 0xFF);
    EXPECT_EQ(h.Ask(frame), Hex("FF FE 05 09 00 0C"));
}

TEST(Framing, DamagedFramesGetNoAnswer) {
    DeviceHarness h;
    Bytes bad = CommandFrame(9, 0x23, 0x23, 0x23);
    bad.back() ^= 1;
    EXPECT_TRUE(h.Ask(bad).empty());
    EXPECT_EQ(h.device.Counters().BadChecksum, 1u);
    // A length byte under 7 and bytes outside any frame are dropped too.
    EXPECT_TRUE(h.Ask(Hex("FE 09 23 23 23 03")).empty());
    EXPECT_EQ(h.device.Counters().BadLength, 1u);
    EXPECT_TRUE(h.Ask(Hex("01 02 03")).empty());
    EXPECT_EQ(h.device.Counters().StrayBytes, 3u);
}

TEST(Framing, NewStartByteDiscardsAHalfFrame) {
    DeviceHarness h;
    Bytes bytes = Hex("FE 03 01");
    const Bytes frame = CommandFrame(9, 0x23, 0x23, 0x23);
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    EXPECT_EQ(h.Ask(bytes), Hex("FE 05 09 00 0C"));
}

TEST(Framing, StoppedDeviceTakesNothing) {
    DeviceHarness h;
    h.device.Stop();
    EXPECT_TRUE(h.Ask(SearchFrame()).empty());
    EXPECT_EQ(h.device.Counters().FramesReceived, 0u);
}

TEST(Framing, AnyByteSequenceGetsOnlyWellFormedAnswers) {
    // Random frames with right checksums (commands, header bytes and payloads of any kind)
    // mixed with noise: every answer is a keep-alive byte or a whole reply frame whose inside
    // stays below 253 and whose checksum holds.
    DeviceHarness h;
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<std::uint8_t>(seed >> 24);
    };
    const std::uint8_t commands[] = {0, 1, 2, 3, 4, 8, 9, 11, 250, 7};
    Bytes stream;
    for (int i = 0; i < 3000; ++i) {
        if (next() < 40) {
            for (int n = next() % 20; n > 0; --n) stream.push_back(next());
            continue;
        }
        Bytes payload(next() % 120);
        for (auto& b : payload) b = static_cast<std::uint8_t>(next() % 253);
        const std::uint8_t command = commands[next() % std::size(commands)];
        const Bytes frame = CommandFrame(command, next() % 30, next() % 12, next() % 3, payload);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    for (std::size_t at = 0; at < stream.size(); at += 61) {
        const std::size_t n = std::min<std::size_t>(61, stream.size() - at);
        h.device.Receive(std::span(stream.data() + at, n));
    }
    h.clock.AdvanceBy(50);
    ASSERT_GT(h.device.Counters().FramesAnswered, 1000u);
    for (const Bytes& out : h.sent) {
        if (out == Hex("FF")) continue;
        ASSERT_GE(out.size(), 3u);
        EXPECT_EQ(out[0], 0xFE);
        EXPECT_EQ(out[1], out.size());
        for (std::size_t i = 1; i < out.size(); ++i) EXPECT_LT(out[i], 253) << "byte " << i;
        EXPECT_EQ(out.back(), protocol::FrameChecksum(std::span(out.data(), out.size() - 1)));
    }
}

}  // namespace
}  // namespace vellora::device
