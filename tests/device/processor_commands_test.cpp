// What the device does with the commands: block writes and reads of stored modes and working
// settings, the scene rule, saving and recalling modes, the settings of no mode, names.
#include <QString>

#include <gtest/gtest.h>

#include "device/device_harness.h"
#include "device/mode_names.h"

namespace vellora::device {
namespace {

using testing::Bytes;
using testing::CommandFrame;
using testing::DeviceHarness;
using testing::Hex;

const Bytes kAck2 = Hex("FE 05 02 53 58");

// The payload of a block reply (without FE, length and checksum).
Bytes Payload(const Bytes& reply) {
    EXPECT_GE(reply.size(), 3u);
    if (reply.size() < 3) return {};
    return Bytes(reply.begin() + 2, reply.end() - 1);
}

TEST(BlockTransfers, MainOutputBlockIs110BytesWithTheBandsAt16) {
    DeviceHarness h;
    // Main output: 15 plain entries and a 10-band equaliser from address 8 on.
    const Bytes block = Payload(h.Ask(CommandFrame(1, 5, 4, 0)));
    ASSERT_EQ(block.size(), 110u);
    EXPECT_EQ(Bytes(block.begin(), block.begin() + 12), Hex("00 64 00 64 00 64 00 64 00 50 00 50"));
    // First band: peaking, ShelfQ 0.71 (10), Gain 0 dB (01 00), Q 1.0 (16).
    EXPECT_EQ(block[16], 0);
    EXPECT_EQ(block[17], 10);
    EXPECT_EQ(Bytes(block.begin() + 20, block.begin() + 24), Hex("01 00 00 10"));
}

TEST(BlockTransfers, WriteThenReadBackAModeScene) {
    DeviceHarness h;
    Bytes block = Payload(h.Ask(CommandFrame(1, 5, 4, 0)));
    ASSERT_EQ(block.size(), 110u);
    block[1] = 77;    // 1024, kept per scene
    block[18] = 120;  // 1032 Freq 30007: Freq 7, switched off
    block[19] = 7;
    block[20] = 1;  // 1032 Gain 350
    block[21] = 100;
    EXPECT_EQ(h.Ask(CommandFrame(2, 16, 4, 0, block)), kAck2);  // mode 5, dance scene

    const model::ParamTable& mode5 = *h.device.State().Mode(5);
    EXPECT_EQ(mode5.ValueAt(1024, 1), 77);
    EXPECT_EQ(mode5.ValueAt(1024, 0), 100);
    EXPECT_EQ(mode5.Slot(1032, 1)->Freq, 7);
    EXPECT_TRUE(mode5.Slot(1032, 1)->EQdisabled);
    EXPECT_EQ(mode5.Slot(1032, 1)->Gain, 350);
    EXPECT_EQ(Payload(h.Ask(CommandFrame(1, 16, 4, 0))), block);
    // Stored modes are not what plays: the working settings are untouched.
    EXPECT_EQ(h.device.State().Working().ValueAt(1024, 1), 100);
}

TEST(BlockTransfers, EntriesNotKeptPerSceneComeWithTheSingingBlock) {
    DeviceHarness h;
    Bytes block = Payload(h.Ask(CommandFrame(1, 5, 4, 0)));
    block[9] = 60;  // 1028 (main output level 80), not kept per scene
    ASSERT_EQ(h.Ask(CommandFrame(2, 16, 4, 0, block)), kAck2);
    EXPECT_EQ(h.device.State().Mode(5)->ValueAt(1028, 1), 80);
    ASSERT_EQ(h.Ask(CommandFrame(2, 5, 4, 0, block)), kAck2);
    EXPECT_EQ(h.device.State().Mode(5)->ValueAt(1028, 0), 60);
    EXPECT_EQ(h.device.State().Mode(5)->ValueAt(1028, 1), 60);
}

TEST(BlockTransfers, WritingTheCurrentModeAlsoChangesTheWorkingSettings) {
    DeviceHarness h;
    Bytes block = Payload(h.Ask(CommandFrame(1, 0, 4, 0)));
    block[1] = 55;
    ASSERT_EQ(h.Ask(CommandFrame(2, 0, 4, 0, block)), kAck2);
    EXPECT_EQ(h.device.State().Working().ValueAt(1024, 0), 55);
    EXPECT_EQ(Payload(h.Ask(CommandFrame(11, 0, 4, 0))), block);
}

TEST(BlockTransfers, BlockOfTheWrongSizeIsRefused) {
    DeviceHarness h;
    Bytes block = Payload(h.Ask(CommandFrame(1, 0, 4, 0)));
    block.pop_back();
    block[1] = 55;
    EXPECT_EQ(h.Ask(CommandFrame(2, 0, 4, 0, block)), Hex("FE 05 02 4E 53"));
    EXPECT_EQ(h.device.State().Mode(0)->ValueAt(1024, 0), 100);
}

TEST(BlockTransfers, ReadingAnotherModesWorkingBlockRecallsThatMode) {
    DeviceHarness h;
    Bytes block = Payload(h.Ask(CommandFrame(1, 6, 0, 0)));
    block[124] = 0;  // music input source (17) of mode 6: 9
    block[125] = 9;
    ASSERT_EQ(h.Ask(CommandFrame(2, 6, 0, 0, block)), kAck2);
    EXPECT_EQ(h.device.State().Working().ValueAt(17, 0), 0);

    EXPECT_EQ(Payload(h.Ask(CommandFrame(11, 6, 0, 0))), block);
    EXPECT_EQ(h.device.State().CurrentMode(), 6);
    EXPECT_EQ(h.device.State().Working().ValueAt(17, 0), 9);
    EXPECT_EQ(h.Ask(CommandFrame(9, 0x23, 0x23, 0x23)), Hex("FE 05 09 06 12"));
}

TEST(SaveToMode, CopiesBothWorkingScenesIntoTheMode) {
    DeviceHarness h;
    // Main output source level 1 (1024, per scene): 90 in the dance scene only.
    ASSERT_EQ(h.Ask(CommandFrame(0, 1, 4, 0, Hex("00 5A"))), Hex("FE 05 00 53 56"));
    ASSERT_EQ(h.Ask(CommandFrame(3, 7, 0, 0)), Hex("FE 05 03 53 59"));
    EXPECT_EQ(h.device.State().CurrentMode(), 7);
    EXPECT_EQ(h.device.State().Mode(7)->ValueAt(1024, 1), 90);
    EXPECT_EQ(h.device.State().Mode(7)->ValueAt(1024, 0), 100);
    const Bytes dance = Payload(h.Ask(CommandFrame(1, 18, 4, 0)));
    EXPECT_EQ(Bytes(dance.begin(), dance.begin() + 2), Hex("00 5A"));
    EXPECT_EQ(h.device.State().Mode(3)->ValueAt(1024, 1), 100);
}

TEST(WriteParam, EntryNotKeptPerSceneGoesIntoBothScenes) {
    DeviceHarness h;
    ASSERT_EQ(h.Ask(CommandFrame(0, 1, 4, 4, Hex("00 3C"))), Hex("FE 05 00 53 56"));
    EXPECT_EQ(h.device.State().Working().ValueAt(1028, 0), 60);
    EXPECT_EQ(h.device.State().Working().ValueAt(1028, 1), 60);
}

TEST(WriteParam, BandEntryReadsBackThroughItsBlock) {
    DeviceHarness h;
    // Music band 7 in the dance scene: high shelf, ShelfQ 12, Freq 200, Gain 260, Q 20.
    const Bytes entry = Hex("02 0C 00 C8 01 0A 00 14");
    ASSERT_EQ(h.Ask(CommandFrame(0, 1, 0, 7, entry)), Hex("FE 05 00 53 56"));
    const model::SceneSlot& band = *h.device.State().Working().Slot(7, 1);
    EXPECT_EQ(band.QType, 2);
    EXPECT_EQ(band.ShelfQ, 12);
    EXPECT_EQ(band.Freq, 200);
    EXPECT_EQ(band.Gain, 260);
    EXPECT_EQ(band.Q, 20);
    EXPECT_EQ(h.device.State().Working().Slot(7, 0)->Gain, 400);
    const Bytes block = Payload(h.Ask(CommandFrame(11, 11, 0, 0)));
    EXPECT_EQ(Bytes(block.begin() + 56, block.begin() + 64), entry);
}

TEST(WriteParam, UndefinedEntriesAndScenesAreRefused) {
    DeviceHarness h;
    const Bytes refused = Hex("FE 05 00 4E 51");
    EXPECT_EQ(h.Ask(CommandFrame(0, 0, 0, 18, Hex("00 01"))), refused);  // kind 0 ends at 17
    EXPECT_EQ(h.Ask(CommandFrame(0, 2, 4, 0, Hex("00 01"))), refused);   // no scene 2
    EXPECT_EQ(h.Ask(CommandFrame(0, 0, 11, 0, Hex("00 01"))), refused);  // no kind 11
}

TEST(SettingsOfNoMode, OneSetWhateverTheModeField) {
    DeviceHarness h;
    // Recording left (kind 8) written with mode 3 in byte 2, read with mode 9.
    const Bytes block = Hex("00 01 00 02 00 03 00 04 00 05 00 06 00 07 00 08 00 09");
    ASSERT_EQ(h.Ask(CommandFrame(2, 3, 8, 0, block)), kAck2);
    EXPECT_EQ(Payload(h.Ask(CommandFrame(1, 9, 8, 0))), block);
    EXPECT_EQ(Payload(h.Ask(CommandFrame(11, 0, 8, 0))), block);
    EXPECT_EQ(h.device.State().Working().ValueAt(2056, 0), 9);
    EXPECT_EQ(h.device.State().CurrentMode(), 0);
}

TEST(SettingsOfNoMode, BlockWritesLeaveTheRightsAlone) {
    DeviceHarness h;
    Bytes block = Payload(h.Ask(CommandFrame(11, 0, 10, 0)));
    ASSERT_EQ(block.size(), 82u);
    block[2 * 14 + 1] = 1;  // 2574 panel lock
    block[2 * 32 + 1] = 1;  // 2592 administrator level
    block[2 * 38 + 1] = 7;  // 2598 key shift
    (void)h.Ask(CommandFrame(8, 0, 2, 0, Hex("00 00 00 00 00 00")));
    ASSERT_EQ(h.Ask(CommandFrame(2, 0, 10, 0, block)), kAck2);
    EXPECT_EQ(h.device.State().Working().ValueAt(2598, 0), 7);
    EXPECT_EQ(h.device.State().Working().ValueAt(2574, 0), 0);
    EXPECT_EQ(h.device.State().Working().ValueAt(2592, 0), 0);
}

TEST(ToneKey, SentOnRequestAndTheKeyShiftReturnsToNone) {
    DeviceHarness h;
    h.device.State().Working().SetValueAt(2598, 0, 8);
    h.device.SendToneKey();
    h.clock.AdvanceBy(1);
    ASSERT_EQ(h.sent.size(), 1u);
    EXPECT_EQ(h.sent[0], Hex("FD"));
    EXPECT_EQ(h.device.State().Working().ValueAt(2598, 0), 5);
}

TEST(ModeNames, SetNameTravelsInTheNamesReply) {
    DeviceHarness h;
    ModeName name{};
    ASSERT_EQ(MakeModeName(Hex("61 62 63"), name), DeviceError::Ok);
    ASSERT_EQ(h.device.State().SetName(2, name), DeviceError::Ok);
    const Bytes reply = h.Ask(CommandFrame(4, 0x23, 0x23, 0x23));
    ASSERT_EQ(reply.size(), 135u);
    EXPECT_EQ(Bytes(reply.begin() + 26, reply.begin() + 38),
              Hex("61 62 63 00 00 00 00 00 00 00 00 00"));
    EXPECT_EQ(h.device.State().SetName(11, name), DeviceError::BadMode);
}

TEST(ModeNames, NamesThatWouldBreakTheReplyAreRefused) {
    ModeName name = FactoryModeName(0);
    EXPECT_EQ(MakeModeName(Bytes(13, 0x41), name), DeviceError::BadName);
    EXPECT_EQ(MakeModeName(Hex("41 00 42"), name), DeviceError::BadName);
    EXPECT_EQ(MakeModeName(Hex("C8 FD"), name), DeviceError::BadName);
    EXPECT_EQ(MakeModeName(Hex("B6 FE"), name), DeviceError::BadName);
    EXPECT_EQ(name, FactoryModeName(0));
    EXPECT_EQ(MakeModeName(Bytes(12, 0x41), name), DeviceError::Ok);
}

TEST(ModeNames, TextThroughGbk) {
    ModeName name{};
    const DeviceError first = ModeNameFromText(QString::fromUtf8("模式1"), name);
    if (first == DeviceError::NoNameEncoding) GTEST_SKIP() << "no GBK converter in this Qt build";
    ASSERT_EQ(first, DeviceError::Ok);
    EXPECT_EQ(name, FactoryModeName(0));
    EXPECT_EQ(ModeNameText(FactoryModeName(10)), QString::fromUtf8("模式11"));
    // 三 is C8 FD in GBK.
    EXPECT_EQ(ModeNameFromText(QString::fromUtf8("模式三"), name), DeviceError::BadName);
    // Seven characters are 14 bytes.
    EXPECT_EQ(ModeNameFromText(QString::fromUtf8("一个很长的名字"), name), DeviceError::BadName);
    EXPECT_EQ(ModeNameFromText(QString::fromUtf8("唱歌"), name), DeviceError::Ok);
    EXPECT_EQ(ModeNameText(name), QString::fromUtf8("唱歌"));
}

}  // namespace
}  // namespace vellora::device
