// Whole-mode writes and reads and the synchronisation, against the simulated processor in
// virtual time: frame order and mode bytes, the tables filled, length mismatches, the access
// check at connect and the refresh at the end.
#include <gtest/gtest.h>

#include <tuple>

#include "device/fault_plan.h"
#include "engine_harness.h"
#include "protocol/link_texts.h"

namespace vellora::protocol {
namespace {

using testing::Faults;
using testing::MakeHarness;

constexpr uint8_t kWorking = static_cast<uint8_t>(Command::ReadWorkingBlock);

// Command, byte 2 and byte 3 of each command frame.
std::vector<std::tuple<int, int, int>> Headers(const std::vector<testing::Sent>& frames) {
    std::vector<std::tuple<int, int, int>> out;
    for (const auto& f : frames) out.emplace_back(f.bytes[1], f.bytes[2], f.bytes[3]);
    return out;
}

// The fields that travel on the wire, for the entry's form.
bool SameOnTheWire(const model::SceneSlot& a, const model::SceneSlot& b, bool band) {
    if (!band) return a.Value == b.Value;
    return a.QType == b.QType && a.ShelfQ == b.ShelfQ && a.Freq == b.Freq && a.Gain == b.Gain &&
           a.Q == b.Q && a.EQdisabled == b.EQdisabled;
}

// Gives the device's working settings values that differ from the factory defaults.
void ChangeDeviceSettings(model::ParamTable& working, const model::Workspace& ws) {
    for (int kind = 0; kind < model::kMenuKindCount; ++kind)
        for (int i = ws.MenuKindFirst(kind); i <= ws.MenuKindLast(kind); i += 3) {
            for (int slot = 0; slot < 2; ++slot) {
                model::SceneSlot* s = working.Slot(i, slot);
                if (kind < 8 && s->FilterType == model::kEqBand) {
                    s->Gain = 200 + slot * 10 + i % 7;
                    s->EQdisabled = i % 2 == 0;
                } else if (kind < 8 || slot == 0) {
                    s->Value = 1 + i % 3;
                }
            }
        }
    working.ShareSingleSceneValues();
}

TEST(BulkTransferTest, FullSyncWithCurrentModeThree) {
    auto h = MakeHarness();
    ASSERT_EQ(h->device.State().SetCurrentMode(3), device::DeviceError::Ok);
    ChangeDeviceSettings(h->device.State().Working(), h->ws);
    auto& working = h->device.State().Working();
    working.SetValueAt(model::entry::kMasterLimit0, 0, 200);
    working.SetValueAt(model::entry::kMasterLimit0 + 1, 0, 180);
    working.SetValueAt(model::entry::kMasterLimit0 + 2, 0, 160);
    working.SetValueAt(model::entry::kSceneSelect, 0, 1);
    working.SetValueAt(model::entry::kBassAuto, 0, 1);
    working.SetValueAt(model::entry::kAdminPassword, 0, 0);
    working.SetValueAt(model::entry::kPanelLock, 0, 0);
    h->LinkUp();

    EXPECT_EQ(h->engine.SyncFromDevice(0, true, kWorking), CommandStatus::Ok);

    const std::vector<std::tuple<int, int, int>> expected = {
        {9, 0x23, 0x23}, {11, 3, 0},  {11, 3, 1}, {11, 3, 2},  {11, 3, 3},  {11, 3, 4},
        {11, 3, 5},      {11, 3, 6},  {11, 3, 7}, {11, 14, 0}, {11, 14, 4}, {11, 14, 5},
        {11, 14, 6},     {11, 14, 7}, {11, 3, 8}, {11, 3, 9},  {11, 3, 10}};
    EXPECT_EQ(Headers(h->Commands()), expected) << "17 frames: mode query, 13 blocks, 3 common";
    EXPECT_EQ(h->link.CurrentMode, 3);

    for (int kind = 0; kind < model::kMenuKindCount; ++kind)
        for (int i = h->ws.MenuKindFirst(kind); i <= h->ws.MenuKindLast(kind); ++i)
            for (int slot = 0; slot < (kind < 8 ? 2 : 1); ++slot) {
                const bool band =
                    kind < 8 && h->ws.ParamStore.Slot(i, 0)->FilterType == model::kEqBand;
                EXPECT_TRUE(
                    SameOnTheWire(*h->ws.ParamStore.Slot(i, slot), *working.Slot(i, slot), band))
                    << "entry " << i << " slot " << slot;
            }
    for (int i = 0; i < model::kParamCount; ++i) {
        if (!h->ws.ParamStore.IsPerScene(i)) {
            EXPECT_EQ(*h->ws.ParamStore.Slot(i, 1), *h->ws.ParamStore.Slot(i, 0)) << "entry " << i;
        }
    }

    EXPECT_EQ(h->view.limits, (std::array<int32_t, 3>{200, 180, 160}));
    EXPECT_EQ(h->ws.CurrentScene(), 1);
    EXPECT_EQ(h->ws.BassAutoControl(), 1);
    EXPECT_EQ(h->view.events, (std::vector<std::string>{"BeginBulk", "SetMasterLimits",
                                                        "FullRefresh", "EndBulk", "ClearUndo"}));
    EXPECT_EQ(h->view.last_progress, (std::array<int, 2>{17, 17}));
    EXPECT_TRUE(h->prompts.Messages().empty());
}

TEST(BulkTransferTest, SyncWithASilentDeviceEndsAfterItsFirstFrame) {
    auto h = MakeHarness();
    h->LinkUp();
    h->device.SetFaults(Faults("silent"));
    EXPECT_EQ(h->engine.SyncFromDevice(0, true, kWorking), CommandStatus::NoReply);
    EXPECT_EQ(h->Commands().size(), 9u);
    EXPECT_EQ(h->Warnings().size(), 1u);
    EXPECT_EQ(h->view.Count("FullRefresh"), 1) << "the refresh and re-enable run in every case";
    EXPECT_EQ(h->view.Count("EndBulk"), 1);
}

TEST(BulkTransferTest, StartSyncRequestSetTwiceStartsOneSynchronisation) {
    auto h = MakeHarness();
    h->LinkUp();
    h->link.StartSyncRequest = true;
    h->link.StartSyncRequest = true;
    h->engine.StartSyncTimer().Start();
    h->clock.AdvanceBy(100);
    EXPECT_FALSE(h->link.StartSyncRequest);
    h->clock.AdvanceBy(2000);
    int queries = 0;
    for (const auto& f : h->Commands()) queries += f.bytes[1] == 9 ? 1 : 0;
    EXPECT_EQ(queries, 1);
    EXPECT_EQ(h->Commands().size(), 17u);
}

TEST(BulkTransferTest, LengthMismatchWarnsWithTheExactTextAndStoresNothing) {
    for (const int error : {1, -1}) {
        SCOPED_TRACE(error);
        auto h = MakeHarness();
        ChangeDeviceSettings(h->device.State().Working(), h->ws);
        h->LinkUp();
        h->device.SetFaults(Faults("block-length=" + std::to_string(error)));
        const model::ParamTable before = h->ws.ParamStore;

        EXPECT_EQ(h->engine.SyncFromDevice(0, true, kWorking), CommandStatus::LengthMismatch);
        EXPECT_EQ(h->Warnings(), std::vector<std::string>{std::string(texts::kLengthMismatch)});
        EXPECT_EQ(h->Commands().size(), 2u) << "stops at the first block";
        EXPECT_TRUE(h->ws.ParamStore == before);
        EXPECT_TRUE(h->link.LinkUp);
    }
}

TEST(BulkTransferTest, AdministratorCheckAcceptedSilently) {
    auto h = MakeHarness();
    h->device.State().Working().SetValueAt(model::entry::kAdminPassword, 0, 1);
    h->LinkUp();
    EXPECT_EQ(h->engine.SyncFromDevice(0, true, kWorking), CommandStatus::Ok);
    const auto frames = h->Commands();
    ASSERT_EQ(frames.size(), 18u);
    EXPECT_EQ(frames[17].bytes,
              (std::vector<uint8_t>{0xFE, 8, 0, 2, 0, 13, 0, 0, 0, 0, 0, 0, 0x15}));
    EXPECT_TRUE(h->prompts.PasswordSessions().empty());
    EXPECT_TRUE(h->prompts.Messages().empty());
}

TEST(BulkTransferTest, AdministratorPasswordTypedIntoTheWindow) {
    auto h = MakeHarness();
    const std::array<uint8_t, 6> password{1, 2, 3, 4, 5, 6};
    ASSERT_EQ(h->device.State().SetAdministrator(password), device::DeviceError::Ok);
    h->device.State().Working().SetValueAt(model::entry::kAdminPassword, 0, 1);
    h->LinkUp();
    for (const char* entry : {"", "12a456", "12345", "654321", "123456"})
        h->prompts.AddPasswordEntry(entry);

    EXPECT_EQ(h->engine.SyncFromDevice(0, true, kWorking), CommandStatus::Ok);
    ASSERT_EQ(h->prompts.PasswordSessions().size(), 1u);
    const auto& session = h->prompts.PasswordSessions()[0];
    EXPECT_EQ(session.type, PasswordInputType::Administrator);
    EXPECT_EQ(session.entries,
              (std::vector<PasswordEntry>{PasswordEntry::Empty, PasswordEntry::NotDigits,
                                          PasswordEntry::WrongLength, PasswordEntry::Refused,
                                          PasswordEntry::Accepted}));
    EXPECT_EQ(h->Warnings(),
              (std::vector<std::string>{"密码只能输入数字0~9", "密码请输入6位!", "密码错误！"}));
    EXPECT_EQ(h->Commands().size(), 17u + 3u) << "the zero check and the two typed checks";
    EXPECT_TRUE(h->device.AdministratorVerified());
    EXPECT_EQ(h->view.Count("EndProgram"), 0);
}

TEST(BulkTransferTest, PanelLockRefusedEndsTheProgram) {
    auto h = MakeHarness();
    const std::array<uint8_t, 4> password{4, 3, 2, 1};
    ASSERT_EQ(h->device.State().SetPanel(password), device::DeviceError::Ok);
    h->device.State().Working().SetValueAt(model::entry::kPanelLock, 0, 1);
    h->LinkUp();
    h->prompts.AddPasswordEntry("1234");

    EXPECT_EQ(h->engine.SyncFromDevice(0, true, kWorking), CommandStatus::AccessRefused);
    ASSERT_EQ(h->prompts.PasswordSessions().size(), 1u);
    EXPECT_EQ(h->prompts.PasswordSessions()[0].type, PasswordInputType::PanelLock);
    EXPECT_EQ(h->Warnings(),
              (std::vector<std::string>{"密码错误！",
                                        "键盘锁密码不正确！\n必须输入正确密码后才能使用软件。\n"
                                        "如果您想脱机使用本软件，请断开机器的USB线。"}));
    EXPECT_EQ(h->view.Count("EndProgram"), 1);
    EXPECT_EQ(h->view.Count("FullRefresh"), 0) << "the program ends; no refresh";
}

TEST(BulkTransferTest, AdministratorRefusedWarningText) {
    auto h = MakeHarness();
    const std::array<uint8_t, 6> password{9, 9, 9, 9, 9, 9};
    ASSERT_EQ(h->device.State().SetAdministrator(password), device::DeviceError::Ok);
    h->device.State().Working().SetValueAt(model::entry::kAdminPassword, 0, 1);
    h->LinkUp();
    EXPECT_EQ(h->engine.SyncFromDevice(0, true, kWorking), CommandStatus::AccessRefused);
    EXPECT_EQ(h->Warnings(),
              std::vector<std::string>{
                  "管理员密码不正确！\n处于来宾模式时，不需要输入密码。处于管理模式时，"
                  "必须输入正确密码后才能使用软件。\n如果您想脱机使用本软件，请断开机器的USB线。"});
}

TEST(BulkTransferTest, WriteModeStopsAtTheUnansweredFifthBlock) {
    auto h = MakeHarness();
    h->LinkUp();
    h->device.SetFaults(Faults("stop-after=4"));
    EXPECT_EQ(h->engine.WriteModeToDevice(2), CommandStatus::NoReply);

    const auto frames = h->Commands();
    ASSERT_EQ(frames.size(), 4u + 9u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(frames[i].bytes[3], i) << "kinds 0..3 first";
    for (std::size_t i = 4; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].bytes, frames[4].bytes);
        EXPECT_EQ(frames[i].bytes[1], static_cast<uint8_t>(Command::WriteModeBlock));
        EXPECT_EQ(frames[i].bytes[2], 2);
        EXPECT_EQ(frames[i].bytes[3], 4);
    }
    EXPECT_EQ(h->Warnings(), std::vector<std::string>{std::string(texts::kLinkTimeout)});
    EXPECT_EQ(h->view.events, (std::vector<std::string>{"BeginBulk", "EndBulk", "ClearUndo"}));
    EXPECT_EQ(h->view.last_progress, (std::array<int, 2>{4, 16}));
}

TEST(BulkTransferTest, WriteModeThenReadModeRoundTrip) {
    auto h = MakeHarness();
    h->LinkUp();
    ChangeDeviceSettings(h->ws.ModeImage, h->ws);
    const model::ParamTable written = h->ws.ModeImage;

    EXPECT_EQ(h->engine.WriteModeToDevice(5), CommandStatus::Ok);
    std::vector<std::tuple<int, int, int>> expected;
    for (int k = 0; k < 8; ++k) expected.emplace_back(2, 5, k);
    for (int k : {0, 4, 5, 6, 7}) expected.emplace_back(2, 16, k);
    for (int k : {8, 9, 10}) expected.emplace_back(2, 5, k);
    EXPECT_EQ(Headers(h->Commands()), expected);

    h->ws.ModeImage = model::ParamTable{};
    h->ws.ModeImage = h->ws.ParamStore;  // the factory defaults, so the forms are known
    h->Forget();
    EXPECT_EQ(h->engine.ReadModeFromDevice(5), CommandStatus::Ok);
    EXPECT_EQ(h->Commands().size(), 13u);
    for (int kind = 0; kind < 8; ++kind)
        for (int i = h->ws.MenuKindFirst(kind); i <= h->ws.MenuKindLast(kind); ++i)
            for (int slot = 0; slot < 2; ++slot) {
                const bool band = written.Slot(i, 0)->FilterType == model::kEqBand;
                EXPECT_TRUE(
                    SameOnTheWire(*h->ws.ModeImage.Slot(i, slot), *written.Slot(i, slot), band))
                    << "entry " << i << " slot " << slot;
            }
    EXPECT_EQ(h->view.events, (std::vector<std::string>{"BeginBulk", "EndBulk"}));
}

TEST(BulkTransferTest, BulkOperationInsideAWaitIsRefused) {
    auto h = MakeHarness();
    h->device.SetReplyLatencyMs(30);
    h->LinkUp();
    CommandStatus nested{};
    h->clock.CallAfter(10, [&] { nested = h->engine.SyncFromDevice(0, true, kWorking); });
    EXPECT_EQ(h->engine.ReadCurrentMode(), CommandStatus::Ok);
    EXPECT_EQ(nested, CommandStatus::Busy);
    EXPECT_EQ(h->Commands().size(), 1u);
    EXPECT_TRUE(h->view.events.empty());
}

}  // namespace
}  // namespace vellora::protocol
