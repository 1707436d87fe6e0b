// Snapshot files: names by date, time and mode, saving, listing and pruning.
#include "storage/snapshot_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <tuple>
#include <vector>

#include "storage/settings_file.h"

namespace vellora::storage {

namespace {

// stamp, mode, "-working", sequence
const QRegularExpression& SnapshotPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{8}-\\d{6})-mode(\\d{2})(-working)?(?:-(\\d+))?\\.vl$"));
    return pattern;
}

struct Entry {
    QString stamp;
    int sequence;
    QString name;
};

}  // namespace

std::string SnapshotFailureMessage(const SnapshotSaved& saved) {
    const std::string path = QDir::toNativeSeparators(saved.Path).toStdString();
    switch (saved.Error) {
        case SnapshotError::Ok:
            return {};
        case SnapshotError::NoFolder:
            return "无法创建快照文件夹: " + path;
        case SnapshotError::WriteFailed:
            return "无法保存快照文件: " + path + " (" +
                   std::string(StorageErrorMessage(saved.FileError)) + ")";
    }
    return {};
}

std::string SnapshotFailureText(const SnapshotSaved& saved) {
    const std::string path = QDir::toNativeSeparators(saved.Path).toStdString();
    switch (saved.Error) {
        case SnapshotError::Ok:
            return {};
        case SnapshotError::NoFolder:
            return "cannot make the snapshot folder " + path;
        case SnapshotError::WriteFailed:
            return "cannot write the snapshot " + path + ": " +
                   std::string(StorageErrorText(saved.FileError));
    }
    return {};
}

QString SnapshotStore::FileName(const QDateTime& at, int mode, SnapshotPart part) {
    return QStringLiteral("%1-mode%2%3.vl")
        .arg(at.toString(QStringLiteral("yyyyMMdd-HHmmss")))
        .arg(mode + 1, 2, 10, QLatin1Char('0'))
        .arg(part == SnapshotPart::WorkingSettings ? QStringLiteral("-working") : QString());
}

SnapshotSaved SnapshotStore::Save(const model::ParamTable& image, int mode, SnapshotPart part) {
    SnapshotSaved saved;
    const QFileInfo folder(folder_);
    if (folder_.isEmpty() || (folder.exists() && !folder.isDir()) ||
        (!folder.exists() && !QDir().mkpath(folder_))) {
        saved.Error = SnapshotError::NoFolder;
        saved.Path = folder_;
        return saved;
    }
    const QDir dir(folder_);
    const QString name = FileName(now_ ? now_() : QDateTime::currentDateTime(), mode, part);
    // Snapshots of the same second are numbered in the order they were taken.
    const QString stamp = name.left(15);
    int sequence = 1;
    for (const QString& taken : List())
        if (QFileInfo(taken).fileName().startsWith(stamp)) ++sequence;
    const auto numbered = [&](int n) {
        return n == 1 ? dir.filePath(name)
                      : dir.filePath(name.chopped(3) + QStringLiteral("-%1.vl").arg(n));
    };
    QString path = numbered(sequence);
    while (QFileInfo::exists(path)) path = numbered(++sequence);
    saved.Path = path;
    saved.FileError = SaveSettingsFile(path, image);
    if (saved.FileError != StorageError::Ok) {
        saved.Error = SnapshotError::WriteFailed;
        return saved;
    }
    saved.NotRemoved = Prune();
    return saved;
}

QStringList SnapshotStore::List() const {
    std::vector<Entry> entries;
    const QDir dir(folder_);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch m = SnapshotPattern().match(name);
        if (!m.hasMatch()) continue;
        const int sequence = m.captured(4).isEmpty() ? 1 : m.captured(4).toInt();
        entries.push_back({m.captured(1), sequence, name});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.stamp, a.sequence, a.name) < std::tie(b.stamp, b.sequence, b.name);
    });
    QStringList paths;
    for (const Entry& e : entries) paths << dir.filePath(e.name);
    return paths;
}

QStringList SnapshotStore::Prune() const {
    const QStringList all = List();
    QStringList failed;
    for (qsizetype i = 0; i + kKept < all.size(); ++i)
        if (!QFile::remove(all[i])) failed << all[i];
    return failed;
}

}  // namespace vellora::storage
