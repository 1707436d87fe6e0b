// MComboBox: lists by ShowType, Value rules, the face, and the floating list with hover
// selection, choice by press and closing on focus loss.
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "controls/combo_drop_list.h"
#include "controls/combo_lists.h"
#include "controls/m_combo_box.h"
#include "controls_fixture.h"

namespace vellora::controls {
namespace {

class ComboBoxTest : public test::ControlsTest {
protected:
    std::unique_ptr<MComboBox> Make(int showType) {
        ComboStored s;
        s.ShowType = showType;
        auto c = std::make_unique<MComboBox>(context, s);
        c->BkGround_Init(false);
        return c;
    }
    static void Hover(QWidget* w, QPointF at) {
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
    }
};

TEST(ComboLists, ListsFacesAndPlacement) {
    EXPECT_EQ(ComboItems(0).size(), 5u);
    EXPECT_EQ(ComboItems(0)[2], "ButterWorth 12dB");
    EXPECT_EQ(ComboItems(2)[9], "模式10");
    EXPECT_EQ(ComboItems(3)[0], "用户定义");
    EXPECT_EQ(ComboItems(5)[0], "关");
    EXPECT_EQ(ComboItems(8).back(), "BT");
    EXPECT_EQ(ComboItems(42).size(), 5u);  // out of range: the first list
    EXPECT_EQ(ComboFaceOf(0).width, 138);
    EXPECT_EQ(ComboFaceOf(3).height, 20);
    // Below the control when it fits, above otherwise; 2 px in, 3 px narrower.
    DropPlacement d = PlaceDropList(100, 200, 87, 20, 4, 1080);
    EXPECT_EQ(d.x, 102);
    EXPECT_EQ(d.y, 220);
    EXPECT_EQ(d.width, 84);
    EXPECT_EQ(d.height, 5 * kComboItemHeight - 1);
    EXPECT_FALSE(d.above);
    d = PlaceDropList(100, 1000, 87, 20, 4, 1080);
    EXPECT_TRUE(d.above);
    EXPECT_EQ(d.y + d.height, 1000);
    EXPECT_EQ(HoverIndex(0, 0, 4), 0);
    EXPECT_EQ(HoverIndex(2.5 * kComboItemHeight, 0, 4), 2);
    EXPECT_EQ(HoverIndex(4.5 * kComboItemHeight, 0, 4), -1);
}

TEST(ComboLists, FacePlan) {
    PaintPlan plan = ComboFacePlan(0, 2, 5, false, false);
    EXPECT_TRUE(DrawsPicture(plan, 150));
    EXPECT_TRUE(DrawsPicture(plan, 155));
    EXPECT_TRUE(DrawsPicture(plan, 151));
    EXPECT_FALSE(DrawsPicture(plan, 316));
    plan = ComboFacePlan(7, 3, 4, true, true);
    EXPECT_TRUE(DrawsPicture(plan, 144));
    EXPECT_TRUE(DrawsPicture(plan, 254));
    EXPECT_TRUE(DrawsPicture(plan, 228));
    EXPECT_TRUE(DrawsPicture(plan, 316));
    EXPECT_FALSE(DrawsPicture(ComboFacePlan(4, 7, 2, false, false), 370));
}

TEST_F(ComboBoxTest, DesignDataKeys) {
    QVariantMap bag;
    bag[QStringLiteral("ShowType")] = 7;
    bag[QStringLiteral("Enabled")] = 0;
    bag[QStringLiteral("SpecialFeature")] = QStringLiteral("page 2");
    MComboBox c(context, ComboStored::FromBag(bag));
    EXPECT_EQ(c.ShowType(), 7);
    EXPECT_EQ(c.ItemCount(), 4);
    EXPECT_FALSE(c.Enabled());
    EXPECT_EQ(c.SpecialFeature(), QStringLiteral("page 2"));
    const ComboStored defaults = ComboStored::FromBag({{QStringLiteral("ShowType"), "x"}});
    EXPECT_EQ(defaults.ShowType, 0);
    EXPECT_TRUE(defaults.Enabled);
    EXPECT_EQ(defaults.SpecialFeature, QStringLiteral("0"));
}

TEST_F(ComboBoxTest, ShowType7To8AndBack) {
    auto c = Make(7);
    EXPECT_EQ(c->ItemCount(), 4);
    c->SetShowType(8);
    EXPECT_EQ(c->ItemCount(), 5);
    EXPECT_EQ(c->ItemText(4), QStringLiteral("BT"));
    c->SetValue(4);
    c->SetShowType(7);
    EXPECT_EQ(c->ItemCount(), 4);
    EXPECT_EQ(c->Value(), 3);
    // Other types keep their list when set while running.
    c->SetShowType(4);
    EXPECT_EQ(c->ItemCount(), 4);
    EXPECT_EQ(c->size(), QSize(87, 20));
}

TEST_F(ComboBoxTest, ValueIsCutToTheLastItem) {
    auto c = Make(7);
    QSignalSpy clicks(c.get(), &MComboBox::Click);
    c->SetValue(9);
    EXPECT_EQ(c->Value(), 3);
    c->SetValue(-2);
    EXPECT_EQ(c->Value(), 0);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ComboBoxTest, LockedOrDisabledFaceIsVeiledAndInert) {
    auto c = Make(4);
    c->SetAddr(SharedAddr());
    ws.SetParamLocked(SharedAddr(), 1);
    c->grab();
    EXPECT_TRUE(DrawsPicture(c->LastPlan(), 316));
    QTest::mouseClick(c.get(), Qt::LeftButton);
    EXPECT_FALSE(c->Dropped());
    ws.SetParamLocked(SharedAddr(), 0);
    c->SetEnabled(false);
    c->grab();
    EXPECT_TRUE(DrawsPicture(c->LastPlan(), 316));
    QTest::mouseClick(c.get(), Qt::LeftButton);
    EXPECT_FALSE(c->Dropped());
}

class ComboWindowTest : public ComboBoxTest {
protected:
    void SetUp() override {
        host = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(host.get());
        ComboStored s;
        s.ShowType = 7;
        combo = new MComboBox(context, s);
        other = new QLineEdit;
        layout->addWidget(combo);
        layout->addWidget(other);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        combo->BkGround_Init(false);
    }
    std::unique_ptr<QWidget> host;
    MComboBox* combo = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(ComboWindowTest, HoverThenFocusLossClosesWithoutAnEvent) {
    QSignalSpy clicks(combo, &MComboBox::Click);
    QTest::mouseClick(combo, Qt::LeftButton);
    ASSERT_TRUE(combo->Dropped());
    ComboDropList* list = combo->List();
    ASSERT_TRUE(list->isVisible());
    EXPECT_TRUE(list->isWindow());
    EXPECT_EQ(list->height(), 5 * kComboItemHeight - 1);
    const QPoint below = combo->mapToGlobal(QPoint(0, combo->height()));
    EXPECT_TRUE(list->y() == below.y() ||
                list->geometry().bottom() + 1 == combo->mapToGlobal(QPoint(0, 0)).y());
    Hover(list, QPointF(10, 2.5 * kComboItemHeight));
    EXPECT_EQ(combo->Value(), 2);
    EXPECT_EQ(clicks.count(), 0);
    other->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return other->hasFocus(); }));
    EXPECT_FALSE(combo->Dropped());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(combo->Value(), 2);
    EXPECT_EQ(clicks.count(), 0);
    combo->grab();
    EXPECT_TRUE(DrawsPicture(combo->LastPlan(), 253));  // the face shows "OPT"
}

TEST_F(ComboWindowTest, PressInTheListChooses) {
    std::vector<int> seen;
    QObject::connect(combo, &MComboBox::Click, [&](int index) {
        EXPECT_EQ(combo->Value(), index);
        EXPECT_FALSE(combo->Dropped());
        seen.push_back(index);
    });
    QTest::mouseClick(combo, Qt::LeftButton);
    ComboDropList* list = combo->List();
    Hover(list, QPointF(10, 3.5 * kComboItemHeight));
    QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier,
                      QPoint(10, static_cast<int>(3.5 * kComboItemHeight)));
    EXPECT_EQ(seen, std::vector<int>{3});
    EXPECT_FALSE(list->isVisible());
    // A second press on the face closes an open list without choosing.
    QTest::mouseClick(combo, Qt::LeftButton);
    EXPECT_TRUE(combo->Dropped());
    QTest::mouseClick(combo, Qt::LeftButton);
    EXPECT_FALSE(combo->Dropped());
    EXPECT_EQ(seen.size(), 1u);
}

}  // namespace
}  // namespace vellora::controls
