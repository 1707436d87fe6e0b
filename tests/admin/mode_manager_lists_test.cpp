// The mode manager's lists without a window: the name column, the row texts, the folder scan
// with more files than the list holds, assignments and their moves, download file names.
#include "admin/mode_manager_lists.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace vellora::admin {
namespace {

TEST(ModeManagerLists, NameColumnIsTwelveGbkBytes) {
    const struct {
        const char* name;
        const char* shown;
    } cases[] = {
        {"ab", "ab          "},
        {"", "            "},
        {"模式1", "模式1       "},             // 5 bytes + 7 spaces
        {"一二三四五六", "一二三四五六"},      // 12 bytes: whole
        {"一二三四五六七", "一二三四五六七"},  // 14 bytes: its first 12 characters
        {"abcdefghijklmn", "abcdefghijkl"},    // cut to 12 characters
        {"a一二三四五", "a一二三四五 "},       // 11 bytes + 1 space
    };
    for (const auto& c : cases)
        EXPECT_EQ(PadModeName(QString::fromUtf8(c.name)), QString::fromUtf8(c.shown)) << c.name;
}

TEST(ModeManagerLists, RowTexts) {
    EXPECT_EQ(ModeListHeader(), QString::fromUtf8("模式号\t| 原配置        | 新配置"));
    EXPECT_EQ(FileListHeader(), QString::fromUtf8("文件号\t| 名称"));
    EXPECT_EQ(ModeRowText(0, "abc", "live"), QString::fromUtf8("模式 1\t| abc           | live"));
    EXPECT_EQ(ModeRowText(9, QString(), QString()),
              QString::fromUtf8("模式 10\t|               | "));
    EXPECT_EQ(FileRowText(1, "abc"), QString::fromUtf8("文件1\t| abc"));
}

// At most 100 files are listed; more break nothing and are counted.
TEST(ModeManagerLists, FolderScanListsAtMostAHundred) {
    QTemporaryDir dir;
    for (int i = 0; i < 103; ++i) {
        QFile f(
            QDir(dir.path()).filePath(QStringLiteral("m%1.vl").arg(i, 3, 10, QLatin1Char('0'))));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    for (const char* other : {"x.VL", "notes.txt", ".vl"}) {
        QFile f(QDir(dir.path()).filePath(other));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.vl"));
    const FolderScan scan = ScanModeFolder(dir.path());
    ASSERT_EQ(scan.Files.size(), kMaxModeFiles);
    EXPECT_EQ(scan.Left, 4);  // m100..m102 and x.VL, a settings file saved as ".VL"
    EXPECT_EQ(scan.Files.front(), "m000");
    EXPECT_EQ(scan.Files.back(), "m099");
    EXPECT_EQ(scan.FileNames.back(), "m099.vl");

    // A settings file saved by the launcher (".VL") is a mode file too, opened by its own name.
    QTemporaryDir few;
    for (const char* name : {"b.VL", "a.vl", "c.Vl"}) {
        QFile f(QDir(few.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const FolderScan mixed = ScanModeFolder(few.path());
    EXPECT_EQ(mixed.Files, QStringList({"a", "b", "c"}));
    EXPECT_EQ(mixed.FileNames, QStringList({"a.vl", "b.VL", "c.Vl"}));
    EXPECT_TRUE(ScanModeFolder(dir.filePath("missing")).Files.isEmpty());
    EXPECT_TRUE(ScanModeFolder(QString()).Files.isEmpty());
}

ModeAssign Assigned(std::initializer_list<std::pair<int, const char*>> rows) {
    ModeAssign a;
    for (const auto& [row, file] : rows) a[static_cast<std::size_t>(row)] = file;
    return a;
}

TEST(ModeManagerLists, AssignFilesToFreeRows) {
    const struct {
        ModeAssign before;
        std::vector<int> rows;
        ModeAssign after;
        std::vector<int> given;
    } cases[] = {
        // No row selected: the first empty rows.
        {Assigned({{0, "old"}}), {}, Assigned({{0, "old"}, {1, "f1"}, {2, "f2"}}), {1, 2}},
        // Rows 3 and 7 selected, 3 taken: the first file goes to 7, the second is dropped.
        {Assigned({{3, "old"}}), {3, 7}, Assigned({{3, "old"}, {7, "f1"}}), {7}},
    };
    for (const auto& c : cases) {
        ModeAssign a = c.before;
        EXPECT_EQ(AssignFiles(a, {"f1", "f2"}, c.rows), c.given);
        EXPECT_EQ(a, c.after);
    }
}

TEST(ModeManagerLists, MovesFollowTheSelection) {
    const ModeAssign start = Assigned({{0, "a"}, {1, "b"}, {2, "c"}, {3, "d"}, {4, "e"}, {9, "z"}});
    const struct {
        int step;
        std::vector<int> rows;
        bool moved;
        std::vector<int> selected;
        ModeAssign after;
    } cases[] = {
        {-1, {0, 4}, false, {}, start},
        {-1,
         {2, 4},
         true,
         {1, 3},
         Assigned({{0, "a"}, {1, "c"}, {2, "b"}, {3, "e"}, {4, "d"}, {9, "z"}})},
        {-1,
         {2, 3},
         true,
         {1, 2},
         Assigned({{0, "a"}, {1, "c"}, {2, "d"}, {3, "b"}, {4, "e"}, {9, "z"}})},
        {+1, {4, 9}, false, {}, start},
        {+1,
         {3, 4},
         true,
         {4, 5},
         Assigned({{0, "a"}, {1, "b"}, {2, "c"}, {4, "d"}, {5, "e"}, {9, "z"}})},
    };
    for (const auto& c : cases) {
        ModeAssign a = start;
        const MoveResult r = c.step < 0 ? MoveUp(a, c.rows) : MoveDown(a, c.rows);
        EXPECT_EQ(r.Moved, c.moved);
        EXPECT_EQ(r.Selected, c.selected);
        EXPECT_EQ(a, c.after);
    }
}

TEST(ModeManagerLists, DownloadNamesAreSafeAndDistinct) {
    std::array<QString, 11> names;
    names[0] = "abc";
    names[1] = "ABC";
    names[2] = "";
    names[3] = "a/b:c";
    names[4] = "..";
    const std::vector<QString> bases = DownloadBaseNames(names, {0, 1, 2, 3, 4});
    EXPECT_EQ(bases, (std::vector<QString>{"abc", "ABC (2)", QString::fromUtf8("模式3"), "a_b_c",
                                           QString::fromUtf8("模式5")}));
}

}  // namespace
}  // namespace vellora::admin
