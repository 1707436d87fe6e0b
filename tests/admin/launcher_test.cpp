// The launcher frame: its menus, the editor switch with every other entry inert while the
// editor is closed, Closing cleared on reopening, the mode-11 warning, the key menu the
// editor's key button pops, the end of the program when the frame closes, and what the scans
// for the device found in the editor's status line.
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

#include "admin/admin_fixture.h"
#include "admin/frm_set.h"
#include "controls/m_btn_flag.h"
#include "link/device_state.h"

namespace vellora::admin::test {
namespace {

QStringList Captions(const QList<QAction*>& actions) {
    QStringList out;
    for (const QAction* a : actions) out << a->text();
    return out;
}

void DeleteClosed() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(LauncherTest, EntriesAreInertWhileTheEditorIsClosed) {
    int managers = 0;
    int rights = 0;
    frame->SetProgramManagerOpener([&] { ++managers; });
    frame->SetRightsWindowOpener([&] { ++rights; });
    OpenLinked();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Vellora"));
    EXPECT_EQ(Captions(frame->menuBar()->actions()), (QStringList{"设备", "变调菜单"}));
    EXPECT_EQ(Captions(frame->DeviceMenu()->actions()),
              (QStringList{"中文版", "程序管理", "开机设置", "权限与密码管理"}));
    EXPECT_EQ(Captions(frame->ToneMenu()->actions()),
              (QStringList{"Key: -5", "Key: -4", "Key: -3", "Key: -2", "Key: -1", "Key: 0",
                           "Key: +1", "Key: +2", "Key: +3", "Key: +4", "Key: +5"}));
    QAction* editorSwitch = frame->Entry("mnuEditor");
    EXPECT_TRUE(editorSwitch->isChecked());

    // The switch closes the editor through its exit; the link goes down with it.
    editorSwitch->trigger();
    DeleteClosed();
    EXPECT_FALSE(frame->EditorOpen());
    EXPECT_FALSE(editorSwitch->isChecked());
    EXPECT_TRUE(session.Link().Closing());
    EXPECT_FALSE(session.Link().LinkUp());

    const uint32_t sent = Sent();
    for (const char* name : {"CmdProgramSetup", "CmdStartupSettings", "CmdPrePassManager",
                             "cmdToneID0", "cmdToneID10"}) {
        EXPECT_FALSE(frame->Entry(name)->isEnabled()) << name;
        frame->Entry(name)->trigger();
    }
    frame->CmdProgramSetup();
    frame->CmdStartupSettings();
    frame->CmdPrePassManager();
    frame->CmdToneID(9);
    frame->OpenRecordWindow();
    frame->OpenEffectWindow();
    Settle();
    EXPECT_EQ(managers, 0);
    EXPECT_EQ(rights, 0);
    EXPECT_FALSE(frame->SetOpen());
    EXPECT_EQ(frame->RecordWindow(), nullptr);
    EXPECT_EQ(frame->EffectWindow(), nullptr);
    EXPECT_EQ(Sent(), sent);
    EXPECT_TRUE(prompts.Messages().empty());

    // Reopened after the exit: Closing is cleared, the entries work, the link comes up again.
    editorSwitch->trigger();
    EXPECT_TRUE(frame->EditorOpen());
    EXPECT_TRUE(editorSwitch->isChecked());
    EXPECT_FALSE(session.Link().Closing());
    Settle();
    ASSERT_TRUE(session.Link().LinkUp());
    frame->Entry("cmdToneID9")->trigger();
    EXPECT_EQ(Device().Working().ValueAt(model::entry::kKeyShift, 0), 9);
    frame->Entry("CmdPrePassManager")->trigger();
    EXPECT_EQ(rights, 1);
}

TEST_F(LauncherTest, ModeElevenKeepsTheModeManagerClosed) {
    int managers = 0;
    frame->SetProgramManagerOpener([&] { ++managers; });
    OpenFrame();
    const struct {
        int mode;
        int opened;
        bool warned;
    } cases[] = {{10, 0, true}, {9, 1, false}, {0, 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        managers = 0;
        prompts.ClearRecord();
        session.Link().SetCurrentMode(c.mode);
        frame->Entry("CmdProgramSetup")->trigger();
        EXPECT_EQ(managers, c.opened);
        EXPECT_EQ(prompts.Texts(protocol::testing::ScriptedPrompts::Kind::Warning),
                  c.warned ? std::vector<std::string>{std::string(kMode11Warning)}
                           : std::vector<std::string>{});
    }
}

TEST_F(LauncherTest, TheEditorsKeyButtonPopsTheFramesKeyMenu) {
    OpenLinked();
    controls::MBtnFlag* tone = frame->Editor()->Key("cmdTone");
    emit tone->Click();
    EXPECT_TRUE(frame->ToneMenu()->isVisible());
    frame->ToneMenu()->hide();
    frame->ToneMenu()->actions().at(7)->trigger();  // "Key: +2"
    EXPECT_EQ(tone->Value(), 7);
    EXPECT_EQ(Device().Working().ValueAt(model::entry::kKeyShift, 0), 7);
}

TEST_F(LauncherTest, ClosingTheFrameEndsTheProgram) {
    int ended = -1;
    frame->SetProgramEnd([&](int status) { ended = status; });
    OpenLinked();
    frame->CmdStartupSettings();
    frame->close();
    DeleteClosed();
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(frame->EditorOpen());
    EXPECT_FALSE(frame->SetOpen());
    EXPECT_TRUE(session.Link().Closing());
}

TEST_F(LauncherTest, TheStatusLineSaysWhatTheScansFoundEvenBeforeTheEditorOpened) {
    // Nothing listens on this socket: the scan of the start, made before the editor exists,
    // finds no device, and the scans after it give the same answer (no change to hear of).
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const link::Endpoint missing{link::EndpointKind::Unix, dir.filePath("none.sock").toStdString(),
                                 "", 0};
    ASSERT_EQ(session.Open(missing), protocol::LinkSession::OpenResult::NoDevice);
    EXPECT_EQ(frame->LastDeviceState(), link::DeviceState::NotFound);
    const QString notFound = QString::fromUtf8(link::DeviceStateText(link::DeviceState::NotFound));

    OpenFrame();
    Settle(1000);
    EXPECT_EQ(frame->Editor()->StatusText().toStdString(), notFound.toStdString());

    // An editor closed and opened again shows it as well.
    QAction* editorSwitch = frame->Entry("mnuEditor");
    editorSwitch->trigger();
    DeleteClosed();
    ASSERT_FALSE(frame->EditorOpen());
    editorSwitch->trigger();
    ASSERT_TRUE(frame->EditorOpen());
    Settle(1000);
    EXPECT_EQ(frame->Editor()->StatusText().toStdString(), notFound.toStdString());
    EXPECT_TRUE(prompts.Messages().empty());
}

}  // namespace
}  // namespace vellora::admin::test
