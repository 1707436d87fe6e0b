// The mode folder beside the program, or in the user's folder when the program's folder is
// read-only or holds a file of that name.
#include "storage/mode_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace vellora::storage {
namespace {

TEST(ModeFolder, BesideTheProgramElseTheUsersOwn) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString program = root.filePath("program");
    const QString user = root.filePath("user");
    ASSERT_TRUE(QDir().mkpath(program));

    ModeFolderChoice c = ChooseModeFolder(program, user);
    EXPECT_EQ(c.Path, QDir(program).filePath("Orvane"));
    EXPECT_FALSE(c.Fallback);
    EXPECT_TRUE(QFileInfo(c.Path).isDir());
    EXPECT_EQ(QDir(c.Path).entryList(QDir::Files | QDir::Hidden).size(), 0);  // probe removed
    EXPECT_EQ(SnapshotFolderBeside(c.Path), QDir(program).filePath("snapshots"));

    // A file where the folder should be: the user's folder is used, and the reason kept.
    const QString blocked = root.filePath("blocked");
    ASSERT_TRUE(QDir().mkpath(blocked));
    QFile file(QDir(blocked).filePath("Orvane"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    c = ChooseModeFolder(blocked, user);
    EXPECT_EQ(c.Path, QDir(user).filePath("Orvane"));
    EXPECT_TRUE(c.Fallback);
    EXPECT_TRUE(c.Error.contains("not a folder"));

    c = ChooseModeFolder(blocked, QString());
    EXPECT_TRUE(c.Path.isEmpty());
}

}  // namespace
}  // namespace vellora::storage
