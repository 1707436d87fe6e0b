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

std::vector<uint8_t> NamesReply(const std::vector<std::vector<uint8_t>>& fields) {
    std::vector<uint8_t> payload(kModeNameCount * kModeNameBytes, 0);
    for (std::size_t i = 0; i < fields.size(); ++i)
        for (std::size_t b = 0; b < fields[i].size() && b < kModeNameBytes; ++b)
            payload[i * kModeNameBytes + b] = fields[i][b];
    return payload;
}

TEST(ModeNamesTest, DecodesGbkFieldsUpToTheirFirstZero) {
    // "模式1" in GBK is C4 A3 CA BD 31; "卡拉OK" is BF A8 C0 AD 4F 4B.
    const auto payload = NamesReply({Hex("C4 A3 CA BD 31"),
                                     {'a', 'b', 'c', 0, 'x', 'y', 'z'},
                                     Hex("BF A8 C0 AD 4F 4B"),
                                     {},
                                     {},
                                     {},
                                     {},
                                     {},
                                     {},
                                     {},
                                     Text("ABCDEFGHIJKL")});
    const auto names = DecodeModeNames(payload);
    EXPECT_EQ(names[0], "模式1");
    EXPECT_EQ(names[1], "abc") << "bytes after the zero belong to no name";
    EXPECT_EQ(names[2], "卡拉OK");
    EXPECT_EQ(names[3], "");
    EXPECT_EQ(names[10], "ABCDEFGHIJKL") << "a full field has no zero byte";
}

TEST(ModeNamesTest, ShortReplyLeavesTheMissingNamesEmpty) {
    auto payload = NamesReply({Text("first"), Text("second"), Text("third-name")});
    payload.resize(30);  // names 0 and 1 whole, name 2 cut to 6 bytes
    const auto names = DecodeModeNames(payload);
    EXPECT_EQ(names[0], "first");
    EXPECT_EQ(names[1], "second");
    EXPECT_EQ(names[2], "third-");
    for (int i = 3; i < kModeNameCount; ++i) EXPECT_EQ(names[static_cast<std::size_t>(i)], "");
    EXPECT_EQ(DecodeModeNames({})[0], "");
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
    const std::vector<std::string> hostile = {"..",
                                              "../..",
                                              "/",
                                              "/etc/passwd",
                                              "..\\..\\x",
                                              "\n",
                                              std::string(12, '.'),
                                              "a/../../b",
                                              std::string("\x7f\x1b[2J"),
                                              " . ",
                                              "C:\\x"};
    for (int mode = 0; mode < static_cast<int>(hostile.size()); ++mode) {
        const QString base = ModeFileBaseName(hostile[static_cast<std::size_t>(mode)], mode);
        SCOPED_TRACE(hostile[static_cast<std::size_t>(mode)]);
        EXPECT_FALSE(base.isEmpty());
        EXPECT_FALSE(base.contains('/'));
        EXPECT_FALSE(base.contains('\\'));
        EXPECT_FALSE(base.contains(".."));
        for (const QChar c : base) EXPECT_GE(c.unicode(), 0x20);
        const auto path = ModeFilePath(dir.path(), base);
        ASSERT_TRUE(path.has_value());
        EXPECT_EQ(QFileInfo(*path).absolutePath(), QDir(dir.path()).absolutePath());
        EXPECT_TRUE(path->endsWith(".vl"));
    }
}

TEST(ModeNamesTest, PathsRefuseAnythingButAPlainName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(ModeFilePath(dir.path(), "abc"), QDir(dir.path()).absoluteFilePath("abc.vl"));
    EXPECT_FALSE(ModeFilePath(dir.path(), "").has_value());
    EXPECT_FALSE(ModeFilePath(dir.path(), "..").has_value());
    EXPECT_FALSE(ModeFilePath(dir.path(), "../abc").has_value());
    EXPECT_FALSE(ModeFilePath(dir.path(), "sub/abc").has_value());
}

TEST(ModeNamesTest, CollisionsGetASuffixIgnoringCase) {
    EXPECT_EQ(UniqueBaseName("abc", {}), "abc");
    EXPECT_EQ(UniqueBaseName("abc", {"ABC"}), "abc (2)");
    EXPECT_EQ(UniqueBaseName("abc", {"abc", "abc (2)"}), "abc (3)");
    EXPECT_EQ(UniqueBaseName("模式1", {"模式10"}), "模式1");
}

}  // namespace
}  // namespace vellora::protocol
