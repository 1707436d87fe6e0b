// The graph panel of the editor window driven by mouse, key and wheel events: the band, the
// store, the band's slider and the device follow the edit, and the fade starts after it; a
// band's slider selects its band on the graph.
#include <QTest>
#include <QWheelEvent>

#include "editor/editor_fixture.h"
#include "editor/editor_panels.h"

namespace vellora::editor::test {
namespace {

TEST_F(EditorTest, EditingOnTheGraphMovesTheBandItsSliderTheStoreAndTheDevice) {
    link.Up = true;
    auto* panel = window->findChild<GraphPanel*>();
    ASSERT_NE(panel, nullptr);
    graph::ResponseGraph& g = window->Graph();
    const graph::CurveBand& band = g.Bands().Bands[3];
    const model::SceneSlot before = *ws.ParamStore.Slot(3, 0);
    controls::MScrollBar* slider = window->Controls().Slider(band.SliderIndex);
    ASSERT_NE(slider, nullptr);

    const QPoint from = g.HandleCentre(3);
    const QPoint to = from + QPoint(40, 30);
    QTest::mousePress(panel, Qt::LeftButton, {}, from);
    QTest::mouseMove(panel, to);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, to);
    clock.AdvanceBy(1);
    EXPECT_EQ(g.SelectedBand(), 3);
    EXPECT_GT(band.Freq, before.Freq);
    EXPECT_LT(band.GainOrType, before.Gain);
    EXPECT_EQ(ws.ParamStore.Slot(3, 0)->Freq, band.Freq);
    EXPECT_EQ(ws.ParamStore.Slot(3, 0)->Gain, band.GainOrType);
    EXPECT_EQ(slider->Freq(), band.Freq);
    EXPECT_EQ(slider->Value(), band.GainOrType);
    EXPECT_TRUE(slider->ForceShowFocus());
    EXPECT_EQ(link.Writes, std::vector<int>{3});
    const int dragged = band.GainOrType;

    // The click gave the graph the keys; the wheel with Ctrl steps Q.
    QTest::keyClick(panel, Qt::Key_Up);
    QWheelEvent wheel(QPointF(to), QPointF(panel->mapToGlobal(to)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(panel, &wheel);
    clock.AdvanceBy(11);
    EXPECT_EQ(ws.ParamStore.Slot(3, 0)->Gain, dragged + 1);
    EXPECT_EQ(slider->Value(), dragged + 1);
    EXPECT_EQ(slider->Q(), before.Q + 1);
    EXPECT_EQ(link.Writes.size(), 3u);

    // 700 ms without edits, then the selected band's fill fades.
    clock.AdvanceBy(FrmEQ::kNoOperationMs - 11);
    EXPECT_EQ(g.FadeLevel(), graph::kFadeLevelMax);
    clock.AdvanceBy(FrmEQ::kGradientMs + 11);
    EXPECT_LT(g.FadeLevel(), graph::kFadeLevelMax);
    EXPECT_EQ(window->Undo().UndoPos(), 0);

    // The other way: moving band 6's slider selects band 6 on the graph.
    controls::MScrollBar* other = window->Controls().Slider(g.Bands().Bands[6].SliderIndex);
    other->SetValue(300);
    other->RaiseEventScroll();
    EXPECT_EQ(g.SelectedBand(), 6);
    EXPECT_EQ(g.Bands().Bands[6].GainOrType, 300);
    EXPECT_TRUE(other->ForceShowFocus());
    EXPECT_FALSE(slider->ForceShowFocus());
}

}  // namespace
}  // namespace vellora::editor::test
