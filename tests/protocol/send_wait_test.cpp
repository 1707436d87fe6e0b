// Send and wait against the simulated processor in virtual time: the retry matrix, the link
// already down, a command started inside a wait, late replies, and exit during a wait.
#include <gtest/gtest.h>

#include "device/fault_plan.h"
#include "engine_harness.h"
#include "protocol/entry_codec.h"
#include "protocol/link_texts.h"

namespace vellora::protocol {
namespace {

using testing::Faults;
using testing::MakeHarness;

TEST(SendWaitTest, SilentDeviceGetsNineTransmissions600msApartThenOneWarning) {
    auto h = MakeHarness();
    h->LinkUp();
    h->device.SetFaults(Faults("silent"));
    const std::int64_t start = h->clock.NowMs();

    EXPECT_EQ(h->engine.ReadCurrentMode(), CommandStatus::NoReply);

    const auto frames = h->Commands();
    ASSERT_EQ(frames.size(), 9u);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].at - start, 600 * static_cast<std::int64_t>(i)) << "transmission " << i;
        EXPECT_EQ(frames[i].bytes, frames[0].bytes) << "the same frame every time";
    }
    EXPECT_EQ(h->clock.NowMs() - start, 9 * 600);
    EXPECT_EQ(h->Warnings(), std::vector<std::string>{std::string(texts::kLinkTimeout)});
    EXPECT_FALSE(h->link.LinkUp);
    EXPECT_EQ(h->view.connect_status, 0);
    EXPECT_FALSE(h->engine.TimeOuterActive());
    EXPECT_FALSE(h->link.InWait);
}

TEST(SendWaitTest, AnswerOnTheThirdTransmission) {
    auto h = MakeHarness();
    ASSERT_EQ(h->device.State().SetCurrentMode(6), device::DeviceError::Ok);
    h->LinkUp();
    h->device.SetFaults(Faults("answer-from=3"));
    const std::int64_t start = h->clock.NowMs();

    EXPECT_EQ(h->engine.ReadCurrentMode(), CommandStatus::Ok);
    EXPECT_EQ(h->link.CurrentMode, 6);
    const auto frames = h->Commands();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[1].at - start, 600);
    EXPECT_EQ(frames[2].at - start, 1200);
    EXPECT_TRUE(h->prompts.Messages().empty());
    EXPECT_TRUE(h->link.LinkUp);
}

TEST(SendWaitTest, LinkAlreadyDownSendsOnceAndSaysNothing) {
    auto h = MakeHarness();
    const std::int64_t start = h->clock.NowMs();
    EXPECT_EQ(h->engine.SendCommand(Command::SaveToMode, 2, 0, false), CommandStatus::NoReply);
    EXPECT_EQ(h->Commands().size(), 1u);
    EXPECT_EQ(h->clock.NowMs() - start, 600);
    EXPECT_TRUE(h->prompts.Messages().empty());
    EXPECT_EQ(h->view.connect_status, 0);
}

TEST(SendWaitTest, WriteParamWithTheLinkDownSendsNothing) {
    auto h = MakeHarness();
    EXPECT_EQ(h->engine.WriteParam(model::entry::kMasterSlider0), CommandStatus::LinkDown);
    EXPECT_TRUE(h->sent.empty());
}

TEST(SendWaitTest, BadFrameIsRefusedBeforeAnythingIsSent) {
    auto h = MakeHarness();
    h->LinkUp();
    EXPECT_EQ(h->engine.SendCommand(uint8_t{5}, 0, 0, false), CommandStatus::BadFrame);
    EXPECT_EQ(h->engine.SendCommand(Command::PasswordCommand, 1, 0, false),
              CommandStatus::BadFrame);
    EXPECT_TRUE(h->sent.empty());
    EXPECT_TRUE(h->link.LinkUp);
}

// A user action inside the wait: an edit is queued and goes out right after the outstanding
// command, whose reply stays its own; any other command is refused.
TEST(SendWaitTest, CommandsStartedInsideAWait) {
    auto h = MakeHarness();
    h->device.SetReplyLatencyMs(40);
    ASSERT_EQ(h->device.State().SetCurrentMode(4), device::DeviceError::Ok);
    h->LinkUp();
    const int slider = model::entry::kMasterSlider0;

    CommandStatus first{}, second{}, other{};
    std::int64_t called_at = -1, returned_at = -2;
    h->clock.CallAfter(10, [&] {
        called_at = h->clock.NowMs();
        h->ws.ParamStore.SetValueAt(slider, 0, 77);
        first = h->engine.WriteParam(slider);
        h->ws.ParamStore.SetValueAt(slider, 0, 78);
        second = h->engine.WriteParam(slider);
        other = h->engine.SendCommand(Command::SaveToMode, 4, 0, false);
        returned_at = h->clock.NowMs();
    });

    EXPECT_EQ(h->engine.ReadCurrentMode(), CommandStatus::Ok);
    EXPECT_EQ(h->link.CurrentMode, 4) << "the outstanding command keeps its own reply";
    EXPECT_EQ(first, CommandStatus::Queued);
    EXPECT_EQ(second, CommandStatus::Queued);
    EXPECT_EQ(other, CommandStatus::Busy);
    EXPECT_EQ(called_at, returned_at) << "a queued write returns at once";

    h->clock.AdvanceBy(200);
    const auto frames = h->Commands();
    ASSERT_EQ(frames.size(), 2u) << "the mode query and one write of the latest value";
    EXPECT_EQ(frames[0].bytes[1], static_cast<uint8_t>(Command::ReadCurrentMode));
    EXPECT_EQ(frames[1].bytes[1], static_cast<uint8_t>(Command::WriteParam));
    EXPECT_EQ(h->device.State().Working().ValueAt(slider, 0), 78);
    EXPECT_EQ(h->engine.QueuedWriteCount(), 0u);
    EXPECT_TRUE(h->prompts.Messages().empty());
}

// A write queued for the dance scene still goes to the dance scene when the user has
// switched back to the singing scene before it is sent; the next command sends it first.
TEST(SendWaitTest, QueuedWriteKeepsItsSceneAndPrecedesTheNextCommand) {
    auto h = MakeHarness();
    h->device.SetReplyLatencyMs(40);
    h->LinkUp();
    int index = -1;
    for (int i = 0; i < model::kModeScopedEnd && index < 0; ++i) {
        const model::SceneSlot* s = h->ws.ParamStore.Slot(i, 0);
        if (s->Defined && s->PerScene && s->FilterType == model::kPlain) index = i;
    }
    ASSERT_GE(index, 0) << "the defaults keep some plain entry per scene";

    h->clock.CallAfter(5, [&] {
        ASSERT_TRUE(h->ws.SetCurrentScene(1));
        h->ws.ParamStore.SetValueAt(index, 1, 9);
        EXPECT_EQ(h->engine.WriteParam(index), CommandStatus::Queued);
        ASSERT_TRUE(h->ws.SetCurrentScene(0));
    });
    EXPECT_EQ(h->engine.ReadCurrentMode(), CommandStatus::Ok);
    // Straight on to the next command: the queued write goes out before it.
    EXPECT_EQ(h->engine.SendCommand(Command::ReadModeNames, 0, 0, false), CommandStatus::Ok);

    const auto frames = h->Commands();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[1].bytes[1], static_cast<uint8_t>(Command::WriteParam));
    EXPECT_EQ(frames[1].bytes[2], 1) << "scene slot byte";
    EXPECT_EQ(frames[2].bytes[1], static_cast<uint8_t>(Command::ReadModeNames));
    EXPECT_EQ(h->device.State().Working().ValueAt(index, 1), 9);
    EXPECT_EQ(h->engine.Parser().LastPayload().size(), 132u) << "the names reply is its own";
}

// A reply that has reached the terminal but not yet the parser when a new command starts
// belongs to no command: it must not answer the new one.
TEST(SendWaitTest, BytesArrivedBeforeANewCommandAreDropped) {
    auto h = MakeHarness();
    ASSERT_EQ(h->device.State().SetCurrentMode(4), device::DeviceError::Ok);
    h->LinkUp();
    const std::vector<uint8_t> stray = device::SimulatedProcessor::ReplyFrame(
        std::vector<uint8_t>{static_cast<uint8_t>(Command::ReadCurrentMode), 9});
    h->clock.CallAfter(0, [&] { h->engine.OnDeviceBytes(stray); });

    EXPECT_EQ(h->engine.ReadCurrentMode(), CommandStatus::Ok);
    EXPECT_EQ(h->link.CurrentMode, 4);
    EXPECT_EQ(h->engine.Counters().LateReplies, 1u);
}

// A device slower than the time-out answers both transmissions of a block read of kind 8.
// The second answer (the same size as a block of kind 9) must not be taken as the answer to
// the read of kind 9 that follows.
TEST(SendWaitTest, LateAnswerToARetransmissionIsNotTheNextCommandsReply) {
    auto h = MakeHarness();
    ASSERT_EQ(h->ws.MenuKindSize(8), h->ws.MenuKindSize(9));
    auto& working = h->device.State().Working();
    for (int i = h->ws.MenuKindFirst(8); i <= h->ws.MenuKindLast(8); ++i)
        working.SetValueAt(i, 0, 100 + i % 50);
    for (int i = h->ws.MenuKindFirst(9); i <= h->ws.MenuKindLast(9); ++i)
        working.SetValueAt(i, 0, 300 + i % 50);
    h->LinkUp();
    h->device.SetReplyLatencyMs(700);
    const auto working_block = static_cast<uint8_t>(Command::ReadWorkingBlock);

    ASSERT_EQ(h->engine.SendCommand(working_block, 0, h->ws.MenuKindFirst(8), false),
              CommandStatus::Ok);
    const std::int64_t first_answered = h->clock.NowMs();
    EXPECT_EQ(h->Commands().size(), 2u);

    ASSERT_EQ(h->engine.SendCommand(working_block, 0, h->ws.MenuKindFirst(9), false),
              CommandStatus::Ok);
    const ByteResult read =
        DecodeBlock(h->engine.Parser().LastPayload(), h->ws.ParamStore, h->ws, 9, 0);
    ASSERT_TRUE(read.Ok());
    for (int i = h->ws.MenuKindFirst(9); i <= h->ws.MenuKindLast(9); ++i)
        EXPECT_EQ(h->ws.ParamStore.ValueAt(i, 0), 300 + i % 50) << "entry " << i;
    EXPECT_EQ(h->engine.Counters().LateReplies, 1u);
    const auto frames = h->Commands();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_GE(frames[2].at - first_answered, Communications::kLateReplyQuietMs);
}

TEST(SendWaitTest, ExitDuringAWaitEndsItAtOnceAndClosesAfter700ms) {
    auto h = MakeHarness();
    h->LinkUp();
    h->device.SetFaults(Faults("silent"));
    h->engine.StartTimers();
    h->clock.CallAfter(100, [&] { h->engine.Exit(); });
    const std::int64_t start = h->clock.NowMs();

    EXPECT_EQ(h->engine.ReadCurrentMode(), CommandStatus::Closing);
    const std::int64_t ended = h->clock.NowMs();
    EXPECT_EQ(ended - start, 100);
    EXPECT_EQ(h->Commands().size(), 1u) << "no retransmission while closing";
    EXPECT_EQ(h->Warnings(), std::vector<std::string>{std::string(texts::kStopping)});
    EXPECT_FALSE(h->engine.CommBaseTicks().IsActive());
    EXPECT_EQ(h->view.Count("StopEditorTimers"), 1);
    EXPECT_EQ(h->view.Count("CloseEditor"), 0);

    h->clock.AdvanceTo(ended + 699);
    EXPECT_EQ(h->view.Count("CloseEditor"), 0);
    h->clock.AdvanceTo(ended + 700);
    EXPECT_EQ(h->view.Count("CloseEditor"), 1);
    EXPECT_EQ(h->engine.SendCommand(Command::ReadCurrentMode, 0, 0, false), CommandStatus::Closing);
    EXPECT_EQ(h->Commands().size(), 1u);
}

TEST(SendWaitTest, ExitWithoutAWaitClosesAtOnce) {
    auto h = MakeHarness();
    h->engine.Exit();
    EXPECT_EQ(h->view.Count("CloseEditor"), 1);
    EXPECT_TRUE(h->prompts.Messages().empty());
    h->engine.Reopen();
    EXPECT_FALSE(h->link.Closing);
}

}  // namespace
}  // namespace vellora::protocol
