// Faults on demand and time on the device's clock: silence, late answers, a device that stops,
// damaged replies, wrong block lengths, keep-alive bytes and reply latency.
#include <gtest/gtest.h>

#include "device/device_harness.h"

namespace vellora::device {
namespace {

using namespace testing;

TEST(Faults, EachFaultOnTheWire) {
    const Bytes save4 = CommandFrame(3, 4, 0, 0);
    const Bytes recordingLeft = CommandFrame(11, 0, 8, 0);
    const struct {
        const char* Faults;
        std::vector<Step> Steps;
        int ModeAfter;  ///< whether the frames were acted on
    } cases[] = {
        {"silent", {{SearchFrame(), ""}, {save4, ""}}, 0},
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
         {{SearchFrame(), "FE 0B 54 52 2D 57 34 38 41 5F 3F"},
          {kModeQuery, "FE 05 09 00 0C"},
          {save4, ""},
          {kModeQuery, ""}},
         0},
        // The frames are acted on; only their answers are damaged.
        {"bad-checksum", {{save4, "FE 05 03 53 5A"}, {kModeQuery, "FE 05 09 04 11"}}, 4},
        {"bad-checksum=1", {{kModeQuery, "FE 05 09 00 0D"}, {kModeQuery, "FE 05 09 00 0C"}}, 0},
        {"tag=XX-W48A_", {{SearchFrame(), "FE 0B 58 58 2D 57 34 38 41 5F 49"}}, 0},
        // This tag's reply has the checksum 0xFC, the largest ordinary byte; damaged it must
        // not become 0xFD (the tone-key byte) but wrap to 0.
        {"tag=aaaaaaaL", {{SearchFrame(), "FE 0B 61 61 61 61 61 61 61 4C FC"}}, 0},
        {"tag=aaaaaaaL,bad-checksum", {{SearchFrame(), "FE 0B 61 61 61 61 61 61 61 4C 00"}}, 0},
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

TEST(FaultText, EveryFormAndItsErrors) {
    FaultPlan plan;
    ASSERT_TRUE(ApplyFaultText("silent,answer-from=3,stop-after=5,bad-checksum=2", plan).Ok);
    ASSERT_TRUE(ApplyFaultText("no-keepalive,unplug-after=4,block-length=-2,tag=AB", plan).Ok);
    EXPECT_EQ(plan, (FaultPlan{true, 3, 5, 2, true, 4, -2, "AB"}));  // in field order
    ASSERT_TRUE(ApplyFaultText("bad-checksum", plan).Ok);
    EXPECT_EQ(plan.BadChecksumReplies, FaultPlan::kAlways);

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
