// MScrollBar wired to real input, offscreen: mouse, keys and wheel through QTest, the entry
// box, the repeat timer on virtual time, and the order of state and events.
#include <QEnterEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "controls/m_scroll_bar.h"
#include "controls/slider_array_host.h"
#include "controls_fixture.h"

namespace vellora::controls {
namespace {

class ScrollBarWidgetTest : public test::ControlsTest {
protected:
    std::unique_ptr<MScrollBar> Make(int form, int hs = 0, int valueType = 0, int max = 80) {
        SliderStored s;
        s.ScrollBarType = form;
        s.HScrollSize = hs;
        s.ValueType = valueType;
        s.MaxValue = max;
        auto w = std::make_unique<MScrollBar>(context, s);
        w->BkGround_Init(false);
        return w;
    }
    static void Enter(QWidget* w, QPointF at) {
        QEnterEvent enter(at, w->mapToGlobal(at), w->mapToGlobal(at));
        QCoreApplication::sendEvent(w, &enter);
    }
    /// A pointer move with no button held, as the window system delivers it.
    static void Hover(QWidget* w, QPointF at) {
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
    }
    static void Leave(QWidget* w) {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(w, &leave);
    }
    static void Wheel(QWidget* w, QPointF at, int delta,
                      Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWheelEvent wheel(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(w, &wheel);
    }
};

TEST_F(ScrollBarWidgetTest, SizesItselfAndDrawsNothingBeforeTheBackground) {
    SliderStored s;
    s.ScrollBarType = 1;
    MScrollBar w(context, s);
    EXPECT_EQ(w.size(), QSize(43, 178));
    w.grab();
    EXPECT_EQ(w.PaintCount(), 0);
    w.BkGround_Init(false);
    w.grab();
    EXPECT_EQ(w.PaintCount(), 1);
    w.SetEQNormalStyle(1);
    EXPECT_EQ(w.size(), QSize(43, 224));
    w.SetScrollBarType(2);
    w.SetHScrollSize(3);
    EXPECT_EQ(w.size(), QSize(180, 26));
    look.SetClosing(true);
    MScrollBar late(context, s);
    late.BkGround_Init(false);
    EXPECT_FALSE(late.BackgroundReady());
}

TEST_F(ScrollBarWidgetTest, BandStripValuesAndTexts) {
    auto w = Make(1);
    w->SetValue(250);
    w->grab();
    EXPECT_EQ(w->Machine().Position(), 240);
    EXPECT_EQ(Texts(w->LastPlan())[0]->text, "0.0");
    w->SetValue(10);
    w->grab();
    EXPECT_EQ(w->Machine().Position(), 0);
    EXPECT_EQ(Texts(w->LastPlan())[0]->text, "-24.0");
    w->SetValue(370);
    w->grab();
    EXPECT_EQ(w->Machine().Position(), 360);
    EXPECT_EQ(Texts(w->LastPlan())[0]->text, "12.0");
}

TEST_F(ScrollBarWidgetTest, ScrollComesAfterTheNewState) {
    auto w = Make(2, 0, 0, 80);
    std::vector<double> seen;
    QObject::connect(w.get(), &MScrollBar::Scroll, [&] { seen.push_back(w->Value()); });
    QSignalSpy clicks(w.get(), &MScrollBar::Click);
    Enter(w.get(), QPointF(100, 20));
    QTest::mouseClick(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(104, 20));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(seen, std::vector<double>{41});
    w->SetValue(70);
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(ScrollBarWidgetTest, RepeatTimerRunsOnTheInjectedClock) {
    auto w = Make(2, 0, 0, 80);
    QSignalSpy scrolls(w.get(), &MScrollBar::Scroll);
    Enter(w.get(), QPointF(104, 20));
    QTest::mousePress(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(104, 20));
    clock.AdvanceBy(249);
    EXPECT_EQ(scrolls.count(), 0);
    clock.AdvanceBy(1);
    EXPECT_EQ(scrolls.count(), 1);
    clock.AdvanceBy(100);
    EXPECT_EQ(scrolls.count(), 3);
    EXPECT_EQ(w->Value(), 43);
    QTest::mouseRelease(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(104, 20));
    clock.AdvanceBy(500);
    EXPECT_EQ(scrolls.count(), 3);
    EXPECT_EQ(w->Value(), 43);
}

TEST_F(ScrollBarWidgetTest, ClickAndDoubleClickEachStepOnce) {
    auto w = Make(2, 0, 0, 80);
    Enter(w.get(), QPointF(20, 20));
    // A double click arrives as press, release, double click, release: two steps.
    QTest::mousePress(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseRelease(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(w->Value(), 39);
    QTest::mouseDClick(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseRelease(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(w->Value(), 38);
}

TEST_F(ScrollBarWidgetTest, ArrowKeysOnlyWhileThePointerIsInside) {
    auto w = Make(2, 0, 0, 80);
    QSignalSpy scrolls(w.get(), &MScrollBar::Scroll);
    QSignalSpy mouseIn(w.get(), &MScrollBar::MouseIn);
    QTest::keyClick(w.get(), Qt::Key_Up);
    EXPECT_EQ(w->Value(), 40);
    Enter(w.get(), QPointF(50, 20));
    EXPECT_EQ(mouseIn.count(), 1);
    QTest::keyClick(w.get(), Qt::Key_Up);
    QTest::keyClick(w.get(), Qt::Key_Right);
    QTest::keyClick(w.get(), Qt::Key_Left);
    EXPECT_EQ(w->Value(), 41);
    EXPECT_EQ(scrolls.count(), 3);
    Leave(w.get());
    QTest::keyClick(w.get(), Qt::Key_Down);
    EXPECT_EQ(w->Value(), 41);
    // A pointer move brings it back in.
    Hover(w.get(), QPointF(60, 20));
    QTest::keyClick(w.get(), Qt::Key_Down);
    EXPECT_EQ(w->Value(), 40);
}

TEST_F(ScrollBarWidgetTest, WheelActsAsUpAndDown) {
    auto w = Make(2, 0, 0, 80);
    Enter(w.get(), QPointF(50, 20));
    Wheel(w.get(), QPointF(50, 20), 120);
    Wheel(w.get(), QPointF(50, 20), 120);
    Wheel(w.get(), QPointF(50, 20), -120);
    EXPECT_EQ(w->Value(), 41);
    Wheel(w.get(), QPointF(50, 20), 240);
    Wheel(w.get(), QPointF(50, 20), 120, Qt::ShiftModifier);
    EXPECT_EQ(w->Value(), 41);
}

TEST_F(ScrollBarWidgetTest, WheelOverTheBandRows) {
    auto w = Make(1);
    Enter(w.get(), QPointF(20, 145));
    Hover(w.get(), QPointF(20, 145));
    w->SetFreq(361);
    Wheel(w.get(), QPointF(20, 145), 120);
    EXPECT_EQ(w->Freq(), 361);
    Wheel(w.get(), QPointF(20, 145), -120);
    EXPECT_EQ(w->Freq(), 360);
    Hover(w.get(), QPointF(20, 158));
    w->SetQType(1);
    w->SetsQ(26);
    Wheel(w.get(), QPointF(20, 158), 120);
    EXPECT_EQ(w->sQ(), 26);
    Wheel(w.get(), QPointF(20, 158), -120);
    EXPECT_EQ(w->sQ(), 25);
    EXPECT_EQ(w->Value(), 250);
}

TEST_F(ScrollBarWidgetTest, GainEntryBoxTyping) {
    auto w = Make(1);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    std::vector<double> seen;
    QObject::connect(w.get(), &MScrollBar::Scroll, [&] { seen.push_back(w->Value()); });
    QTest::mouseClick(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 130));
    QLineEdit* box = w->EntryBox();
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), QStringLiteral("0.0"));
    EXPECT_EQ(box->selectedText(), QStringLiteral("0.0"));
    QTest::keyClicks(box, QStringLiteral("abc"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(w->Value(), 250);
    QTest::mouseClick(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 130));
    ASSERT_TRUE(box->isVisible());
    QTest::keyClicks(box, QStringLiteral("30"));
    QTest::keyClick(box, Qt::Key_Enter);
    EXPECT_EQ(w->Value(), 370);
    EXPECT_EQ(w->Machine().Position(), 360);
    EXPECT_EQ(seen, (std::vector<double>{250, 370}));
    // Arrow keys in the box step the gain; leaving the box drops it without a commit.
    QTest::mouseClick(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 130));
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(box->text(), QStringLiteral("11.9"));
    EXPECT_EQ(w->Value(), 369);
    QTest::keyClicks(box, QStringLiteral("1"));
    w->setFocus();
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(w->Value(), 369);
}

TEST_F(ScrollBarWidgetTest, LockedControlSwallowsKeysShowsGreyAndRaisesNoClick) {
    auto w = Make(2, 0, 0, 80);
    const int addr = SharedAddr();
    w->SetAddr(addr);
    ws.SetParamLocked(addr, 1);
    QSignalSpy scrolls(w.get(), &MScrollBar::Scroll);
    QSignalSpy clicks(w.get(), &MScrollBar::Click);
    Enter(w.get(), QPointF(50, 20));
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(w.get(), &up);
    EXPECT_TRUE(up.isAccepted());
    QKeyEvent other(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
    QCoreApplication::sendEvent(w.get(), &other);
    EXPECT_TRUE(other.isAccepted());
    QTest::mouseClick(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(104, 20));
    clock.AdvanceBy(1000);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(scrolls.count(), 0);
    EXPECT_EQ(w->Value(), 40);
    w->grab();
    EXPECT_EQ(Texts(w->LastPlan())[0]->argb, kLockedTextColour);
    // Unlocked, other keys go on to the parent.
    ws.SetParamLocked(addr, 0);
    QKeyEvent q(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
    QCoreApplication::sendEvent(w.get(), &q);
    EXPECT_FALSE(q.isAccepted());
}

TEST_F(ScrollBarWidgetTest, SwitchedOffBandReactsOnlyToItsSwitch) {
    auto w = Make(1);
    w->SetEQdisabled(true);
    w->SetForceShowFocus(true);
    QSignalSpy scrolls(w.get(), &MScrollBar::Scroll);
    QSignalSpy clicks(w.get(), &MScrollBar::Click);
    Enter(w.get(), QPointF(28, 100));
    QTest::mouseClick(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(28, 100));
    QTest::mouseClick(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(8, 85));
    QTest::mouseClick(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 130));
    QTest::keyClick(w.get(), Qt::Key_Up);
    clock.AdvanceBy(1000);
    EXPECT_EQ(scrolls.count(), 0);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(w->EntryBox()->isVisible());
    QTest::mouseClick(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 171));
    EXPECT_FALSE(w->EQdisabled());
    EXPECT_EQ(scrolls.count(), 1);
    EXPECT_EQ(w->Value(), 250);
}

TEST_F(ScrollBarWidgetTest, FaderFlagAndDrag) {
    auto w = Make(0);
    w->SetValue(300);
    QSignalSpy scrolls(w.get(), &MScrollBar::Scroll);
    Enter(w.get(), QPointF(18, 165));
    QTest::mousePress(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(18, 165));
    w->grab();
    EXPECT_TRUE(DrawsPicture(w->LastPlan(), 309));
    EXPECT_EQ(scrolls.count(), 0);
    QTest::mouseRelease(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(18, 165));
    EXPECT_EQ(scrolls.count(), 1);
    EXPECT_EQ(w->Value(), 50);
    // Grab the thumb 5 px above its centre (centre y = 26 + 100 * 123 / 150 = 108) and drag.
    QTest::mousePress(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 103));
    QTest::mouseMove(w.get(), QPoint(30, 60));
    QTest::mouseRelease(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 60));
    EXPECT_EQ(w->Machine().Position(), 102);  // 150 - 150 * (60 + 5 - 26) / 123 = 102.4
}

TEST_F(ScrollBarWidgetTest, KnobFollowsThePointerInTwips) {
    auto w = Make(5, 0, 0, 80);
    QSignalSpy scrolls(w.get(), &MScrollBar::Scroll);
    Enter(w.get(), QPointF(60, 60));
    QTest::mousePress(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 60));
    QTest::mouseMove(w.get(), QPoint(60, 53));  // 105 twips up
    EXPECT_EQ(w->Value(), 41);
    QTest::mouseMove(w.get(), QPoint(61, 53));
    EXPECT_EQ(w->Value(), 41);
    EXPECT_EQ(scrolls.count(), 2);
    QTest::mouseRelease(w.get(), Qt::LeftButton, Qt::NoModifier, QPoint(61, 53));
}

TEST_F(ScrollBarWidgetTest, InvisiblePlaceholderIsRed) {
    auto w = Make(2);
    w->SetTVisible(false);
    const QImage image = w->grab().toImage();
    EXPECT_EQ(image.pixelColor(5, 5), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(100, 20), QColor(255, 0, 0));
}

TEST_F(ScrollBarWidgetTest, SliderArrayServesTheGraphWithoutEvents) {
    auto strip = Make(1);
    strip->SetAddr(SharedAddr());
    QSignalSpy scrolls(strip.get(), &MScrollBar::Scroll);
    SliderArrayHost host({nullptr, strip.get()});
    EXPECT_EQ(host.SliderCount(), 2);
    EXPECT_EQ(host.SliderAddr(0), -1);
    EXPECT_EQ(host.SliderAddr(1), SharedAddr());
    EXPECT_EQ(host.SliderEqIndex(1), -1);
    host.SetSliderEqIndex(1, 7);
    EXPECT_EQ(strip->EQindex(), QStringLiteral("7"));
    EXPECT_EQ(host.SliderEqIndex(1), 7);
    host.SetSliderEqIndex(1, -1);
    EXPECT_TRUE(strip->EQindex().isEmpty());
    host.SetSliderBand(1, {200, 16, 9, 2, true, 330});
    EXPECT_EQ(strip->Freq(), 200);
    EXPECT_EQ(strip->Q(), 16);
    EXPECT_EQ(strip->sQ(), 9);
    EXPECT_EQ(strip->QType(), 2);
    EXPECT_TRUE(strip->EQdisabled());
    EXPECT_EQ(strip->Value(), 330);
    host.SetSliderForceShowFocus(1, true);
    EXPECT_TRUE(strip->ForceShowFocus());
    host.SetSliderValue(5, 1);  // no such slider: nothing happens
    host.SetSliderBand(0, {});
    EXPECT_EQ(host.SliderEqIndex(9), -1);
    EXPECT_EQ(scrolls.count(), 0);
}

}  // namespace
}  // namespace vellora::controls
