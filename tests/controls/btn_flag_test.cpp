// MBtnFlag: the ActionType rows, picture lists with their locked and disabled substitutions,
// DisabledRefresh, wheel and pointer events.
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "controls/btn_flag_logic.h"
#include "controls/m_btn_flag.h"
#include "controls_fixture.h"

namespace vellora::controls {
namespace {

class BtnFlagTest : public test::ControlsTest {
protected:
    std::unique_ptr<MBtnFlag> Make(const char* list, int action, int value = 0) {
        BtnFlagStored s;
        s.PNGIndexStr = QString::fromLatin1(list);
        s.ActionType = action;
        s.Value = value;
        auto b = std::make_unique<MBtnFlag>(context, s);
        b->BkGround_Init(false);
        return b;
    }
    static int Drawn(MBtnFlag& b) {
        b.grab();
        return b.LastDrawnPicture();
    }
};

TEST(BtnFlagLogic, PictureListsAndSubstitutions) {
    EXPECT_EQ(ParsePictureList("142,143"), (std::vector<int>{142, 143}));
    EXPECT_EQ(ParsePictureList("361, 362 ,359"), (std::vector<int>{361, 362, 359}));
    EXPECT_EQ(ParsePictureList("142,x,143"), (std::vector<int>{142, 0, 143}));
    const std::vector<int> switches{142, 143, 378, 379, 380, 381};
    const int locked[] = {304, 305, 199, 198, 196, 197};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ButtonPicture(switches, i, true, true), locked[i]);
        EXPECT_EQ(ButtonPicture(switches, i, false, true), switches[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(ButtonPicture({312}, 0, false, false), 317);
    EXPECT_EQ(ButtonPicture({312}, 0, false, true), 312);
    EXPECT_EQ(ButtonPicture({142, 143}, 2, false, true), 0);  // beyond the list: nothing
    EXPECT_EQ(ButtonPicture({142, 143}, -1, false, true), 0);
    EXPECT_EQ(StoredFromValue(kOnOff, 5), 1);
    EXPECT_EQ(StoredFromValue(kTwoHalfInverted, 1), 0);
    EXPECT_EQ(StoredFromValue(kClickOnly, 2), 2);
}

TEST_F(BtnFlagTest, DesignDataKeys) {
    QVariantMap bag;
    bag[QStringLiteral("PngIndexStr")] = QStringLiteral("361,362,359");
    bag[QStringLiteral("ActionType")] = QStringLiteral("2");
    bag[QStringLiteral("Value")] = QStringLiteral("two");  // not a number: the default stays
    bag[QStringLiteral("Enabled")] = -1;
    bag[QStringLiteral("SpecialFeature")] = QStringLiteral("DisabledRefresh");
    const BtnFlagStored s = BtnFlagStored::FromBag(bag);
    EXPECT_EQ(s.PNGIndexStr, QStringLiteral("361,362,359"));
    EXPECT_EQ(s.ActionType, 2);
    EXPECT_EQ(s.Value, 0);
    EXPECT_TRUE(s.Enabled);
    MBtnFlag b(context, s);
    EXPECT_EQ(b.size(), QSize(96, 24));
    EXPECT_EQ(b.SpecialFeature(), QStringLiteral("DisabledRefresh"));
    const BtnFlagStored empty = BtnFlagStored::FromBag({{QStringLiteral("Enabled"), 0}});
    EXPECT_EQ(empty.PNGIndexStr, QStringLiteral("142,143"));
    EXPECT_EQ(empty.ActionType, 3);
    EXPECT_EQ(empty.SpecialFeature, QStringLiteral("0"));
    EXPECT_FALSE(empty.Enabled);
}

TEST_F(BtnFlagTest, SizesItselfToItsFirstPicture) {
    auto b = Make("218,219", 2);
    EXPECT_EQ(b->size(), QSize(64, 24));
    b->SetPNGIndexStr(QStringLiteral("361,362,359"));
    EXPECT_EQ(b->size(), QSize(96, 24));
    EXPECT_EQ(Make("142,143", 0)->size(), QSize(50, 22));
}

TEST_F(BtnFlagTest, InvertedTwoHalfSwitch) {
    auto b = Make("142,143", 4);
    QSignalSpy clicks(b.get(), &MBtnFlag::Click);
    int seen = -1;
    QObject::connect(b.get(), &MBtnFlag::Click, [&] { seen = b->Value(); });
    QTest::mouseClick(b.get(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 10));
    EXPECT_EQ(Drawn(*b), 143);
    EXPECT_EQ(b->Value(), 0);
    EXPECT_EQ(seen, 0);
    EXPECT_EQ(clicks.count(), 1);
    b->SetValue(1);
    EXPECT_EQ(Drawn(*b), 142);
    QTest::mouseClick(b.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
    EXPECT_EQ(b->Value(), 1);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(BtnFlagTest, MomentaryClicksOnReleaseBackAtZero) {
    auto b = Make("142,143", 1);
    std::vector<int> seen;
    QObject::connect(b.get(), &MBtnFlag::Click, [&] { seen.push_back(b->Value()); });
    QSignalSpy downs(b.get(), &MBtnFlag::MouseDown);
    QTest::mousePress(b.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(7, 9));
    EXPECT_EQ(b->Value(), 1);
    EXPECT_TRUE(seen.empty());
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs[0][0].toInt(), 1);
    EXPECT_EQ(downs[0][1].toInt(), 1);
    EXPECT_EQ(downs[0][2].toDouble(), 7.0);
    EXPECT_EQ(downs[0][3].toDouble(), 9.0);
    QTest::mouseRelease(b.get(), Qt::LeftButton, Qt::NoModifier, QPoint(7, 9));
    EXPECT_EQ(seen, std::vector<int>{0});
}

TEST_F(BtnFlagTest, OnOffSwitchAndClickButtons) {
    auto b = Make("142,143", 0);
    b->SetValue(5);
    EXPECT_EQ(b->Value(), 1);
    std::vector<int> seen;
    QObject::connect(b.get(), &MBtnFlag::Click, [&] { seen.push_back(b->Value()); });
    QTest::mouseClick(b.get(), Qt::LeftButton);
    QTest::mouseClick(b.get(), Qt::LeftButton);
    EXPECT_EQ(seen, (std::vector<int>{0, 1}));
    auto looks = Make("361,362,359", 2, 2);
    QSignalSpy clicks(looks.get(), &MBtnFlag::Click);
    QTest::mouseClick(looks.get(), Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(looks->Value(), 2);
    EXPECT_EQ(Drawn(*looks), 359);
    looks->SetValue(7);
    EXPECT_EQ(Drawn(*looks), 0);
    auto inert = Make("142,143", 9);
    QSignalSpy inertClicks(inert.get(), &MBtnFlag::Click);
    QSignalSpy inertDowns(inert.get(), &MBtnFlag::MouseDown);
    QTest::mouseClick(inert.get(), Qt::LeftButton);
    EXPECT_EQ(inertClicks.count(), 0);
    EXPECT_EQ(inertDowns.count(), 1);
}

TEST_F(BtnFlagTest, LockedButtonShowsItsLockedPictureAndIgnoresInput) {
    auto b = Make("142,143", 0, 1);
    const int addr = SharedAddr();
    b->SetAddr(addr);
    ws.SetParamLocked(addr, 1);
    EXPECT_EQ(Drawn(*b), 305);
    QSignalSpy clicks(b.get(), &MBtnFlag::Click);
    QSignalSpy in(b.get(), &MBtnFlag::MouseIn);
    QSignalSpy wheel(b.get(), &MBtnFlag::Scroll);
    QTest::mouseClick(b.get(), Qt::LeftButton);
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QCoreApplication::sendEvent(b.get(), &enter);
    QWheelEvent notch(QPointF(3, 3), QPointF(3, 3), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(b.get(), &notch);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(in.count(), 0);
    EXPECT_EQ(wheel.count(), 0);
    EXPECT_EQ(b->Value(), 1);
    // An unbound button is never locked.
    b->SetAddr(-1);
    EXPECT_EQ(Drawn(*b), 143);
}

TEST_F(BtnFlagTest, DisabledRefreshRepaintsAtOnce) {
    auto plain = Make("312", 1);
    auto eager = Make("312", 1);
    eager->SetSpecialFeature(QStringLiteral("DisabledRefresh"));
    for (MBtnFlag* b : {plain.get(), eager.get()}) {
        b->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(b));
        ASSERT_TRUE(QTest::qWaitFor([b] { return b->LastDrawnPicture() == 312; }));
    }
    plain->SetEnabled(false);
    eager->SetEnabled(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return eager->LastDrawnPicture() == 317; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(plain->LastDrawnPicture(), 312);  // until its next repaint
    plain->Refresh();
    EXPECT_TRUE(QTest::qWaitFor([&] { return plain->LastDrawnPicture() == 317; }));
    QSignalSpy clicks(plain.get(), &MBtnFlag::Click);
    QTest::mouseClick(plain.get(), Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(BtnFlagTest, WheelAndPointerEvents) {
    auto b = Make("142,143", 0);
    QSignalSpy wheel(b.get(), &MBtnFlag::Scroll);
    QSignalSpy in(b.get(), &MBtnFlag::MouseIn);
    QSignalSpy out(b.get(), &MBtnFlag::MouseLeave);
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QCoreApplication::sendEvent(b.get(), &enter);
    QCoreApplication::sendEvent(b.get(), &enter);
    for (int delta : {120, -120, 240}) {
        QWheelEvent notch(QPointF(3, 3), QPointF(3, 3), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(b.get(), &notch);
    }
    QWheelEvent held(QPointF(3, 3), QPointF(3, 3), QPoint(), QPoint(0, 120), Qt::NoButton,
                     Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(b.get(), &held);
    ASSERT_EQ(wheel.count(), 2);
    EXPECT_TRUE(wheel[0][0].toBool());
    EXPECT_FALSE(wheel[1][0].toBool());
    EXPECT_EQ(in.count(), 1);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(b.get(), &leave);
    EXPECT_EQ(out.count(), 1);
    EXPECT_FALSE(b->PointerInside());
}

}  // namespace
}  // namespace vellora::controls
