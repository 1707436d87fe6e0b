// The mode manager windows over the real link: the shared session on the simulated processor
// plugged in as a USB device, in virtual time, scripted prompts and file dialogs. Offline
// refusals, the list commands, and end to end: downloads, a batch upload with its snapshots,
// the password change and check, the panel lock, the close frames.
#include "admin/frm_program_manager.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "admin/frm_program2.h"
#include "controls/c_progress_bar.h"
#include "device/simulated_port.h"
#include "device/simulated_processor.h"
#include "mode_manager_scripted_chooser.h"
#include "protocol/virtual_wait.h"
#include "storage/settings_codec.h"
#include "storage/settings_file.h"
#include "storage/storage_error.h"
#include "support/scripted_prompts.h"

namespace vellora::admin {
namespace {

using protocol::testing::ScriptedPrompts;
using Kind = ScriptedPrompts::Kind;

const link::Endpoint kSim{link::EndpointKind::Sim, "", "", 0};
// A plain entry of menu kind 4, which both scenes of a mode carry.
int ProbeEntry() {
    const model::Workspace ws;
    for (int i = ws.MenuKindFirst(4); i <= ws.MenuKindLast(4); ++i)
        if (ws.ParamStore.Slot(i, 0)->Defined && ws.ParamStore.Slot(i, 0)->FilterType == 0)
            return i;
    return -1;
}
const int kProbe = ProbeEntry();

void SetProbe(model::ParamTable& table, int32_t value) {
    table.SetValueAt(kProbe, 0, value);
    table.SetValueAt(kProbe, 1, value);
}

struct Rig {
    explicit Rig(bool linked) {
        session.SetViews({&tee, nullptr, nullptr, nullptr});
        EXPECT_EQ(session.Open(kSim), protocol::LinkSession::OpenResult::Ok);
        if (linked) {
            EXPECT_EQ(session.LinkUp(), protocol::LinkSession::LinkUpResult::Ok);
            EXPECT_EQ(session.Synchronise(), protocol::CommandStatus::Ok);
        }
        EXPECT_TRUE(QDir().mkpath(modeFolder));
    }
    std::unique_ptr<FrmProgramManager> Manager() {
        return std::make_unique<FrmProgramManager>(
            ModeManagerContext{ws, session, prompts, chooser, opener, snapshots, &tee, modeFolder});
    }
    void MakeModeFile(const QString& base, int32_t probe) {
        auto image = std::make_unique<model::Workspace>();
        image->ModeImage = ws.ParamStore;
        SetProbe(image->ModeImage, probe);
        ASSERT_EQ(
            storage::SaveSettingsFile(QDir(modeFolder).filePath(base + ".vl"), image->ModeImage),
            storage::StorageError::Ok);
    }
    std::vector<std::vector<uint8_t>> Frames(protocol::Command command) const {
        std::vector<std::vector<uint8_t>> out;
        for (const device::FrameRecord& r : processor.FrameLog())
            if (r.Bytes.size() > 5 && r.Bytes[1] == static_cast<uint8_t>(command))
                out.push_back(r.Bytes);
        return out;
    }

    model::VirtualClock clock;
    device::SimulatedProcessor processor{clock};
    protocol::VirtualWait wait{clock};
    model::Workspace ws;
    ScriptedPrompts prompts;
    BulkProgressTee tee;
    protocol::LinkSession session{
        ws, wait, prompts,
        [this](const link::Endpoint&, model::Clock&) -> std::unique_ptr<link::HidPort> {
            return std::make_unique<device::SimulatedPort>(processor);
        }};
    QTemporaryDir root;
    QString modeFolder = root.filePath("Orvane");
    testing::ScriptedModeFileChooser chooser;
    testing::RecordingFolderOpener opener;
    std::function<void()> onSnapshot;  ///< runs as each snapshot is taken
    storage::SnapshotStore snapshots{
        root.filePath("snapshots"), [this] {
            if (onSnapshot) onSnapshot();
            return QDateTime(QDate(2026, 5, 1), QTime(8, 0)).addMSecs(clock.NowMs());
        }};
};

template <typename T = QAbstractButton>
T* Get(const ControlMap& map, const char* name) {
    T* widget = map.Get<T>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void Click(const ControlMap& map, const char* name) {
    Get(map, name)->click();
}

void Select(QListWidget* list, std::initializer_list<int> rows) {
    list->clearSelection();
    for (const int row : rows) list->item(row)->setSelected(true);
}

// Link down: the guest refusal comes first even offline, every command that needs the link
// refuses with its message, and closing sends nothing.
TEST(FrmProgramManager, OfflineRefusals) {
    Rig rig(false);
    auto window = rig.Manager();
    const ControlMap& c = window->Controls();
    EXPECT_TRUE(window->ManagerOpen());
    EXPECT_NE(rig.tee.Second(), nullptr) << "ManagerOpen: the bar shows the link's transfers";
    Get<QLineEdit>(c, "Text8")->setText("12a4");
    Get<QLineEdit>(c, "Text5")->setText("1");
    rig.ws.ParamStore.SetValueAt(model::entry::kAdminPassword, 0, 0);
    const struct {
        const char* button;
        const char* message;  // nullptr: nothing shown
    } cases[] = {
        {"Command2", "来宾用户没有保存权限!"},
        {"Command4", "未联机时，不可执行此操作！"},
        {"Command5", "未联机时，不可执行此操作！"},
        {"Command9", "需要联机才能执行该操作."},
        {"Command8", "未联机时，不可执行此操作！"},
        {"Command20", "设备未联机！无法进行该操作。"},
        {"Command1", nullptr},
    };
    for (const auto& k : cases) {
        rig.prompts.ClearRecord();
        Click(c, k.button);
        if (k.message)
            EXPECT_EQ(rig.prompts.Texts(Kind::Warning), std::vector<std::string>{k.message})
                << k.button;
        else
            EXPECT_TRUE(rig.prompts.Messages().empty()) << k.button;
    }
    // An administrator may press it, but offline nothing happens.
    rig.ws.ParamStore.SetValueAt(model::entry::kAdminPassword, 0, 1);
    rig.prompts.ClearRecord();
    Click(c, "Command2");
    EXPECT_TRUE(rig.prompts.Messages().empty());
    // The change controls stay disabled until a check is accepted.
    EXPECT_FALSE(Get(c, "Command6")->isEnabled());
    EXPECT_FALSE(Get<QRadioButton>(c, "Option1_1")->isEnabled());

    rig.processor.ClearFrameLog();
    window->close();
    EXPECT_TRUE(rig.processor.FrameLog().empty());
    EXPECT_FALSE(window->ManagerOpen());
    EXPECT_EQ(rig.tee.Second(), nullptr);

    // Mode number 11 is not managed here: the launcher's entry opens nothing.
    rig.session.Link().SetCurrentMode(10);
    EXPECT_EQ(FrmProgramManager::Open({rig.ws, rig.session, rig.prompts, rig.chooser, rig.opener,
                                       rig.snapshots, &rig.tee, rig.modeFolder}),
              nullptr);
}

// At the program's end the terminal's tee may go before the window that joined it (the window
// is a child of the frame, destroyed last); a window closed first leaves the tee without it.
TEST(FrmProgramManager, WindowAndProgressTeeGoInEitherOrder) {
    Rig rig(false);
    const auto open = [&rig](BulkProgressTee* tee) {
        return std::make_unique<FrmProgramManager>(
            ModeManagerContext{rig.ws, rig.session, rig.prompts, rig.chooser, rig.opener,
                               rig.snapshots, tee, rig.modeFolder});
    };
    auto tee = std::make_unique<BulkProgressTee>();
    auto window = open(tee.get());
    EXPECT_NE(tee->Second(), nullptr);
    tee.reset();
    window.reset();  // must not touch the tee that has gone

    BulkProgressTee kept;
    window = open(&kept);
    window.reset();
    EXPECT_EQ(kept.Second(), nullptr);
    kept.BeginBulk(protocol::BulkOperation::ReadMode);  // reaches no window
    kept.EndBulk(protocol::BulkOperation::ReadMode);
}

// Assign, move, remove and clear through the buttons; the rows show the assignments.
TEST(FrmProgramManager, AssignmentsThroughTheButtons) {
    Rig rig(false);
    for (const char* name : {"a", "b", "c"}) rig.MakeModeFile(name, 1);
    auto window = rig.Manager();
    const ControlMap& c = window->Controls();
    QListWidget* modes = Get<QListWidget>(c, "List1");
    QListWidget* files = Get<QListWidget>(c, "List4");
    ASSERT_EQ(files->count(), 3);
    EXPECT_EQ(files->item(2)->text(), QString::fromUtf8("文件3\t| c"));
    ASSERT_EQ(modes->count(), kModeRows);

    Select(modes, {});
    Select(files, {0, 1});
    Click(c, "Command10");  // no row selected: the first free rows
    EXPECT_EQ(window->Assignments()[0], "a");
    EXPECT_EQ(window->Assignments()[1], "b");
    EXPECT_TRUE(modes->item(1)->text().endsWith("| b"));

    Select(modes, {4, 7});
    Select(files, {2, 0});
    Click(c, "Command10");  // c to row 4? a first (rising order), then c
    EXPECT_EQ(window->Assignments()[4], "a");
    EXPECT_EQ(window->Assignments()[7], "c");

    Select(modes, {1, 4});
    Click(c, "Command14");  // up: rows 0 and 3 take b and a; the selection follows
    EXPECT_EQ(window->Assignments()[0], "b");
    EXPECT_EQ(window->Assignments()[1], "a");
    EXPECT_EQ(window->Assignments()[3], "a");
    EXPECT_TRUE(modes->item(0)->isSelected());
    EXPECT_TRUE(modes->item(3)->isSelected());
    EXPECT_FALSE(modes->item(4)->isSelected());
    Click(c, "Command14");  // row 0 selected: nothing
    EXPECT_EQ(window->Assignments()[0], "b");

    Select(modes, {7});
    Click(c, "Command15");
    EXPECT_EQ(window->Assignments()[8], "c");
    EXPECT_TRUE(modes->item(8)->isSelected());
    Click(c, "Command16");
    EXPECT_TRUE(window->Assignments()[8].isEmpty());
    EXPECT_TRUE(modes->item(8)->text().endsWith("| "));
    Click(c, "Command17");
    for (const QString& a : window->Assignments()) EXPECT_TRUE(a.isEmpty());

    Click(c, "Command18");
    EXPECT_EQ(modes->selectedItems().size(), kModeRows);
    Click(c, "Command19");
    EXPECT_TRUE(modes->selectedItems().isEmpty());

    // Delete asks first; No keeps the files, Yes removes the selected ones.
    Select(files, {1});
    rig.prompts.AddAnswer(false);
    Click(c, "Command13");
    EXPECT_EQ(files->count(), 3);
    rig.prompts.AddAnswer(true);
    Click(c, "Command13");
    EXPECT_EQ(rig.prompts.Texts(Kind::Question),
              std::vector<std::string>(2, "确认要删除所选的模式文件吗? 删除不可以恢复"));
    EXPECT_EQ(window->ModeFiles(), QStringList({"a", "c"}));
    EXPECT_FALSE(QFileInfo::exists(QDir(rig.modeFolder).filePath("b.vl")));
}

// Downloads name the files after the modes; an existing file asks once per click.
TEST(FrmProgramManager, DownloadsModesIntoNamedFiles) {
    Rig rig(true);
    device::ModeName abc{};
    ASSERT_EQ(device::ModeNameFromText(u"abc", abc), device::DeviceError::Ok);
    ASSERT_EQ(rig.processor.State().SetName(2, abc), device::DeviceError::Ok);
    SetProbe(*rig.processor.State().Mode(2), 7);
    auto window = rig.Manager();
    const ControlMap& c = window->Controls();
    QListWidget* modes = Get<QListWidget>(c, "List1");
    EXPECT_EQ(window->ModeNames()[2], "abc");
    EXPECT_EQ(modes->item(2)->text(), QString::fromUtf8("模式 3\t| abc           | "));

    Click(c, "Command18");
    Click(c, "Command9");
    EXPECT_TRUE(rig.prompts.Messages().empty());
    EXPECT_EQ(window->ModeFiles().size(), kModeRows);
    EXPECT_TRUE(window->ModeFiles().contains(QString::fromUtf8("模式10")));
    auto back = std::make_unique<model::Workspace>();
    ASSERT_EQ(storage::LoadSettingsFile(QDir(rig.modeFolder).filePath("abc.vl"), *back),
              storage::StorageError::Ok);
    EXPECT_EQ(back->ModeImage.ValueAt(kProbe, 0), 7);

    // Again, rows 1 and 3 (0-based): No skips mode 2 and asks again; Yes covers the rest.
    SetProbe(*rig.processor.State().Mode(2), 9);
    SetProbe(*rig.processor.State().Mode(1), 9);
    Select(modes, {1, 2, 3});
    rig.prompts.AddAnswer(false);
    rig.prompts.AddAnswer(true);
    Click(c, "Command9");
    EXPECT_EQ(rig.prompts.Texts(Kind::Question),
              (std::vector<std::string>{"已存在同名称的模式: 模式2 ，要全部覆盖吗？",
                                        "已存在同名称的模式: abc ，要全部覆盖吗？"}));
    ASSERT_EQ(storage::LoadSettingsFile(QDir(rig.modeFolder).filePath("abc.vl"), *back),
              storage::StorageError::Ok);
    EXPECT_EQ(back->ModeImage.ValueAt(kProbe, 0), 9);
    ASSERT_EQ(storage::LoadSettingsFile(QDir(rig.modeFolder).filePath("模式2.vl"), *back),
              storage::StorageError::Ok);
    EXPECT_NE(back->ModeImage.ValueAt(kProbe, 0), 9) << "kept: the user said No";
}

// A device that stops answering in the middle of a download: the files already written show
// in the list at once.
TEST(FrmProgramManager, DownloadStoppedByTheDeviceListsWhatWasWritten) {
    Rig rig(true);
    auto window = rig.Manager();
    const ControlMap& c = window->Controls();
    device::FaultPlan plan;
    plan.StopAfterFrames = 13;  // the blocks of one mode
    rig.processor.SetFaults(plan);
    Select(Get<QListWidget>(c, "List1"), {0, 1});
    Click(c, "Command9");
    EXPECT_EQ(window->ModeFiles(), QStringList{QString::fromUtf8("模式1")});
    EXPECT_EQ(Get<QListWidget>(c, "List4")->count(), 1);
}

// Three files into three modes: each mode is kept as a snapshot before it is written, the
// progress bar shows meanwhile, the names are read back. A missing file writes nothing.
TEST(FrmProgramManager, BatchUploadKeepsASnapshotOfEachModeFirst) {
    Rig rig(true);
    const int rows[] = {1, 4, 8};
    for (int k = 0; k < 3; ++k) {
        SetProbe(*rig.processor.State().Mode(rows[k]), 20 + k);
        rig.MakeModeFile(QString("up%1").arg(k), 30 + k);
    }
    rig.MakeModeFile("gone", 40);
    auto window = rig.Manager();
    const ControlMap& c = window->Controls();
    QListWidget* modes = Get<QListWidget>(c, "List1");
    QListWidget* files = Get<QListWidget>(c, "List4");
    ASSERT_EQ(window->ModeFiles(), QStringList({"gone", "up0", "up1", "up2"}));

    // A missing assigned file: a clear message, nothing sent.
    Select(modes, {0});
    Select(files, {0});
    Click(c, "Command10");
    ASSERT_TRUE(QFile::remove(QDir(rig.modeFolder).filePath("gone.vl")));
    rig.processor.ClearFrameLog();
    Click(c, "Command8");
    ASSERT_EQ(rig.prompts.Texts(Kind::Warning).size(), 1u);
    EXPECT_NE(rig.prompts.Texts(Kind::Warning)[0].find("模式1的模式文件无法使用"),
              std::string::npos);
    EXPECT_TRUE(rig.processor.FrameLog().empty());
    Click(c, "Command17");

    Select(modes, {1, 4, 8});
    Select(files, {1, 2, 3});
    Click(c, "Command10");
    bool barSeen = false;
    bool disabledSeen = false;
    auto* bar = Get<controls::C_ProgressBar>(c, "C_ProgressBar1");
    for (int t = 5; t < 3000; t += 5)
        rig.clock.CallAfter(t, [&] {
            barSeen |= bar->isVisibleTo(window.get());
            disabledSeen |= !window->isEnabled();
        });
    rig.prompts.ClearRecord();
    Click(c, "Command8");
    EXPECT_EQ(rig.prompts.Texts(Kind::Warning), std::vector<std::string>{"已完成操作! "});
    EXPECT_TRUE(barSeen);
    EXPECT_TRUE(disabledSeen);
    EXPECT_FALSE(bar->isVisibleTo(window.get()));
    EXPECT_TRUE(window->isEnabled());
    for (const QString& a : window->Assignments()) EXPECT_TRUE(a.isEmpty());

    const QStringList kept = rig.snapshots.List();
    ASSERT_EQ(kept.size(), 3);
    auto image = std::make_unique<model::Workspace>();
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(rig.processor.State().Mode(rows[k])->ValueAt(kProbe, 0), 30 + k);
        EXPECT_TRUE(kept[k].contains(QString("-mode%1").arg(rows[k] + 1, 2, 10, QChar('0'))))
            << kept[k].toStdString();
        ASSERT_EQ(storage::LoadSettingsFile(kept[k], *image), storage::StorageError::Ok);
        EXPECT_EQ(image->ModeImage.ValueAt(kProbe, 0), 20 + k) << "the mode before the write";
    }
    EXPECT_EQ(rig.Frames(protocol::Command::ReadModeNames).size(), 1u);

    // The snapshot folder opens through the desktop.
    Click(c, "cmdSnapshots");
    EXPECT_EQ(rig.opener.opened, std::vector<QString>{rig.snapshots.Folder()});
}

// A batch writes what it checked: a mode file that another program replaces or removes while
// the modes before it are written changes nothing; a file of another processor's layout is
// refused before anything is sent.
TEST(FrmProgramManager, BatchUploadWritesTheFilesAsTheyWereChecked) {
    Rig rig(true);
    for (int k = 0; k < 3; ++k) rig.MakeModeFile(QString("up%1").arg(k), 30 + k);
    rig.MakeModeFile("foreign", 40);
    {
        QFile foreign(QDir(rig.modeFolder).filePath("foreign.vl"));
        ASSERT_TRUE(foreign.open(QIODevice::ReadWrite));
        ASSERT_TRUE(foreign.seek(storage::SlotOffset(0, 0) + storage::slot_offset::kFilterType));
        ASSERT_EQ(foreign.write("\0", 1), 1);  // the first band as a plain entry
    }
    auto window = rig.Manager();
    const ControlMap& c = window->Controls();
    QListWidget* modes = Get<QListWidget>(c, "List1");
    QListWidget* files = Get<QListWidget>(c, "List4");
    ASSERT_EQ(window->ModeFiles(), QStringList({"foreign", "up0", "up1", "up2"}));

    Select(modes, {0});
    Select(files, {0});
    Click(c, "Command10");
    rig.processor.ClearFrameLog();
    Click(c, "Command8");
    ASSERT_EQ(rig.prompts.Texts(Kind::Warning).size(), 1u);
    EXPECT_NE(rig.prompts.Texts(Kind::Warning)[0].find(
                  std::string(storage::StorageErrorMessage(storage::StorageError::WrongLayout))),
              std::string::npos);
    EXPECT_TRUE(rig.processor.FrameLog().empty());
    Click(c, "Command17");

    Select(modes, {1, 4, 8});
    Select(files, {1, 2, 3});
    Click(c, "Command10");
    int taken = 0;
    rig.onSnapshot = [&] {
        if (++taken == 1) rig.MakeModeFile("up1", 99);
        if (taken == 2) {
            ASSERT_TRUE(QFile::remove(QDir(rig.modeFolder).filePath("up2.vl")));
        }
    };
    rig.prompts.ClearRecord();
    Click(c, "Command8");
    EXPECT_EQ(rig.prompts.Texts(Kind::Warning), std::vector<std::string>{"已完成操作! "});
    EXPECT_EQ(rig.processor.State().Mode(1)->ValueAt(kProbe, 0), 30);
    EXPECT_EQ(rig.processor.State().Mode(4)->ValueAt(kProbe, 0), 31);
    EXPECT_EQ(rig.processor.State().Mode(8)->ValueAt(kProbe, 0), 32);
}

// Settings files: a save; an open that keeps the current mode and the working settings first,
// and writes nothing while they cannot be kept; the write into a mode with its snapshot.
TEST(FrmProgramManager, SettingsFilesAndWritesKeepSnapshotsFirst) {
    Rig rig(true);
    rig.MakeModeFile("file", 55);
    auto window = rig.Manager();
    const ControlMap& c = window->Controls();

    rig.chooser.AddPath(rig.root.filePath("saved"));
    Click(c, "Command3");
    EXPECT_EQ(QFileInfo(rig.root.filePath("saved.VL")).size(), 252000);
    EXPECT_EQ(rig.prompts.Texts(Kind::Warning), std::vector<std::string>{"已写入文件！"});

    // A file where the snapshot folder should be: told why, nothing written.
    {
        QFile blocker(rig.snapshots.Folder());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    rig.prompts.ClearRecord();
    rig.processor.ClearFrameLog();
    rig.chooser.AddPath(QDir(rig.modeFolder).filePath("file.vl"));
    Click(c, "Command20");
    ASSERT_EQ(rig.prompts.Texts(Kind::Warning).size(), 1u);
    EXPECT_NE(rig.prompts.Texts(Kind::Warning)[0].find("无法创建快照文件夹"), std::string::npos);
    EXPECT_NE(rig.prompts.Texts(Kind::Warning)[0].find("未执行写入"), std::string::npos);
    EXPECT_TRUE(rig.Frames(protocol::Command::WriteModeBlock).empty());
    EXPECT_NE(rig.processor.State().Working().ValueAt(kProbe, 0), 55);

    ASSERT_TRUE(QFile::remove(rig.snapshots.Folder()));
    rig.prompts.ClearRecord();
    rig.chooser.AddPath(QDir(rig.modeFolder).filePath("file.vl"));
    Click(c, "Command20");
    EXPECT_TRUE(rig.prompts.Messages().empty());
    EXPECT_EQ(rig.processor.State().Working().ValueAt(kProbe, 0), 55);
    EXPECT_EQ(rig.ws.ParamStore.ValueAt(kProbe, 0), 55) << "read back";
    QStringList kept = rig.snapshots.List();
    ASSERT_EQ(kept.size(), 2);
    EXPECT_TRUE(QFileInfo(kept[0]).fileName().contains(
        QRegularExpression("^\\d{8}-\\d{6}-mode01(-\\d+)?\\.vl$")));
    EXPECT_TRUE(kept[1].contains("-mode01-working"));

    // Write into mode 5: the administrator only, after a snapshot of mode 5.
    rig.ws.ParamStore.SetValueAt(model::entry::kAdminPassword, 0, 1);
    Get<QComboBox>(c, "Combo1")->setCurrentIndex(4);
    rig.prompts.ClearRecord();
    Click(c, "Command2");
    EXPECT_EQ(rig.prompts.Texts(Kind::Warning), std::vector<std::string>{"写入完成!"});
    EXPECT_EQ(rig.processor.State().Mode(4)->ValueAt(kProbe, 0), 55);
    EXPECT_EQ(rig.session.Link().CurrentMode(), 4);
    kept = rig.snapshots.List();
    ASSERT_EQ(kept.size(), 3);
    EXPECT_TRUE(kept[2].contains("-mode05"));
}

// The administrator password changed and then checked, the panel lock on and off, and the
// two close frames, panel slot first, in both windows.
TEST(FrmProgramManager, PasswordsPanelLockAndCloseFrames) {
    Rig rig(true);
    auto window = rig.Manager();
    const ControlMap& c = window->Controls();
    const auto type = [&](const char* box, const char* text) {
        Get<QLineEdit>(c, box)->setText(QString::fromUtf8(text));
    };

    type("Text9", "000000");
    Click(c, "Command5");
    EXPECT_TRUE(Get(c, "Command6")->isEnabled());
    EXPECT_TRUE(Get<QRadioButton>(c, "Option2_1")->isEnabled());
    type("Text2", "000000");
    type("Text3", "123456");
    type("Text4", "123455");
    Click(c, "Command6");
    type("Text4", "123456");
    Click(c, "Command6");
    EXPECT_EQ(rig.prompts.Texts(Kind::Warning),
              (std::vector<std::string>{"新密码和确认密码不一致！", "密码修改成功！"}));
    EXPECT_EQ(rig.processor.State().Administrator(), (device::AdminPassword{1, 2, 3, 4, 5, 6}));
    rig.prompts.ClearRecord();
    Click(c, "Command6");  // the old password is no longer right
    Click(c, "Command5");  // neither is 000000
    type("Text9", "123456");
    Click(c, "Command5");
    EXPECT_EQ(rig.prompts.Texts(Kind::Warning),
              (std::vector<std::string>{"密码修改失败！", "密码错误！"}));

    // The panel lock: refused options until its password is accepted, then written at once.
    EXPECT_FALSE(Get<QRadioButton>(c, "Option1_1")->isEnabled());
    type("Text8", "0000");
    Click(c, "Command4");
    ASSERT_TRUE(Get<QRadioButton>(c, "Option1_1")->isEnabled());
    Click(c, "Option1_1");
    EXPECT_EQ(rig.ws.ParamStore.ValueAt(model::entry::kPanelLock, 0), 1);
    EXPECT_EQ(rig.processor.State().Working().ValueAt(model::entry::kPanelLock, 0), 1);
    Click(c, "Option1_0");
    EXPECT_EQ(rig.processor.State().Working().ValueAt(model::entry::kPanelLock, 0), 0);

    for (int w = 0; w < 2; ++w) {
        std::unique_ptr<QWidget> closing;
        if (w == 0)
            closing = std::move(window);
        else
            closing = std::make_unique<FrmProgram2>(rig.ws, rig.session, rig.prompts);
        rig.processor.ClearFrameLog();
        closing->close();
        const auto frames = rig.Frames(protocol::Command::PasswordCommand);
        ASSERT_EQ(frames.size(), 2u) << w;
        EXPECT_EQ(frames[0][3], protocol::kPanelLockSlot);
        EXPECT_EQ(frames[1][3], protocol::kAdministratorSlot);
        EXPECT_EQ(frames[0][4], 2);
        EXPECT_EQ(frames[1][4], 2);
    }
}

}  // namespace
}  // namespace vellora::admin
