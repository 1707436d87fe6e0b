// Snapshots before whole writes: names by date, time and mode, the saved image, the folder
// made on first use or refused, and pruning to the newest 200, oldest first.
#include "storage/snapshot_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "model/workspace.h"
#include "storage/settings_file.h"

namespace vellora::storage {
namespace {

QDateTime At(int day, int hour, int minute, int second) {
    return QDateTime(QDate(2026, 3, day), QTime(hour, minute, second));
}

void Touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(SnapshotStore, NamesByDateTimeAndMode) {
    struct Case {
        QDateTime at;
        int mode;
        SnapshotPart part;
        const char* name;
    };
    const Case cases[] = {
        {At(1, 9, 5, 7), 0, SnapshotPart::StoredMode, "20260301-090507-mode01.vl"},
        {At(31, 23, 59, 59), 9, SnapshotPart::StoredMode, "20260331-235959-mode10.vl"},
        {At(2, 0, 0, 0), 10, SnapshotPart::WorkingSettings, "20260302-000000-mode11-working.vl"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SnapshotStore::FileName(c.at, c.mode, c.part), QString::fromLatin1(c.name));
}

TEST(SnapshotStore, SavesTheImageInAFolderMadeOnFirstUse) {
    QTemporaryDir root;
    const QString folder = root.filePath("snapshots");
    SnapshotStore store(folder, [] { return At(4, 12, 0, 1); });
    model::Workspace ws;
    ws.ModeImage = ws.ParamStore;
    ws.ModeImage.SetValueAt(300, 0, 17);

    const SnapshotSaved first = store.Save(ws.ModeImage, 2, SnapshotPart::StoredMode);
    ASSERT_TRUE(first.Ok()) << SnapshotFailureText(first);
    EXPECT_EQ(first.Path, QDir(folder).filePath("20260304-120001-mode03.vl"));
    // The same second again: a new name, nothing replaced.
    const SnapshotSaved second = store.Save(ws.ParamStore, 2, SnapshotPart::StoredMode);
    EXPECT_EQ(second.Path, QDir(folder).filePath("20260304-120001-mode03-2.vl"));
    // Another mode in that second: numbered on, so the order they were taken in is kept.
    const SnapshotSaved third = store.Save(ws.ParamStore, 0, SnapshotPart::WorkingSettings);
    EXPECT_EQ(third.Path, QDir(folder).filePath("20260304-120001-mode01-working-3.vl"));
    EXPECT_EQ(store.List(), QStringList({first.Path, second.Path, third.Path}));

    model::Workspace back;
    ASSERT_EQ(LoadSettingsFile(first.Path, back), StorageError::Ok);
    EXPECT_EQ(back.ModeImage.ValueAt(300, 0), 17);
    ASSERT_EQ(LoadSettingsFile(second.Path, back), StorageError::Ok);
    EXPECT_EQ(back.ModeImage.ValueAt(300, 0), ws.ParamStore.ValueAt(300, 0));

    // A file where the folder should be: refused with the reason, nothing written.
    Touch(root.filePath("blocked"));
    SnapshotStore blocked(root.filePath("blocked"), [] { return At(4, 12, 0, 1); });
    const SnapshotSaved refused = blocked.Save(ws.ParamStore, 0, SnapshotPart::StoredMode);
    EXPECT_EQ(refused.Error, SnapshotError::NoFolder);
    EXPECT_NE(SnapshotFailureMessage(refused).find("blocked"), std::string::npos);
    EXPECT_NE(SnapshotFailureText(refused).find("cannot make"), std::string::npos);
    EXPECT_EQ(SnapshotStore(QString(), {}).Save(ws.ParamStore, 0, SnapshotPart::StoredMode).Error,
              SnapshotError::NoFolder);
}

// 200 kept: the oldest by the time in the name go first, whatever order the files were made
// in; files that are not snapshots stay.
TEST(SnapshotStore, KeepsTheNewest200) {
    QTemporaryDir root;
    const QString folder = root.path();
    // 201 old snapshots, made newest first, over several days and modes.
    for (int i = 200; i >= 0; --i)
        Touch(QDir(folder).filePath(SnapshotStore::FileName(
            At(1 + i / 100, 10, (i / 60) % 60, i % 60), i % 10, SnapshotPart::StoredMode)));
    Touch(QDir(folder).filePath("20200101-000000-mode01.VL.txt"));
    Touch(QDir(folder).filePath("mine.vl"));

    SnapshotStore store(folder, [] { return At(20, 8, 0, 0); });
    model::Workspace ws;
    const SnapshotSaved saved = store.Save(ws.ParamStore, 4, SnapshotPart::WorkingSettings);
    ASSERT_TRUE(saved.Ok());
    EXPECT_TRUE(saved.NotRemoved.isEmpty());

    const QStringList kept = store.List();
    ASSERT_EQ(kept.size(), SnapshotStore::kKept);
    EXPECT_EQ(kept.back(), saved.Path);
    // i = 0 and i = 1 were the oldest two.
    EXPECT_EQ(QFileInfo(kept.front()).fileName(), QStringLiteral("20260301-100002-mode03.vl"));
    EXPECT_FALSE(QFileInfo::exists(QDir(folder).filePath("20260301-100000-mode01.vl")));
    EXPECT_FALSE(QFileInfo::exists(QDir(folder).filePath("20260301-100001-mode02.vl")));
    EXPECT_TRUE(QFileInfo::exists(QDir(folder).filePath("mine.vl")));
    EXPECT_TRUE(QFileInfo::exists(QDir(folder).filePath("20200101-000000-mode01.VL.txt")));
}

}  // namespace
}  // namespace vellora::storage
