// The editor window offscreen: start-up, the page switch, the layout at the smallest and a
// large size, the change dispatch with the scene rule, the master keys, the couplings, undo
// through the window and the controls' accessible names.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QFontMetrics>

#include <algorithm>

#include "editor/editor_fixture.h"
#include "editor/editor_panels.h"
#include "editor/page_tables.h"
#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "link/device_state.h"

namespace vellora::editor::test {
namespace {

using controls::MScrollBar;

// Moves slider i to `value` as a user would: the slider holds the value, then raises Scroll.
void Move(FrmEQ& w, int i, double value) {
    MScrollBar* s = w.Controls().Slider(i);
    ASSERT_NE(s, nullptr) << i;
    s->SetValue(value);
    s->RaiseEventScroll();
}

TEST_F(EditorTest, StartsOnPageZeroAndSwitchesPagesWithoutRebuilding) {
    EXPECT_EQ(window->geometry().size(), QSize(1603, 893));
    EXPECT_EQ(window->ShownPage(), 0);
    EXPECT_EQ(window->Key("cmdPage0")->Value(), 1);
    EXPECT_EQ(window->Controls().Slider(0)->Value(), 20);  // master 2560 from slot 0
    const auto made = window->Controls().All().size();
    for (int page : {1, 2, 3, 4, 5, 6, 7, 0}) {
        window->SelectPage(page);
        EXPECT_EQ(window->ShownPage(), page);
        EXPECT_EQ(ws.CurrentPage(), page);
        EXPECT_EQ(window->Key("MBtnFlag3")->isVisible(), page == 1 || page == 2) << page;
        for (int p = 0; p < kPageCount; ++p)
            EXPECT_EQ(window->Key(QStringLiteral("cmdPage%1").arg(p))->Value(), p == page ? 1 : 0);
    }
    EXPECT_EQ(window->Controls().All().size(), made);

    // The effects page shows the strips of the view last chosen, not always the echo strips.
    window->SelectPage(3);
    window->SelectEffectView(1);
    window->SelectPage(0);
    window->SelectPage(3);
    for (int i = 157; i <= 171; ++i)
        EXPECT_EQ(window->Controls().Slider(i)->isVisible(), i >= 162 && i <= 166) << i;
    EXPECT_EQ(window->Key("Command31")->Value(), 1);
}

// Controls of one parent that are shown must lie inside it and apart from each other.
std::string Describe(QWidget* w) {
    auto* b = qobject_cast<controls::BoundControl*>(w);
    const QRect g = w->geometry();
    return (b ? b->AccessibleName() : w->objectName()).toStdString() + " at " +
           std::to_string(g.x()) + "," + std::to_string(g.y()) + " " + std::to_string(g.width()) +
           "x" + std::to_string(g.height());
}

void ExpectApartAndInside(QWidget* parent, const QString& where) {
    std::vector<QWidget*> shown;
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isHidden() && child->inherits("vellora::controls::BoundControl"))
            shown.push_back(child);
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_TRUE(parent->rect().contains(shown[i]->geometry()))
            << where.toStdString() << ": " << Describe(shown[i]) << " in " << parent->width()
            << "x" << parent->height();
        for (size_t j = i + 1; j < shown.size(); ++j)
            EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                << where.toStdString() << ": " << Describe(shown[i]) << " / "
                << Describe(shown[j]);
    }
}

TEST_F(EditorTest, NothingOverlapsOrIsClippedAtTheSmallestAndALargeSize) {
    for (const QSize size : {QSize(970, 520), QSize(1900, 1000)}) {
        window->resize(size);
        for (int page = 0; page < kPageCount; ++page) {
            window->SelectPage(page);
            for (int view = 0; view < (page == kEffectsPage ? 3 : 1); ++view) {
                if (page == kEffectsPage) window->SelectEffectView(view);
                const QString where = QStringLiteral("%1x%2 page %3 view %4")
                                          .arg(size.width()).arg(size.height()).arg(page).arg(view);
                QWidget* container = window->Controls().Slider(0)->parentWidget();  // the strip
                ExpectApartAndInside(container, where + " strip");
                for (const MadeControl& m : window->Controls().OnPage(page))
                    if (!m.Widget->isHidden()) {
                        ExpectApartAndInside(m.Widget->parentWidget(), where);
                        break;
                    }
                ExpectApartAndInside(window->Key("cmdUndo")->parentWidget(), where + " title");
            }
        }
    }
}

// The status line tells an installer why no device is linked: it takes the room up to the
// title strip's keys, a text too long for it is cut with "…", and the whole text stays in the
// tooltip and the accessible description.
TEST_F(EditorTest, TheStatusLineUsesTheRoomBeforeTheKeysAndKeepsTheWholeText) {
    auto* title = qobject_cast<TitleStrip*>(window->Key("cmdUndo")->parentWidget());
    ASSERT_NE(title, nullptr);
    const QFontMetrics metrics(graph::PictureStore::UiFont());
    const struct {
        QSize size;
        link::DeviceState state;
        bool whole;
    } cases[] = {
        {QSize(1900, 1000), link::DeviceState::NotFound, true},
        {QSize(1900, 1000), link::DeviceState::Unavailable, true},
        {QSize(970, 520), link::DeviceState::NoPermission, false},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(link::DeviceStateText(c.state));
        SCOPED_TRACE(text.toStdString());
        window->resize(c.size);
        window->ShowDeviceState(text);
        const QRect status = title->StatusRect();
        EXPECT_LE(status.right(), window->Key("cmdUndo")->geometry().left());
        EXPECT_EQ(title->toolTip().toStdString(), text.toStdString());
        EXPECT_EQ(title->accessibleDescription().toStdString(), text.toStdString());
        const QString shown = title->ShownStatus();
        EXPECT_LE(metrics.horizontalAdvance(shown), status.width());
        if (c.whole) {
            EXPECT_EQ(shown.toStdString(), text.toStdString());
        } else {
            EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
            EXPECT_TRUE(text.startsWith(shown.chopped(1))) << shown.toStdString();
        }
    }
}

TEST_F(EditorTest, EditsFollowTheSceneRuleAndReachTheDeviceOnlyWhenLinked) {
    // Dance scene: the shared high-pass of the first microphone page changes both scenes,
    // a band of the music page (kept per scene) only the dance scene.
    ASSERT_TRUE(ws.SetCurrentScene(1));
    window->SelectPage(1);
    Move(*window, 33, 50);
    EXPECT_EQ(ws.ParamStore.ValueAt(256, 0), 50);
    EXPECT_EQ(ws.ParamStore.ValueAt(256, 1), 50);
    window->SelectPage(0);
    MScrollBar* band = window->Controls().Slider(3);
    band->SetValue(300);
    band->RaiseEventScroll();
    EXPECT_EQ(ws.ParamStore.Slot(0, 1)->Gain, 300);
    EXPECT_EQ(ws.ParamStore.Slot(0, 0)->Gain, 330);
    // A master slider (menu kind 10) writes slot 0 only, whatever the scene.
    const int dance = ws.ParamStore.ValueAt(2561, 1);
    Move(*window, 1, 40);
    EXPECT_EQ(ws.ParamStore.ValueAt(2561, 0), 40);
    EXPECT_EQ(ws.ParamStore.ValueAt(2561, 1), dance);
    EXPECT_TRUE(link.Writes.empty());  // the link is down: nothing sent

    link.Up = true;
    Move(*window, 1, 41);
    window->SelectPage(1);
    Move(*window, 33, 60);
    EXPECT_EQ(link.Writes, (std::vector<int>{2561, 256}));
}

TEST_F(EditorTest, MasterKeysStepWithinTheirLimits) {
    link.Up = true;
    MScrollBar* master = window->Controls().Slider(0);
    master->SetValue(80);
    window->KeyPress(QLatin1Char('q'));
    EXPECT_EQ(master->Value(), 80);
    EXPECT_TRUE(link.Writes.empty());
    window->KeyPress(QLatin1Char('a'));
    EXPECT_EQ(master->Value(), 79);
    EXPECT_EQ(ws.ParamStore.ValueAt(2560, 0), 79);
    window->Controls().Slider(2)->SetValue(0);
    window->KeyPress(QLatin1Char('d'));
    window->KeyPress(QLatin1Char('e'));
    EXPECT_EQ(ws.ParamStore.ValueAt(2562, 0), 1);
    EXPECT_EQ(link.Writes, (std::vector<int>{2560, 2562}));
}

TEST_F(EditorTest, SubwooferFiltersStayApartAndReverbRoomsPresetTheirSliders) {
    window->SelectPage(7);
    const int lowPass = ws.GetValue(1802);
    Move(*window, 180, lowPass + 2);  // the high-pass dragged above the low-pass
    EXPECT_EQ(ws.GetValue(1800), lowPass);
    EXPECT_EQ(window->Controls().Slider(180)->Value(), lowPass);

    link.Up = true;
    window->SelectPage(3);
    const int rooms[][4] = {{9982, 80, 543, 0}, {10156, 118, 630, 0}, {9808, 160, 700, 0},
                            {9112, 153, 575, 0}};
    for (int room = 0; room <= 4; ++room) {
        link.Writes.clear();
        window->Controls().Combo(5)->SetValue(room);
        window->Dispatch().ListChanged(5, room);
        EXPECT_EQ(window->Key("MBtnFlag2")->Enabled(), room == 0);
        EXPECT_EQ(link.Writes, std::vector<int>{810});  // presets are not sent
        if (room == 0) continue;
        const int entries[] = {782, 781, 788, 784};
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(ws.ParamStore.ValueAt(entries[k], 0), rooms[room - 1][k]);
            EXPECT_EQ(ws.ParamStore.ValueAt(entries[k], 1), rooms[room - 1][k]);
        }
    }
}

TEST_F(EditorTest, ADragIsOneUndoStepAndUndoRestoresTheStore) {
    window->SelectPage(1);
    const int before = ws.GetValue(256);
    for (int v = 10; v <= 40; v += 10) {
        Move(*window, 33, v);
        clock.AdvanceBy(200);
    }
    clock.AdvanceBy(1000);  // the gesture ends
    Move(*window, 1, 50);  // a master: no undo step
    EXPECT_EQ(window->Undo().UndoPos(), 0);
    window->Key("cmdUndo")->ClickByAccessibility();
    EXPECT_EQ(ws.GetValue(256), before);
    EXPECT_EQ(window->Controls().Slider(33)->Value(), before);
    EXPECT_EQ(ws.ParamStore.ValueAt(2561, 0), 50);
}

TEST_F(EditorTest, EveryControlIsNamedWithItsPageAndAddress) {
    for (const MadeControl& m : window->Controls().All()) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(m.Widget);
        ASSERT_NE(a, nullptr);
        const QString name = a->text(QAccessible::Name);
        EXPECT_FALSE(name.isEmpty()) << m.Decl->Index;
        if (m.Decl->Page >= 0) {
            EXPECT_TRUE(name.contains(QString::fromUtf8(PageCaption(m.Decl->Page).data())))
                << name.toStdString();
        }
        if (m.Widget->Addr() >= 0) {
            EXPECT_TRUE(a->text(QAccessible::Description).contains(QString::number(m.Widget->Addr())))
                << name.toStdString();
        }
    }
}

}  // namespace
}  // namespace vellora::editor::test
