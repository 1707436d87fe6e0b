// frmProgramManager: the mode manager window and its commands.
#include "admin/frm_program_manager.h"

#include "admin/admin_look.h"
#include "admin/file_operation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <array>
#include <memory>
#include <string>

#include "controls/c_progress_bar.h"
#include "storage/mode_files.h"
#include "storage/settings_file.h"

namespace vellora::admin {

namespace {

using protocol::CommandStatus;

std::string Utf8(const QString& text) {
    return text.toStdString();
}

std::string Native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

const QString kExtension = QStringLiteral(".vl");

}  // namespace

FrmProgramManager::FrmProgramManager(const ModeManagerContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setObjectName(QStringLiteral("frmProgramManager"));
    setWindowTitle(QStringLiteral("程式管理"));
    setWindowIcon(QApplication::windowIcon());
    setFixedSize(kManagerWidth, kManagerHeight);
    BuildControls(this, ManagerFrames(), map_);
    ApplyAdminLook(this);
    combo_ = map_.Get<QComboBox>(QStringLiteral("Combo1"));
    name_ = map_.Get<QLineEdit>(QStringLiteral("Text1"));
    modes_ = map_.Get<QListWidget>(QStringLiteral("List1"));
    files_ = map_.Get<QListWidget>(QStringLiteral("List4"));
    more_files_ = map_.Get<QLabel>(QStringLiteral("lblMoreFiles"));
    progress_ = map_.Get<controls::C_ProgressBar>(QStringLiteral("C_ProgressBar1"));
    name_->setReadOnly(true);
    rights_ =
        new RightsFrames(map_, context_.ws, context_.session.Channel(), context_.prompts, this);
    Connect();
    Load();
}

FrmProgramManager* FrmProgramManager::Open(const ModeManagerContext& context, QWidget* parent) {
    if (context.session.Link().CurrentMode() >= kModeRows) return nullptr;
    auto* window = new FrmProgramManager(context, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

// The tee forgets the window by itself (it may already be gone when the window is destroyed
// last, at the program's end): nothing to do here.
FrmProgramManager::~FrmProgramManager() = default;

void FrmProgramManager::Connect() {
    const auto click = [this](const char* name, auto handler) {
        if (auto* b = map_.Get<QAbstractButton>(QString::fromLatin1(name)))
            connect(b, &QAbstractButton::clicked, this, handler);
    };
    click("Command1", [this] { ReadMode(); });
    click("Command2", [this] { WriteMode(); });
    click("Command20", [this] { OpenFile(); });
    click("Command3", [this] { SaveFile(); });
    click("Command9", [this] { Download(); });
    click("Command10", [this] { Assign(); });
    click("Command8", [this] { BatchUpload(); });
    click("Command18", [this] { modes_->selectAll(); });
    click("Command19", [this] { modes_->clearSelection(); });
    click("Command11", [this] { files_->selectAll(); });
    click("Command12", [this] { files_->clearSelection(); });
    click("Command14", [this] { Move(-1); });
    click("Command15", [this] { Move(+1); });
    click("Command16", [this] { RemoveAssigned(); });
    click("Command17", [this] { ClearAssigned(); });
    click("Command13", [this] { DeleteFiles(); });
    click("cmdSnapshots", [this] { OpenSnapshots(); });
    connect(combo_, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row >= 0) name_->setText(mode_names_[static_cast<std::size_t>(row)]);
    });
}

void FrmProgramManager::Load() {
    for (int row = 0; row < kModeRows; ++row)
        combo_->addItem(QStringLiteral("模式%1").arg(row + 1));
    rights_->Load();
    map_.Get<QListWidget>(QStringLiteral("List2"))->addItem(ModeListHeader());
    map_.Get<QListWidget>(QStringLiteral("List3"))->addItem(FileListHeader());
    // The names the rows show: read once when linked (they stay empty otherwise).
    if (LinkUp() && context_.session.Transfers().ReadModeNames() == CommandStatus::Ok) {
        const auto names = protocol::DecodeModeNames(context_.session.Channel().Reply());
        for (std::size_t i = 0; i < names.size(); ++i)
            mode_names_[i] = QString::fromStdString(names[i]);
    }
    const int current = context_.session.Link().CurrentMode();
    combo_->setCurrentIndex(current >= 0 && current < kModeRows ? current : 0);
    name_->setText(mode_names_[static_cast<std::size_t>(combo_->currentIndex())]);
    auto* folder = map_.Get<QLabel>(QStringLiteral("lblFolder"));
    folder->setText(context_.modeFolder.isEmpty()
                        ? QStringLiteral("模式文件夹：（无）")
                        : QStringLiteral("模式文件夹：") +
                              QDir::toNativeSeparators(context_.modeFolder));
    ScanFolder();
    assign_ = {};
    WriteModeRows();
    modes_->clearSelection();
    modes_->setCurrentRow(0);
    manager_open_ = true;
    if (context_.progress) context_.progress->SetSecond(this, this);
}

void FrmProgramManager::closeEvent(QCloseEvent* event) {
    if (rights_->CloseOperations()) {
        manager_open_ = false;
        if (context_.progress && context_.progress->Second() == this)
            context_.progress->SetSecond(nullptr, nullptr);
    }
    event->accept();
}

// ---- lists ----

void FrmProgramManager::ScanFolder() {
    const FolderScan scan = ScanModeFolder(context_.modeFolder);
    mode_files_ = scan.Files;
    mode_file_names_ = scan.FileNames;
    files_->clear();
    for (int n = 0; n < mode_files_.size(); ++n)
        files_->addItem(FileRowText(n + 1, mode_files_[n]));
    if (files_->count() > 0) files_->setCurrentRow(0);
    more_files_->setText(scan.Left > 0 ? QStringLiteral("另有%1个模式文件未列出（最多列出%2个）")
                                             .arg(scan.Left)
                                             .arg(kMaxModeFiles)
                                       : QString());
}

void FrmProgramManager::WriteModeRows() {
    for (int row = 0; row < kModeRows; ++row) {
        const QString text = ModeRowText(row, mode_names_[static_cast<std::size_t>(row)],
                                         assign_[static_cast<std::size_t>(row)]);
        if (QListWidgetItem* item = modes_->item(row))
            item->setText(text);
        else
            modes_->addItem(text);
    }
}

std::vector<int> FrmProgramManager::SelectedRows(QListWidget* list) const {
    std::vector<int> rows;
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->isSelected()) rows.push_back(row);
    return rows;
}

int FrmProgramManager::ChosenRow() const {
    return std::max(0, combo_->currentIndex());
}

bool FrmProgramManager::LinkUp() {
    return context_.session.Link().LinkUp();
}

QString FrmProgramManager::ModeFile(const QString& base) const {
    // The name as the folder holds it (its extension may be ".VL"); a new file gets ".vl".
    const qsizetype listed = mode_files_.indexOf(base);
    const QString name = listed >= 0 && listed < mode_file_names_.size() ? mode_file_names_[listed]
                                                                         : base + kExtension;
    return QDir(context_.modeFolder).filePath(name);
}

// ---- progress ----

void FrmProgramManager::BeginBulk(protocol::BulkOperation) {
    setEnabled(false);
    progress_->SetValue(0);
    progress_->show();
    progress_->raise();
}

void FrmProgramManager::BulkProgress(int done, int total) {
    progress_->SetMaxValue(std::max(1, total));
    progress_->SetValue(done);
}

void FrmProgramManager::EndBulk(protocol::BulkOperation) {
    progress_->hide();
    setEnabled(true);
}

void FrmProgramManager::ProgressStep() {
    if (!progress_->isHidden()) progress_->SetValue(progress_->Value() + 1);
}

void FrmProgramManager::ShowOwnProgress(bool on) {
    setEnabled(!on);
    progress_->SetValue(0);
    progress_->setVisible(on);
}

// ---- snapshots ----

bool FrmProgramManager::KeepSnapshot(int mode, protocol::SnapshotSource source) {
    const bool working = source == protocol::SnapshotSource::WorkingSettings;
    std::vector<QString> notRemoved;
    const auto keep = [&](const model::ParamTable& image, int m, protocol::SnapshotSource) {
        const storage::SnapshotSaved saved = context_.snapshots.Save(
            image, m,
            working ? storage::SnapshotPart::WorkingSettings : storage::SnapshotPart::StoredMode);
        notRemoved.assign(saved.NotRemoved.begin(), saved.NotRemoved.end());
        return saved.Ok() ? std::string() : storage::SnapshotFailureMessage(saved);
    };
    const protocol::SnapshotResult taken =
        protocol::TakeSnapshot(context_.session.Transfers(), context_.ws, mode, source, keep);
    for (const QString& left : notRemoved)
        context_.prompts.Warning("无法删除旧的快照文件: " + Native(left));
    if (taken.Ok()) return true;
    if (taken.Status == CommandStatus::Closing) return false;
    const std::string what =
        working ? std::string("当前工作数据") : "模式" + std::to_string(mode + 1) + "的数据";
    if (taken.Status != CommandStatus::Ok)
        context_.prompts.Warning("写入前无法从设备读取" + what + "作为快照，未执行写入。");
    else
        context_.prompts.Warning(taken.Problem + "\n写入前无法保存" + what +
                                 "的快照，未执行写入。");
    return false;
}

void FrmProgramManager::OpenSnapshots() {
    const QString folder = context_.snapshots.Folder();
    if (folder.isEmpty() || !QDir().mkpath(folder) || !context_.folders.OpenFolder(folder))
        context_.prompts.Warning("无法打开快照文件夹: " + Native(folder));
}

// ---- the device's modes ----

void FrmProgramManager::ReadMode() {
    if (!LinkUp()) return;
    const int row = ChosenRow();
    context_.session.Link().SetCurrentMode(row);
    (void)context_.session.Transfers().SyncFromDevice(row, false,
                                                      protocol::Command::ReadWorkingBlock);
}

void FrmProgramManager::WriteMode() {
    if (context_.ws.ParamStore.ValueAt(model::entry::kAdminPassword, 0) == 0) {
        context_.prompts.Warning("来宾用户没有保存权限!");
        return;
    }
    if (LinkUp()) {
        const int row = ChosenRow();
        if (!KeepSnapshot(row, protocol::SnapshotSource::StoredMode)) return;
        ShowOwnProgress(true);
        if (context_.session.Channel().SendCommand(protocol::Command::SaveToMode, row, 0) ==
            CommandStatus::Ok) {
            context_.session.Link().SetCurrentMode(row);
            context_.prompts.Warning("写入完成!");
        }
    }
    ShowOwnProgress(false);
}

// ---- settings files ----

void FrmProgramManager::OpenFile() {
    if (context_.files) {
        (void)context_.files->LoadConfigFile();
        return;
    }
    if (!LinkUp()) {
        context_.prompts.Warning("设备未联机！无法进行该操作。");
        return;
    }
    const QString path = context_.chooser.ChooseOpenFile(storage::kSettingsExtension);
    if (path.isEmpty() || !QFileInfo::exists(path)) return;
    auto fromFile = std::make_unique<model::ParamTable>();
    const storage::StorageError loaded = storage::ReadImageForDevice(path, *fromFile);
    if (loaded != storage::StorageError::Ok) {
        context_.prompts.Error(std::string(storage::StorageErrorMessage(loaded)) + "\n" +
                               Native(path));
        return;
    }
    const int mode = context_.session.Link().CurrentMode();
    if (!KeepSnapshot(mode, protocol::SnapshotSource::StoredMode) ||
        !KeepSnapshot(mode, protocol::SnapshotSource::WorkingSettings))
        return;
    context_.ws.ModeImage = *fromFile;
    protocol::BulkTransfers& transfers = context_.session.Transfers();
    if (transfers.WriteModeToDevice(mode) == CommandStatus::Ok)
        (void)transfers.SyncFromDevice(mode, false, protocol::Command::ReadWorkingBlock);
}

void FrmProgramManager::SaveFile() {
    if (context_.files) {
        (void)context_.files->SaveConfigFile();
        return;
    }
    const QString chosen = context_.chooser.ChooseSaveFile(storage::kSettingsExtension);
    if (chosen.isEmpty()) return;
    const QString path = storage::WithSettingsExtension(chosen);
    const storage::StorageError saved = storage::SaveSettingsFile(path, context_.ws.ParamStore);
    if (saved != storage::StorageError::Ok) {
        context_.prompts.Error(std::string(storage::StorageErrorMessage(saved)) + "\n" +
                               Native(path));
        return;
    }
    context_.prompts.Warning(storage::kSavedMessage);
}

// ---- mode files ----

void FrmProgramManager::Download() {
    if (!LinkUp()) {
        context_.prompts.Warning("需要联机才能执行该操作.");
        return;
    }
    const std::vector<int> rows = SelectedRows(modes_);
    if (rows.empty()) {
        context_.prompts.Warning("请选择一个模式.");
        return;
    }
    if (context_.modeFolder.isEmpty()) {
        context_.prompts.Warning("没有可用的模式文件夹。");
        return;
    }
    const std::vector<QString> bases = DownloadBaseNames(mode_names_, rows);
    bool overwriteAll = false;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const int row = rows[k];
        // The settings of no mode come with the image, as the live store holds them.
        context_.ws.ModeImage = context_.ws.ParamStore;
        // A read that stops ends the download; the files written so far are listed below.
        if (context_.session.Transfers().ReadModeFromDevice(row) != CommandStatus::Ok) break;
        const auto path = storage::ModeFilePath(context_.modeFolder, bases[k]);
        if (!path) {
            context_.prompts.Error("模式" + std::to_string(row + 1) +
                                   "的名称无法用作文件名: " + Utf8(bases[k]));
            break;
        }
        if (QFileInfo::exists(*path) && !overwriteAll) {
            if (!context_.prompts.Question(
                    "已存在同名称的模式: " + Utf8(mode_names_[static_cast<std::size_t>(row)]) +
                    " ，要全部覆盖吗？"))
                continue;
            overwriteAll = true;
        }
        const storage::StorageError saved = storage::SaveSettingsFile(*path, context_.ws.ModeImage);
        if (saved != storage::StorageError::Ok) {
            context_.prompts.Error(std::string(storage::StorageErrorMessage(saved)) + "\n" +
                                   Native(*path));
            break;
        }
    }
    ScanFolder();
}

void FrmProgramManager::Assign() {
    QStringList files;
    for (const int n : SelectedRows(files_)) files << mode_files_[n];
    if (files.isEmpty()) return;
    (void)AssignFiles(assign_, files, SelectedRows(modes_));
    WriteModeRows();
}

void FrmProgramManager::Move(int step) {
    const std::vector<int> rows = SelectedRows(modes_);
    if (rows.empty()) return;
    const MoveResult moved = step < 0 ? MoveUp(assign_, rows) : MoveDown(assign_, rows);
    if (!moved.Moved) return;
    WriteModeRows();
    modes_->clearSelection();
    for (const int row : moved.Selected) modes_->item(row)->setSelected(true);
}

void FrmProgramManager::RemoveAssigned() {
    for (const int row : SelectedRows(modes_)) assign_[static_cast<std::size_t>(row)].clear();
    WriteModeRows();
}

void FrmProgramManager::ClearAssigned() {
    assign_ = {};
    WriteModeRows();
}

void FrmProgramManager::DeleteFiles() {
    const std::vector<int> rows = SelectedRows(files_);
    if (files_->count() == 0 || rows.empty()) return;
    if (!context_.prompts.Question("确认要删除所选的模式文件吗? 删除不可以恢复")) return;
    std::string failed;
    for (const int n : rows) {
        const QString path = ModeFile(mode_files_[n]);
        if (!QFile::remove(path)) failed += "\n" + Native(path);
    }
    if (!failed.empty()) context_.prompts.Warning("无法删除以下模式文件:" + failed);
    ScanFolder();
}

void FrmProgramManager::BatchUpload() {
    if (!LinkUp()) {
        context_.prompts.Warning(kNotLinked);
        return;
    }
    modes_->selectAll();
    // Every assigned file is read and checked first, and what is written is what was read
    // then: nothing is written when one cannot be used, even if a file changes or goes
    // while the modes before it are written.
    std::array<std::unique_ptr<model::ParamTable>, kModeRows> images;
    for (int row = 0; row < kModeRows; ++row) {
        const QString& base = assign_[static_cast<std::size_t>(row)];
        if (base.isEmpty()) continue;
        auto image = std::make_unique<model::ParamTable>();
        const storage::StorageError read = storage::ReadImageForDevice(ModeFile(base), *image);
        if (read != storage::StorageError::Ok) {
            context_.prompts.Warning(
                "模式" + std::to_string(row + 1) + "的模式文件无法使用: " + Native(ModeFile(base)) +
                "\n" + std::string(storage::StorageErrorMessage(read)) + "\n未执行批量上传。");
            return;
        }
        images[static_cast<std::size_t>(row)] = std::move(image);
    }
    protocol::BulkTransfers& transfers = context_.session.Transfers();
    for (int row = 0; row < kModeRows; ++row) {
        const auto& image = images[static_cast<std::size_t>(row)];
        if (!image) continue;
        if (!KeepSnapshot(row, protocol::SnapshotSource::StoredMode)) return;
        context_.ws.ModeImage = *image;
        if (transfers.WriteModeToDevice(row) != CommandStatus::Ok) return;
    }
    if (transfers.ReadModeNames() != CommandStatus::Ok) return;
    const auto names = protocol::DecodeModeNames(context_.session.Channel().Reply());
    for (std::size_t i = 0; i < names.size(); ++i)
        mode_names_[i] = QString::fromStdString(names[i]);
    name_->setText(mode_names_[static_cast<std::size_t>(ChosenRow())]);
    assign_ = {};
    WriteModeRows();
    if (LinkUp())
        (void)transfers.SyncFromDevice(context_.session.Link().CurrentMode(), false,
                                       protocol::Command::ReadWorkingBlock);
    context_.prompts.Warning("已完成操作! ");
}

}  // namespace vellora::admin
