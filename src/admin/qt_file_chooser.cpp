// Qt file dialogs for settings files.
#include "admin/qt_file_chooser.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "storage/settings_file.h"

namespace vellora::admin {

namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString QtFileChooser::ChooseOpenFile(const QString& extension) {
    QFileDialog dialog(owner_, Utf8(storage::kOpenDialogTitle), folder_,
                       SettingsFileFilter(extension));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString QtFileChooser::ChooseSaveFile(const QString& extension) {
    QFileDialog dialog(owner_, Utf8(storage::kSaveDialogTitle), folder_,
                       SettingsFileFilter(extension));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(extension.mid(1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().constFirst();
    // A name with another extension ("abc.txt") is saved as "abc.txt.VL", a file the dialog
    // did not ask about: ask here before it is replaced.
    const QString written =
        chosen.right(extension.size()).compare(extension, Qt::CaseInsensitive) == 0
            ? chosen
            : chosen + extension;
    if (written != chosen && QFileInfo::exists(written)) {
        const QString question =
            QStringLiteral("%1 已存在。\n要替换它吗？").arg(QFileInfo(written).fileName());
        if (QMessageBox::question(owner_, Utf8(storage::kSaveDialogTitle), question,
                                  QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No) != QMessageBox::Yes)
            return {};
    }
    return chosen;
}

}  // namespace vellora::admin
