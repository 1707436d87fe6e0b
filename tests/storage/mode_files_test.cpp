// Mode files: names that must become safe, distinct file names inside the mode folder
// whatever the device sends.
#include "storage/mode_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <string>
#include <vector>

namespace vellora::storage {
namespace {

TEST(ModeFilesTest, SafeBaseNames) {
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

TEST(ModeFilesTest, HostileNamesNeverLeaveTheFolder) {
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

TEST(ModeFilesTest, CollisionsGetASuffixIgnoringCase) {
    EXPECT_EQ(UniqueBaseName("abc", {}), "abc");
    EXPECT_EQ(UniqueBaseName("abc", {"ABC"}), "abc (2)");
    EXPECT_EQ(UniqueBaseName("abc", {"abc", "abc (2)"}), "abc (3)");
    EXPECT_EQ(UniqueBaseName("模式1", {"模式10"}), "模式1");
}

}  // namespace
}  // namespace vellora::storage
