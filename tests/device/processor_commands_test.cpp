// What the device does with the commands: block writes and reads of stored modes and working
// settings, the scene rule, saving and recalling modes, the settings of no mode, names.
#include <QString>

#include <gtest/gtest.h>

#include "device/device_harness.h"
#include "device/mode_names.h"

namespace vellora::device {
namespace {

using namespace testing;

const Bytes kAck0 = Hex("FE 05 00 53 56");
const Bytes kAck2 = Hex("FE 05 02 53 58");

Bytes Part(const Bytes& bytes, std::size_t from, std::size_t to) {
    return to <= bytes.size() ? Bytes(bytes.begin() + from, bytes.begin() + to) : Bytes{};
}

TEST(BlockTransfers, MainOutputBlockIntoModeScenesAndTheCurrentMode) {
    DeviceHarness h;
    // Main output: 15 plain entries and a 10-band equaliser from address 8 on; the first
    // band peaking, ShelfQ 0.71 (10), Gain 0 dB (01 00), Q 1.0 (16).
    Bytes block = Payload(h.Ask(CommandFrame(1, 5, 4, 0)));
    ASSERT_EQ(block.size(), 110u);
    EXPECT_EQ(Part(block, 0, 12), Hex("00 64 00 64 00 64 00 64 00 50 00 50"));
    EXPECT_EQ(Part(block, 16, 18), Hex("00 0A"));
    EXPECT_EQ(Part(block, 20, 24), Hex("01 00 00 10"));

    block[1] = 77;  // 1024, kept per scene
    block[9] = 60;  // 1028 (level 80), not kept per scene
    block[20] = 1;  // 1032 Gain 350
    block[21] = 100;
    ASSERT_EQ(h.Ask(CommandFrame(2, 16, 4, 0, block)), kAck2);  // mode 5, dance scene
    const model::ParamTable& mode5 = *h.device.State().Mode(5);
    EXPECT_EQ(mode5.ValueAt(1024, 1), 77);
    EXPECT_EQ(mode5.ValueAt(1024, 0), 100);
    EXPECT_EQ(mode5.Slot(1032, 1)->Gain, 350);
    Bytes stored = block;
    stored[9] = 80;  // comes with the singing block only
    EXPECT_EQ(Payload(h.Ask(CommandFrame(1, 16, 4, 0))), stored);
    EXPECT_EQ(h.device.State().Working().ValueAt(1024, 1), 100);  // mode 5 is not playing
    ASSERT_EQ(h.Ask(CommandFrame(2, 5, 4, 0, block)), kAck2);
    EXPECT_EQ(mode5.ValueAt(1028, 1), 60);

    // Mode 0 is the current one: its block goes into the working settings too.
    ASSERT_EQ(h.Ask(CommandFrame(2, 0, 4, 0, block)), kAck2);
    EXPECT_EQ(Payload(h.Ask(CommandFrame(11, 0, 4, 0))), block);
}

TEST(BlockTransfers, ReadingAnotherModesWorkingBlockRecallsThatMode) {
    DeviceHarness h;
    Bytes block = Payload(h.Ask(CommandFrame(1, 6, 0, 0)));
    block[124] = 0;  // music input source (17) of mode 6: 9
    block[125] = 9;
    ASSERT_EQ(h.Ask(CommandFrame(2, 6, 0, 0, block)), kAck2);
    EXPECT_EQ(h.device.State().Working().ValueAt(17, 0), 0);
    EXPECT_EQ(Payload(h.Ask(CommandFrame(11, 6, 0, 0))), block);
    EXPECT_EQ(h.device.State().Working().ValueAt(17, 0), 9);
    EXPECT_EQ(h.Ask(kModeQuery), Hex("FE 05 09 06 12"));
}

TEST(WriteParam, SceneRuleBandEntriesAndSaveToModeCopyingBothScenes) {
    DeviceHarness h;
    // 1024 is kept per scene: 90 in the dance scene only; 1028 is not: 60 in both.
    ASSERT_EQ(h.Ask(CommandFrame(0, 1, 4, 0, Hex("00 5A"))), kAck0);
    ASSERT_EQ(h.Ask(CommandFrame(0, 1, 4, 4, Hex("00 3C"))), kAck0);
    // Music band 7 in the dance scene: high shelf, ShelfQ 12, Freq 200, Gain 260, Q 20.
    const Bytes entry = Hex("02 0C 00 C8 01 0A 00 14");
    ASSERT_EQ(h.Ask(CommandFrame(0, 1, 0, 7, entry)), kAck0);
    EXPECT_EQ(Part(Payload(h.Ask(CommandFrame(11, 11, 0, 0))), 56, 64), entry);
    EXPECT_EQ(h.device.State().Working().Slot(7, 0)->Gain, 400);

    ASSERT_EQ(h.Ask(CommandFrame(3, 7, 0, 0)), Hex("FE 05 03 53 59"));
    EXPECT_EQ(h.device.State().CurrentMode(), 7);
    const model::ParamTable& mode7 = *h.device.State().Mode(7);
    EXPECT_EQ(mode7.ValueAt(1024, 0), 100);
    EXPECT_EQ(mode7.ValueAt(1024, 1), 90);
    EXPECT_EQ(mode7.ValueAt(1028, 0), 60);
    EXPECT_EQ(mode7.ValueAt(1028, 1), 60);
    EXPECT_EQ(mode7.Slot(7, 1)->Gain, 260);
    EXPECT_EQ(h.device.State().Mode(3)->ValueAt(1024, 1), 100);
}

TEST(SettingsOfNoMode, OneSetWhateverTheModeFieldAndBlockWritesLeaveTheRightsAlone) {
    DeviceHarness h;
    // Recording left (kind 8) written with mode 3 in byte 2, read with mode 9.
    const Bytes left = Hex("00 01 00 02 00 03 00 04 00 05 00 06 00 07 00 08 00 09");
    ASSERT_EQ(h.Ask(CommandFrame(2, 3, 8, 0, left)), kAck2);
    EXPECT_EQ(Payload(h.Ask(CommandFrame(1, 9, 8, 0))), left);
    EXPECT_EQ(Payload(h.Ask(CommandFrame(11, 0, 8, 0))), left);
    EXPECT_EQ(h.device.State().CurrentMode(), 0);

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

TEST(ModeNames, SetNamesTravelInTheReplyAndNamesThatWouldBreakItAreRefused) {
    DeviceHarness h;
    ModeName name{};
    ASSERT_EQ(MakeModeName(Hex("61 62 63"), name), DeviceError::Ok);
    ASSERT_EQ(h.device.State().SetName(2, name), DeviceError::Ok);
    EXPECT_EQ(h.device.State().SetName(11, name), DeviceError::BadMode);
    // The names reply: 11 names of 12 bytes, the factory ones "模式1".."模式11" in GBK.
    const Bytes reply = h.Ask(CommandFrame(4, 0x23, 0x23, 0x23));
    ASSERT_EQ(reply.size(), 135u);
    EXPECT_EQ(Part(reply, 0, 2), Hex("FE 87"));
    EXPECT_EQ(Part(reply, 2, 14), Hex("C4 A3 CA BD 31 00 00 00 00 00 00 00"));
    EXPECT_EQ(Part(reply, 26, 38), Hex("61 62 63 00 00 00 00 00 00 00 00 00"));
    EXPECT_EQ(Part(reply, 110, 122), Hex("C4 A3 CA BD 31 30 00 00 00 00 00 00"));
    EXPECT_EQ(Part(reply, 122, 134), Hex("C4 A3 CA BD 31 31 00 00 00 00 00 00"));
    EXPECT_EQ(reply.back(), protocol::FrameChecksum(std::span(reply.data(), 134)));

    // Too long, an inner zero byte, bytes that would break the reply frame.
    for (const Bytes& bad : {Bytes(13, 0x41), Hex("41 00 42"), Hex("C8 FD"), Hex("B6 FE")})
        EXPECT_EQ(MakeModeName(bad, name), DeviceError::BadName) << bad.size();
    EXPECT_EQ(ModeNameBytes(name).size(), 3u);
    EXPECT_EQ(MakeModeName(Bytes(12, 0x41), name), DeviceError::Ok);

    const DeviceError gbk = ModeNameFromText(QString::fromUtf8("模式1"), name);
    if (gbk == DeviceError::NoNameEncoding) GTEST_SKIP() << "no GBK converter in this Qt build";
    ASSERT_EQ(gbk, DeviceError::Ok);
    EXPECT_EQ(name, FactoryModeName(0));
    EXPECT_EQ(ModeNameText(FactoryModeName(10)), QString::fromUtf8("模式11"));
    // 三 is C8 FD in GBK; seven characters are 14 bytes.
    EXPECT_EQ(ModeNameFromText(QString::fromUtf8("模式三"), name), DeviceError::BadName);
    EXPECT_EQ(ModeNameFromText(QString::fromUtf8("一个很长的名字"), name), DeviceError::BadName);
    EXPECT_EQ(name, FactoryModeName(0));
}

}  // namespace
}  // namespace vellora::device
