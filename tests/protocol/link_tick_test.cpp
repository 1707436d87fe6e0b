// The 50 ms link tick, the link switch and indicator, and the password window's input rules,
// against the simulated processor in virtual time.
#include <gtest/gtest.h>

#include "device/fault_plan.h"
#include "engine_harness.h"
#include "protocol/link_texts.h"
#include "protocol/password_window.h"

namespace vellora::protocol {
namespace {

using testing::Faults;
using testing::MakeHarness;

std::vector<std::int64_t> Times(const std::vector<testing::Sent>& sent, std::int64_t from) {
    std::vector<std::int64_t> out;
    for (const auto& s : sent) out.push_back(s.at - from);
    return out;
}

TEST(LinkTickTest, SearchesTwiceASecondWhileDown) {
    auto h = MakeHarness();
    h->device.SetFaults(Faults("silent"));
    const std::int64_t start = h->clock.NowMs();
    h->engine.CommBaseTicks().Start();
    h->clock.AdvanceBy(1600);
    EXPECT_EQ(Times(h->Searches(), start), (std::vector<std::int64_t>{500, 1000, 1500}));
    EXPECT_TRUE(h->KeepAlives().empty());
}

TEST(LinkTickTest, SearchBringsTheLinkUpThenKeepAliveOnceASecond) {
    device::ProcessorOptions options;
    options.Variant = 'B';
    auto h = MakeHarness(options);
    const std::int64_t start = h->clock.NowMs();
    h->engine.CommBaseTicks().Start();
    h->clock.AdvanceBy(520);
    ASSERT_TRUE(h->link.LinkUp);
    EXPECT_TRUE(h->link.VariantB);
    EXPECT_TRUE(h->link.StartSyncRequest);
    EXPECT_EQ(h->engine.DeviceTag(), "TR-W48B_");
    EXPECT_EQ(h->view.connect_status, 1);

    h->clock.AdvanceTo(start + 3000);
    // Linked since the search at 500: ticks 550.. count 20 per keep-alive.
    EXPECT_EQ(Times(h->KeepAlives(), start), (std::vector<std::int64_t>{1500, 2500}));
    EXPECT_EQ(h->Searches().size(), 1u);
    EXPECT_EQ(h->view.progress_steps, 2);
    EXPECT_TRUE(h->link.LinkUp) << "the device's keep-alives hold the link";
}

TEST(LinkTickTest, DeviceWithoutKeepAliveIsDroppedOnTheTick101) {
    auto h = MakeHarness();
    h->LinkUp();
    h->device.SetFaults(Faults("no-keepalive"));
    const std::int64_t start = h->clock.NowMs();
    h->engine.CommBaseTicks().Start();

    h->clock.AdvanceTo(start + 2000);
    EXPECT_EQ(h->engine.ReadCurrentMode(), CommandStatus::Ok) << "it still answers commands";
    h->clock.AdvanceTo(start + 100 * 50);
    EXPECT_TRUE(h->link.LinkUp);
    EXPECT_TRUE(h->Warnings().empty());
    h->clock.AdvanceTo(start + 101 * 50);
    EXPECT_FALSE(h->link.LinkUp);
    EXPECT_EQ(h->Warnings(), std::vector<std::string>{std::string(texts::kLinkTimeout)});
    EXPECT_EQ(h->view.connect_status, 0);
}

TEST(LinkTickTest, NoSearchWhileSwitchedOffButAnUnaskedIdentificationCounts) {
    auto h = MakeHarness();
    h->engine.IndicatorClick();
    EXPECT_TRUE(h->link.SearchOff);
    EXPECT_EQ(h->view.connect_status, 2);
    h->engine.CommBaseTicks().Start();
    h->clock.AdvanceBy(3000);
    EXPECT_TRUE(h->Searches().empty());

    // The device identifies itself without being asked by this terminal.
    const auto search = LinkSearchFrame();
    h->device.Receive(search);
    h->clock.AdvanceBy(50);
    EXPECT_TRUE(h->link.LinkUp);
    EXPECT_TRUE(h->link.StartSyncRequest);
    EXPECT_EQ(h->view.connect_status, 1);
}

TEST(LinkTickTest, BlinkPhaseFlipsEveryFourTicks) {
    auto h = MakeHarness();
    h->device.SetFaults(Faults("silent"));
    h->engine.CommBaseTicks().Start();
    h->engine.ArmBlink();
    h->clock.AdvanceBy(199);
    EXPECT_TRUE(h->view.blinks.empty());
    h->clock.AdvanceBy(1);
    h->clock.AdvanceBy(400);
    EXPECT_EQ(h->view.blinks, (std::vector<bool>{true, false, true}));
    h->engine.StopBlink();
    h->clock.AdvanceBy(1000);
    EXPECT_EQ(h->view.blinks.size(), 3u);
}

TEST(LinkTickTest, ToneKeyByteResetsTheKeyShift) {
    auto h = MakeHarness();
    h->LinkUp();
    h->ws.ParamStore.SetValueAt(model::entry::kKeyShift, 0, 8);
    h->device.SendToneKey();
    h->clock.AdvanceBy(10);
    EXPECT_EQ(h->ws.ParamStore.ValueAt(model::entry::kKeyShift, 0), 5);
    EXPECT_EQ(h->view.tone_resets, 1);
}

TEST(LinkSwitchTest, SwitchOffAsksToSaveWithTheModeShownFromOne) {
    auto h = MakeHarness();
    h->LinkUp();
    h->link.Modified = true;
    h->prompts.AddAnswer(true);
    EXPECT_EQ(h->engine.SwitchCaption(), "联机开启");

    h->engine.SwitchClick();
    EXPECT_EQ(h->prompts.Texts(ScriptedPrompts::Kind::Question),
              std::vector<std::string>{"您当前的调节还未保存到设备, 是否在保存到模式1"});
    const auto frames = h->Commands();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].bytes[1], static_cast<uint8_t>(Command::SaveToMode));
    EXPECT_EQ(frames[0].bytes[2], 0);
    EXPECT_FALSE(h->link.Modified) << "an answered SaveToMode clears it";
    EXPECT_EQ(h->view.caption, "联机关闭");
    EXPECT_EQ(h->view.connect_status, 0);
    EXPECT_TRUE(h->link.SearchOff);
    EXPECT_FALSE(h->link.LinkUp);

    h->engine.SwitchClick();
    EXPECT_EQ(h->view.caption, "联机开启");
    EXPECT_FALSE(h->link.SearchOff);
}

TEST(LinkSwitchTest, SwitchOffAnsweredNoSavesNothing) {
    auto h = MakeHarness();
    h->link.CurrentMode = 6;
    h->LinkUp();
    h->link.Modified = true;
    h->prompts.AddAnswer(false);
    h->engine.SwitchClick();
    EXPECT_EQ(h->prompts.Texts(ScriptedPrompts::Kind::Question),
              std::vector<std::string>{"您当前的调节还未保存到设备, 是否在保存到模式7"});
    EXPECT_TRUE(h->Commands().empty());
    EXPECT_TRUE(h->link.Modified);
}

TEST(LinkSwitchTest, IndicatorSwitchesWithoutAQuestion) {
    auto h = MakeHarness();
    h->LinkUp();
    h->link.Modified = true;
    h->engine.IndicatorClick();
    EXPECT_EQ(h->view.connect_status, 2);
    EXPECT_EQ(h->view.caption, "联机关闭");
    EXPECT_FALSE(h->link.LinkUp);
    EXPECT_TRUE(h->prompts.Messages().empty());
    h->engine.IndicatorClick();
    EXPECT_EQ(h->view.connect_status, 0);
    EXPECT_EQ(h->view.caption, "联机开启");
    EXPECT_FALSE(h->link.SearchOff);
}

TEST(PasswordWindowTest, CaptionsDigitsAndSlots) {
    auto h = MakeHarness();
    PasswordWindow admin(h->engine, h->prompts, PasswordInputType::Administrator);
    EXPECT_EQ(admin.Caption(), "管理员权限确认");
    EXPECT_EQ(admin.DigitCount(), 6u);
    EXPECT_EQ(admin.Slot(), 2);
    PasswordWindow panel(h->engine, h->prompts, PasswordInputType::PanelLock);
    EXPECT_EQ(panel.Caption(), "面板锁解锁");
    EXPECT_EQ(panel.DigitCount(), 4u);
    EXPECT_EQ(panel.Slot(), 0);
    EXPECT_EQ(panel.Label(), "请输入密码：");
    EXPECT_EQ(panel.ButtonCaption(), "确定");
    EXPECT_FALSE(panel.OK());
}

TEST(PasswordWindowTest, InputRulesSendNothingUntilTheEntryIsWellFormed) {
    auto h = MakeHarness();
    const std::array<uint8_t, 4> password{0, 4, 0, 7};
    ASSERT_EQ(h->device.State().SetPanel(password), device::DeviceError::Ok);
    h->LinkUp();
    PasswordWindow window(h->engine, h->prompts, PasswordInputType::PanelLock);

    EXPECT_EQ(window.Submit(""), PasswordEntry::Empty);
    EXPECT_TRUE(h->prompts.Messages().empty());
    for (const char* bad : {"12.4", "-123", "+123", " 123", "１２３４", "12a4"}) {
        EXPECT_EQ(window.Submit(bad), PasswordEntry::NotDigits) << bad;
    }
    EXPECT_EQ(window.Submit("123"), PasswordEntry::WrongLength);
    EXPECT_EQ(window.Submit("12345"), PasswordEntry::WrongLength);
    EXPECT_TRUE(h->sent.empty()) << "nothing is sent for a refused entry";
    std::vector<std::string> expected(6, "密码只能输入数字0~9");
    expected.insert(expected.end(), 2, "密码请输入4位!");
    EXPECT_EQ(h->Warnings(), expected);

    h->prompts.ClearRecord();
    EXPECT_EQ(window.Submit("7040"), PasswordEntry::Refused);
    EXPECT_EQ(h->Warnings(), std::vector<std::string>{"密码错误！"});
    EXPECT_FALSE(window.OK());
    EXPECT_EQ(window.Submit("0407"), PasswordEntry::Accepted);
    EXPECT_TRUE(window.OK());
    const auto frames = h->Commands();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1].bytes, (std::vector<uint8_t>{0xFE, 8, 0, 0, 0, 11, 0, 4, 0, 7, 0x1C}));
}

TEST(PasswordWindowTest, UnansweredCheckKeepsTheWindowOpenWithoutAMessage) {
    auto h = MakeHarness();
    h->LinkUp();
    h->device.SetFaults(Faults("silent"));
    PasswordWindow window(h->engine, h->prompts, PasswordInputType::Administrator);
    EXPECT_EQ(window.Submit("000000"), PasswordEntry::NoReply);
    EXPECT_FALSE(window.OK());
    EXPECT_EQ(h->Warnings(), std::vector<std::string>{std::string(texts::kLinkTimeout)})
        << "only the link's own warning";
}

}  // namespace
}  // namespace vellora::protocol
