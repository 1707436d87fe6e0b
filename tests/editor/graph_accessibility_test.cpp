// The response graph in the accessibility tree: one child per band handle of the page, named
// by the handle's mark, reading the band's settings, placed where the mouse picks the handle;
// pressing it selects the band, and edits and page changes raise the tree's events.
#include <QAccessible>
#include <QTest>

#include <algorithm>
#include <utility>
#include <vector>

#include "editor/editor_fixture.h"
#include "editor/editor_panels.h"

namespace vellora::editor::test {
namespace {

class GraphAccessibilityTest : public EditorTest {
protected:
    GraphAccessibilityTest() : panel(window->findChild<GraphPanel*>()) {
        EXPECT_NE(panel, nullptr);
        QApplication::processEvents();  // the shown window becomes active: the graph can focus
        tree = QAccessible::queryAccessibleInterface(panel);
        EXPECT_NE(tree, nullptr);
    }

    QStringList Names() const {
        QStringList names;
        for (int i = 0; i < tree->childCount(); ++i)
            names << tree->child(i)->text(QAccessible::Name);
        return names;
    }
    QPoint CentreOf(int i) const { return panel->mapFromGlobal(tree->child(i)->rect().center()); }

    GraphPanel* panel;
    QAccessibleInterface* tree = nullptr;
};

QStringList Bands(int count, std::initializer_list<const char*> filters) {
    QStringList names;
    for (int i = 1; i <= count; ++i) names << QStringLiteral("band %1").arg(i);
    for (const char* f : filters) names << QString::fromLatin1(f);
    return names;
}

TEST_F(GraphAccessibilityTest, EveryDrawnHandleIsAChildNamedReadAndPlacedOnScreen) {
    struct Page {
        int page;
        QStringList names;
        int probe;  // a child whose value and address are checked
        const char* value;
        const char* address;
    };
    const Page pages[] = {
        {0, Bands(15, {"band L", "band H"}), 0, "25.3 Hz, 8.0 dB, Q 1.00",
         "entry 0 (kind 0, address 0)"},
        {0, Bands(15, {"band L", "band H"}), 15, "OFF", "entry 15 (kind 0, address 15)"},
        {1, Bands(15, {"band L"}), 15, "80.3 Hz", "entry 256 (kind 1, address 0)"},
        // A filter pair: the address is the entry holding the frequency.
        {7, Bands(5, {"band L", "band H"}), 6, "321 Hz", "entry 1802 (kind 7, address 10)"},
    };
    for (const Page& p : pages) {
        window->SelectPage(p.page);
        EXPECT_EQ(tree->text(QAccessible::Name), QStringLiteral("response graph"));
        EXPECT_EQ(tree->role(), QAccessible::Client);
        ASSERT_EQ(Names(), p.names) << p.page;
        QAccessibleInterface* probe = tree->child(p.probe);
        EXPECT_EQ(probe->text(QAccessible::Value), QString::fromLatin1(p.value)) << p.page;
        EXPECT_EQ(probe->text(QAccessible::Description), QString::fromLatin1(p.address));
        for (int i = 0; i < tree->childCount(); ++i) {
            QAccessibleInterface* c = tree->child(i);
            EXPECT_EQ(c->role(), QAccessible::Slider);
            EXPECT_EQ(c->parent(), tree);
            EXPECT_EQ(tree->indexOfChild(c), i);
            EXPECT_EQ(c->state().selected, i == 0) << p.page << " " << i;
            EXPECT_FALSE(c->state().disabled);
            // The centre is the drawn handle's, on the screen; the square is the pick area.
            const QRect r = c->rect();
            EXPECT_EQ(r.center(), panel->mapToGlobal(window->Graph().HandleCentre(i)));
            EXPECT_EQ(r.size(), QSize(27, 27));
            EXPECT_EQ(tree->childAt(r.center().x(), r.center().y()), c) << p.page << " " << i;
            EXPECT_EQ(tree->childAt(r.right(), r.bottom()), c) << p.page << " " << i;
        }
        const QPoint corner = panel->mapToGlobal(QPoint(2, 2));
        EXPECT_EQ(tree->childAt(corner.x(), corner.y()), nullptr);
        EXPECT_EQ(tree->child(tree->childCount()), nullptr);
    }
}

TEST_F(GraphAccessibilityTest, PressSelectsAnEditableBandAndTheValueFollowsItsEdits) {
    QAccessibleInterface* fifth = tree->child(4);
    ASSERT_NE(fifth->actionInterface(), nullptr);
    EXPECT_EQ(fifth->actionInterface()->actionNames(),
              QStringList{QAccessibleActionInterface::pressAction()});
    fifth->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window->Graph().SelectedBand(), 4);
    EXPECT_TRUE(fifth->state().selected);
    EXPECT_FALSE(tree->child(0)->state().selected);
    // Like a click, the press gives the graph the keys: they now edit the fifth band.
    EXPECT_TRUE(panel->hasFocus());
    EXPECT_TRUE(fifth->state().focused);
    EXPECT_EQ(tree->focusChild(), fifth);
    struct Key {
        Qt::Key key;
        const char* value;
    };
    const Key keys[] = {{Qt::Key_Up, "161 Hz, 0.1 dB, Q 1.00"},
                        {Qt::Key_Up, "161 Hz, 0.2 dB, Q 1.00"},
                        {Qt::Key_Down, "161 Hz, 0.1 dB, Q 1.00"}};
    for (const Key& k : keys) {
        QTest::keyClick(panel, k.key);
        clock.AdvanceBy(1);
        EXPECT_EQ(fifth->text(QAccessible::Value), QString::fromLatin1(k.value));
    }

    // A locked band and every band of a greyed page read as disabled; pressing them does
    // nothing, yet the point still finds their handle.
    ws.SetParamLocked(6, 1);
    window->RefreshPage();
    fifth->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QAccessibleInterface* locked = tree->child(6);
    EXPECT_TRUE(locked->state().disabled);
    EXPECT_FALSE(tree->child(5)->state().disabled);
    locked->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window->Graph().SelectedBand(), 4);

    ws.SetBassAutoControl(1);
    window->SelectPage(4);
    ASSERT_EQ(tree->childCount(), 11);
    for (int i = 0; i < tree->childCount(); ++i) EXPECT_TRUE(tree->child(i)->state().disabled);
    tree->child(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window->Graph().SelectedBand(), 0);
    const QPoint at = tree->child(3)->rect().center();
    EXPECT_EQ(tree->childAt(at.x(), at.y()), tree->child(3));
}

TEST_F(GraphAccessibilityTest, DragsAndPageChangesAreAnnounced) {
    std::vector<std::pair<QAccessible::Event, int>> events;  // child -1: the panel itself
    panel->SetAccessibilityEvents(
        [&](QAccessibleEvent& e) { events.emplace_back(e.type(), e.object() ? e.child() : -2); });
    const auto seen = [&](QAccessible::Event type, int child) {
        return std::count(events.begin(), events.end(), std::make_pair(type, child));
    };
    for (int i = 0; i < tree->childCount(); ++i) ASSERT_NE(tree->child(i), nullptr);
    window->RefreshPage();  // the first picture told with the sink in place: the baseline
    events.clear();

    // Dragged by the middle of its rectangle, as an automation client does.
    QAccessibleInterface* fourth = tree->child(3);
    const QString before = fourth->text(QAccessible::Value);
    const QPoint from = CentreOf(3);
    QTest::mousePress(panel, Qt::LeftButton, {}, from);
    QTest::mouseMove(panel, from + QPoint(30, -40));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, from + QPoint(30, -40));
    clock.AdvanceBy(1);
    EXPECT_NE(fourth->text(QAccessible::Value), before);
    EXPECT_EQ(CentreOf(3), window->Graph().HandleCentre(3));
    EXPECT_EQ(seen(QAccessible::ValueChanged, 3), 1);
    EXPECT_EQ(seen(QAccessible::LocationChanged, 3), 1);
    EXPECT_EQ(seen(QAccessible::StateChanged, 3), 1);  // selected now
    EXPECT_EQ(seen(QAccessible::StateChanged, 0), 1);  // no longer
    EXPECT_EQ(seen(QAccessible::ValueChanged, 0), 0);
    EXPECT_EQ(seen(QAccessible::ObjectReorder, -1), 0);

    // The fade repaints many times and changes nothing the tree shows.
    events.clear();
    clock.AdvanceBy(FrmEQ::kNoOperationMs + 10 * FrmEQ::kGradientMs);
    EXPECT_TRUE(events.empty());

    // Page 7: five bands and a filter pair; positions 5 and 6 become "band L" and "band H",
    // the other ten handles go.
    window->SelectPage(7);
    EXPECT_EQ(seen(QAccessible::NameChanged, 5), 1);
    EXPECT_EQ(seen(QAccessible::NameChanged, 6), 1);
    EXPECT_EQ(seen(QAccessible::NameChanged, 0), 0);
    EXPECT_EQ(seen(QAccessible::DescriptionChanged, 0), 1);
    EXPECT_EQ(seen(QAccessible::ObjectDestroyed, -2), 10);
    EXPECT_EQ(seen(QAccessible::ObjectReorder, -1), 1);
    events.clear();
    window->SelectPage(0);
    EXPECT_EQ(seen(QAccessible::ObjectCreated, 7), 1);
    EXPECT_EQ(seen(QAccessible::ObjectCreated, 16), 1);
    EXPECT_EQ(Names(), Bands(15, {"band L", "band H"}));
}

}  // namespace
}  // namespace vellora::editor::test
