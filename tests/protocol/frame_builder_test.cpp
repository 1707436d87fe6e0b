// Golden frames for every command with every input given, the header rules in their order,
// the mode override, neutral writes, password frames and the frames that must be refused; the
// checksum rule and the search frame as the link sends it.
#include "protocol/frame_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "hex_bytes.h"

namespace vellora::protocol {
namespace {

using testing::Concat;
using testing::Hex;

TEST(FrameChecksum, SumsModulo256AndReservedSumsBecomeZero) {
    struct Case {
        const char* bytes;
        uint8_t sum;
    };
    for (const Case c : {Case{"FE", 0x00}, Case{"FD", 0x00}, Case{"FF", 0x00}, Case{"FC", 0xFC},
                         Case{"FE 05 FA 01", 0x00}, Case{"80 80 01", 0x01}}) {
        const auto bytes = Hex(c.bytes);
        EXPECT_EQ(FrameChecksum(bytes), c.sum) << c.bytes;
    }
}

TEST(LinkSearchFrame, IsExactlyTheHandshake) {
    const auto frame = LinkSearchFrame();
    EXPECT_EQ(std::vector<uint8_t>(frame.begin(), frame.end()),
              Hex("FE FA 23 23 23 0F 59 4F 50 5F 43 54 52 4C FC"));
}

class FrameBuilderTest : public ::testing::Test {
protected:
    // Every input of the frame besides the tables: the password digits come from digits_.
    FrameRequest Request(uint8_t command, int32_t value, int32_t index, bool neutral = false,
                         int scene = 0, uint8_t modeOverride = 0) const {
        FrameRequest r;
        r.command = static_cast<Command>(command);
        r.value = value;
        r.index = index;
        r.sendNeutral = neutral;
        r.scene = scene;
        r.modeOverride = modeOverride;
        r.passwordDigits = digits_;
        return r;
    }
    std::vector<uint8_t> Build(uint8_t command, int32_t value, int32_t index, bool neutral = false,
                               int scene = 0, uint8_t modeOverride = 0) {
        const ByteResult r =
            BuildFrame(Request(command, value, index, neutral, scene, modeOverride), ws_, buffer_);
        EXPECT_TRUE(r.Ok()) << ErrorName(r.Error);
        return testing::Take(buffer_, r.Ok() ? r.Bytes : 0);
    }
    // A refused frame leaves the caller's buffer alone.
    ProtocolError Refused(uint8_t command, int32_t value, int32_t index,
                          std::size_t room = kSendBufferSize, uint8_t modeOverride = 0) {
        buffer_.fill(0xAA);
        const std::span<uint8_t> out(buffer_.data(), room);
        const ByteResult r =
            BuildFrame(Request(command, value, index, false, 0, modeOverride), ws_, out);
        EXPECT_TRUE(
            std::all_of(buffer_.begin(), buffer_.end(), [](uint8_t b) { return b == 0xAA; }))
            << "command " << int{command} << " index " << index;
        return r.Error;
    }

    model::Workspace ws_;
    std::vector<uint8_t> digits_;
    SendBuffer buffer_{};
};

TEST_F(FrameBuilderTest, GoldenFramesOfTheDefaultTables) {
    struct Case {
        uint8_t command;
        int32_t value, index;
        bool neutral;
        uint8_t modeOverride;
        const char* frame;
    };
    const Case cases[] = {
        // kind 1 address 17 (273), default 40; neutral sends 0
        {0, 0, 273, false, 0, "FE 00 00 01 11 09 00 28 41"},
        {0, 0, 273, true, 0, "FE 00 00 01 11 09 00 00 19"},
        // kind 1 address 1 (257): peaking, ShelfQ 10 (0.71), 25 Hz (index 14), 0.0 dB, Q 16
        {0, 0, 257, false, 0, "FE 00 00 01 01 0F 00 0A 00 0E 01 00 00 10 38"},
        // kind 0 address 7: 630 Hz (index 181), singing gain 400; neutral sends 0.0 dB
        {0, 0, 7, false, 0, "FE 00 00 00 07 0F 00 0A 00 B5 01 96 00 10 7A"},
        {0, 0, 7, true, 0, "FE 00 00 00 07 0F 00 0A 00 B5 01 00 00 10 E4"},
        {1, ModeField(3, 1), 1024, false, 0, "FE 01 0E 04 00 09 23 23 60"},
        {11, ModeField(3, 0), 0, false, 0, "FE 0B 03 00 00 09 23 23 5B"},
        // kinds 8..10 belong to no mode: byte 2 is 0 unless the override names one
        {11, 3, 2560, false, 0, "FE 0B 00 0A 00 09 23 23 62"},
        {11, 3, 2560, false, 3, "FE 0B 03 0A 00 09 23 23 65"},
        {2, 2, 2048, false, 2,
         "FE 02 02 08 00 19 00 64 00 64 00 64 00 64 00 64 00 64 00 64 00 50 00 64 93"},
        {3, 4, 0, false, 0, "FE 03 04 00 00 09 23 23 54"},
        {4, 0, 0, false, 0, "FE 04 23 23 23 09 23 23 BA"},
        {9, 0, 0, false, 0, "FE 09 23 23 23 09 23 23 BF"},
        {250, 0, 0, false, 0, "FE FA 23 23 23 0F 59 4F 50 5F 43 54 52 4C FC"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Build(c.command, c.value, c.index, c.neutral, 0, c.modeOverride), Hex(c.frame))
            << "command " << int{c.command} << " index " << c.index;
    }
    EXPECT_EQ(ws_.ParamStore.Slot(7, 0)->Gain, 400) << "a neutral write leaves the store alone";
}

TEST_F(FrameBuilderTest, WriteParamTakesTheStoreAndTheSceneGiven) {
    ws_.ParamStore.Slot(7, 0)->EQdisabled = true;  // 30181 = 120 x 250 + 181
    EXPECT_EQ(Build(0, 0, 7), Hex("FE 00 00 00 07 0F 00 0A 78 B5 01 96 00 10 F2"));
    ws_.ParamStore.Slot(273, 1)->Value = 300;
    ws_.ParamStore.SetValueAt(2598, 1, 9);  // above the mode scope: must not be sent
    EXPECT_EQ(Build(0, 0, 273, false, 1), Hex("FE 00 01 01 11 09 01 32 4D"));
    // the dance slot of kind 0 address 7 has the plain 0.0 dB gain
    EXPECT_EQ(Build(0, 7, 7, false, 1), Hex("FE 00 01 00 07 0F 00 0A 00 B5 01 00 00 10 E5"));
    EXPECT_EQ(Build(0, 0, 2598, false, 1, 4), Hex("FE 00 00 0A 26 09 00 05 3C"))
        << "slot 0, scene byte 0";
    EXPECT_EQ(BuildFrame(Request(0, 0, 273, false, 2), ws_, buffer_).Error, ProtocolError::BadSlot);
}

// The override is an input of one frame: frames without a mode byte ignore it, and nothing
// of it is left for the next frame.
TEST_F(FrameBuilderTest, ModeOverrideNamesTheModeOfThatFrameOnly) {
    EXPECT_EQ(Build(9, 0, 0, false, 0, 3), Hex("FE 09 23 23 23 09 23 23 BF"));
    EXPECT_EQ(Build(11, 3, 2560, false, 0, 3)[2], 3);
    EXPECT_EQ(Build(11, 3, 2560)[2], 0);
    EXPECT_EQ(Refused(1, 0, 3000, kSendBufferSize, 200), ProtocolError::BadIndex);
    EXPECT_EQ(Refused(11, 0, 2560, kSendBufferSize, 253), ProtocolError::BadValue);
}

TEST_F(FrameBuilderTest, WriteModeBlockTakesTheDanceSlotForSceneOneFields) {
    ws_.ModeImage.Slot(1536, 1)->Value = 7;  // only the dance slot differs
    const auto band = [](const char* freq) {
        return Concat({Hex("00 0A"), Hex(freq), Hex("01 00 00 10")});
    };
    const auto body = [&](const char* first) {
        return Concat({Hex(first), Hex("00 64 00 64 00 64 00 50 00 00 00 01"), band("00 39"),
                       band("00 65"), band("00 9E"), band("00 CD"), band("01 03"), band("01 33"),
                       band("01 63"), Hex("00 8C 00 28 00 5A 00 24 00 00 00 64")});
    };
    EXPECT_EQ(Build(2, ModeField(3, 1), 1536),
              Concat({Hex("FE 02 0E 06 00 59"), body("00 07"), Hex("E9")}));
    EXPECT_EQ(Build(2, ModeField(3, 0), 1536),
              Concat({Hex("FE 02 03 06 00 59"), body("00 64"), Hex("3B")}));
    EXPECT_EQ(Build(2, ModeField(0, 1), 1536)[7], 7) << "the dance scene of mode 0 is 11";
}

TEST_F(FrameBuilderTest, PasswordFrames) {
    digits_ = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(Build(8, kAdministratorSlot, 0), Hex("FE 08 00 02 00 0D 01 02 03 04 05 06 2A"));
    digits_.assign(6, 0);
    EXPECT_EQ(Build(8, kPanelLockSlot, 0), Hex("FE 08 00 00 00 0B 00 00 00 00 11"));
    digits_ = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(Build(8, kPanelLockSlot, 1), Hex("FE 08 00 00 01 0F 01 02 03 04 05 06 07 08 3A"));
    EXPECT_EQ(Build(8, kAdministratorSlot, 2), Hex("FE 08 00 02 02 09 23 23 59"));
    digits_[3] = 10;
    EXPECT_EQ(Refused(8, 0, 0), ProtocolError::BadPasswordDigit);
    digits_.resize(3);
    EXPECT_EQ(Refused(8, 0, 0), ProtocolError::BadPasswordDigit) << "fewer digits than the slot";
    EXPECT_EQ(Build(8, 0, 2), Hex("FE 08 00 00 02 09 23 23 57")) << "close carries no digits";
}

TEST_F(FrameBuilderTest, RefusedFrames) {
    EXPECT_EQ(Refused(5, 0, 0), ProtocolError::UnknownCommand);
    EXPECT_EQ(Refused(10, 0, 0), ProtocolError::UnknownCommand);
    EXPECT_EQ(Refused(0, 0, 3000), ProtocolError::BadIndex);
    EXPECT_EQ(Refused(0, 0, -1), ProtocolError::BadIndex);
    EXPECT_EQ(Refused(0, 0, 253), ProtocolError::BadIndex) << "low byte 0xFD is reserved";
    EXPECT_EQ(Refused(1, 253, 0), ProtocolError::BadValue);
    EXPECT_EQ(Refused(3, -1, 0), ProtocolError::BadValue);
    EXPECT_EQ(Refused(11, 3, 11 * 256), ProtocolError::BadIndex) << "no menu kind 11";
    EXPECT_EQ(Refused(8, 1, 0), ProtocolError::BadPasswordSlot);
    EXPECT_EQ(Refused(8, 2, 3), ProtocolError::BadOperation);
    EXPECT_EQ(Refused(0, 0, 7, 14), ProtocolError::BufferTooSmall) << "a band needs 15 bytes";
    std::array<uint8_t, 15> exact{};
    EXPECT_EQ(BuildFrame(Request(0, 0, 7), ws_, exact).Bytes, 15u);
    // A file that marks every entry of kind 3 as a band: 43 x 8 + 7 = 351 bytes.
    for (int i = ws_.MenuKindFirst(3); i <= ws_.MenuKindLast(3); ++i)
        ws_.ModeImage.Slot(i, 0)->FilterType = model::kEqBand;
    EXPECT_EQ(Refused(2, 1, 768), ProtocolError::FrameTooLong);
}

}  // namespace
}  // namespace vellora::protocol
