// frmSet, frmRec and frmEffect on the launcher: the power-on and upper-limit coupling with the
// master sliders' MaxValue, the lists, the reload by the editor's page refresh, slot 0 and the
// device written on every change, edits without the link kept in the store, and the windows'
// controls apart and inside.
#include <QCoreApplication>

#include "admin/admin_fixture.h"
#include "admin/frm_effect.h"
#include "admin/frm_rec.h"
#include "admin/frm_set.h"

namespace vellora::admin::test {
namespace {

// The user moves slider i of `window` to `value`: it holds the value, then raises Scroll.
void Move(AuxWindow& window, int i, double value) {
    controls::MScrollBar* s = window.Slider(i);
    ASSERT_NE(s, nullptr) << i;
    s->SetValue(value);
    s->RaiseEventScroll();
    EXPECT_TRUE(s->Enabled()) << "enabled again after the send";
}

TEST_F(LauncherTest, PowerOnValuesStayBelowTheirUpperLimits) {
    OpenLinked();
    frame->Entry("CmdStartupSettings")->trigger();
    FrmSet* set = frame->SettingsWindow();
    ASSERT_NE(set, nullptr);
    EXPECT_TRUE(frame->SetOpen());
    EXPECT_FALSE(set->isModal());

    // Sliders 0..2: upper limits (2568..2570); 3..5: power-on values (2565..2567).
    const struct {
        int slider;
        double value;
        int expect[6];
    } steps[] = {
        {0, 50, {50, 80, 80, 20, 33, 30}},
        {3, 70, {50, 80, 80, 50, 33, 30}},  // above its limit: snaps back to the limit
        {0, 40, {51, 80, 80, 50, 33, 30}},  // down to its value or below: one above it
        {1, 33, {51, 34, 80, 50, 33, 30}},  // down to exactly its value
        {5, 29, {51, 34, 80, 50, 33, 29}},
        {2, 60, {51, 34, 60, 50, 33, 29}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.slider);
        Move(*set, step.slider, step.value);
        for (int i = 0; i < 6; ++i) {
            const int entry = i < 3 ? model::entry::kMasterLimit0 + i : 2565 + (i - 3);
            EXPECT_EQ(set->Slider(i)->Value(), step.expect[i]) << i;
            EXPECT_EQ(ws.ParamStore.ValueAt(entry, 0), step.expect[i]) << entry;
            EXPECT_EQ(Device().Working().ValueAt(entry, 0), step.expect[i]) << entry;
        }
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(frame->Editor()->Controls().Slider(i)->MaxValue(), step.expect[i]) << i;
    }

    // The lists: the power-on mode and the on/off setting, each by its entry number.
    set->List(0)->ChooseByAccessibility(4);
    set->List(1)->ChooseByAccessibility(0);
    EXPECT_EQ(ws.ParamStore.ValueAt(model::entry::kPowerOnMode, 0), 4);
    EXPECT_EQ(Device().Working().ValueAt(model::entry::kPowerOnMode, 0), 4);
    EXPECT_EQ(Device().Working().ValueAt(model::entry::kOnOffSetting, 0), 0);

    // The editor's page refresh reloads the open window; closed, it is no longer refreshed.
    ws.ParamStore.SetValueAt(2566, 0, 12);
    ws.ParamStore.SetValueAt(model::entry::kOnOffSetting, 0, 1);
    frame->Editor()->RefreshPage();
    EXPECT_EQ(set->Slider(4)->Value(), 12);
    EXPECT_EQ(set->List(1)->Value(), 1);
    set->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(frame->SetOpen());
    frame->Editor()->RefreshPage();
}

TEST_F(LauncherTest, RecordingAndReverbWindowsWriteSlotZeroAndTheDevice) {
    OpenLinked();
    ws.SetCurrentScene(1);  // the dance scene: these entries still live in slot 0
    emit frame->Editor()->RecordWindowRequested();
    FrmRec* rec = frame->RecordWindow();
    ASSERT_NE(rec, nullptr);
    EXPECT_TRUE(rec->isModal());
    EXPECT_EQ(rec->Slider(14)->Value(), 80);  // "录音L通道音量" from slot 0
    Move(*rec, 3, 120);
    Move(*rec, 17, 60);
    EXPECT_EQ(ws.ParamStore.ValueAt(2051, 0), 120);
    EXPECT_EQ(Device().Working().ValueAt(2051, 0), 120);
    EXPECT_EQ(Device().Working().ValueAt(2312, 0), 60);

    // A synchronisation reads the store anew: the recording window closes.
    ASSERT_EQ(session.Synchronise(), protocol::CommandStatus::Ok);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frame->RecordWindow(), nullptr);

    emit frame->Editor()->EffectWindowRequested();
    FrmEffect* effect = frame->EffectWindow();
    ASSERT_NE(effect, nullptr);
    EXPECT_TRUE(effect->isModal());
    Move(*effect, 5, 70);  // "混响空间", entry 790
    EXPECT_EQ(ws.ParamStore.ValueAt(790, 0), 70);
    EXPECT_EQ(ws.ParamStore.ValueAt(790, 1), 70) << "not kept per scene: both scenes send it";
    EXPECT_EQ(Device().Working().ValueAt(790, 0), 70);
}

TEST_F(LauncherTest, EditsWithoutTheLinkReachTheStore) {
    OpenFrame();
    frame->CmdStartupSettings();
    frame->OpenRecordWindow();
    frame->OpenEffectWindow();
    Move(*frame->SettingsWindow(), 4, 25);
    Move(*frame->RecordWindow(), 14, 90);
    Move(*frame->EffectWindow(), 0, 310);
    EXPECT_EQ(ws.ParamStore.ValueAt(2566, 0), 25);
    EXPECT_EQ(ws.ParamStore.ValueAt(2055, 0), 90);
    EXPECT_EQ(ws.ParamStore.ValueAt(783, 0), 310);
    EXPECT_EQ(Sent(), 0u);
}

TEST_F(LauncherTest, AuxiliaryControlsLieApartAndInside) {
    OpenFrame();
    frame->CmdStartupSettings();
    frame->OpenRecordWindow();
    frame->OpenEffectWindow();
    for (AuxWindow* w : std::initializer_list<AuxWindow*>{
             frame->SettingsWindow(), frame->RecordWindow(), frame->EffectWindow()}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_EQ(w->size(), QSize(w->Decl().Width, w->Decl().Height));
        std::vector<QRect> boxes;  // every control and every caption
        for (const AuxWindow::Made& m : w->Controls()) {
            boxes.push_back(m.Widget->geometry());
            const editor::Rect c =
                AuxCaptionRect(w->Decl(), *m.Decl, m.Widget->width(), m.Widget->height());
            boxes.emplace_back(c.X, c.Y, c.W, c.H);
        }
        for (size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_TRUE(w->rect().contains(boxes[i])) << i;
            for (size_t j = i + 1; j < boxes.size(); ++j)
                EXPECT_FALSE(boxes[i].intersects(boxes[j])) << i << " / " << j;
        }
    }
}

}  // namespace
}  // namespace vellora::admin::test
