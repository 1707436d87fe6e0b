// Whole-mode writes and reads and the synchronisation, against the simulated processor in
// virtual time: frame order and mode bytes, the tables filled, length mismatches, the access
// check at connect and the refresh at the end.
#include <gtest/gtest.h>

#include "device/fault_plan.h"
#include "engine_harness.h"

namespace vellora::protocol {
namespace {

using testing::Faults;
using testing::Headers;
using testing::MakeHarness;
using Events = std::vector<std::string>;
using HeaderList = std::vector<std::array<int, 3>>;

CommandStatus Sync(testing::EngineHarness& h) {
    return h.transfers.SyncFromDevice(0, true, Command::ReadWorkingBlock);
}

// Gives every third entry of a table values that differ from the factory defaults.
void ChangeSettings(model::ParamTable& table, const model::Workspace& ws) {
    for (int kind = 0; kind < model::kMenuKindCount; ++kind)
        for (int i = ws.MenuKindFirst(kind); i <= ws.MenuKindLast(kind); i += 3)
            for (int slot = 0; slot < 2; ++slot) {
                model::SceneSlot* s = table.Slot(i, slot);
                if (kind < 8 && s->FilterType == model::kEqBand) {
                    s->Gain = 200 + slot * 10 + i % 7;
                    s->EQdisabled = i % 2 == 0;
                } else if (kind < 8 || slot == 0) {
                    s->Value = 1 + i % 3;
                }
            }
    table.ShareSingleSceneValues();
}

void ExpectSameEntries(const model::ParamTable& got, const model::ParamTable& want, int end) {
    for (int i = 0; i < end; ++i)
        for (int slot : {0, 1})
            EXPECT_EQ(*got.Slot(i, slot), *want.Slot(i, slot)) << "entry " << i << " slot " << slot;
}

TEST(BulkTransferTest, FullSyncWithCurrentModeThree) {
    auto h = MakeHarness();
    auto& working = h->device.State().Working();
    ASSERT_EQ(h->device.State().SetCurrentMode(3), device::DeviceError::Ok);
    ChangeSettings(working, h->ws);
    for (int i = 0; i < 3; ++i)
        working.SetValueAt(model::entry::kMasterLimit0 + i, 0, 200 - 20 * i);
    working.SetValueAt(model::entry::kSceneSelect, 0, 1);
    working.SetValueAt(model::entry::kBassAuto, 0, 1);
    working.SetValueAt(model::entry::kAdminPassword, 0, 0);
    working.SetValueAt(model::entry::kPanelLock, 0, 0);
    working.ShareSingleSceneValues();
    h->LinkUp();

    EXPECT_EQ(Sync(*h), CommandStatus::Ok);
    // the mode query, 13 blocks of kinds 0..7 with 3 and 14 in byte 2, 3 common kinds
    const HeaderList expected = {
        {9, 0x23, 0x23}, {11, 3, 0},  {11, 3, 1}, {11, 3, 2},  {11, 3, 3},  {11, 3, 4},
        {11, 3, 5},      {11, 3, 6},  {11, 3, 7}, {11, 14, 0}, {11, 14, 4}, {11, 14, 5},
        {11, 14, 6},     {11, 14, 7}, {11, 3, 8}, {11, 3, 9},  {11, 3, 10}};
    EXPECT_EQ(Headers(h->Commands()), expected);
    EXPECT_EQ(h->link.CurrentMode(), 3);
    ExpectSameEntries(h->ws.ParamStore, working, model::kParamCount);
    EXPECT_EQ(h->view.limits, (std::array<int32_t, 3>{200, 180, 160}));
    EXPECT_EQ(h->ws.CurrentScene(), 1);
    EXPECT_EQ(h->ws.BassAutoControl(), 1);
    EXPECT_EQ(h->view.events,
              (Events{"BeginBulk", "SetMasterLimits", "FullRefresh", "EndBulk", "ClearUndo"}));
    EXPECT_EQ(h->view.last_progress, (std::array<int, 2>{17, 17}));
    EXPECT_TRUE(h->prompts.Messages().empty());
}

TEST(BulkTransferTest, StartSyncRequestSetTwiceStartsOneSynchronisation) {
    auto h = MakeHarness();
    h->LinkUp();
    const std::string tag = h->link.DeviceTag();
    const std::vector<uint8_t> identification(tag.begin(), tag.end());
    h->link.Identified(identification);
    h->link.Identified(identification);
    h->supervisor.StartSyncTimer().Start();
    h->clock.AdvanceBy(100);
    EXPECT_FALSE(h->link.StartSyncRequested());
    h->clock.AdvanceBy(2000);
    const auto frames = h->Commands();
    EXPECT_EQ(frames.size(), 17u);
    EXPECT_EQ(std::count_if(frames.begin(), frames.end(), [](auto& f) { return f.bytes[1] == 9; }),
              1);
}

TEST(BulkTransferTest, LengthMismatchWarnsStoresNothingAndStillRefreshes) {
    for (const char* fault : {"block-length=1", "block-length=-1"}) {
        SCOPED_TRACE(fault);
        auto h = MakeHarness();
        ChangeSettings(h->device.State().Working(), h->ws);
        h->LinkUp();
        h->device.SetFaults(Faults(fault));
        const model::ParamTable before = h->ws.ParamStore;
        EXPECT_EQ(Sync(*h), CommandStatus::LengthMismatch);
        EXPECT_EQ(h->Warnings(), Events{"当前返回数据个数与期望的数据个数不符,请检查!"});
        EXPECT_EQ(h->Commands().size(), 2u) << "stops at the first block";
        EXPECT_TRUE(h->ws.ParamStore == before);
        EXPECT_TRUE(h->link.LinkUp());
        EXPECT_EQ(h->view.events, (Events{"BeginBulk", "FullRefresh", "EndBulk", "ClearUndo"}))
            << "a failed synchronisation still refreshes and enables the windows";
    }
}

// A device that asks for the administrator password (123456) at connect and, with `panel`,
// for the panel password (4321) too; linked.
std::unique_ptr<testing::EngineHarness> Guarded(bool panel) {
    auto h = MakeHarness();
    const std::array<uint8_t, 6> admin_digits{1, 2, 3, 4, 5, 6};
    const std::array<uint8_t, 4> panel_digits{4, 3, 2, 1};
    EXPECT_EQ(h->device.State().SetAdministrator(admin_digits), device::DeviceError::Ok);
    EXPECT_EQ(h->device.State().SetPanel(panel_digits), device::DeviceError::Ok);
    h->device.State().Working().SetValueAt(model::entry::kAdminPassword, 0, 1);
    h->device.State().Working().SetValueAt(model::entry::kPanelLock, 0, panel ? 1 : 0);
    h->LinkUp();
    return h;
}

TEST(BulkTransferTest, AdministratorCheckAcceptedSilently) {
    auto h = MakeHarness();
    h->device.State().Working().SetValueAt(model::entry::kAdminPassword, 0, 1);
    h->LinkUp();
    EXPECT_EQ(Sync(*h), CommandStatus::Ok);
    const auto frames = h->Commands();
    ASSERT_EQ(frames.size(), 18u);
    EXPECT_EQ(frames[17].bytes,
              (std::vector<uint8_t>{0xFE, 8, 0, 2, 0, 13, 0, 0, 0, 0, 0, 0, 0x15}));
    EXPECT_TRUE(h->prompts.PasswordSessions().empty());
    EXPECT_TRUE(h->prompts.Messages().empty());
}

// The zero check refused, the password window takes the scripted entries: the administrator
// check, then the panel check; a refusal ends the program without the refresh.
TEST(BulkTransferTest, AccessCheckThroughThePasswordWindow) {
    using enum PasswordEntry;
    auto h = Guarded(true);
    for (const char* entry : {"", "12a456", "12345", "654321", "123456", "1234"})
        h->prompts.AddPasswordEntry(entry);
    EXPECT_EQ(Sync(*h), CommandStatus::AccessRefused);
    const auto& sessions = h->prompts.PasswordSessions();
    ASSERT_EQ(sessions.size(), 2u);
    EXPECT_EQ(sessions[0].type, PasswordInputType::Administrator);
    EXPECT_EQ(sessions[0].entries, (std::vector{Empty, NotDigits, WrongLength, Refused, Accepted}));
    EXPECT_EQ(sessions[1].type, PasswordInputType::PanelLock);
    EXPECT_EQ(sessions[1].entries, std::vector{Refused});
    EXPECT_EQ(h->Warnings(),
              (Events{"密码只能输入数字0~9", "密码请输入6位!", "密码错误！", "密码错误！",
                      "键盘锁密码不正确！\n必须输入正确密码后才能使用软件。\n"
                      "如果您想脱机使用本软件，请断开机器的USB线。"}));
    EXPECT_EQ(h->Commands().size(), 17u + 3u + 2u) << "each check: zero, then each typed one";
    EXPECT_TRUE(h->device.AdministratorVerified());
    EXPECT_EQ(h->view.events, (Events{"BeginBulk", "SetMasterLimits", "EndProgram"}));

    h = Guarded(false);
    EXPECT_EQ(Sync(*h), CommandStatus::AccessRefused);
    EXPECT_EQ(
        h->Warnings(),
        Events{"管理员密码不正确！\n处于来宾模式时，不需要输入密码。处于管理模式时，"
               "必须输入正确密码后才能使用软件。\n如果您想脱机使用本软件，请断开机器的USB线。"});
    EXPECT_EQ(h->view.Count("EndProgram"), 1);
}

// The device's subwoofer auto control is taken as it is: only 1 blocks scene changes and locks
// the per-scene entries.
TEST(BulkTransferTest, BassAutoControlKeepsTheDevicesValue) {
    for (const int32_t value : {0, 1, 2}) {
        SCOPED_TRACE(value);
        auto h = MakeHarness();
        h->device.State().Working().SetValueAt(model::entry::kBassAuto, 0, value);
        h->LinkUp();
        ASSERT_EQ(Sync(*h), CommandStatus::Ok);
        EXPECT_EQ(h->ws.ParamStore.ValueAt(model::entry::kBassAuto, 0), value);
        EXPECT_EQ(h->ws.BassAutoControl(), value);
        ASSERT_TRUE(h->ws.IsPerScene(5));
        EXPECT_EQ(h->ws.EditLocked(5), value == 1) << "a band kept per scene";
    }
}

TEST(BulkTransferTest, WriteModeStopsAtTheUnansweredFifthBlock) {
    auto h = MakeHarness();
    h->LinkUp();
    h->device.SetFaults(Faults("stop-after=4"));
    EXPECT_EQ(h->transfers.WriteModeToDevice(2), CommandStatus::NoReply);
    HeaderList expected;
    for (int k = 0; k < 4; ++k) expected.push_back({2, 2, k});
    expected.insert(expected.end(), 9, {2, 2, 4});  // nine transmissions of the fifth block
    EXPECT_EQ(Headers(h->Commands()), expected);
    EXPECT_EQ(h->Warnings(), Events{testing::kLinkTimeoutText});
    EXPECT_EQ(h->view.events, (Events{"BeginBulk", "EndBulk", "ClearUndo"}));
    EXPECT_EQ(h->view.last_progress, (std::array<int, 2>{4, 16}));
}

TEST(BulkTransferTest, WriteModeThenReadModeRoundTrip) {
    auto h = MakeHarness();
    h->LinkUp();
    ChangeSettings(h->ws.ModeImage, h->ws);
    const model::ParamTable written = h->ws.ModeImage;

    EXPECT_EQ(h->transfers.WriteModeToDevice(5), CommandStatus::Ok);
    HeaderList expected;
    for (int k = 0; k < 8; ++k) expected.push_back({2, 5, k});
    for (int k : {0, 4, 5, 6, 7}) expected.push_back({2, 16, k});
    for (int k : {8, 9, 10}) expected.push_back({2, 5, k});
    EXPECT_EQ(Headers(h->Commands()), expected);

    h->ws.ModeImage = h->ws.ParamStore;  // the factory defaults, so the forms are known
    h->Forget();
    EXPECT_EQ(h->transfers.ReadModeFromDevice(5), CommandStatus::Ok);
    EXPECT_EQ(h->Commands().size(), 13u);
    ExpectSameEntries(h->ws.ModeImage, written, model::kModeScopedEnd);  // kinds 0..7
    EXPECT_EQ(h->view.events, (Events{"BeginBulk", "EndBulk"}));
}

}  // namespace
}  // namespace vellora::protocol
