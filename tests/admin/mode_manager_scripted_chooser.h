// The desktop of the mode manager answered from a script: file dialogs return the scripted
// paths in order (cancelled when none is left), and folders are recorded instead of shown.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "admin/mode_manager_chooser.h"

namespace vellora::admin::testing {

class ScriptedModeFileChooser : public ModeFileChooser {
public:
    QString ChooseOpenFile(std::string_view extension) override { return Next("open", extension); }
    QString ChooseSaveFile(std::string_view extension) override { return Next("save", extension); }
    void AddPath(QString path) { paths_.push_back(std::move(path)); }
    /// "open .VL", "save .VL" for each dialog shown.
    std::vector<std::string> shown;

private:
    QString Next(const char* kind, std::string_view extension) {
        shown.push_back(std::string(kind) + " " + std::string(extension));
        if (paths_.empty()) return {};
        QString path = paths_.front();
        paths_.pop_front();
        return path;
    }
    std::deque<QString> paths_;
};

class RecordingFolderOpener : public FolderOpener {
public:
    bool OpenFolder(const QString& folder) override {
        opened.push_back(folder);
        return works;
    }
    std::vector<QString> opened;
    bool works = true;
};

}  // namespace vellora::admin::testing
