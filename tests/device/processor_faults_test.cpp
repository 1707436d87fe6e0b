// Faults on demand and time on the device's clock: silence, late answers, a device that stops,
// damaged replies, unplugging, wrong block lengths, keep-alive bytes and reply latency.
#include <gtest/gtest.h>

#include "device/device_harness.h"

namespace vellora::device {
namespace {

using testing::Bytes;
using testing::CommandFrame;
using testing::DeviceHarness;
using testing::Hex;
using testing::SearchFrame;

const Bytes kModeQuery = CommandFrame(9, 0x23, 0x23, 0x23);
const Bytes kModeReply = Hex("FE 05 09 00 0C");

ProcessorOptions With(FaultPlan faults) {
    ProcessorOptions options;
    options.Faults = std::move(faults);
    return options;
}

TEST(Faults, SilentDeviceAnswersNothingAndDoesNothing) {
    FaultPlan plan;
    plan.Silent = true;
    DeviceHarness h(With(plan));
    EXPECT_TRUE(h.Ask(SearchFrame()).empty());
    EXPECT_TRUE(h.Ask(CommandFrame(3, 4, 0, 0)).empty());
    EXPECT_EQ(h.device.State().CurrentMode(), 0);
    EXPECT_EQ(h.device.Counters().FramesReceived, 2u);
    EXPECT_EQ(h.device.Counters().FramesIgnored, 2u);
}

TEST(Faults, AnswerFromTheThirdTransmission) {
    FaultPlan plan;
    plan.AnswerFromTransmission = 3;
    DeviceHarness h(With(plan));
    EXPECT_TRUE(h.Ask(CommandFrame(3, 4, 0, 0)).empty());
    EXPECT_TRUE(h.Ask(CommandFrame(3, 4, 0, 0)).empty());
    EXPECT_EQ(h.device.State().CurrentMode(), 0);
    EXPECT_EQ(h.Ask(CommandFrame(3, 4, 0, 0)), Hex("FE 05 03 53 59"));
    EXPECT_EQ(h.device.State().CurrentMode(), 4);
    // The next command needs its three transmissions too, and a different frame starts the
    // count again.
    EXPECT_TRUE(h.Ask(kModeQuery).empty());
    EXPECT_TRUE(h.Ask(CommandFrame(3, 5, 0, 0)).empty());
    EXPECT_TRUE(h.Ask(kModeQuery).empty());
    EXPECT_TRUE(h.Ask(kModeQuery).empty());
    EXPECT_EQ(h.Ask(kModeQuery), Hex("FE 05 09 04 10"));
}

TEST(Faults, StopAfterTwoAnswers) {
    FaultPlan plan;
    plan.StopAfterFrames = 2;
    DeviceHarness h(With(plan));
    EXPECT_FALSE(h.Ask(SearchFrame()).empty());
    EXPECT_EQ(h.Ask(kModeQuery), kModeReply);
    EXPECT_TRUE(h.Ask(CommandFrame(3, 4, 0, 0)).empty());
    EXPECT_TRUE(h.Ask(kModeQuery).empty());
    EXPECT_EQ(h.device.State().CurrentMode(), 0);
}

TEST(Faults, NewPlanCountsFromZero) {
    DeviceHarness h;
    EXPECT_EQ(h.Ask(kModeQuery), kModeReply);
    FaultPlan plan;
    plan.StopAfterFrames = 1;
    h.device.SetFaults(plan);
    EXPECT_EQ(h.Ask(kModeQuery), kModeReply);
    EXPECT_TRUE(h.Ask(kModeQuery).empty());
}

TEST(Faults, EveryReplyWithABadChecksum) {
    FaultPlan plan;
    plan.BadChecksumReplies = FaultPlan::kAlways;
    DeviceHarness h(With(plan));
    EXPECT_EQ(h.Ask(CommandFrame(3, 4, 0, 0)), Hex("FE 05 03 53 5A"));
    EXPECT_EQ(h.device.State().CurrentMode(), 4);  // acted on; only the answer is damaged
    EXPECT_EQ(h.Ask(kModeQuery), Hex("FE 05 09 04 11"));
}

TEST(Faults, OnlyTheFirstReplyDamaged) {
    FaultPlan plan;
    plan.BadChecksumReplies = 1;
    DeviceHarness h(With(plan));
    EXPECT_EQ(h.Ask(kModeQuery), Hex("FE 05 09 00 0D"));
    EXPECT_EQ(h.Ask(kModeQuery), kModeReply);
}

TEST(Faults, DamagedChecksumStaysAnOrdinaryByte) {
    // The tag "AAAAAAA," makes a reply whose checksum is 0xFC, the largest ordinary byte;
    // damaged it must not become 0xFD (the tone-key byte) but wrap to 0.
    FaultPlan plan;
    plan.TagOverride = "AAAAAAA,";
    DeviceHarness h(With(plan));
    EXPECT_EQ(h.Ask(SearchFrame()), Hex("FE 0B 41 41 41 41 41 41 41 2C FC"));
    plan.BadChecksumReplies = FaultPlan::kAlways;
    h.device.SetFaults(plan);
    EXPECT_EQ(h.Ask(SearchFrame()), Hex("FE 0B 41 41 41 41 41 41 41 2C 00"));
}

TEST(Faults, BlockRepliesOneByteLongerOrShorter) {
    FaultPlan plan;
    plan.BlockLengthError = 1;
    DeviceHarness h(With(plan));
    EXPECT_EQ(h.Ask(CommandFrame(11, 0, 8, 0)).size(), 22u);
    EXPECT_EQ(h.Ask(kModeQuery), kModeReply);  // other replies keep their size
    plan.BlockLengthError = -1;
    h.device.SetFaults(plan);
    EXPECT_EQ(h.Ask(CommandFrame(11, 0, 8, 0)).size(), 20u);
}

TEST(Faults, TagOverride) {
    FaultPlan plan;
    plan.TagOverride = "XX-W48A_";
    DeviceHarness h(With(plan));
    EXPECT_EQ(h.Ask(SearchFrame()), Hex("FE 0B 58 58 2D 57 34 38 41 5F 49"));
}

TEST(Faults, UnplugAfterTheSecondAnswerOnceItHasGoneOut) {
    FaultPlan plan;
    plan.UnplugAfterFrames = 2;
    DeviceHarness h(With(plan));
    (void)h.Ask(SearchFrame());
    EXPECT_EQ(h.unplugs, 0);
    h.device.Receive(kModeQuery);
    h.clock.AdvanceBy(50);
    EXPECT_EQ(h.unplugs, 1);
    ASSERT_EQ(h.sent.back(), kModeReply);
    (void)h.Ask(kModeQuery);
    EXPECT_EQ(h.unplugs, 1);  // once
}

TEST(KeepAlive, OneByteASecondInVirtualTime) {
    DeviceHarness h;
    h.clock.AdvanceBy(999);
    EXPECT_TRUE(h.sent.empty());
    h.clock.AdvanceBy(4001);
    EXPECT_EQ(h.sent, (std::vector<Bytes>(5, Hex("FF"))));
    EXPECT_EQ(h.sent_at, (std::vector<std::int64_t>{1000, 2000, 3000, 4000, 5000}));
}

TEST(KeepAlive, NoKeepAliveFaultSendsNoneAndEchoesNone) {
    FaultPlan plan;
    plan.NoKeepAlive = true;
    DeviceHarness h(With(plan));
    EXPECT_TRUE(h.Ask(Hex("FF"), 6000).empty());
    EXPECT_EQ(h.Ask(kModeQuery), kModeReply);
    EXPECT_EQ(h.device.Counters().KeepAlivesReceived, 1u);
    EXPECT_EQ(h.device.Counters().KeepAlivesSent, 0u);
}

TEST(KeepAlive, StopsWhenTheTerminalGoes) {
    DeviceHarness h;
    h.device.Stop();
    h.clock.AdvanceBy(3000);
    EXPECT_TRUE(h.sent.empty());
}

TEST(Latency, AnswerArrivesAfterTheLatency) {
    DeviceHarness h;
    h.device.SetReplyLatencyMs(40);
    h.device.Receive(kModeQuery);
    h.clock.AdvanceBy(39);
    EXPECT_TRUE(h.sent.empty());
    h.clock.AdvanceBy(1);
    ASSERT_EQ(h.sent.size(), 1u);
    EXPECT_EQ(h.sent_at[0], 40);
}

TEST(Latency, ZeroLatencyStillAnswersOnTheClockNotInsideReceive) {
    DeviceHarness h;
    h.device.SetReplyLatencyMs(0);
    h.device.Receive(kModeQuery);
    EXPECT_TRUE(h.sent.empty());
    h.clock.RunDue();
    EXPECT_EQ(h.Joined(), kModeReply);
}

TEST(Latency, StoppingDropsAnswersNotYetSent) {
    DeviceHarness h;
    h.device.SetReplyLatencyMs(40);
    h.device.Receive(kModeQuery);
    h.device.Stop();
    h.clock.AdvanceBy(100);
    EXPECT_TRUE(h.sent.empty());
}

TEST(FrameLog, RecordsEveryGoodFrameAndWhetherItWasAnswered) {
    FaultPlan plan;
    plan.AnswerFromTransmission = 2;
    DeviceHarness h(With(plan));
    (void)h.Ask(kModeQuery);
    (void)h.Ask(kModeQuery);
    const auto& log = h.device.FrameLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].Bytes, kModeQuery);
    EXPECT_FALSE(log[0].Answered);
    EXPECT_TRUE(log[1].Answered);
    EXPECT_EQ(log[1].AtMs, 50);
}

TEST(FaultText, EveryFormAndItsErrors) {
    FaultPlan plan;
    ASSERT_TRUE(ApplyFaultText("silent", plan).Ok);
    ASSERT_TRUE(ApplyFaultText("answer-from=3,stop-after=5", plan).Ok);
    ASSERT_TRUE(ApplyFaultText("bad-checksum=2", plan).Ok);
    ASSERT_TRUE(ApplyFaultText("no-keepalive", plan).Ok);
    ASSERT_TRUE(ApplyFaultText("unplug-after=4", plan).Ok);
    ASSERT_TRUE(ApplyFaultText("block-length=-2", plan).Ok);
    ASSERT_TRUE(ApplyFaultText("tag=AB", plan).Ok);
    EXPECT_TRUE(plan.Silent);
    EXPECT_EQ(plan.AnswerFromTransmission, 3);
    EXPECT_EQ(plan.StopAfterFrames, 5);
    EXPECT_EQ(plan.BadChecksumReplies, 2);
    EXPECT_TRUE(plan.NoKeepAlive);
    EXPECT_EQ(plan.UnplugAfterFrames, 4);
    EXPECT_EQ(plan.BlockLengthError, -2);
    EXPECT_EQ(plan.TagOverride, "AB");
    ASSERT_TRUE(ApplyFaultText("bad-checksum", plan).Ok);
    EXPECT_EQ(plan.BadChecksumReplies, FaultPlan::kAlways);

    const FaultPlan before = plan;
    for (const char* bad : {"", "loud", "answer-from=0", "answer-from=x", "stop-after=-1",
                            "stop-after=", "silent=1", "block-length=0", "tag=", "tag=123456789",
                            "silent,,no-keepalive", "bad-checksum=0", "answer-from=3,loud"}) {
        const FaultParse result = ApplyFaultText(bad, plan);
        EXPECT_FALSE(result.Ok) << bad;
        EXPECT_FALSE(result.Message.empty()) << bad;
    }
    EXPECT_EQ(plan, before);
}

}  // namespace
}  // namespace vellora::device
