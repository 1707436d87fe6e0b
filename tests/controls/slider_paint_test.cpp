// What a slider draws for its state and look: pictures by form, fills by scene, lock and
// mute, texts centred in their fields and grey while locked.
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "controls/slider_machine.h"
#include "controls/slider_paint.h"
#include "controls/slider_values.h"
#include "controls_fixture.h"
#include "graph/picture_store.h"

namespace vellora::controls {
namespace {

struct Quiet : SliderEvents {
    void OnScroll() override {}
    void OnClick() override {}
    void OnMouseIn() override {}
    void OnRepaint() override {}
    void OnResize(int, int) override {}
    void OnEntryShow(IRect, const std::string&) override {}
    void OnEntryHide() override {}
    void OnEntryFocus() override {}
    void OnCursor(bool) override {}
};

class SliderPaintTest : public test::ControlsTest {
protected:
    std::unique_ptr<SliderMachine> Make(int form, int hs = 0, int valueType = 0, int max = 80) {
        SliderStored s;
        s.ScrollBarType = form;
        s.HScrollSize = hs;
        s.ValueType = valueType;
        s.MaxValue = max;
        return std::make_unique<SliderMachine>(clock, look, quiet, s);
    }
    Quiet quiet;
};

const PaintOp* TextNo(const PaintPlan& plan, size_t i) {
    const auto texts = Texts(plan);
    return i < texts.size() ? texts[i] : nullptr;
}

TEST_F(SliderPaintTest, FaderTextsAndFlagButton) {
    auto m = Make(0);
    m->SetValue(200);
    PaintPlan plan = SliderFacePlan(*m, look);
    ASSERT_NE(TextNo(plan, 0), nullptr);
    EXPECT_EQ(TextNo(plan, 0)->text, "200%");
    EXPECT_EQ(TextNo(plan, 0)->x, 24);  // anchor 30, field 2, four characters
    EXPECT_EQ(TextNo(plan, 0)->y, 160);
    EXPECT_EQ(TextNo(plan, 0)->argb, kTextColour);
    EXPECT_TRUE(DrawsPicture(plan, 102));
    EXPECT_TRUE(DrawsPicture(plan, 103));
    EXPECT_TRUE(DrawsPicture(plan, 310));
    m->SetValue(300);
    plan = SliderFacePlan(*m, look);
    EXPECT_EQ(TextNo(plan, 0)->text, "50%");
    EXPECT_TRUE(DrawsPicture(plan, 308));
    m->SetForceShowFocus(true);
    EXPECT_TRUE(DrawsPicture(SliderFacePlan(*m, look), 270));
    const PaintPlan bg = SliderBackgroundPlan(*m);
    EXPECT_TRUE(DrawsPicture(bg, 104));
    EXPECT_TRUE(DrawsPicture(bg, 269));
}

TEST_F(SliderPaintTest, LockedSliderIsGreyWithLockedPictures) {
    auto m = Make(0);
    m->SetAddr(SharedAddr());
    m->SetForceShowFocus(true);
    ws.SetParamLocked(SharedAddr(), 1);
    const PaintPlan plan = SliderFacePlan(*m, look);
    EXPECT_EQ(TextNo(plan, 0)->argb, kLockedTextColour);
    EXPECT_TRUE(DrawsPicture(plan, 107));
    EXPECT_FALSE(DrawsPicture(plan, 270));
    EXPECT_FALSE(DrawsPicture(plan, 103));  // no fill while locked
    auto bar = Make(2);
    bar->SetAddr(SharedAddr());
    const PaintPlan barPlan = SliderFacePlan(*bar, look);
    EXPECT_TRUE(DrawsPicture(barPlan, 108));
    EXPECT_TRUE(DrawsPicture(barPlan, 271));
    EXPECT_EQ(TextNo(barPlan, 0)->argb, kLockedTextColour);
}

TEST_F(SliderPaintTest, BandStripParts) {
    auto m = Make(1);
    m->SetValue(250);
    m->SetQType(1);
    m->SetsQ(10);
    m->SetFreq(205);
    PaintPlan plan = SliderFacePlan(*m, look);
    ASSERT_EQ(Texts(plan).size(), 3u);
    EXPECT_EQ(TextNo(plan, 0)->text, "0.0");
    EXPECT_EQ(TextNo(plan, 0)->x, 11);
    EXPECT_EQ(TextNo(plan, 0)->y, 125);
    EXPECT_EQ(TextNo(plan, 1)->text, "1000");
    EXPECT_EQ(TextNo(plan, 1)->x, 9);
    EXPECT_EQ(TextNo(plan, 2)->text, "0.71");
    EXPECT_EQ(TextNo(plan, 2)->x, 8);
    EXPECT_TRUE(DrawsPicture(plan, 130));  // peak unselected
    EXPECT_TRUE(DrawsPicture(plan, 131));  // low shelf selected
    EXPECT_TRUE(DrawsPicture(plan, 134));
    EXPECT_TRUE(DrawsPicture(plan, 294));
    EXPECT_TRUE(DrawsPicture(plan, 112));
    m->SetEQdisabled(true);
    m->SetForceShowFocus(true);
    plan = SliderFacePlan(*m, look);
    EXPECT_TRUE(DrawsPicture(plan, 295));
    EXPECT_TRUE(DrawsPicture(plan, 272));
    EXPECT_TRUE(DrawsPicture(plan, 102));  // no focus look while switched off
    m->SetEQNormalStyle(1);
    m->SetEQdisabled(false);
    plan = SliderFacePlan(*m, look);
    EXPECT_EQ(TextNo(plan, 0)->y, 158);
    EXPECT_TRUE(DrawsPicture(plan, 375));
    EXPECT_TRUE(DrawsPicture(plan, 270));
    EXPECT_TRUE(DrawsPicture(SliderBackgroundPlan(*m), 374));
    EXPECT_TRUE(DrawsPicture(SliderBackgroundPlan(*m), 105));
    m->SetLabelID(0);
    EXPECT_FALSE(DrawsPicture(SliderBackgroundPlan(*m), 105));
}

TEST_F(SliderPaintTest, FillsFollowSceneLockAndMute) {
    auto m = Make(2);
    m->SetAddr(PerSceneAddr());
    EXPECT_EQ(SliderFillPicture(*m, look), 136);
    ws.SetCurrentScene(1);
    EXPECT_EQ(SliderFillPicture(*m, look), 275);
    m->SetEQdisabled(true);
    EXPECT_EQ(SliderFillPicture(*m, look), 271);
    ws.SetCurrentScene(0);
    // A shared parameter follows its channel's mute.
    auto bar = Make(2, 2);
    bar->SetAddr(SharedAddr());
    bar->SetMuteRAMindex(model::entry::kChannelMute0);
    EXPECT_EQ(SliderFillPicture(*bar, look), 141);
    ws.ParamStore.SetValueAt(model::entry::kChannelMute0, 0, 1);
    EXPECT_EQ(SliderFillPicture(*bar, look), 273);
    ws.ParamStore.SetValueAt(model::entry::kChannelMute0, 0, 7);
    EXPECT_EQ(SliderFillPicture(*bar, look), 0);
    EXPECT_FALSE(DrawsPicture(SliderFacePlan(*bar, look), 141));
    auto mute = Make(6);
    mute->SetMuteRAMindex(model::entry::kChannelMute0);
    EXPECT_EQ(SliderFillPicture(*mute, look), 0);
    ws.ParamStore.SetValueAt(model::entry::kChannelMute0, 0, 1);
    EXPECT_EQ(SliderFillPicture(*mute, look), 274);
    ws.ParamStore.SetValueAt(model::entry::kChannelMute0, 0, 0);
    EXPECT_EQ(SliderFillPicture(*mute, look), 221);
    auto shortBar = Make(4);
    shortBar->SetAddr(PerSceneAddr());
    ws.SetCurrentScene(1);
    EXPECT_EQ(SliderFillPicture(*shortBar, look), 277);
}

TEST_F(SliderPaintTest, FillIsDrawnOnTheLowSideOnly) {
    auto bar = Make(2, 0, 0, 80);
    bar->SetValue(40);  // centre x = 73
    PaintPlan plan = SliderFacePlan(*bar, look);
    const PaintOp* fill = nullptr;
    for (const PaintOp& op : plan)
        if (op.number == 136) fill = &op;
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(fill->target.x, 0);
    EXPECT_EQ(fill->target.x + fill->target.w, 73);
    EXPECT_EQ(fill->source.w, 73);
    auto fader = Make(0);
    fader->SetValue(100);  // centre y = 67, the fill picture starts at y 2
    plan = SliderFacePlan(*fader, look);
    for (const PaintOp& op : plan)
        if (op.number == 103) fill = &op;
    EXPECT_EQ(fill->target.y, 67);
    EXPECT_EQ(fill->source.y, 65);
    EXPECT_EQ(fill->target.y + fill->target.h, 180);
}

TEST_F(SliderPaintTest, KnobBarsAndPlaceholder) {
    auto knob = Make(5, 0, 0, 80);
    knob->SetValue(0);
    PaintPlan plan = SliderFacePlan(*knob, look);
    ASSERT_EQ(plan.front().kind, PaintOp::Kind::Rotated);
    EXPECT_EQ(plan.front().number, 182);
    EXPECT_DOUBLE_EQ(plan.front().degrees, -133.0);
    EXPECT_DOUBLE_EQ(plan.front().x, 63.5);
    EXPECT_EQ(TextNo(plan, 0)->x, 61);  // "0" in a field of 2 at 58
    auto bar = Make(2, 3, 10, 150);
    bar->SetValue(90);
    plan = SliderFacePlan(*bar, look);
    EXPECT_EQ(TextNo(plan, 0)->text, "90%");
    EXPECT_EQ(TextNo(plan, 0)->x, 154);  // field of 3: starts where it is anchored
    EXPECT_TRUE(DrawsPicture(plan, 310));
    auto narrow = Make(7, 2, 0, 80);
    EXPECT_TRUE(DrawsPicture(SliderBackgroundPlan(*narrow), 101));
    narrow->SetValueType(10);
    EXPECT_TRUE(DrawsPicture(SliderBackgroundPlan(*narrow), 269));
    bar->SetTVisible(false);
    plan = SliderFacePlan(*bar, look);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].kind, PaintOp::Kind::Fill);
    EXPECT_EQ(plan[0].argb, 0xFFFF0000u);
}

// The pixels a text operation inks, drawn alone on a transparent control (empty: none).
QRect InkOf(const PaintOp& op, QSize control, graph::PictureStore& pictures) {
    QImage image(control.width() + 40, control.height() + 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.translate(20, 10);  // room to see a text leave the control
        ExecutePlan(painter, pictures, {op});
    }
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 40) ink |= QRect(x - 20, y - 10, 1, 1);
    return ink;
}

TEST_F(SliderPaintTest, ValueTextsStayOnTheirPlatesAndInsideTheControl) {
    struct Case {
        int form, hs, valueType, max;
        bool onPlate;  // the text must lie on the value plate, not only inside the control
    };
    // Forms 3 and 7 at every HScrollSize, and the stored combinations of the windows.
    std::vector<Case> cases;
    for (int hs = 0; hs < kHScrollSizeCount; ++hs) {
        cases.push_back({kBarWide, hs, 0, 80, true});
        cases.push_back({kBarNarrow, hs, 10, 150, true});
        cases.push_back({kBarNarrow, hs, 0, 80, true});
    }
    const Case windows[] = {{kFader, 0, 10, 150, true}, {kBar, 0, 2, 400, true},
                            {kBar, 3, 10, 150, false},  {kBar, 2, 12, 400, true},
                            {kBar, 4, 16, 64, false},   {kKnob, 0, 0, 80, true},
                            {kBarMute, 0, 7, 89, true}};
    cases.insert(cases.end(), std::begin(windows), std::end(windows));
    for (const Case& c : cases) {
        auto m = Make(c.form, c.hs, c.valueType, c.max);
        const IRect box = SliderValuePlate(*m).Box();
        const QRect plate(box.x, box.y, box.w, box.h);
        const QRect control(0, 0, m->Layout().width, m->Layout().height);
        EXPECT_TRUE(control.contains(plate)) << "form " << c.form << " hs " << c.hs;
        for (int p = 0; p <= c.max; ++p) {
            m->SetValue(ValueFromPosition(c.valueType, p));
            const PaintPlan plan = SliderFacePlan(*m, look);
            ASSERT_EQ(Texts(plan).size(), 1u);
            const PaintOp& text = *Texts(plan).front();
            const QRect ink = InkOf(text, control.size(), pictures);
            EXPECT_FALSE(ink.isEmpty()) << text.text;
            EXPECT_TRUE((c.onPlate ? plate : control).contains(ink))
                << "form " << c.form << " hs " << c.hs << " type " << c.valueType << " text "
                << text.text;
        }
    }
}

}  // namespace
}  // namespace vellora::controls
