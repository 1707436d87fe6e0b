// Reading and writing settings files with Qt Core file access.
#include "storage/settings_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>

#include "storage/settings_check.h"
#include "storage/settings_codec.h"

namespace vellora::storage {

QString WithSettingsExtension(const QString& chosen) {
    if (chosen.right(3).toLower() == QStringLiteral(".vl")) return chosen;
    return chosen + QString::fromUtf8(kSettingsExtension.data(),
                                      static_cast<qsizetype>(kSettingsExtension.size()));
}

StorageError SaveSettingsFile(const QString& path, const model::ParamTable& table) {
    if (path.isEmpty()) return StorageError::OpenFailed;
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return StorageError::NotAFile;

    const std::vector<uint8_t> bytes = EncodeTable(table);
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return StorageError::OpenFailed;
    const qint64 written =
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    if (written != static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        return StorageError::WriteFailed;
    }
    if (!file.commit()) return StorageError::WriteFailed;
    return StorageError::Ok;
}

StorageError ReadSettingsBytes(const QString& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) return StorageError::NotFound;
    if (!info.isFile()) return StorageError::NotAFile;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return StorageError::OpenFailed;
    // One byte more than an image: enough to tell a longer file without reading it all.
    std::vector<uint8_t> buffer(kSettingsFileSize + 1);
    qint64 total = 0;
    while (total < static_cast<qint64>(buffer.size())) {
        const qint64 n = file.read(reinterpret_cast<char*>(buffer.data()) + total,
                                   static_cast<qint64>(buffer.size()) - total);
        if (n < 0) return StorageError::ReadFailed;
        if (n == 0) break;
        total += n;
    }
    if (total != static_cast<qint64>(kSettingsFileSize)) return StorageError::WrongSize;
    buffer.resize(kSettingsFileSize);
    bytes = std::move(buffer);
    return StorageError::Ok;
}

StorageError ReadImageForDevice(const QString& path, model::ParamTable& image) {
    std::vector<uint8_t> bytes;
    if (StorageError error = ReadSettingsBytes(path, bytes); error != StorageError::Ok)
        return error;
    auto read = std::make_unique<model::ParamTable>();
    if (StorageError error = DecodeTable(bytes, *read); error != StorageError::Ok) return error;
    if (!FilterTypeAnomalies(*read).empty()) return StorageError::WrongLayout;
    image = *read;
    return StorageError::Ok;
}

StorageError LoadSettingsFile(const QString& path, model::Workspace& workspace) {
    std::vector<uint8_t> bytes;
    if (StorageError error = ReadSettingsBytes(path, bytes); error != StorageError::Ok)
        return error;
    return DecodeTable(bytes, workspace.ModeImage);
}

}  // namespace vellora::storage
