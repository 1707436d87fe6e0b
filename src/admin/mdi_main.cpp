// The launcher frame: its menus, the editor's life inside it, the administration windows and
// the link's views of them.
#include "admin/mdi_main.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStackedWidget>

#include "admin/admin_look.h"
#include "admin/file_operation.h"
#include "admin/frm_effect.h"
#include "admin/frm_rec.h"
#include "admin/frm_set.h"
#include "editor/frm_eq.h"
#include "editor/session_link.h"

namespace vellora::admin {

namespace {

constexpr int kToneEntries = 11;  // cmdToneID 0..10
constexpr int kNoKeyShift = 5;
constexpr int kModeEleven = 10;  // CurrentMode counts from 0

QString ToneCaption(int k) {
    if (k == kNoKeyShift) return QStringLiteral("Key: 0");
    return k < kNoKeyShift ? QStringLiteral("Key: -%1").arg(kNoKeyShift - k)
                           : QStringLiteral("Key: +%1").arg(k - kNoKeyShift);
}

// The frame's empty client area while the editor is closed.
class Backdrop : public QWidget {
public:
    explicit Backdrop(QWidget* parent) : QWidget(parent) { setAutoFillBackground(false); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), kBackdrop);
    }
};

}  // namespace

MdiMain::MdiMain(const LauncherContext& context, QWidget* parent)
    : QMainWindow(parent),
      context_(context),
      editor_link_(std::make_unique<editor::SessionLink>(context.session, context.simulated)) {
    setWindowTitle(QStringLiteral("Vellora"));
    setAccessibleName(QStringLiteral("Vellora"));
    stack_ = new QStackedWidget(this);
    backdrop_ = new Backdrop(stack_);
    stack_->addWidget(backdrop_);
    setCentralWidget(stack_);
    BuildMenus();
    UpdateEntries();
    context_.session.SetDeviceStateHandler(
        [this](link::DeviceState state) { ShowDeviceState(state); });
}

MdiMain::~MdiMain() {
    context_.session.SetDeviceStateHandler({});
    CloseAuxWindows();
    if (editor_) {
        editor::FrmEQ* e = editor_;
        editor_ = nullptr;
        e->close();
        delete e;
    }
}

QAction* MdiMain::AddEntry(QMenu* menu, const QString& name, const QString& caption,
                           std::function<void()> action) {
    QAction* entry = menu->addAction(caption);
    entry->setObjectName(name);
    connect(entry, &QAction::triggered, this, [action = std::move(action)] { action(); });
    return entry;
}

void MdiMain::BuildMenus() {
    StyleMenuBar(menuBar());
    device_menu_ = menuBar()->addMenu(QStringLiteral("设备"));
    switch_ = AddEntry(device_menu_, QStringLiteral("mnuEditor"), QStringLiteral("中文版"),
                       [this] { EditorSwitch(); });
    switch_->setCheckable(true);
    AddEntry(device_menu_, QStringLiteral("CmdProgramSetup"), QStringLiteral("程序管理"),
             [this] { CmdProgramSetup(); });
    AddEntry(device_menu_, QStringLiteral("CmdStartupSettings"), QStringLiteral("开机设置"),
             [this] { CmdStartupSettings(); });
    AddEntry(device_menu_, QStringLiteral("CmdPrePassManager"), QStringLiteral("权限与密码管理"),
             [this] { CmdPrePassManager(); });
    tone_menu_ = menuBar()->addMenu(QStringLiteral("变调菜单"));
    tone_menu_->setObjectName(QStringLiteral("cmdSetTone"));
    for (int k = 0; k < kToneEntries; ++k)
        AddEntry(tone_menu_, QStringLiteral("cmdToneID%1").arg(k), ToneCaption(k),
                 [this, k] { CmdToneID(k); });
}

void MdiMain::SetFileOperation(FileOperation* files) {
    if (files_ || !files) return;
    files_ = files;
    files_->SetClearUndo([this] {
        if (editor_) editor_->ClearUndoHistory();
    });
    device_menu_->addSeparator();
    AddEntry(device_menu_, QStringLiteral("Command20"), QStringLiteral("打开文件"),
             [this] { CmdOpenFile(); });
    AddEntry(device_menu_, QStringLiteral("Command3"), QStringLiteral("保存文件"),
             [this] { CmdSaveFile(); });
    UpdateEntries();
}

QAction* MdiMain::Entry(const QString& name) const {
    for (QMenu* menu : {device_menu_, tone_menu_})
        for (QAction* a : menu->actions())
            if (a->objectName() == name) return a;
    return nullptr;
}

void MdiMain::UpdateEntries() {
    // Everything but the editor switch needs the editor, which owns the link.
    for (QMenu* menu : {device_menu_, tone_menu_})
        for (QAction* a : menu->actions())
            if (a != switch_ && !a->isSeparator()) a->setEnabled(EditorOpen());
    switch_->setChecked(EditorOpen());
}

controls::ControlContext MdiMain::ControlsContext() const {
    return {context_.clock, context_.pictures, context_.look};
}

// ---- the editor ----

void MdiMain::Load(QSize screen) {
    screen_ = screen;
    LoadEditor();
    // The frame stands where the editor would stand, its menu bar above the editor.
    const QRect at = editor_->geometry();
    const int bar = menuBar()->sizeHint().height();
    setGeometry(at.x(), at.y(), at.width(), at.height() + bar);
}

void MdiMain::LoadEditor() {
    if (editor_) return;
    context_.session.Supervisor().Reopen();  // waits and time-out messages work again
    auto* e =
        new editor::FrmEQ(editor::EditorContext{context_.ws, context_.clock, context_.pictures,
                                                context_.look, *editor_link_, context_.prompts});
    e->Load(screen_);
    e->SetToneMenu([this](QPoint at) { tone_menu_->popup(at); });
    e->SetRefreshListener([this] {
        if (settings_) settings_->LoadValues();
    });
    connect(e, &editor::FrmEQ::RecordWindowRequested, this, &MdiMain::OpenRecordWindow);
    connect(e, &editor::FrmEQ::EffectWindowRequested, this, &MdiMain::OpenEffectWindow);
    if (setup_) setup_(*e);
    editor_ = e;
    ShowDeviceStateInEditor();
    stack_->addWidget(e);
    stack_->setCurrentWidget(e);
    e->show();
    UpdateEntries();
}

void MdiMain::ShowDeviceState(link::DeviceState state) {
    device_state_ = state;
    ShowDeviceStateInEditor();
    if (state == link::DeviceState::NoPermission)
        context_.prompts.Warning(link::DeviceStateText(state));
}

void MdiMain::ShowDeviceStateInEditor() {
    if (!editor_) return;
    // While the device is open (or no scan has answered yet) the line shows the link instead.
    const bool open =
        device_state_ == link::DeviceState::Open || device_state_ == link::DeviceState::Searching;
    editor_->ShowDeviceState(open ? QString()
                                  : QString::fromUtf8(link::DeviceStateText(device_state_)));
}

void MdiMain::UnloadEditor() {
    if (!editor_) return;
    editor::FrmEQ* e = editor_;
    editor_ = nullptr;  // the link's views stop reaching it at once
    CloseAuxWindows();
    e->close();  // Form_Unload: its timers stop, the graph lets its layers go
    stack_->removeWidget(e);
    stack_->setCurrentWidget(backdrop_);
    e->deleteLater();  // this may run inside one of its own handlers
    // The editor owns the link: without it the link is down, and the next editor links up
    // and synchronises afresh.
    context_.session.Supervisor().StopTimers();
    if (context_.session.Link().LinkUp()) context_.session.Link().Lose(protocol::LinkLoss::Closing);
    UpdateEntries();
}

void MdiMain::EditorSwitch() {
    if (EditorOpen()) {
        // The editor's own exit: a waiting command ends first, then the editor closes.
        context_.session.Supervisor().Exit();
    } else {
        LoadEditor();
    }
    UpdateEntries();
}

void MdiMain::CloseAuxWindows() {
    for (QDialog* w : std::initializer_list<QDialog*>{settings_, record_, effect_})
        if (w) {
            w->close();
            delete w;
        }
}

// ---- the commands ----

void MdiMain::CmdProgramSetup() {
    if (!EditorOpen()) return;
    if (context_.session.Link().CurrentMode() == kModeEleven) {
        context_.prompts.Warning(kMode11Warning);
        return;
    }
    if (open_manager_) open_manager_();
}

void MdiMain::CmdStartupSettings() {
    if (!EditorOpen()) return;
    if (settings_) {
        settings_->raise();
        settings_->activateWindow();
        return;
    }
    auto* w = new FrmSet(
        AuxContext{context_.ws, *editor_link_, ControlsContext()},
        [this](const std::array<int32_t, 3>& limits) {
            if (editor_) editor_->SetMasterSliderLimits(limits);
        },
        this);
    w->setAttribute(Qt::WA_DeleteOnClose);
    connect(w, &QDialog::finished, this, [this] { settings_ = nullptr; });  // SetOpen false
    settings_ = w;
    w->show();
}

void MdiMain::CmdPrePassManager() {
    if (!EditorOpen()) return;
    if (open_rights_) open_rights_();
}

void MdiMain::CmdToneID(int index) {
    if (!EditorOpen()) return;
    editor_->ChooseTone(index);
}

void MdiMain::CmdOpenFile() {
    if (!EditorOpen() || !files_) return;
    (void)files_->LoadConfigFile();
}

void MdiMain::CmdSaveFile() {
    if (!EditorOpen() || !files_) return;
    (void)files_->SaveConfigFile();
}

void MdiMain::OpenRecordWindow() {
    if (!EditorOpen() || record_) return;
    auto* w = new FrmRec(AuxContext{context_.ws, *editor_link_, ControlsContext()}, this);
    w->setAttribute(Qt::WA_DeleteOnClose);
    record_ = w;
    w->show();
}

void MdiMain::OpenEffectWindow() {
    if (!EditorOpen() || effect_) return;
    auto* w = new FrmEffect(AuxContext{context_.ws, *editor_link_, ControlsContext()}, this);
    w->setAttribute(Qt::WA_DeleteOnClose);
    effect_ = w;
    w->show();
}

void MdiMain::closeEvent(QCloseEvent* event) {
    // Closing the frame ends the program: a waiting command ends at once, the editor goes.
    QMainWindow::closeEvent(event);
    if (ended_) return;
    ended_ = true;
    context_.session.Link().SetClosing(true);
    UnloadEditor();
    context_.session.Supervisor().StopTimers();
    if (program_end_) program_end_(end_status_);
}

// ---- the link's views ----

protocol::LinkViews MdiMain::Views() {
    return {this, this, this, this};
}

void MdiMain::BeginBulk(protocol::BulkOperation operation) {
    // A synchronisation takes the whole frame; reading the store anew closes frmRec.
    if (operation == protocol::BulkOperation::Synchronise) menuBar()->setEnabled(false);
    if (operation != protocol::BulkOperation::WriteMode && record_) record_->close();
    if (editor_) editor_->BeginBulk(operation == protocol::BulkOperation::Synchronise);
    if (manager_progress_) manager_progress_->BeginBulk(operation);
}

void MdiMain::BulkProgress(int done, int total) {
    if (editor_) editor_->BulkProgress(done, total);
    if (manager_progress_) manager_progress_->BulkProgress(done, total);
}

void MdiMain::EndBulk(protocol::BulkOperation operation) {
    menuBar()->setEnabled(true);
    if (editor_) editor_->EndBulk();
    if (manager_progress_) manager_progress_->EndBulk(operation);
}

void MdiMain::ProgressStep() {
    if (editor_) editor_->ProgressStep();
    if (manager_progress_) manager_progress_->ProgressStep();
}

void MdiMain::ShowConnectStatus(protocol::ConnectStatus status) {
    if (editor_) editor_->ShowConnectStatus(static_cast<int>(status));
}

void MdiMain::ShowSwitchCaption(std::string_view caption) {
    if (editor_) editor_->ShowSwitchCaption(caption);
}

void MdiMain::SetMasterSliderLimits(const std::array<int32_t, 3>& limits) {
    if (editor_) editor_->SetMasterSliderLimits(limits);
}

void MdiMain::ReloadAllControls() {
    if (editor_) editor_->ReloadAllControls();
    if (synchronised_) synchronised_();
}

void MdiMain::ClearUndoHistory() {
    if (editor_) editor_->ClearUndoHistory();
}

void MdiMain::ShowToneReset() {
    if (editor_) editor_->ShowToneReset();
}

void MdiMain::StopEditorTimers() {
    if (editor_) editor_->StopEditorTimers();
}

void MdiMain::CloseEditor() {
    UnloadEditor();
}

void MdiMain::EndProgram() {
    end_status_ = 1;
    close();
}

}  // namespace vellora::admin
