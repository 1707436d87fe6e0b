// Saving and loading settings files from the window.
#include "admin/file_operation.h"

#include <memory>
#include <string>

#include "storage/settings_file.h"

namespace vellora::admin {

FileOutcome FileOperation::SaveConfigFile() {
    const QString chosen = chooser_.ChooseSaveFile(QString::fromLatin1(kConfigExtension));
    if (chosen.isEmpty()) return FileOutcome::Cancelled;
    const QString path = storage::WithSettingsExtension(chosen);
    const storage::StorageError error = storage::SaveSettingsFile(path, ws_.ParamStore);
    if (error != storage::StorageError::Ok) {
        prompts_.Error(storage::StorageErrorMessage(error));
        return FileOutcome::FileError;
    }
    prompts_.Warning(storage::kSavedMessage);
    return FileOutcome::Done;
}

FileOutcome FileOperation::LoadConfigFile() {
    protocol::LinkState& link = session_.Link();
    if (!link.LinkUp()) {
        prompts_.Warning(kFileNotLinked);
        return FileOutcome::NotLinked;
    }
    const QString path = chooser_.ChooseOpenFile(QString::fromLatin1(kConfigExtension));
    if (path.isEmpty()) return FileOutcome::Cancelled;
    // The file is read and checked whole before anything is sent; the ModeImage takes it only
    // once the snapshot is kept (the snapshot may use the ModeImage itself).
    auto image = std::make_unique<model::ParamTable>();
    const storage::StorageError read = storage::ReadImageForDevice(path, *image);
    if (read == storage::StorageError::NotFound) return FileOutcome::Cancelled;
    if (read != storage::StorageError::Ok) {
        // A file of another size or layout is no settings file: nothing of it is used.
        if (read == storage::StorageError::WrongSize || read == storage::StorageError::WrongLayout)
            prompts_.Warning(storage::StorageErrorMessage(read));
        else
            prompts_.Error(storage::StorageErrorMessage(read));
        return FileOutcome::FileError;
    }

    const int mode = link.CurrentMode();
    if (snapshot_) {
        QString why;
        if (!snapshot_(mode, why)) {
            const QByteArray reason = why.toUtf8();
            prompts_.Warning(std::string(kSnapshotFailed) + "\n" + reason.toStdString());
            return FileOutcome::SnapshotFailed;
        }
    }
    ws_.ModeImage = *image;
    if (clear_undo_) clear_undo_();
    protocol::BulkTransfers& transfers = session_.Transfers();
    if (transfers.WriteModeToDevice(mode) != protocol::CommandStatus::Ok)
        return FileOutcome::DeviceFailed;
    if (transfers.SyncFromDevice(mode, false, protocol::Command::ReadWorkingBlock) !=
        protocol::CommandStatus::Ok)
        return FileOutcome::DeviceFailed;
    return FileOutcome::Done;
}

}  // namespace vellora::admin
