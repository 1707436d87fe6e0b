// Value pairs, the checksum rule, mode fields and the search frame against their wire bytes.
#include "protocol/wire_format.h"

#include <gtest/gtest.h>

#include "hex_bytes.h"

namespace vellora::protocol {
namespace {

using testing::Hex;

TEST(ValuePair, EncodesBase250HighFirst) {
    struct Case {
        int32_t value;
        uint8_t high, low;
    };
    for (const Case c : {Case{30362, 0x79, 0x70}, Case{250, 0x01, 0x00}, Case{249, 0x00, 0xF9},
                         Case{0, 0x00, 0x00}, Case{62499, 0xF9, 0xF9}}) {
        const ValuePair p = ValuePair::Encode(c.value);
        EXPECT_EQ(p.High, c.high) << c.value;
        EXPECT_EQ(p.Low, c.low) << c.value;
        EXPECT_EQ(p.Value(), c.value);
    }
}

TEST(ValuePair, ClampsValuesThatCannotTravel) {
    EXPECT_EQ(ValuePair::Encode(-1).Value(), 0);
    EXPECT_EQ(ValuePair::Encode(62500).Value(), 62499);
    EXPECT_EQ(ValuePair::Encode(1'000'000).High, 0xF9);
    EXPECT_EQ(ValuePair::Decode(0x79, 0x70), 30362);
}

TEST(FrameChecksum, ReservedSumsBecomeZero) {
    const auto sum = [](std::vector<uint8_t> bytes) { return FrameChecksum(bytes); };
    EXPECT_EQ(sum(Hex("FE")), 0x00);
    EXPECT_EQ(sum(Hex("FD")), 0x00);
    EXPECT_EQ(sum(Hex("FF")), 0x00);
    EXPECT_EQ(sum(Hex("FC")), 0xFC);
    EXPECT_EQ(sum(Hex("FE 05 FA 01")), 0x00);  // 510 mod 256 = 0xFE
    EXPECT_EQ(sum(Hex("80 80 01")), 0x01);     // wraps modulo 256
}

TEST(ModeField, SceneOneAddsEleven) {
    EXPECT_EQ(ModeField(3, 0), 3);
    EXPECT_EQ(ModeField(3, 1), 14);
    EXPECT_EQ(ModeField(10, 1), 21);
}

TEST(LinkSearchFrame, IsExactlyTheHandshake) {
    const auto frame = LinkSearchFrame();
    EXPECT_EQ(std::vector<uint8_t>(frame.begin(), frame.end()),
              Hex("FE FA 23 23 23 0F 59 4F 50 5F 43 54 52 4C FC"));
}

TEST(SingleBytes, KeepAliveAndToneKey) {
    EXPECT_EQ(KeepAliveByte, 0xFF);
    EXPECT_EQ(ToneKeyByte, 0xFD);
    EXPECT_TRUE(IsKnownCommand(250));
    EXPECT_FALSE(IsKnownCommand(5));
    EXPECT_FALSE(IsKnownCommand(10));
}

}  // namespace
}  // namespace vellora::protocol
