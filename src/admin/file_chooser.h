// The open and save dialogs of settings files as an interface: the terminal shows the
// system's dialogs, tests answer from a script.
#pragma once

#include <QString>

namespace vellora::admin {

/// The dialogs' filter for settings files ending in `extension` in either case: the system's
/// own dialogs match case-sensitively, and snapshots and mode files end in ".vl".
[[nodiscard]] inline QString SettingsFileFilter(const QString& extension) {
    return QStringLiteral("音响配置文件 (*%1 *%2)").arg(extension.toUpper(), extension.toLower());
}

class FileChooser {
public:
    virtual ~FileChooser() = default;
    /// ChooseOpenFile: the open dialog for files ending in `extension` (".VL"); the chosen
    /// path, or an empty text when the user cancelled.
    [[nodiscard]] virtual QString ChooseOpenFile(const QString& extension) = 0;
    /// ChooseSaveFile: the save dialog, which asks before an existing file is replaced; the
    /// chosen path (the caller may still append the extension), or empty when cancelled.
    [[nodiscard]] virtual QString ChooseSaveFile(const QString& extension) = 0;
};

}  // namespace vellora::admin
