// The 50 ms link tick, the link switch and indicator, and the password window's input rules,
// against the simulated processor in virtual time.
#include <gtest/gtest.h>

#include "device/fault_plan.h"
#include "engine_harness.h"
#include "protocol/password_window.h"

namespace vellora::protocol {
namespace {

using testing::Faults;
using testing::kLinkTimeoutText;
using testing::MakeHarness;
using Texts = std::vector<std::string>;
using Times = std::vector<std::int64_t>;

Times At(const std::vector<testing::Sent>& sent, std::int64_t from) {
    Times out;
    for (const auto& s : sent) out.push_back(s.at - from);
    return out;
}

// LinkUp, SearchOff, the indicator and the switch caption.
std::tuple<bool, bool, int, std::string> Shown(const testing::EngineHarness& h) {
    return {h.link.LinkUp(), h.supervisor.SearchOff(), h.view.connect_status, h.view.caption};
}

// Down: a search every 10 ticks. A search answered brings the link up (variant B here); then
// a keep-alive every 20 ticks, and the device's keep-alives hold the link.
TEST(LinkTickTest, SearchesWhileDownThenKeepAliveOnceASecond) {
    device::ProcessorOptions options;
    options.Variant = 'B';
    auto h = MakeHarness(options);
    h->device.SetFaults(Faults("silent"));
    const std::int64_t start = h->clock.NowMs();
    h->supervisor.LinkTickTimer().Start();
    h->clock.AdvanceBy(1600);
    EXPECT_EQ(At(h->Searches(), start), (Times{500, 1000, 1500}));
    EXPECT_TRUE(h->KeepAlives().empty());

    h->device.SetFaults({});
    h->clock.AdvanceTo(start + 2020);
    EXPECT_EQ(std::tuple(h->link.LinkUp(), h->link.VariantB(), h->link.StartSyncRequested()),
              std::tuple(true, true, true));
    EXPECT_EQ(h->link.DeviceTag(), "TR-W48B_");
    EXPECT_EQ(h->view.connect_status, 1);
    h->clock.AdvanceTo(start + 4500);
    // Linked since the search at 2000: ticks 2050.. count 20 per keep-alive.
    EXPECT_EQ(At(h->KeepAlives(), start), (Times{3000, 4000}));
    EXPECT_EQ(h->Searches().size(), 4u);
    EXPECT_EQ(h->view.progress_steps, 2);
    EXPECT_TRUE(h->link.LinkUp());
}

TEST(LinkTickTest, DeviceWithoutKeepAliveIsDroppedOnTheTick101) {
    auto h = MakeHarness();
    h->LinkUp();
    h->device.SetFaults(Faults("no-keepalive"));
    const std::int64_t start = h->clock.NowMs();
    h->supervisor.LinkTickTimer().Start();
    h->clock.AdvanceTo(start + 2000);
    EXPECT_EQ(h->transfers.ReadCurrentMode(), CommandStatus::Ok) << "it still answers commands";
    h->clock.AdvanceTo(start + 100 * 50);
    EXPECT_TRUE(h->link.LinkUp());
    EXPECT_TRUE(h->Warnings().empty());
    h->clock.AdvanceTo(start + 101 * 50);
    EXPECT_EQ(h->Warnings(), Texts{kLinkTimeoutText});
    EXPECT_EQ(std::pair(h->link.LinkUp(), h->view.connect_status), std::pair(false, 0));
}

TEST(LinkTickTest, NoSearchWhileSwitchedOffButAnUnaskedIdentificationCounts) {
    auto h = MakeHarness();
    h->link_switch.IndicatorClick();
    h->supervisor.LinkTickTimer().Start();
    h->clock.AdvanceBy(3000);
    EXPECT_TRUE(h->Searches().empty());
    h->device.Receive(LinkSearchFrame());  // another terminal asks the device
    h->clock.AdvanceBy(50);
    EXPECT_EQ(std::tuple(h->link.LinkUp(), h->link.StartSyncRequested(), h->view.connect_status),
              std::tuple(true, true, 1));
}

// The link tick paces the graph's blinking: its handler runs on every 50 ms tick, linked or
// not, until the timer stops. The tone-key byte resets the key shift.
TEST(LinkTickTest, TickHandlerAndToneKeyReachTheView) {
    auto h = MakeHarness();
    h->LinkUp();
    int ticks = 0;
    h->supervisor.SetTickHandler([&ticks] { ++ticks; });
    h->supervisor.LinkTickTimer().Start();
    h->clock.AdvanceBy(199);
    EXPECT_EQ(ticks, 3);
    h->clock.AdvanceBy(401);
    EXPECT_EQ(ticks, 12);
    h->link_switch.IndicatorClick();  // the link goes down: the tick goes on
    h->clock.AdvanceBy(100);
    EXPECT_EQ(ticks, 14);
    h->supervisor.StopTimers();
    h->clock.AdvanceBy(1000);
    EXPECT_EQ(ticks, 14);

    h->ws.ParamStore.SetValueAt(model::entry::kKeyShift, 0, 8);
    h->device.SendToneKey();
    h->clock.AdvanceBy(10);
    EXPECT_EQ(h->ws.ParamStore.ValueAt(model::entry::kKeyShift, 0), 5);
    EXPECT_EQ(h->view.tone_resets, 1);
}

// Switching off while linked with unsaved changes asks to save into the current mode, shown
// counted from 1; "yes" sends SaveToMode, which clears Modified once answered. The indicator
// switches the same way without the question.
TEST(LinkSwitchTest, SwitchAndIndicator) {
    for (const bool yes : {true, false}) {
        auto h = MakeHarness();
        h->LinkUp();
        h->link.SetCurrentMode(yes ? 0 : 6);
        h->link.MarkModified();
        h->prompts.AddAnswer(yes);
        EXPECT_EQ(h->link_switch.SwitchCaption(), "联机开启");
        h->link_switch.SwitchClick();
        EXPECT_EQ(
            h->prompts.Texts(testing::ScriptedPrompts::Kind::Question),
            Texts{std::string("您当前的调节还未保存到设备, 是否在保存到模式") + (yes ? "1" : "7")});
        const auto frames = h->Commands();
        ASSERT_EQ(frames.size(), yes ? 1u : 0u);
        if (yes) {
            EXPECT_EQ(testing::Headers(frames)[0], (std::array<int, 3>{3, 0, 0}));
        }
        EXPECT_EQ(h->link.Modified(), !yes);
        EXPECT_EQ(Shown(*h), std::tuple(false, true, 0, "联机关闭"));
        h->link_switch.SwitchClick();
        EXPECT_EQ(Shown(*h), std::tuple(false, false, 0, "联机开启"));
    }
    auto h = MakeHarness();
    h->LinkUp();
    h->link.MarkModified();
    h->link_switch.IndicatorClick();
    EXPECT_EQ(Shown(*h), std::tuple(false, true, 2, "联机关闭"));
    EXPECT_TRUE(h->prompts.Messages().empty());
    h->link_switch.IndicatorClick();
    EXPECT_EQ(Shown(*h), std::tuple(false, false, 0, "联机开启"));
}

// The user switches the link off, answering Yes to the save question, while another command
// waits: the save goes out once that command has ended, and only then does the link go down.
// Switched on again before that, the save still goes out but the link stays up.
TEST(LinkSwitchTest, SaveAskedInsideAWaitGoesOutAfterIt) {
    for (const bool switchedOnAgain : {false, true}) {
        SCOPED_TRACE(switchedOnAgain);
        auto h = MakeHarness();
        h->device.SetReplyLatencyMs(40);
        ASSERT_EQ(h->device.State().SetCurrentMode(2), device::DeviceError::Ok);
        h->LinkUp();
        h->link.SetCurrentMode(2);
        h->link.MarkModified();
        h->prompts.AddAnswer(true);
        h->clock.CallAfter(10, [&] {
            h->link_switch.SwitchClick();
            if (switchedOnAgain) h->link_switch.SwitchClick();
        });
        EXPECT_EQ(h->transfers.ReadCurrentMode(), CommandStatus::Ok);
        EXPECT_TRUE(h->link.LinkUp()) << "not down before the save";
        h->clock.AdvanceBy(200);
        EXPECT_EQ(testing::Headers(h->Commands()),
                  (std::vector<std::array<int, 3>>{{9, 0x23, 0x23}, {3, 2, 0}}));
        EXPECT_FALSE(h->link.Modified());
        EXPECT_EQ(Shown(*h), switchedOnAgain ? std::tuple(true, false, 1, "联机开启")
                                             : std::tuple(false, true, 0, "联机关闭"));
        EXPECT_TRUE(h->Warnings().empty());
    }
}

TEST(PasswordWindowTest, CaptionsDigitsAndSlots) {
    auto h = MakeHarness();
    PasswordWindow admin(h->channel, h->prompts, PasswordInputType::Administrator);
    PasswordWindow panel(h->channel, h->prompts, PasswordInputType::PanelLock);
    EXPECT_EQ(std::tuple(admin.Caption(), admin.DigitCount(), admin.Slot()),
              std::tuple("管理员权限确认", 6u, 2));
    EXPECT_EQ(std::tuple(panel.Caption(), panel.DigitCount(), panel.Slot()),
              std::tuple("面板锁解锁", 4u, 0));
    EXPECT_EQ(std::tuple(panel.Label(), panel.ButtonCaption()), std::tuple("请输入密码：", "确定"));
    EXPECT_FALSE(panel.OK());
}

// Nothing is sent until the entry is well formed; a refused entry warns; an unanswered check
// keeps the window open with only the link's own warning.
TEST(PasswordWindowTest, InputRules) {
    auto h = MakeHarness();
    const std::array<uint8_t, 4> password{0, 4, 0, 7};
    ASSERT_EQ(h->device.State().SetPanel(password), device::DeviceError::Ok);
    h->LinkUp();
    PasswordWindow window(h->channel, h->prompts, PasswordInputType::PanelLock);

    EXPECT_EQ(window.Submit(""), PasswordEntry::Empty);
    EXPECT_TRUE(h->prompts.Messages().empty());
    for (const char* bad : {"12.4", "-123", "+123", " 123", "１２３４", "12a4"})
        EXPECT_EQ(window.Submit(bad), PasswordEntry::NotDigits) << bad;
    EXPECT_EQ(window.Submit("123"), PasswordEntry::WrongLength);
    EXPECT_EQ(window.Submit("12345"), PasswordEntry::WrongLength);
    EXPECT_TRUE(h->sent.empty()) << "nothing is sent for a refused entry";
    Texts expected(6, "密码只能输入数字0~9");
    expected.insert(expected.end(), 2, "密码请输入4位!");
    EXPECT_EQ(h->Warnings(), expected);

    h->prompts.ClearRecord();
    EXPECT_EQ(window.Submit("7040"), PasswordEntry::Refused);
    EXPECT_EQ(h->Warnings(), Texts{"密码错误！"});
    EXPECT_FALSE(window.OK());
    EXPECT_EQ(window.Submit("0407"), PasswordEntry::Accepted);
    EXPECT_TRUE(window.OK());
    const auto frames = h->Commands();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1].bytes, (std::vector<uint8_t>{0xFE, 8, 0, 0, 0, 11, 0, 4, 0, 7, 0x1C}));

    h->device.SetFaults(Faults("silent"));
    h->prompts.ClearRecord();
    PasswordWindow unanswered(h->channel, h->prompts, PasswordInputType::Administrator);
    EXPECT_EQ(unanswered.Submit("000000"), PasswordEntry::NoReply);
    EXPECT_FALSE(unanswered.OK());
    EXPECT_EQ(h->Warnings(), Texts{kLinkTimeoutText});
}

}  // namespace
}  // namespace vellora::protocol
