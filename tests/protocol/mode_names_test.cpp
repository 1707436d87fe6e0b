// Mode names: the 11 x 12-byte GBK fields of the names reply, and GBK text both ways.
#include "protocol/mode_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hex_bytes.h"

namespace vellora::protocol {
namespace {

using testing::Hex;
using testing::Text;

TEST(ModeNamesTest, DecodesGbkFieldsUpToTheirFirstZero) {
    std::vector<uint8_t> payload(kModeNameCount * kModeNameBytes, 0);
    const auto put = [&payload](std::size_t field, const std::vector<uint8_t>& bytes) {
        std::copy(bytes.begin(), bytes.end(), payload.begin() + field * kModeNameBytes);
    };
    put(0, Hex("C4 A3 CA BD 31"));     // "模式1" in GBK
    put(1, {'a', 'b', 'c', 0, 'x'});   // bytes after the zero belong to no name
    put(2, Hex("BF A8 C0 AD 4F 4B"));  // "卡拉OK"
    put(10, Text("ABCDEFGHIJKL"));     // a full field has no zero byte
    const auto names = DecodeModeNames(payload);
    EXPECT_EQ(names[0], "模式1");
    EXPECT_EQ(names[1], "abc");
    EXPECT_EQ(names[2], "卡拉OK");
    EXPECT_EQ(names[3], "");
    EXPECT_EQ(names[10], "ABCDEFGHIJKL");

    payload.resize(28);  // names 0 and 1 whole, name 2 cut to 4 bytes
    const auto cut = DecodeModeNames(payload);
    EXPECT_EQ(cut[1], "abc");
    EXPECT_EQ(cut[2], "卡拉");
    for (std::size_t i = 3; i < cut.size(); ++i) EXPECT_EQ(cut[i], "") << i;
    EXPECT_EQ(DecodeModeNames({})[0], "");
}

TEST(ModeNamesTest, GbkBothWaysAndRefusals) {
    std::vector<uint8_t> out;
    if (EncodeGbk("a", out) == GbkEncodeError::NoConverter)
        GTEST_SKIP() << "no GBK converter in this Qt build";
    struct Case {
        std::string text;
        const char* gbk;
    };
    const std::vector<Case> cases = {
        {"模式1", "C4 A3 CA BD 31"},
        {"卡拉OK", "BF A8 C0 AD 4F 4B"},
        {"三", "C8 FD"},  // a second byte the frames reserve: the device refuses such names
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(EncodeGbk(c.text, out), GbkEncodeError::Ok);
        EXPECT_EQ(out, Hex(c.gbk));
        EXPECT_EQ(DecodeGbk(Hex(c.gbk)), c.text);
    }
    // A character GBK cannot say is refused, never replaced; so is text that is not UTF-8.
    out = Hex("01 02");
    for (const std::string refused : {"模式😀", "\xC3", "ab\xE2\x82"}) {
        EXPECT_EQ(EncodeGbk(refused, out), GbkEncodeError::NotGbk) << refused;
        EXPECT_EQ(out, Hex("01 02"));
    }
    // A lead byte without its second byte becomes U+FFFD; the rest of the name stays.
    EXPECT_EQ(DecodeGbk(Hex("41 81 20 42")), "A\uFFFD B");
}

}  // namespace
}  // namespace vellora::protocol
