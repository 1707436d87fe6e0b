// The editor on the real link: the shared session over the simulated processor plugged in as
// a USB device, in virtual time. The window links up and synchronises by itself; a control
// moved through the accessibility interface reaches the device as one parameter write with
// the frame's exact bytes; a lost device is shown once and linked again when it returns.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QAccessibleValueInterface>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "controls/control_pictures.h"
#include "controls/workspace_look_source.h"
#include "device/simulated_port.h"
#include "device/simulated_processor.h"
#include "editor/editor_panels.h"
#include "editor/frm_eq.h"
#include "editor/mode_commands.h"
#include "editor/qt_prompts.h"
#include "editor/session_link.h"
#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "protocol/frame_builder.h"
#include "protocol/link_session.h"
#include "protocol/link_texts.h"
#include "protocol/password_window.h"
#include "protocol/virtual_wait.h"
#include "support/scripted_prompts.h"

namespace vellora::editor {
namespace {

const link::Endpoint kSim{link::EndpointKind::Sim, "", "", 0};

struct Terminal {
    Terminal() {
        graph::RegisterGraphPictures(pictures);
        controls::RegisterControlPictures(pictures);
        session.SetViews(views.Views());
        session.Supervisor().SetTickHandler([this] { window.LinkTick(); });
        views.SetSynchronised([this] { ++synchronisations; });
        EXPECT_EQ(session.Open(kSim), protocol::LinkSession::OpenResult::Ok);
        window.Load(QSize(1920, 1080));
        window.show();  // starts the link's supervision
    }
    void RunFor(int ms) { clock.AdvanceBy(ms); }

    model::VirtualClock clock;
    device::SimulatedProcessor processor{clock};
    protocol::VirtualWait wait{clock};
    model::Workspace ws;
    controls::WorkspaceLookSource look{ws};
    graph::PictureStore pictures;
    protocol::testing::ScriptedPrompts prompts;
    device::SimulatedPort* port = nullptr;  // owned by the session
    protocol::LinkSession session{
        ws, wait, prompts,
        [this](const link::Endpoint&, model::Clock&) -> std::unique_ptr<link::HidPort> {
            auto made = std::make_unique<device::SimulatedPort>(processor);
            port = made.get();
            return made;
        }};
    SessionLink link{session, true};
    FrmEQ window{EditorContext{ws, clock, pictures, look, link, prompts}};
    int synchronisations = 0;
    EditorLinkViews views{window, [](bool) {}};
};

TEST(EditorLink, LinksUpSynchronisesAndSendsAnAccessibleEditAsOneExactFrame) {
    Terminal t;
    t.processor.State().Working().SetValueAt(model::entry::kMasterSlider0 + 1, 0, 44);
    t.RunFor(3000);
    ASSERT_EQ(t.synchronisations, 1);
    EXPECT_TRUE(t.link.LinkUp());
    EXPECT_EQ(t.window.Controls().Slider(1)->Value(), 44);  // the device's value is shown
    EXPECT_TRUE(t.window.StatusText().contains(QStringLiteral("模式1")));
    EXPECT_TRUE(t.prompts.Messages().empty());

    // The first microphone page's high-pass, moved by assistive technology.
    t.window.SelectPage(1);
    controls::MScrollBar* slider = t.window.Controls().Slider(33);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(slider);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(a->valueInterface(), nullptr);
    t.processor.ClearFrameLog();
    a->valueInterface()->setCurrentValue(60);
    t.RunFor(100);
    EXPECT_EQ(t.ws.ParamStore.ValueAt(256, 0), 60);  // value type 13: the position is the index

    std::array<uint8_t, protocol::kMaxFrameLength> expected{};
    protocol::FrameRequest request;
    request.command = protocol::Command::WriteParam;
    request.index = 256;
    const protocol::ByteResult built = protocol::BuildFrame(request, t.ws, expected);
    ASSERT_TRUE(built.Ok());
    std::vector<uint8_t> writes;
    int frames = 0;
    for (const device::FrameRecord& r : t.processor.FrameLog()) {
        if (r.Bytes.size() > 2 && r.Bytes[2] == static_cast<uint8_t>(protocol::Command::WriteParam)) {
            ++frames;
            writes = r.Bytes;
        }
    }
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(writes, std::vector<uint8_t>(expected.begin(), expected.begin() + built.Bytes));
    EXPECT_EQ(t.processor.State().Working().ValueAt(256, 0), 60);
}

TEST(EditorLink, ALostDeviceIsShownOnceLinkedAgainAndOfflineEditsAreOffered) {
    Terminal t;
    t.RunFor(3000);
    ASSERT_EQ(t.synchronisations, 1);
    t.port->Unplug();
    t.RunFor(8000);
    EXPECT_FALSE(t.link.LinkUp());
    EXPECT_EQ(t.prompts.Messages().size(), 1u);  // shown once, not at every re-scan

    // Edited while unplugged: kept in the store, not on the device.
    t.window.SelectPage(1);
    t.window.Controls().Slider(33)->SetValue(70);
    t.window.Controls().Slider(33)->RaiseEventScroll();
    t.prompts.AddAnswer(true);
    t.port->Replug();
    t.RunFor(8000);
    EXPECT_TRUE(t.link.LinkUp());
    EXPECT_EQ(t.synchronisations, 2);
    ASSERT_EQ(t.prompts.Messages().size(), 2u);  // the offer to send the offline edits
    EXPECT_EQ(t.ws.ParamStore.ValueAt(256, 0), 70);
    EXPECT_EQ(t.processor.State().Working().ValueAt(256, 0), 70);
    EXPECT_EQ(t.window.Controls().Slider(33)->Value(), 70);
}

}  // namespace
}  // namespace vellora::editor

namespace vellora::editor {
namespace {

// CmdPassword: stars for the typed digits, "确定" and Enter submit, and the input rules answer
// before anything is sent; the window stays open with the entry selected.
TEST(EditorLink, PasswordWindowShowsStarsAndKeepsTheInputRules) {
    Terminal t;
    protocol::PasswordWindow logic(t.session.Channel(), t.prompts,
                                   protocol::PasswordInputType::Administrator);
    CmdPassword dialog(logic, &t.window);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(logic.Caption().data(),
                                                      static_cast<int>(logic.Caption().size())));
    EXPECT_EQ(dialog.Button()->text(), QStringLiteral("确定"));
    dialog.show();
    QTest::keyClicks(dialog.Entry(), QStringLiteral("12a"));
    EXPECT_EQ(dialog.Entry()->displayText(), QStringLiteral("***"));
    QTest::keyClick(dialog.Entry(), Qt::Key_Return);
    QTest::keyClicks(dialog.Entry(), QStringLiteral("12"));  // replaces the selected entry
    dialog.Button()->click();
    ASSERT_EQ(t.prompts.Messages().size(), 2u);
    EXPECT_EQ(t.prompts.Messages()[0].text, "密码只能输入数字0~9");
    EXPECT_EQ(t.prompts.Messages()[1].text, "密码请输入6位!");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(logic.OK());
    EXPECT_EQ(t.processor.Counters().FramesReceived, 0u);  // nothing sent
}

}  // namespace
}  // namespace vellora::editor

namespace vellora::editor {
namespace {

// A drag on the graph reaches the device as parameter writes ending with the final value; a
// scene copy writes every per-scene entry and says it is done.
TEST(EditorLink, GraphDragsAndSceneCopiesReachTheDevice) {
    Terminal t;
    t.RunFor(3000);
    ASSERT_EQ(t.synchronisations, 1);
    auto* panel = t.window.findChild<GraphPanel*>();
    ASSERT_NE(panel, nullptr);
    t.processor.ClearFrameLog();
    const QPoint from = t.window.Graph().HandleCentre(3);
    QTest::mousePress(panel, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 5; ++step) {
        QTest::mouseMove(panel, from + QPoint(8 * step, -6 * step));
        t.RunFor(20);
    }
    QTest::mouseRelease(panel, Qt::LeftButton, {}, from + QPoint(40, -30));
    t.RunFor(200);
    const int entry = t.window.Graph().Bands().Bands[3].ParamIndex;
    const model::SceneSlot& shown = *t.ws.ParamStore.Slot(entry, 0);
    EXPECT_GT(shown.Gain, 250);  // dragged up
    const model::SceneSlot& device = *t.processor.State().Working().Slot(entry, 0);
    EXPECT_EQ(device.Gain, shown.Gain);
    EXPECT_EQ(device.Freq, shown.Freq);
    int writes = 0;
    for (const device::FrameRecord& r : t.processor.FrameLog())
        if (r.Bytes.size() > 2 && r.Bytes[2] == static_cast<uint8_t>(protocol::Command::WriteParam))
            ++writes;
    EXPECT_GE(writes, 1);

    t.prompts.AddAnswer(true);
    t.window.Key("cmdModeCopy")->ClickByAccessibility();
    t.RunFor(100);
    EXPECT_EQ(t.ws.CurrentScene(), 1);
    EXPECT_EQ(t.prompts.Messages().back().text, texts::kDone);
    EXPECT_EQ(t.processor.State().Working().ValueAt(model::entry::kSceneSelect, 0), 1);
    EXPECT_EQ(t.processor.State().Working().Slot(entry, 1)->Gain, shown.Gain);
}

}  // namespace
}  // namespace vellora::editor
