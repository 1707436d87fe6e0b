// What the mode manager asks of the desktop: the open and save dialogs of settings files, and
// showing a folder in the file manager. Tests answer from a script.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <string_view>

namespace vellora::admin {

class ModeFileChooser {
public:
    virtual ~ModeFileChooser() = default;
    /// The open dialog ("浏览配置文件", filter "音响配置文件 (*.VL)"); empty when cancelled.
    [[nodiscard]] virtual QString ChooseOpenFile(std::string_view extension) = 0;
    /// The save dialog ("保存配置文件"), asking before an existing file is replaced; empty when
    /// cancelled.
    [[nodiscard]] virtual QString ChooseSaveFile(std::string_view extension) = 0;
};

class FolderOpener {
public:
    virtual ~FolderOpener() = default;
    /// Shows `folder` in the desktop's file manager; false when that failed.
    [[nodiscard]] virtual bool OpenFolder(const QString& folder) = 0;
};

/// The system's dialogs, over `parent`, starting in `startFolder` (the program's folder).
class QtModeFileChooser : public ModeFileChooser {
public:
    QtModeFileChooser(QWidget* parent, QString startFolder)
        : parent_(parent), start_(std::move(startFolder)) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    QString ChooseOpenFile(std::string_view extension) override;
    QString ChooseSaveFile(std::string_view extension) override;

private:
    QPointer<QWidget> parent_;
    QString start_;
};

/// QDesktopServices: the folder as a local URL.
class DesktopFolderOpener : public FolderOpener {
public:
    bool OpenFolder(const QString& folder) override;
};

}  // namespace vellora::admin
