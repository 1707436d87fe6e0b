// Choosing and making the mode folder.
#include "storage/mode_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace vellora::storage {

namespace {

// Makes the folder when missing and proves it can be written; an error text otherwise.
QString MakeWritable(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isDir()) return QStringLiteral("%1 is not a folder").arg(path);
    if (!info.exists() && !QDir().mkpath(path))
        return QStringLiteral("cannot make the folder %1").arg(path);
    QTemporaryFile probe(QDir(path).filePath(QStringLiteral(".write-test-XXXXXX")));
    if (!probe.open()) return QStringLiteral("cannot write in the folder %1").arg(path);
    return {};
}

}  // namespace

ModeFolderChoice ChooseModeFolder(const QString& programDir, const QString& userDataDir) {
    ModeFolderChoice choice;
    const QString beside = QDir(programDir).filePath(QString::fromLatin1(kModeFolderName));
    choice.Error = MakeWritable(beside);
    if (choice.Error.isEmpty()) {
        choice.Path = QDir::cleanPath(beside);
        return choice;
    }
    if (userDataDir.isEmpty()) return choice;
    const QString own = QDir(userDataDir).filePath(QString::fromLatin1(kModeFolderName));
    const QString ownError = MakeWritable(own);
    if (!ownError.isEmpty()) {
        choice.Error += QStringLiteral("; ") + ownError;
        return choice;
    }
    choice.Path = QDir::cleanPath(own);
    choice.Fallback = true;
    return choice;
}

QString SnapshotFolderBeside(const QString& modeFolder) {
    QDir dir(modeFolder);
    return QDir::cleanPath(dir.absoluteFilePath(QStringLiteral("../%1").arg(QLatin1String(kSnapshotFolderName))));
}

}  // namespace vellora::storage
