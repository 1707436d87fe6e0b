// The settings files' open and save dialogs as Qt file dialogs: their titles, the filter
// "音响配置文件 (*.VL)", the program's folder, and the overwrite question on save.
#pragma once

#include <QPointer>
#include <QWidget>

#include "admin/file_chooser.h"

namespace vellora::admin {

class QtFileChooser : public FileChooser {
public:
    /// The dialogs open in `folder` over `owner` (may be null, or change later).
    explicit QtFileChooser(QString folder, QWidget* owner = nullptr)
        : folder_(std::move(folder)), owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    [[nodiscard]] QString ChooseOpenFile(const QString& extension) override;
    /// A name typed without an extension gets `extension` in the dialog already, so the
    /// question about replacing a file is asked for the file that will be written.
    [[nodiscard]] QString ChooseSaveFile(const QString& extension) override;

private:
    QString folder_;
    QPointer<QWidget> owner_;
};

/// "音响配置文件 (*" + extension + ")": the dialogs' only filter.
[[nodiscard]] QString SettingsFilter(const QString& extension);

}  // namespace vellora::admin
