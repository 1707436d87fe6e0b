// mdiMain: the application's frame "Vellora". Its menu bar opens and closes the editor and
// routes the administration commands and the key-change menu to the open editor; with the
// editor closed every entry but the editor switch is inert. It is the link's view of the
// windows, and closing it ends the program.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QSize>

#include <functional>
#include <memory>
#include <string_view>

#include "admin/frm_effect.h"
#include "admin/frm_rec.h"
#include "admin/frm_set.h"
#include "controls/control_context.h"
#include "link/device_state.h"
#include "model/clock.h"
#include "model/workspace.h"
#include "protocol/link_session.h"
#include "protocol/prompts.h"

class QAction;
class QMenu;
class QStackedWidget;

namespace vellora::graph {
class PictureStore;
}
namespace vellora::controls {
class ControlLookSource;
}
namespace vellora::editor {
class FrmEQ;
class SessionLink;
}  // namespace vellora::editor

namespace vellora::admin {

class FileOperation;

/// Program management asked for while the device is in mode 11 (CurrentMode 10).
inline constexpr std::string_view kMode11Warning = "当前模式号为11，无法进入程序管理设置！";

/// Everything the frame is given; all of it outlives the frame.
struct LauncherContext {
    model::Workspace& ws;
    model::Clock& clock;
    graph::PictureStore& pictures;
    const controls::ControlLookSource& look;
    protocol::LinkSession& session;
    protocol::Prompts& prompts;
    bool simulated = false;  ///< the device is the simulated processor in this process
};

class MdiMain : public QMainWindow,
                private protocol::BulkProgressView,
                private protocol::LinkStatusView,
                private protocol::StoreRefreshView,
                private protocol::EditorLifecycle {
    Q_OBJECT

public:
    explicit MdiMain(const LauncherContext& context, QWidget* parent = nullptr);
    ~MdiMain() override;

    /// Window load: the editor opens, sized for a screen of `screen` pixels, and the frame
    /// takes the editor's place on the screen. Editors opened later use the same screen.
    void Load(QSize screen);
    /// The link's views of the windows; give them to the session once.
    [[nodiscard]] protocol::LinkViews Views();
    /// What the last scan for the device found. The frame hears of every change from the
    /// session (from its construction on, so a scan made before the editor opens counts) and
    /// shows it in the status line of the editor, including editors opened later; a device
    /// this user may not open is also said once in a warning that names the udev rule.
    [[nodiscard]] link::DeviceState LastDeviceState() const { return device_state_; }

    /// EditorOpen: from the editor's load to its unload.
    [[nodiscard]] bool EditorOpen() const { return editor_ != nullptr; }
    [[nodiscard]] editor::FrmEQ* Editor() const { return editor_; }
    /// SetOpen: frmSet is loaded.
    [[nodiscard]] bool SetOpen() const { return !settings_.isNull(); }
    [[nodiscard]] FrmSet* SettingsWindow() const { return settings_; }
    [[nodiscard]] FrmRec* RecordWindow() const { return record_; }
    [[nodiscard]] FrmEffect* EffectWindow() const { return effect_; }

    // ---- the menu commands ----
    /// "中文版": closes the open editor through its exit, or opens it (Closing cleared).
    void EditorSwitch();
    /// "程序管理": the mode manager, unless the device is in mode 11 (the warning instead).
    void CmdProgramSetup();
    /// "开机设置": frmSet, not modal (brought forward when it is open already).
    void CmdStartupSettings();
    /// "权限与密码管理": the rights and password window.
    void CmdPrePassManager();
    /// "Key: -5" .. "Key: +5" (index 0..10) to the editor's key change.
    void CmdToneID(int index);
    /// "打开文件" / "保存文件": the settings files (only with a file operation set).
    void CmdOpenFile();
    void CmdSaveFile();
    /// The editor's cmdRecordPage and MBtnFlag2: frmRec and frmEffect, modal.
    void OpenRecordWindow();
    void OpenEffectWindow();

    // ---- what the program plugs in ----
    /// Opens the mode manager (frmProgramManager); without it the entry opens nothing.
    void SetProgramManagerOpener(std::function<void()> open) { open_manager_ = std::move(open); }
    /// Opens the rights and password window (frmProgram2).
    void SetRightsWindowOpener(std::function<void()> open) { open_rights_ = std::move(open); }
    /// Runs on every editor as it opens, after its load and before it is shown.
    void SetEditorSetup(std::function<void(editor::FrmEQ&)> setup) { setup_ = std::move(setup); }
    /// Runs at the end of every synchronisation, after the editor has reloaded.
    void SetSynchronised(std::function<void()> handler) { synchronised_ = std::move(handler); }
    /// Runs when the frame has closed: 0 closed by the user, 1 ended by a refused password.
    void SetProgramEnd(std::function<void(int status)> end) { program_end_ = std::move(end); }
    /// Puts "打开文件" and "保存文件" into the device menu; the operation's ClearUndo becomes
    /// the open editor's. Not owned; null leaves the entries out.
    void SetFileOperation(FileOperation* files);
    /// A second progress view (the mode manager's bar) told of every bulk operation.
    void SetManagerProgress(protocol::BulkProgressView* view) { manager_progress_ = view; }

    // ---- for tests and the screenshot ----
    [[nodiscard]] QAction* Entry(const QString& name) const;
    [[nodiscard]] QMenu* DeviceMenu() const { return device_menu_; }
    [[nodiscard]] QMenu* ToneMenu() const { return tone_menu_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // BulkProgressView
    void BeginBulk(protocol::BulkOperation operation) override;
    void BulkProgress(int done, int total) override;
    void EndBulk(protocol::BulkOperation operation) override;
    void ProgressStep() override;
    // LinkStatusView
    void ShowConnectStatus(protocol::ConnectStatus status) override;
    void ShowSwitchCaption(std::string_view caption) override;
    // StoreRefreshView
    void SetMasterSliderLimits(const std::array<int32_t, 3>& limits) override;
    void ReloadAllControls() override;
    void ClearUndoHistory() override;
    void ShowToneReset() override;
    // EditorLifecycle
    void StopEditorTimers() override;
    void CloseEditor() override;
    void EndProgram() override;

    void BuildMenus();
    QAction* AddEntry(QMenu* menu, const QString& name, const QString& caption,
                      std::function<void()> action);
    void LoadEditor();
    void UnloadEditor();
    void ShowDeviceState(link::DeviceState state);
    void ShowDeviceStateInEditor();
    void CloseAuxWindows();
    void UpdateEntries();
    [[nodiscard]] controls::ControlContext ControlsContext() const;

    LauncherContext context_;
    std::unique_ptr<editor::SessionLink> editor_link_;
    QSize screen_;
    QStackedWidget* stack_ = nullptr;
    QWidget* backdrop_ = nullptr;
    editor::FrmEQ* editor_ = nullptr;
    QPointer<FrmSet> settings_;
    QPointer<FrmRec> record_;
    QPointer<FrmEffect> effect_;
    QMenu* device_menu_ = nullptr;
    QMenu* tone_menu_ = nullptr;
    QAction* switch_ = nullptr;
    FileOperation* files_ = nullptr;
    protocol::BulkProgressView* manager_progress_ = nullptr;
    std::function<void()> open_manager_;
    std::function<void()> open_rights_;
    std::function<void(editor::FrmEQ&)> setup_;
    std::function<void()> synchronised_;
    std::function<void(int)> program_end_;
    int end_status_ = 0;
    bool ended_ = false;
    link::DeviceState device_state_ = link::DeviceState::Searching;
};

}  // namespace vellora::admin
