// The system's file dialogs and file manager for the mode manager.
#include "admin/mode_manager_chooser.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

#include "admin/file_chooser.h"
#include "storage/settings_file.h"

namespace vellora::admin {

namespace {

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

QString QtModeFileChooser::ChooseOpenFile(std::string_view extension) {
    return QFileDialog::getOpenFileName(parent_, Text(storage::kOpenDialogTitle), start_,
                                        SettingsFileFilter(Text(extension)));
}

QString QtModeFileChooser::ChooseSaveFile(std::string_view extension) {
    return QFileDialog::getSaveFileName(parent_, Text(storage::kSaveDialogTitle), start_,
                                        SettingsFileFilter(Text(extension)));
}

bool DesktopFolderOpener::OpenFolder(const QString& folder) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

}  // namespace vellora::admin
