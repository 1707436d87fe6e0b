// The output files of the commands: target checks and complete-or-nothing writes.
#include "cli/output_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

namespace vellora::cli {

namespace {

// Whether two existing names are one file (hard links and symbolic links included).
bool SameFile(const QString& a, const QString& b) {
#if defined(Q_OS_UNIX)
    struct stat sa {};
    struct stat sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
        ::stat(QFile::encodeName(b).constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
#endif
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

}  // namespace

std::optional<std::string> OutputPathProblem(const std::string& path,
                                             std::span<const std::string> inputs) {
    if (path.empty()) return std::string("the name of the file to write is empty");
    const QString name = QString::fromStdString(path);
    const QFileInfo info(name);
    if (info.isDir()) return path + " is a folder";
    if (!info.absoluteDir().exists())
        return "no folder " + info.absolutePath().toStdString() + " for " + path;
    if (!info.exists()) return std::nullopt;
    if (!info.isFile())
        return path + ": not a regular file (a device, pipe or socket is never replaced)";
    for (const std::string& input : inputs)
        if (SameFile(name, QString::fromStdString(input)))
            return path + " is the input file " + input + "; write to another file";
    return std::nullopt;
}

std::string WriteErrorText(const QFileDevice& file) {
    // Qt words a system error with qt_error_string, so the same call tells which one it was.
    const QString text = file.errorString();
    if (text == qt_error_string(ENOSPC)) return "the disk is full";
#if defined(EDQUOT)
    if (text == qt_error_string(EDQUOT)) return "the disk quota is used up";
#endif
    return text.toStdString();
}

bool WriteAll(QFileDevice& file, const QByteArray& bytes, std::string& error) {
    if (file.write(bytes) == bytes.size() && (file.openMode() & QIODevice::Unbuffered || file.flush()))
        return true;
    error = WriteErrorText(file);
    return false;
}

bool WriteOutputFile(const QString& path, const QByteArray& bytes, std::string& error) {
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = WriteErrorText(file);
        return false;
    }
    if (!WriteAll(file, bytes, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = WriteErrorText(file);
        return false;
    }
    return true;
}

}  // namespace vellora::cli
