// The controls in the accessibility tree: role, name from caption and page, the address as
// the description and tooltip, values in the slider's steps, and changes made through the
// tree raising the same events as the mouse, never while the control is locked.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

#include "controls/c_progress_bar.h"
#include "controls/m_btn_flag.h"
#include "controls/m_combo_box.h"
#include "controls/m_scroll_bar.h"
#include "controls_fixture.h"
#include "model/value_scales.h"

namespace vellora::controls {
namespace {

constexpr int kOptionGroup = 277;  // "Group,1,&H15"
constexpr int kMicLevel = 272;     // 启动电平 of menu kind 1, address 16

class AccessibilityTest : public test::ControlsTest {
protected:
    static QAccessibleInterface* Of(QWidget& w) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&w);
        EXPECT_NE(iface, nullptr);
        return iface;
    }
};

TEST_F(AccessibilityTest, SliderSpeaksItsNameAddressAndSteps) {
    SliderStored s;
    s.ScrollBarType = kBar;
    MScrollBar slider(context, s);
    slider.SetAddr(kOptionGroup);
    slider.SetAccessibleContext(QStringLiteral("话筒音量"), QStringLiteral("话筒"));
    QAccessibleInterface* a = Of(slider);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Slider);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("话筒音量, 话筒"));
    EXPECT_EQ(a->text(QAccessible::Description), QStringLiteral("entry 277 (kind 1, address 21)"));
    EXPECT_TRUE(slider.toolTip().contains(QStringLiteral("entry 277 (kind 1, address 21)")));
    QAccessibleValueInterface* v = a->valueInterface();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->minimumValue().toInt(), 0);
    EXPECT_EQ(v->maximumValue().toInt(), 80);
    EXPECT_EQ(v->currentValue().toInt(), 40);

    // Set through the tree: a user's edit, one Scroll per change, clamped into the steps.
    QSignalSpy scroll(&slider, &MScrollBar::Scroll);
    struct Step {
        QVariant set;
        int position, scrolls;
        const char* text;
    };
    const Step steps[] = {{55, 55, 1, "55"},   {55, 55, 1, "55"},
                          {500, 80, 2, "80"},  {-3, 0, 3, "0"},
                          {12.4, 12, 4, "12"}, {QStringLiteral("x"), 12, 4, "12"}};
    for (const Step& step : steps) {
        v->setCurrentValue(step.set);
        EXPECT_EQ(v->currentValue().toInt(), step.position) << step.text;
        EXPECT_EQ(slider.Value(), step.position) << step.text;
        EXPECT_EQ(scroll.count(), step.scrolls) << step.text;
        EXPECT_EQ(a->text(QAccessible::Value), QString::fromLatin1(step.text));
    }
    QAccessibleActionInterface* act = a->actionInterface();
    ASSERT_NE(act, nullptr);
    act->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(slider.Value(), 13);
    EXPECT_EQ(scroll.count(), 5);

    // Locked: unavailable, and nothing moves.
    ws.SetParamLocked(kOptionGroup, 1);
    EXPECT_TRUE(a->state().disabled);
    v->setCurrentValue(30);
    act->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(slider.Value(), 13);
    EXPECT_EQ(scroll.count(), 5);
}

TEST_F(AccessibilityTest, FaderValueIsItsPositionAndBandStripReadsItsBand) {
    MScrollBar fader(context, {});
    fader.SetValue(300);  // flag set, position 50
    QAccessibleInterface* a = Of(fader);
    EXPECT_EQ(a->valueInterface()->currentValue().toInt(), 50);
    EXPECT_EQ(a->valueInterface()->maximumValue().toInt(), 150);
    EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("50%"));
    a->valueInterface()->setCurrentValue(100);
    EXPECT_EQ(fader.Value(), 350);  // the flag bit stays

    SliderStored s;
    s.ScrollBarType = kBandStrip;
    MScrollBar strip(context, s);
    strip.SetValue(310);
    strip.SetFreq(model::FreqIndex(1000));
    EXPECT_EQ(Of(strip)->text(QAccessible::Value), QStringLiteral("6.0 dB, 1000 Hz, Q 0.71"));
    // Unbound and without a caption it has no name and no address.
    EXPECT_TRUE(Of(strip)->text(QAccessible::Name).isEmpty());
    EXPECT_TRUE(Of(strip)->text(QAccessible::Description).isEmpty());
    strip.SetEQdisabled(true);
    QSignalSpy scroll(&strip, &MScrollBar::Scroll);
    Of(strip)->valueInterface()->setCurrentValue(10);
    EXPECT_EQ(scroll.count(), 0);
}

TEST_F(AccessibilityTest, FlagButtonsPressLikeTheMouse) {
    struct Case {
        int action, value;
        bool checkable;
        int valueAfter, clicks;
    };
    // On/off, momentary (Click on release, back to 0), click button, two-half switches.
    const Case cases[] = {{0, 0, true, 1, 1},  {0, 1, true, 0, 1}, {1, 0, false, 0, 1},
                          {2, 1, false, 1, 1}, {3, 0, true, 1, 1}, {3, 1, true, 0, 1},
                          {4, 1, true, 0, 1},  {4, 0, true, 1, 1}};
    for (const Case& c : cases) {
        BtnFlagStored s;
        s.ActionType = c.action;
        s.Value = c.value;
        MBtnFlag button(context, s);
        button.SetAddr(kMicLevel);
        QAccessibleInterface* a = Of(button);
        EXPECT_EQ(a->role(), QAccessible::Button);
        EXPECT_EQ(a->state().checkable, c.checkable) << c.action;
        EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("启动电平"));
        QSignalSpy click(&button, &MBtnFlag::Click);
        QSignalSpy down(&button, &MBtnFlag::MouseDown);
        int valueAtClick = -1;
        QObject::connect(&button, &MBtnFlag::Click, [&] { valueAtClick = button.Value(); });
        a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(button.Value(), c.valueAfter) << c.action << " from " << c.value;
        EXPECT_EQ(click.count(), c.clicks) << c.action;
        EXPECT_EQ(valueAtClick, c.valueAfter) << c.action;
        EXPECT_EQ(down.count(), 1) << c.action;
        if (c.checkable) {
            EXPECT_EQ(a->state().checked, button.StoredValue() == 1) << c.action;
        }
    }
    BtnFlagStored s;
    s.ActionType = 0;
    MBtnFlag locked(context, s);
    locked.SetAddr(kMicLevel);
    locked.SetAccessibleContext(QString(), QStringLiteral("话筒"));
    EXPECT_EQ(Of(locked)->text(QAccessible::Name), QStringLiteral("启动电平, 话筒"));
    ws.SetParamLocked(kMicLevel, 1);
    QSignalSpy click(&locked, &MBtnFlag::Click);
    Of(locked)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(click.count(), 0);
    EXPECT_EQ(locked.Value(), 0);
    EXPECT_TRUE(Of(locked)->state().disabled);
}

TEST_F(AccessibilityTest, ListBoxChoosesByTextOrIndex) {
    ComboStored s;
    s.ShowType = 4;
    MComboBox combo(context, s);
    combo.SetAddr(kOptionGroup);
    QAccessibleInterface* a = Of(combo);
    EXPECT_EQ(a->role(), QAccessible::ComboBox);
    EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("OFF"));
    EXPECT_EQ(a->text(QAccessible::Description), QStringLiteral("entry 277 (kind 1, address 21)"));
    EXPECT_EQ(a->valueInterface()->maximumValue().toInt(), 1);
    QSignalSpy click(&combo, &MComboBox::Click);
    a->setText(QAccessible::Value, QStringLiteral("ON"));
    a->setText(QAccessible::Value, QStringLiteral("MAYBE"));  // not an item: nothing
    a->valueInterface()->setCurrentValue(0);
    a->valueInterface()->setCurrentValue(5);  // beyond the list: nothing
    ASSERT_EQ(click.count(), 2);
    EXPECT_EQ(click[0][0].toInt(), 1);
    EXPECT_EQ(click[1][0].toInt(), 0);
    EXPECT_EQ(combo.Value(), 0);
    a->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_TRUE(combo.Dropped());
    EXPECT_TRUE(a->state().expanded);
    a->valueInterface()->setCurrentValue(1);  // choosing closes the list
    EXPECT_FALSE(combo.Dropped());
    combo.SetEnabled(false);
    a->valueInterface()->setCurrentValue(0);
    EXPECT_EQ(click.count(), 3);
    EXPECT_EQ(combo.Value(), 1);
}

TEST_F(AccessibilityTest, ProgressBarReadsItsTextAndScale) {
    C_ProgressBar bar;
    bar.SetMaxValue(200);
    bar.SetValue(50);
    QAccessibleInterface* a = Of(bar);
    EXPECT_EQ(a->role(), QAccessible::ProgressBar);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("正在同步数据, 请稍候..."));
    EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("25%"));
    EXPECT_EQ(a->valueInterface()->currentValue().toInt(), 50);
    EXPECT_EQ(a->valueInterface()->maximumValue().toInt(), 200);
    a->valueInterface()->setCurrentValue(10);  // the bar takes no input
    EXPECT_EQ(bar.Value(), 50);
}

}  // namespace
}  // namespace vellora::controls
