// frmProgramManager ("程式管理"): the device's modes (read, write, names), settings files,
// mode files in the mode folder (download, assign, batch upload, delete), and the rights and
// password frames. Whatever a whole write would replace on the device is kept as a snapshot
// first; without that snapshot nothing is written.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <vector>

#include "admin/mode_manager_chooser.h"
#include "admin/mode_manager_layout.h"
#include "admin/mode_manager_lists.h"
#include "admin/mode_manager_progress.h"
#include "admin/mode_manager_rights.h"
#include "model/workspace.h"
#include "protocol/link_session.h"
#include "protocol/link_views.h"
#include "protocol/mode_names.h"
#include "protocol/mode_snapshot.h"
#include "protocol/prompts.h"
#include "storage/snapshot_store.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace vellora::controls {
class C_ProgressBar;
}

namespace vellora::admin {

/// Everything the window is given; all of it outlives the window.
struct ModeManagerContext {
    model::Workspace& ws;
    protocol::LinkSession& session;
    protocol::Prompts& prompts;
    ModeFileChooser& chooser;
    FolderOpener& folders;
    storage::SnapshotStore& snapshots;
    /// The session's progress view: the window's progress bar joins it while the window is
    /// open. May be null (then only the window's own commands show the bar).
    BulkProgressTee* progress = nullptr;
    /// The mode folder the editor chose (FrmEQ::ModeFolder()); empty when there is none.
    QString modeFolder;
    /// The settings files' open and save (snapshot first, undo emptied); when null the
    /// window does both itself.
    class FileOperation* files = nullptr;
};

class FrmProgramManager : public QWidget, private protocol::BulkProgressView {
    Q_OBJECT
public:
    /// Loads at once: the mode chooser on CurrentMode, the options from the store, the mode
    /// names (read from the device when linked), the mode folder, no assignments.
    explicit FrmProgramManager(const ModeManagerContext& context, QWidget* parent = nullptr);
    ~FrmProgramManager() override;

    /// The launcher's "程序管理" (CmdProgramSetup): a new window, shown, deleted when closed;
    /// nullptr (nothing shown) while the current mode is number 11, which is not managed here.
    static FrmProgramManager* Open(const ModeManagerContext& context, QWidget* parent = nullptr);

    [[nodiscard]] const ControlMap& Controls() const { return map_; }
    [[nodiscard]] RightsFrames& Rights() { return *rights_; }
    /// ManagerOpen: from the end of loading until a close whose password closings were answered
    /// (or the link was down).
    [[nodiscard]] bool ManagerOpen() const { return manager_open_; }
    [[nodiscard]] const std::array<QString, protocol::kModeNameCount>& ModeNames() const {
        return mode_names_;
    }
    [[nodiscard]] const QStringList& ModeFiles() const { return mode_files_; }
    [[nodiscard]] const ModeAssign& Assignments() const { return assign_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // BulkProgressView: the progress bar while the window is open.
    void BeginBulk(protocol::BulkOperation operation) override;
    void BulkProgress(int done, int total) override;
    void EndBulk(protocol::BulkOperation operation) override;
    void ProgressStep() override;

    void Load();
    void Connect();
    void ScanFolder();
    void WriteModeRows();
    [[nodiscard]] std::vector<int> SelectedRows(QListWidget* list) const;
    [[nodiscard]] int ChosenRow() const;
    [[nodiscard]] bool LinkUp();
    [[nodiscard]] QString ModeFile(const QString& base) const;
    void ShowOwnProgress(bool on);
    /// Keeps what `mode` (or the working settings) holds on the device as a snapshot; false
    /// with the reason told when it could not be read or kept.
    [[nodiscard]] bool KeepSnapshot(int mode, protocol::SnapshotSource source);

    void ReadMode();        // Command1
    void WriteMode();       // Command2
    void OpenFile();        // Command20
    void SaveFile();        // Command3
    void Download();        // Command9
    void Assign();          // Command10
    void BatchUpload();     // Command8
    void Move(int step);    // Command14, Command15
    void RemoveAssigned();  // Command16
    void ClearAssigned();   // Command17
    void DeleteFiles();     // Command13
    void OpenSnapshots();   // cmdSnapshots

    ModeManagerContext context_;
    ControlMap map_;
    RightsFrames* rights_ = nullptr;
    QComboBox* combo_ = nullptr;
    QLineEdit* name_ = nullptr;
    QListWidget* modes_ = nullptr;
    QListWidget* files_ = nullptr;
    QLabel* more_files_ = nullptr;
    controls::C_ProgressBar* progress_ = nullptr;

    std::array<QString, protocol::kModeNameCount> mode_names_;
    QStringList mode_files_;
    QStringList mode_file_names_;  ///< the same files' whole names
    ModeAssign assign_;
    bool manager_open_ = false;
};

}  // namespace vellora::admin
