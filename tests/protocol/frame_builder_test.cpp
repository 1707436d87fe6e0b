// Golden frames for every command, the header rules in their order, the one-shot mode
// override, neutral writes, password frames and the frames that must be refused.
#include "protocol/frame_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "hex_bytes.h"

namespace vellora::protocol {
namespace {

using testing::Hex;

class FrameBuilderTest : public ::testing::Test {
protected:
    std::vector<uint8_t> Build(uint8_t command, int32_t value, int32_t index,
                               bool neutral = false) {
        buffer_.fill(0xAA);
        const ByteResult r = builder_.Build(command, value, index, neutral, buffer_);
        EXPECT_TRUE(r.Ok()) << ErrorName(r.Error);
        return testing::Take(buffer_, r.Ok() ? r.Bytes : 0);
    }
    ProtocolError Refused(uint8_t command, int32_t value, int32_t index) {
        buffer_.fill(0xAA);
        const ByteResult r = builder_.Build(command, value, index, false, buffer_);
        EXPECT_TRUE(std::all_of(buffer_.begin(), buffer_.end(), [](uint8_t b) {
            return b == 0xAA;
        })) << "a refused frame leaves the send buffer alone";
        return r.Error;
    }

    model::Workspace ws_;
    LinkState link_;
    FrameBuilder builder_{ws_, link_};
    SendBuffer buffer_{};
};

TEST_F(FrameBuilderTest, WriteParamPlainEntryIsNineBytes) {
    // kind 1 address 17 (273), default 40, singing scene
    EXPECT_EQ(Build(0, 0, 273), Hex("FE 00 00 01 11 09 00 28 41"));
}

TEST_F(FrameBuilderTest, WriteParamBandIsFifteenBytesWithItsDefaults) {
    // kind 1 address 1 (257): peaking, ShelfQ 10 (0.71), 25 Hz (index 14), 0.0 dB, Q 16 (1.00)
    EXPECT_EQ(Build(0, 0, 257), Hex("FE 00 00 01 01 0F 00 0A 00 0E 01 00 00 10 38"));
    // kind 0 address 7: 630 Hz (index 181), singing gain 400
    EXPECT_EQ(Build(0, 0, 7), Hex("FE 00 00 00 07 0F 00 0A 00 B5 01 96 00 10 7A"));
}

TEST_F(FrameBuilderTest, WriteParamTakesTheCurrentSceneSlot) {
    ws_.ParamStore.Slot(273, 1)->Value = 300;
    ASSERT_TRUE(ws_.SetCurrentScene(1));
    EXPECT_EQ(Build(0, 0, 273), Hex("FE 00 01 01 11 09 01 32 4D"));
    // the dance slot of kind 0 address 7 has the plain 0.0 dB gain
    EXPECT_EQ(Build(0, 7, 7), Hex("FE 00 01 00 07 0F 00 0A 00 B5 01 00 00 10 E5"));
}

TEST_F(FrameBuilderTest, WriteParamAboveModeScopeCarriesSceneZero) {
    ws_.ParamStore.SetValueAt(2598, 1, 9);  // must not be sent
    ASSERT_TRUE(ws_.SetCurrentScene(1));
    link_.ModeOverride = 4;
    EXPECT_EQ(Build(0, 0, 2598), Hex("FE 00 00 0A 26 09 00 05 3C"));
    EXPECT_EQ(link_.ModeOverride, 0) << "consumed";
}

TEST_F(FrameBuilderTest, SendNeutral) {
    EXPECT_EQ(Build(0, 0, 7, true), Hex("FE 00 00 00 07 0F 00 0A 00 B5 01 00 00 10 E4"));
    EXPECT_EQ(Build(0, 0, 273, true), Hex("FE 00 00 01 11 09 00 00 19"));
    EXPECT_EQ(ws_.ParamStore.Slot(7, 0)->Gain, 400) << "the store keeps its value";
}

TEST_F(FrameBuilderTest, DisabledBandSendsFreqPlus30000) {
    ws_.ParamStore.Slot(7, 0)->EQdisabled = true;  // 30181 = 120 x 250 + 181
    EXPECT_EQ(Build(0, 0, 7), Hex("FE 00 00 00 07 0F 00 0A 78 B5 01 96 00 10 F2"));
}

TEST_F(FrameBuilderTest, OutOfRangeFileValuesNeverReachTheWireRaw) {
    model::SceneSlot& band = *ws_.ParamStore.Slot(7, 0);
    band.QType = 255;
    band.ShelfQ = 300;
    band.Freq = 5000;
    band.Gain = -7;
    band.Q = 900;
    const auto frame = Build(0, 0, 7);
    EXPECT_EQ(frame, Hex("FE 00 00 00 07 0F F9 F9 14 00 00 00 03 96 B3"));
    EXPECT_TRUE(std::none_of(frame.begin() + 1, frame.end(), [](uint8_t b) { return b > 252; }));
}

TEST_F(FrameBuilderTest, ReadBlocksCarryTheModeField) {
    EXPECT_EQ(Build(1, ModeField(3, 1), 1024), Hex("FE 01 0E 04 00 09 23 23 60"));
    EXPECT_EQ(Build(11, ModeField(3, 0), 0), Hex("FE 0B 03 00 00 09 23 23 5B"));
}

TEST_F(FrameBuilderTest, ModeOverrideServesExactlyOneFrame) {
    link_.ModeOverride = 3;
    EXPECT_EQ(Build(11, 3, 2560), Hex("FE 0B 03 0A 00 09 23 23 65"));
    EXPECT_EQ(link_.ModeOverride, 0);
    EXPECT_EQ(Build(11, 3, 2560), Hex("FE 0B 00 0A 00 09 23 23 62"))
        << "without the override a kind of no mode carries 0";
}

TEST_F(FrameBuilderTest, ModeOverrideSurvivesCommandsWithoutAModeByte) {
    link_.ModeOverride = 3;
    (void)Build(9, 0, 0);
    EXPECT_EQ(link_.ModeOverride, 3);
}

TEST_F(FrameBuilderTest, WriteModeBlockOfKindEight) {
    link_.ModeOverride = 2;
    EXPECT_EQ(Build(2, 2, 2048),
              Hex("FE 02 02 08 00 19 00 64 00 64 00 64 00 64 00 64 00 64 00 64 00 50 00 64 93"));
}

TEST_F(FrameBuilderTest, WriteModeBlockTakesTheDanceSlotForSceneOneFields) {
    ws_.ModeImage.Slot(1536, 1)->Value = 7;  // only the dance slot differs
    const auto band = [](const char* freq) {
        return testing::Concat({Hex("00 0A"), Hex(freq), Hex("01 00 00 10")});
    };
    const auto body = [&](const char* first) {
        return testing::Concat({Hex(first), Hex("00 64 00 64 00 64 00 50 00 00 00 01"),
                                band("00 39"), band("00 65"), band("00 9E"), band("00 CD"),
                                band("01 03"), band("01 33"), band("01 63"),
                                Hex("00 8C 00 28 00 5A 00 24 00 00 00 64")});
    };
    EXPECT_EQ(Build(2, ModeField(3, 1), 1536),
              testing::Concat({Hex("FE 02 0E 06 00 59"), body("00 07"), Hex("E9")}));
    EXPECT_EQ(Build(2, ModeField(3, 0), 1536),
              testing::Concat({Hex("FE 02 03 06 00 59"), body("00 64"), Hex("3B")}));
}

TEST_F(FrameBuilderTest, SaveNamesAndCurrentMode) {
    EXPECT_EQ(Build(3, 4, 0), Hex("FE 03 04 00 00 09 23 23 54"));
    EXPECT_EQ(Build(4, 0, 0), Hex("FE 04 23 23 23 09 23 23 BA"));
    EXPECT_EQ(Build(9, 0, 0), Hex("FE 09 23 23 23 09 23 23 BF"));
    EXPECT_EQ(Build(250, 0, 0), Hex("FE FA 23 23 23 0F 59 4F 50 5F 43 54 52 4C FC"));
}

TEST_F(FrameBuilderTest, PasswordFrames) {
    link_.PasswordDigits = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(Build(8, kAdministratorSlot, 0), Hex("FE 08 00 02 00 0D 01 02 03 04 05 06 2A"));
    link_.PasswordDigits.fill(0);
    EXPECT_EQ(Build(8, kPanelLockSlot, 0), Hex("FE 08 00 00 00 0B 00 00 00 00 11"));
    link_.PasswordDigits = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(Build(8, kPanelLockSlot, 1), Hex("FE 08 00 00 01 0F 01 02 03 04 05 06 07 08 3A"));
    EXPECT_EQ(Build(8, kAdministratorSlot, 2), Hex("FE 08 00 02 02 09 23 23 59"));
}

TEST_F(FrameBuilderTest, RefusedFrames) {
    EXPECT_EQ(Refused(5, 0, 0), ProtocolError::UnknownCommand);
    EXPECT_EQ(Refused(0, 0, 3000), ProtocolError::BadIndex);
    EXPECT_EQ(Refused(0, 0, -1), ProtocolError::BadIndex);
    EXPECT_EQ(Refused(0, 0, 253), ProtocolError::BadIndex) << "low byte 0xFD is reserved";
    EXPECT_EQ(Refused(1, 253, 0), ProtocolError::BadValue);
    EXPECT_EQ(Refused(3, -1, 0), ProtocolError::BadValue);
    EXPECT_EQ(Refused(11, 3, 11 * 256), ProtocolError::BadIndex) << "no menu kind 11";
    EXPECT_EQ(Refused(8, 1, 0), ProtocolError::BadPasswordSlot);
    EXPECT_EQ(Refused(8, 2, 3), ProtocolError::BadOperation);
    link_.PasswordDigits[3] = 10;
    EXPECT_EQ(Refused(8, 0, 0), ProtocolError::BadPasswordDigit);
    EXPECT_EQ(Build(8, 0, 2), Hex("FE 08 00 00 02 09 23 23 57")) << "close carries no digits";
}

TEST_F(FrameBuilderTest, OverrideIsConsumedByARefusedFrame) {
    link_.ModeOverride = 200;
    EXPECT_EQ(Refused(1, 0, 3000), ProtocolError::BadIndex);
    EXPECT_EQ(link_.ModeOverride, 0);
}

TEST_F(FrameBuilderTest, BlockLongerThan255BytesIsRefused) {
    // A file that marks every entry of kind 3 as a band: 43 x 8 + 7 = 351 bytes.
    for (int i = ws_.MenuKindFirst(3); i <= ws_.MenuKindLast(3); ++i)
        ws_.ModeImage.Slot(i, 0)->FilterType = model::kEqBand;
    EXPECT_EQ(Refused(2, 1, 768), ProtocolError::FrameTooLong);
}

TEST_F(FrameBuilderTest, CallerBufferTooSmall) {
    std::array<uint8_t, 14> small{};
    small.fill(0xAA);
    EXPECT_EQ(builder_.Build(Command::WriteParam, 0, 7, false, small).Error,
              ProtocolError::BufferTooSmall);
    EXPECT_TRUE(std::all_of(small.begin(), small.end(), [](uint8_t b) { return b == 0xAA; }));
    std::array<uint8_t, 15> exact{};
    EXPECT_EQ(builder_.Build(Command::WriteParam, 0, 7, false, exact).Bytes, 15u);
}

}  // namespace
}  // namespace vellora::protocol
