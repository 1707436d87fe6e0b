// Send and wait against the simulated processor in virtual time: the retry matrix, the link
// already down, commands started inside a wait, late replies, and exit during a wait.
#include <gtest/gtest.h>

#include "device/fault_plan.h"
#include "engine_harness.h"
#include "protocol/entry_codec.h"

namespace vellora::protocol {
namespace {

using testing::Faults;
using testing::Headers;
using testing::MakeHarness;
using Header = std::array<int, 3>;

// The same frame every 600 ms: up to 9 transmissions while linked, then one warning and the
// link down; an answer ends the retries; with the link already down one silent transmission.
TEST(SendWaitTest, RetryMatrix) {
    struct Case {
        const char* faults;  // nullptr: the link stays down
        CommandStatus status;
        std::size_t transmissions;
        std::int64_t elapsedMs;
        bool warned;
    };
    for (const Case c : {Case{"silent", CommandStatus::NoReply, 9, 9 * 600, true},
                         Case{"answer-from=3", CommandStatus::Ok, 3, 1202, false},  // 2 ms latency
                         Case{nullptr, CommandStatus::NoReply, 1, 600, false}}) {
        SCOPED_TRACE(c.faults ? c.faults : "link down");
        auto h = MakeHarness();
        ASSERT_EQ(h->device.State().SetCurrentMode(6), device::DeviceError::Ok);
        if (c.faults) {
            h->LinkUp();
            h->device.SetFaults(Faults(c.faults));
        }
        const std::int64_t start = h->clock.NowMs();

        EXPECT_EQ(h->transfers.ReadCurrentMode(), c.status);
        const auto frames = h->Commands();
        ASSERT_EQ(frames.size(), c.transmissions);
        for (std::size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i].at - start, 600 * static_cast<std::int64_t>(i)) << i;
            EXPECT_EQ(frames[i].bytes, frames[0].bytes) << "the same frame every time";
        }
        EXPECT_EQ(h->clock.NowMs() - start, c.elapsedMs);
        EXPECT_EQ(h->Warnings(),
                  c.warned ? std::vector{testing::kLinkTimeoutText} : std::vector<std::string>{});
        const bool ok = c.status == CommandStatus::Ok;
        EXPECT_EQ(std::tuple(h->link.LinkUp(), h->view.connect_status, h->link.CurrentMode()),
                  std::tuple(ok, ok ? 1 : 0, ok ? 6 : 0));
        EXPECT_FALSE(h->channel.TimeOuterActive() || h->channel.InWait()) << "nothing left running";
    }
}

TEST(SendWaitTest, RefusedCommandsSendNothing) {
    auto h = MakeHarness();
    EXPECT_EQ(h->channel.WriteParam(model::entry::kMasterSlider0), CommandStatus::LinkDown);
    EXPECT_TRUE(h->sent.empty());
    h->LinkUp();
    EXPECT_EQ(h->channel.SendCommand(static_cast<Command>(5), 0, 0), CommandStatus::BadFrame);
    EXPECT_EQ(h->channel.SendCommand(Command::PasswordCommand, 1, 0), CommandStatus::BadFrame);
    EXPECT_TRUE(h->sent.empty());
    EXPECT_TRUE(h->link.LinkUp());
}

// A user action inside the wait: edits are queued (one per entry and scene, the latest value,
// the scene they were made in) and return at once; any other command or bulk operation is
// refused. The outstanding command keeps its own reply. Queued writes go out first thing in
// the next command, or right after the wait when no command follows.
TEST(SendWaitTest, CommandsStartedInsideAWait) {
    auto h = MakeHarness();
    h->device.SetReplyLatencyMs(40);
    ASSERT_EQ(h->device.State().SetCurrentMode(4), device::DeviceError::Ok);
    h->LinkUp();
    const int slider = model::entry::kMasterSlider0;
    int scened = -1;  // a plain entry kept per scene
    for (int i = 0; i < model::kModeScopedEnd && scened < 0; ++i) {
        const model::SceneSlot* s = h->ws.ParamStore.Slot(i, 0);
        if (s->Defined && s->PerScene && s->FilterType == model::kPlain) scened = i;
    }
    ASSERT_GE(scened, 0);

    std::vector<CommandStatus> inside;
    std::int64_t called_at = -1, returned_at = -2;
    h->clock.CallAfter(10, [&] {
        called_at = h->clock.NowMs();
        h->ws.ParamStore.SetValueAt(slider, 0, 77);
        inside.push_back(h->channel.WriteParam(slider));
        h->ws.ParamStore.SetValueAt(slider, 0, 78);
        inside.push_back(h->channel.WriteParam(slider));
        ASSERT_TRUE(h->ws.SetCurrentScene(1));
        h->ws.ParamStore.SetValueAt(scened, 1, 9);
        inside.push_back(h->channel.WriteParam(scened));
        ASSERT_TRUE(h->ws.SetCurrentScene(0));
        inside.push_back(h->channel.SendCommand(Command::SaveToMode, 4, 0));
        inside.push_back(h->transfers.SyncFromDevice(0, true, Command::ReadWorkingBlock));
        returned_at = h->clock.NowMs();
    });
    EXPECT_EQ(h->transfers.ReadCurrentMode(), CommandStatus::Ok);
    EXPECT_EQ(h->link.CurrentMode(), 4);
    using enum CommandStatus;
    EXPECT_EQ(inside, (std::vector{Queued, Queued, Queued, Busy, Busy}));
    EXPECT_EQ(called_at, returned_at);
    EXPECT_TRUE(h->view.events.empty()) << "the refused bulk operation touched no window";

    EXPECT_EQ(h->channel.SendCommand(Command::ReadModeNames, 0, 0), Ok);
    EXPECT_EQ(h->channel.Reply().size(), 132u) << "the names reply is its own";
    const Header query{9, 0x23, 0x23}, names{4, 0x23, 0x23};
    const Header sliderWrite{0, 0, slider / 256}, dance{0, 1, scened / 256};
    EXPECT_EQ(Headers(h->Commands()), (std::vector{query, sliderWrite, dance, names}));
    EXPECT_EQ(h->device.State().Working().ValueAt(slider, 0), 78);
    EXPECT_EQ(h->device.State().Working().ValueAt(scened, 1), 9);

    h->Forget();
    h->clock.CallAfter(10, [&] { inside.push_back(h->channel.WriteParam(slider)); });
    EXPECT_EQ(h->transfers.ReadCurrentMode(), Ok);
    h->clock.AdvanceBy(200);
    EXPECT_EQ(Headers(h->Commands()), (std::vector{query, sliderWrite}));
    EXPECT_EQ(h->channel.QueuedWriteCount(), 0u);
    EXPECT_TRUE(h->prompts.Messages().empty());
}

// A reply that has reached the terminal but not yet the parser when a new command starts
// belongs to no command: it must not answer the new one.
TEST(SendWaitTest, BytesArrivedBeforeANewCommandAreDropped) {
    auto h = MakeHarness();
    ASSERT_EQ(h->device.State().SetCurrentMode(4), device::DeviceError::Ok);
    h->LinkUp();
    const std::vector<uint8_t> stray = device::SimulatedProcessor::ReplyFrame(
        std::vector<uint8_t>{static_cast<uint8_t>(Command::ReadCurrentMode), 9});
    h->clock.CallAfter(0, [&] { h->channel.OnDeviceBytes(stray); });
    EXPECT_EQ(h->transfers.ReadCurrentMode(), CommandStatus::Ok);
    EXPECT_EQ(h->link.CurrentMode(), 4);
    EXPECT_EQ(h->channel.Counters().LateReplies, 1u);
}

// A device slower than the time-out answers both transmissions of a block read of kind 8.
// The second answer (the same size as a block of kind 9) must not be taken as the answer to
// the read of kind 9 that follows.
TEST(SendWaitTest, LateAnswerToARetransmissionIsNotTheNextCommandsReply) {
    auto h = MakeHarness();
    ASSERT_EQ(h->ws.MenuKindSize(8), h->ws.MenuKindSize(9));
    for (int kind : {8, 9})
        for (int i = h->ws.MenuKindFirst(kind); i <= h->ws.MenuKindLast(kind); ++i)
            h->device.State().Working().SetValueAt(i, 0, 100 * kind + i % 50);
    h->LinkUp();
    h->device.SetReplyLatencyMs(700);
    const auto read = [&](int kind) {
        return h->channel.SendCommand(Command::ReadWorkingBlock, 0, h->ws.MenuKindFirst(kind));
    };

    ASSERT_EQ(read(8), CommandStatus::Ok);
    const std::int64_t first_answered = h->clock.NowMs();
    EXPECT_EQ(h->Commands().size(), 2u);
    ASSERT_EQ(read(9), CommandStatus::Ok);
    ASSERT_TRUE(DecodeBlock(h->channel.Reply(), h->ws.ParamStore, h->ws, 9, 0).Ok());
    for (int i = h->ws.MenuKindFirst(9); i <= h->ws.MenuKindLast(9); ++i)
        EXPECT_EQ(h->ws.ParamStore.ValueAt(i, 0), 900 + i % 50) << "entry " << i;
    EXPECT_EQ(h->channel.Counters().LateReplies, 1u);
    const auto frames = h->Commands();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_GE(frames[2].at - first_answered, 700) << "the late answers are waited out";
}

// Exit inside a wait ends it at once without retransmission and closes the editor 700 ms
// later; exit with nothing waiting closes it at once, silently.
TEST(SendWaitTest, ExitDuringAWaitAndWithout) {
    auto h = MakeHarness();
    h->LinkUp();
    h->device.SetFaults(Faults("silent"));
    h->supervisor.StartTimers();
    h->clock.CallAfter(100, [&] { h->supervisor.Exit(); });
    const std::int64_t start = h->clock.NowMs();

    EXPECT_EQ(h->transfers.ReadCurrentMode(), CommandStatus::Closing);
    const std::int64_t ended = h->clock.NowMs();
    EXPECT_EQ(ended - start, 100);
    EXPECT_EQ(h->Warnings(),
              std::vector<std::string>{"正在停止通信进程，请点击下面的确认，软件会自动关闭。"});
    EXPECT_FALSE(h->supervisor.LinkTickTimer().IsActive());
    EXPECT_EQ(h->view.events, std::vector<std::string>{"StopEditorTimers"});
    h->clock.AdvanceTo(ended + 699);
    EXPECT_EQ(h->view.Count("CloseEditor"), 0);
    h->clock.AdvanceTo(ended + 700);
    EXPECT_EQ(h->view.Count("CloseEditor"), 1);
    EXPECT_EQ(h->channel.SendCommand(Command::ReadCurrentMode, 0, 0), CommandStatus::Closing);
    EXPECT_EQ(h->Commands().size(), 1u) << "no retransmission, nothing sent while closing";

    h->supervisor.Reopen();
    EXPECT_FALSE(h->link.Closing());
    h->prompts.ClearRecord();
    h->supervisor.Exit();
    EXPECT_EQ(h->view.Count("CloseEditor"), 2);
    EXPECT_TRUE(h->prompts.Messages().empty());
}

// A device that answers in 580 ms, just inside the reply time-out, linked up by the link
// tick's searches: its answer to a search sent before the link came up arrives during the
// first command and must not be taken as that command's reply. Every command is answered on
// its first transmission.
TEST(SlowDeviceTest, JustInsideTheTimeOutEveryCommandIsAnswered) {
    auto h = MakeHarness();
    h->device.SetReplyLatencyMs(580);
    ASSERT_EQ(h->device.State().SetCurrentMode(4), device::DeviceError::Ok);
    h->supervisor.LinkTickTimer().Start();
    for (int i = 0; i < 200 && !h->link.LinkUp(); ++i) h->clock.AdvanceBy(10);
    ASSERT_TRUE(h->link.LinkUp());
    h->link.ClearStartSyncRequest();
    h->Forget();
    EXPECT_EQ(h->transfers.ReadCurrentMode(), CommandStatus::Ok);
    EXPECT_EQ(h->link.CurrentMode(), 4);
    EXPECT_EQ(h->channel.Counters().UnfitReplies, 1u) << "the answer to the second search";
    EXPECT_EQ(h->transfers.ReadModeNames(), CommandStatus::Ok);
    EXPECT_EQ(h->channel.Reply().size(), 132u);
    EXPECT_EQ(h->transfers.SyncFromDevice(0, true, Command::ReadWorkingBlock), CommandStatus::Ok);
    EXPECT_EQ(h->Commands().size(), 2u + 17u) << "no retransmission";
    EXPECT_TRUE(h->Warnings().empty());
}

// A device slower than the time-out: the synchronisation fails with TooSlow and the link is
// dropped with the time-out warning once its late answers have shown it on two commands in a
// row; no reply is ever taken for another command's.
TEST(SlowDeviceTest, SlowerThanTheTimeOutFailsAndSaysSo) {
    for (const int latency : {700, 1500}) {
        SCOPED_TRACE(latency);
        auto h = MakeHarness();
        h->LinkUp();
        h->device.SetReplyLatencyMs(latency);
        EXPECT_EQ(h->transfers.SyncFromDevice(0, true, Command::ReadWorkingBlock),
                  CommandStatus::TooSlow);
        EXPECT_EQ(h->Warnings(), std::vector{testing::kLinkTimeoutText});
        EXPECT_FALSE(h->link.LinkUp());
        EXPECT_EQ(Headers(h->Commands()).back(), (Header{11, 0, 0})) << "stops after block 0";
        EXPECT_EQ(h->view.events,
                  (std::vector<std::string>{"BeginBulk", "FullRefresh", "EndBulk", "ClearUndo"}));
    }
}

}  // namespace
}  // namespace vellora::protocol
