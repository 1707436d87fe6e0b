// The device's answers on the wire: exact reply bytes per command, written out by hand, and
// the framing rules of the terminal's byte stream (split, joined, damaged frames).
#include <algorithm>

#include <gtest/gtest.h>

#include "device/device_harness.h"

namespace vellora::device {
namespace {

using namespace testing;

constexpr std::string_view kTagA = "FE 0B 54 52 2D 57 34 38 41 5F 3F";
constexpr std::string_view kAck0 = "FE 05 00 53 56";
constexpr std::string_view kNo0 = "FE 05 00 4E 51";
constexpr std::string_view kNo1 = "FE 05 01 4E 52";
constexpr std::string_view kAck8 = "FE 05 08 53 5E";
constexpr std::string_view kNo8 = "FE 05 08 4E 59";

TEST(Replies, GoldenBytesPerCommand) {
    const Bytes adminCheck = CommandFrame(8, 0, 2, 0, Hex("00 00 00 00 00 00"));
    const Bytes panelCheck = CommandFrame(8, 0, 0, 0, Hex("00 00 00 00"));
    const Bytes setLevel = CommandFrame(0, 0, 10, 32, Hex("00 01"));  // 2592, user level
    const Bytes setLock = CommandFrame(0, 0, 10, 14, Hex("00 01"));   // 2574, panel lock
    const std::vector<Step> steps = {
        {Hex("FE FA 23 23 23 0F 59 4F 50 5F 43 54 52 4C FC"), kTagA, true},
        {CommandFrame(250, 0x23, 0x23, 0x23, Bytes{'Y', 'O', 'P', '_', 'X', 'Y', 'Z', 'W'}), "",
         true},
        {CommandFrame(5, 0x23, 0x23, 0x23), "FE 05 05 4E 56", true},  // unknown command
        {CommandFrame(0, 0, 0, 0, Hex("00 5A")), kNo0, true},         // band 0's entry is 8 bytes
        {CommandFrame(0, 0, 0, 18, Hex("00 01")), kNo0, true},        // kind 0 ends at 17
        {CommandFrame(0, 2, 4, 0, Hex("00 01")), kNo0, true},         // no scene 2
        {CommandFrame(0, 0, 11, 0, Hex("00 01")), kNo0, true},        // no kind 11
        // Recording left: nine plain entries, 100 x 7, 80, 100.
        {CommandFrame(11, 0, 8, 0),
         "FE 15 00 64 00 64 00 64 00 64 00 64 00 64 00 64 00 50 00 64 83", true},
        {CommandFrame(1, 22, 0, 0), kNo1, true},  // ModeField beyond mode 10, scene 1
        {CommandFrame(1, 0, 11, 0), kNo1, true},  // no menu kind 11
        {CommandFrame(1, 0, 4, 1), kNo1, true},   // a block starts at address 0
        {CommandFrame(11, 0, 4, 1), "FE 05 0B 4E 5C", true},
        {CommandFrame(2, 0, 4, 0, Bytes(109, 0)), "FE 05 02 4E 53", true},  // main output: 110
        {CommandFrame(3, 11, 0, 0), "FE 05 03 4E 54", true},                // only eleven modes
        {CommandFrame(8, 0, 0, 0, Hex("01 02 03 04")), kNo8, true},
        {CommandFrame(8, 0, 2, 0, Hex("00 00 00 00")), kNo8, true},              // six digits
        {CommandFrame(8, 0, 1, 0, Hex("00 00 00 00")), kNo8, true},              // no slot 1
        {CommandFrame(8, 0, 0, 1, Hex("00 00 00 00 01 02 0A 04")), kNo8, true},  // not digits
        // The rights entries change only after their own password, within one session.
        {setLevel, kNo0, true},
        {setLock, kNo0, true},
        {adminCheck, kAck8, true},
        {setLevel, kAck0},
        {setLock, kNo0, true},
        {CommandFrame(8, 0, 2, 2), kAck8, true},  // close
        {setLevel, kNo0, true},
        {adminCheck, kAck8, true},
        {SearchFrame(), kTagA, true},  // a new session
        {setLevel, kNo0, true},
        {CommandFrame(8, 0, 0, 1, Hex("09 09 09 09 01 02 03 04")), kNo8, true},
        {CommandFrame(8, 0, 0, 1, Hex("00 00 00 00 01 02 03 04")), kAck8},
        {panelCheck, kNo8, true},
        {CommandFrame(8, 0, 0, 0, Hex("01 02 03 04")), kAck8, true},
        {setLock, kAck0},
        // Main output source level 1 (1024), singing scene, value 90.
        {CommandFrame(0, 0, 4, 0, Hex("00 5A")), kAck0},
        {CommandFrame(3, 3, 0, 0), "FE 05 03 53 59"},
        {kModeQuery, "FE 05 09 03 0F", true},
        {Hex("FF"), "FF", true},
        // Two frames in one arrival; a keep-alive inside a frame; a start byte in a half frame.
        {Hex("FE 03 02 00 00 09 23 23 52 FE 09 23 23 23 09 23 23 BF"),
         "FE 05 03 53 59 FE 05 09 02 0E"},
        {Hex("FE 09 23 23 FF 23 09 23 23 BF"), "FF FE 05 09 02 0E", true},
        {Hex("FE 03 01 FE 09 23 23 23 09 23 23 BF"), "FE 05 09 02 0E", true},
        // Split anywhere; a wrong checksum, a length under 7 and bytes outside frames dropped.
        {Hex("FE 09 23"), "", true},
        {Hex("23 23 09 23 23 BF"), "FE 05 09 02 0E", true},
        {Hex("FE 09 23 23 23 09 23 23 BE"), "", true},
        {Hex("FE 09 23 23 23 03"), "", true},
        {Hex("01 02 03"), "", true},
    };
    DeviceHarness h;
    RunSteps(h, steps, "factory device");
    EXPECT_EQ(h.device.Counters().BadChecksum, 1u);
    EXPECT_EQ(h.device.Counters().BadLength, 1u);
    EXPECT_EQ(h.device.Counters().StrayBytes, 3u);
    h.device.Stop();
    EXPECT_TRUE(h.Ask(SearchFrame()).empty());
}

TEST(Replies, VariantBCarriesItsLetterAndOnlyCapitalLettersAreVariants) {
    DeviceHarness h(Options("", 'B'));
    EXPECT_EQ(h.Ask(SearchFrame()), Hex("FE 0B 54 52 2D 57 34 38 42 5F 40"));
    EXPECT_EQ(h.device.SetVariant('b'), DeviceError::BadVariant);
    EXPECT_EQ(h.device.SetVariant(static_cast<char>(0xFE)), DeviceError::BadVariant);
    EXPECT_EQ(h.device.Variant(), 'B');
}

TEST(Replies, TwoBandsAndThreePlainEntriesMakeATwentyFiveByteBlock) {
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
            layout.ParamStore.Slot(i, s)->FilterType = model::kPlain;
            layout.ParamStore.Slot(i, s)->Value = values[i - 2];
        }
    }
    DeviceHarness h{ProcessorState(layout)};
    EXPECT_EQ(h.Ask(CommandFrame(1, 0, 0, 0)),
              Hex("FE 19 01 0A 00 64 01 50 00 10 00 0A 78 05 01 00 00 64 79 70 01 00 00 00 BD"));
}

TEST(Replies, FactoryModeNamesInGbk) {
    DeviceHarness h;
    const Bytes reply = h.Ask(CommandFrame(4, 0x23, 0x23, 0x23));
    ASSERT_EQ(reply.size(), 135u);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 2), Hex("FE 87"));
    const auto name = [&](int mode) {
        return Bytes(reply.begin() + 2 + 12 * mode, reply.begin() + 14 + 12 * mode);
    };
    EXPECT_EQ(name(0), Hex("C4 A3 CA BD 31 00 00 00 00 00 00 00"));
    EXPECT_EQ(name(9), Hex("C4 A3 CA BD 31 30 00 00 00 00 00 00"));
    EXPECT_EQ(name(10), Hex("C4 A3 CA BD 31 31 00 00 00 00 00 00"));
    EXPECT_EQ(reply.back(), protocol::FrameChecksum(std::span(reply.data(), 134)));
}

TEST(Replies, AnyByteSequenceGetsOnlyWellFormedAnswers) {
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
        for (int n = next() < 40 ? next() % 20 : 0; n > 0; --n) stream.push_back(next());
        Bytes payload(next() % 120);
        for (auto& b : payload) b = static_cast<std::uint8_t>(next() % 253);
        const std::uint8_t command = commands[next() % std::size(commands)];
        const Bytes frame = CommandFrame(command, next() % 30, next() % 12, next() % 3, payload);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    for (std::size_t at = 0; at < stream.size(); at += 61)
        h.device.Receive(
            std::span(stream.data() + at, std::min<std::size_t>(61, stream.size() - at)));
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
