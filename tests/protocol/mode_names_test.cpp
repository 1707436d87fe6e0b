// Mode names: the 11 x 12-byte GBK fields of the names reply, and names that must become safe
// file names whatever the device sends.
#include "protocol/mode_names.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
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

TEST(ModeNamesTest, SafeBaseNames) {
    struct Case {
        std::string name;
        int mode;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"abc", 0, "abc"},       {"模式1", 0, "模式1"},     {"", 2, "模式3"},
        {"   ", 0, "模式1"},     {"...", 4, "模式5"},       {"a/b", 0, "a_b"},
        {"a\\b", 0, "a_b"},      {"a\tb\x01", 0, "a_b_"},   {"x.", 0, "x"},
        {"a..b", 0, "a.b"},      {".hidden", 0, "_hidden"}, {"../etc/passwd", 0, "__etc_passwd"},
        {"CON", 0, "_CON"},      {"com1", 0, "_com1"},      {"nul.txt", 0, "_nul.txt"},
        {"a:b*c?", 0, "a_b_c_"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ModeFileBaseName(c.name, c.mode), c.expected) << "name '" << c.name << "'";
}

TEST(ModeNamesTest, HostileNamesNeverLeaveTheFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const char* hostile[] = {"..",   "../..",        "/",         "/etc/passwd", "..\\..\\x",
                             "\n",   "............", "a/../../b", "\x7f\x1b[2J", " . ",
                             "C:\\x"};
    for (int mode = 0; mode < static_cast<int>(std::size(hostile)); ++mode) {
        SCOPED_TRACE(hostile[mode]);
        const QString base = ModeFileBaseName(hostile[mode], mode);
        EXPECT_FALSE(base.isEmpty() || base.contains('/') || base.contains('\\') ||
                     base.contains(".."));
        for (const QChar c : base) EXPECT_GE(c.unicode(), 0x20);
        const auto path = ModeFilePath(dir.path(), base);
        ASSERT_TRUE(path.has_value());
        EXPECT_EQ(QFileInfo(*path).absolutePath(), QDir(dir.path()).absolutePath());
        EXPECT_TRUE(path->endsWith(".vl"));
    }
    EXPECT_EQ(ModeFilePath(dir.path(), "abc"), QDir(dir.path()).absoluteFilePath("abc.vl"));
    for (const char* refused : {"", "..", "../abc", "sub/abc"})
        EXPECT_FALSE(ModeFilePath(dir.path(), refused).has_value()) << refused;
}

TEST(ModeNamesTest, CollisionsGetASuffixIgnoringCase) {
    EXPECT_EQ(UniqueBaseName("abc", {}), "abc");
    EXPECT_EQ(UniqueBaseName("abc", {"ABC"}), "abc (2)");
    EXPECT_EQ(UniqueBaseName("abc", {"abc", "abc (2)"}), "abc (3)");
    EXPECT_EQ(UniqueBaseName("模式1", {"模式10"}), "模式1");
}

}  // namespace
}  // namespace vellora::protocol
