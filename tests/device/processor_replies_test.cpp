// The device's answers on the wire: exact reply bytes per command, written out by hand, the
// framing rules of the terminal's byte stream (split, joined, damaged frames), the faults it
// shows on demand, and time on its clock (keep-alive bytes, reply latency).
#include <tuple>

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
        {kSearch, kTagA, true},  // the identification of variant A
        // A search with another text is not meant for this device.
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
        {CommandFrame(8, 0, 2, 0, Hex("00 00 00 00")), kNo8, true},         // six digits
        {CommandFrame(8, 0, 1, 0, Hex("00 00 00 00")), kNo8, true},         // no slot 1
        {CommandFrame(8, 0, 0, 1, Hex("00 00 00 00 01 02 0A 04")), kNo8, true},  // not digits
        // The rights entries change only after their own password, within one session.
        {setLevel, kNo0, true},
        {adminCheck, kAck8, true},
        {setLevel, kAck0},
        {setLock, kNo0, true},
        {CommandFrame(8, 0, 2, 2), kAck8, true},  // close
        {setLevel, kNo0, true},
        {adminCheck, kAck8, true},
        {kSearch, kTagA, true},  // a new session
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
    EXPECT_TRUE(h.Ask(kSearch).empty());

    DeviceHarness b(Options("", 'B'));
    EXPECT_EQ(b.Ask(kSearch), Hex("FE 0B 54 52 2D 57 34 38 42 5F 40"));
    EXPECT_EQ(b.device.SetVariant('b'), DeviceError::BadVariant);
    EXPECT_EQ(b.device.SetVariant(static_cast<char>(0xFE)), DeviceError::BadVariant);
    EXPECT_EQ(b.device.Variant(), 'B');
}

TEST(Replies, TwoBandsAndThreePlainEntriesMakeATwentyFiveByteBlock) {
    // A layout whose kind 0 holds two EQ bands and three plain entries, alike in both scenes.
    model::Workspace layout;
    layout.SetMenuKindLast(0, 4);
    for (int s = 0; s < 2; ++s) {
        model::ParamTable& t = layout.ParamStore;
        std::tie(t.Slot(0, s)->QType, t.Slot(0, s)->Freq, t.Slot(0, s)->Gain, t.Slot(0, s)->Q) =
            std::tuple(model::kLowShelf, 100, 330, 16);
        std::tie(t.Slot(1, s)->QType, t.Slot(1, s)->Freq, t.Slot(1, s)->Gain, t.Slot(1, s)->Q) =
            std::tuple(model::kPeaking, 5, 250, 100);
        t.Slot(0, s)->ShelfQ = t.Slot(1, s)->ShelfQ = 10;
        t.Slot(1, s)->EQdisabled = true;
        for (int i = 2; i <= 4; ++i) t.Slot(i, s)->FilterType = model::kPlain;
        t.SetValueAt(2, s, 30362);
        t.SetValueAt(3, s, 250);
        t.SetValueAt(4, s, 0);
    }
    DeviceHarness h{ProcessorState(layout)};
    EXPECT_EQ(h.Ask(CommandFrame(1, 0, 0, 0)),
              Hex("FE 19 01 0A 00 64 01 50 00 10 00 0A 78 05 01 00 00 64 79 70 01 00 00 00 BD"));
}

TEST(Replies, AnyByteSequenceGetsOnlyWellFormedAnswers) {
    // Random frames with right checksums (commands, header bytes and payloads of any kind)
    // after random noise: every answer is a keep-alive byte or a whole reply frame whose
    // inside stays below 253 and whose checksum holds.
    DeviceHarness h;
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<std::uint8_t>(seed >> 24);
    };
    const std::uint8_t commands[] = {0, 1, 2, 3, 4, 8, 9, 11, 250, 7};
    for (int i = 0; i < 3000; ++i) {
        Bytes noise(next() < 40 ? next() % 20 : 0);
        Bytes payload(next() % 120);
        for (auto& b : noise) b = next();
        for (auto& b : payload) b = next() % 253;
        h.device.Receive(noise);
        h.device.Receive(
            CommandFrame(commands[next() % 10], next() % 30, next() % 12, next() % 3, payload));
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

TEST(Faults, EachFaultOnTheWire) {
    const Bytes save4 = CommandFrame(3, 4, 0, 0);
    const Bytes recordingLeft = CommandFrame(11, 0, 8, 0);
    const struct {
        const char* Faults;
        std::vector<Step> Steps;
        int ModeAfter;  ///< whether the frames were acted on
    } cases[] = {
        {"silent", {{kSearch, ""}, {save4, ""}}, 0},
        // A different frame starts the count of transmissions again.
        {"answer-from=3",
         {{save4, ""},
          {save4, ""},
          {save4, "FE 05 03 53 59"},
          {kModeQuery, ""},
          {CommandFrame(3, 5, 0, 0), ""},
          {kModeQuery, ""},
          {kModeQuery, ""},
          {kModeQuery, "FE 05 09 04 10"}},
         4},
        {"stop-after=2",
         {{kSearch, "FE 0B 54 52 2D 57 34 38 41 5F 3F"},
          {kModeQuery, "FE 05 09 00 0C"},
          {save4, ""},
          {kModeQuery, ""}},
         0},
        // The frames are acted on; only their answers are damaged.
        {"bad-checksum", {{save4, "FE 05 03 53 5A"}, {kModeQuery, "FE 05 09 04 11"}}, 4},
        {"bad-checksum=1", {{kModeQuery, "FE 05 09 00 0D"}, {kModeQuery, "FE 05 09 00 0C"}}, 0},
        {"tag=XX-W48A_", {{kSearch, "FE 0B 58 58 2D 57 34 38 41 5F 49"}}, 0},
        // This tag's reply has the checksum 0xFC, the largest ordinary byte; damaged it must
        // not become 0xFD (the tone-key byte) but wrap to 0.
        {"tag=aaaaaaaL", {{kSearch, "FE 0B 61 61 61 61 61 61 61 4C FC"}}, 0},
        {"tag=aaaaaaaL,bad-checksum", {{kSearch, "FE 0B 61 61 61 61 61 61 61 4C 00"}}, 0},
        // Other replies keep their size.
        {"block-length=1",
         {{recordingLeft, "FE 16 00 64 00 64 00 64 00 64 00 64 00 64 00 64 00 50 00 64 00 84"},
          {kModeQuery, "FE 05 09 00 0C"}},
         0},
        {"block-length=-1",
         {{recordingLeft, "FE 14 00 64 00 64 00 64 00 64 00 64 00 64 00 64 00 50 00 1E"}},
         0},
    };
    for (const auto& c : cases) {
        DeviceHarness h(Options(c.Faults));
        RunSteps(h, c.Steps, c.Faults);
        EXPECT_EQ(h.device.State().CurrentMode(), c.ModeAfter) << c.Faults;
    }
}

TEST(Faults, NewPlanCountsFromZero) {
    DeviceHarness h;
    EXPECT_EQ(h.Ask(kModeQuery), kModeReply);
    h.device.SetFaults(Options("stop-after=1").Faults);
    EXPECT_EQ(h.Ask(kModeQuery), kModeReply);
    EXPECT_TRUE(h.Ask(kModeQuery).empty());
}

TEST(Clock, KeepAliveOnceASecondUntilStoppedAndNoneUnderTheFault) {
    DeviceHarness h;
    h.clock.AdvanceBy(999);
    EXPECT_TRUE(h.sent.empty());
    h.clock.AdvanceBy(4001);
    EXPECT_EQ(h.sent, (std::vector<Bytes>(5, Hex("FF"))));
    EXPECT_EQ(h.sent_at, (std::vector<std::int64_t>{1000, 2000, 3000, 4000, 5000}));
    h.device.Stop();
    EXPECT_TRUE(h.Ask({}, 3000).empty());

    DeviceHarness quiet(Options("no-keepalive"));
    EXPECT_TRUE(quiet.Ask(Hex("FF"), 6000).empty());  // nor an echo
    EXPECT_EQ(quiet.Ask(kModeQuery), kModeReply);
}

TEST(Clock, AnswersAfterTheLatencyAndNotAfterStop) {
    DeviceHarness h(Options("", 'A', 40));
    h.device.Receive(kModeQuery);
    h.clock.AdvanceBy(39);
    EXPECT_TRUE(h.sent.empty());
    EXPECT_EQ(h.Ask({}, 1), kModeReply);
    h.device.Receive(kModeQuery);
    h.device.Stop();
    EXPECT_TRUE(h.Ask({}, 100).empty());
}

TEST(Clock, AFloodOfRequestsQueuesNoMoreAnswersThanTheBound) {
    // With answers a second late, a terminal that floods the device must not pile them up.
    DeviceHarness h(Options("no-keepalive", 'A', 1000));
    constexpr std::size_t bound = SimulatedProcessor::kMaxPendingAnswers;
    Bytes flood;
    for (std::size_t i = 0; i < 4 * bound; ++i) flood.insert(flood.end(), kModeQuery.begin(), kModeQuery.end());
    h.device.Receive(flood);
    h.clock.AdvanceBy(1000);
    EXPECT_EQ(h.sent, std::vector<Bytes>(bound, kModeReply));
    EXPECT_EQ(h.device.Counters().FramesReceived, 4 * bound);
    EXPECT_EQ(h.device.Counters().AnswersDropped, 3 * bound);
    EXPECT_EQ(h.Ask(kModeQuery, 1000), kModeReply);  // room again once they are out
}

TEST(FaultText, BadFormsAreRefusedAndChangeNothing) {
    // The good forms are the ones the cases above are made from.
    FaultPlan plan = Options("tag=AB,unplug-after=4").Faults;
    const FaultPlan before = plan;
    for (const char* bad : {"", "loud", "answer-from=0", "answer-from=x", "stop-after=-1",
                            "stop-after=", "silent=1", "block-length=0", "tag=", "tag=123456789",
                            "silent,,no-keepalive", "bad-checksum=0", "answer-from=3,loud"}) {
        const FaultParse result = ApplyFaultText(bad, plan);
        EXPECT_FALSE(result.Ok || result.Message.empty()) << bad;
    }
    EXPECT_EQ(plan, before);
}

}  // namespace
}  // namespace vellora::device
