// The graph panel's accessible interface, its band handles and the events that follow the
// handles from picture to picture.
#include "editor/graph_accessibility.h"

#include <QWindow>

#include <algorithm>
#include <mutex>

#include "editor/editor_panels.h"
#include "graph/graph_editor.h"
#include "graph/graph_pictures.h"
#include "graph/response_graph.h"
#include "model/param_store.h"

namespace vellora::editor {

namespace {

QAccessibleInterface* GraphAccessibleFactory(const QString&, QObject* object) {
    if (auto* panel = qobject_cast<GraphPanel*>(object)) return new GraphPanelAccessible(panel);
    return nullptr;
}

// The value label's numbers, read out in one line.
QString ValueText(const graph::CurveBand& band) {
    const graph::BandReadout r = graph::ReadoutOf(band);
    if (band.IsEq()) return QStringLiteral("%1 Hz, %2 dB, Q %3").arg(r.Freq, r.Gain, r.Q);
    return r.Off ? QStringLiteral("OFF") : r.Freq + QStringLiteral(" Hz");
}

std::vector<HandleView> HandleViews(const graph::ResponseGraph& graph) {
    std::vector<HandleView> views;
    for (int i = 0; i < graph.Bands().CurveCount; ++i) views.push_back(HandleViewOf(graph, i));
    return views;
}

void RaiseToPlatform(QAccessibleEvent& event) {
    QAccessible::updateAccessibility(&event);
}

}  // namespace

void InstallGraphAccessibility() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(GraphAccessibleFactory); });
}

void AnnounceHandleChanges(GraphPanel& panel) {
    const GraphPanelAccessible::EventSink& sink = panel.AccessibilityEvents();
    if (!sink && !QAccessible::isActive()) return;
    auto* a = dynamic_cast<GraphPanelAccessible*>(QAccessible::queryAccessibleInterface(&panel));
    if (!a) return;
    if (sink)
        a->Announce(sink);
    else
        a->Announce(RaiseToPlatform);
}

HandleView HandleViewOf(const graph::ResponseGraph& graph, int position) {
    const graph::CurveList& list = graph.Bands();
    const graph::CurveBand* band = list.At(position);
    if (!band) return {};
    HandleView v;
    v.Name = QStringLiteral("band ") + graph::HandleMark(graph::HandleKind(*band, position));
    v.Value = ValueText(*band);
    if (band->FreqEntry() >= 0)
        v.Description = QString::fromStdString(model::ParamAddressText(band->FreqEntry()));
    v.Rect = graph::GraphEditor::HitRect(graph.HandleCentre(position));
    v.Selected = position == graph.SelectedBand();
    v.Disabled = !list.Editable(position);
    return v;
}

// ---- The panel --------------------------------------------------------------------------

GraphPanelAccessible::GraphPanelAccessible(GraphPanel* panel)
    : QAccessibleWidget(panel), announced_(HandleViews(panel->Graph())) {}

GraphPanelAccessible::~GraphPanelAccessible() {
    for (int i = 0; i < graph::kMaxBands; ++i) Forget(i);
}

GraphPanel* GraphPanelAccessible::Panel() const {
    return static_cast<GraphPanel*>(widget());
}

void GraphPanelAccessible::Forget(int index) {
    QAccessible::Id& id = children_[static_cast<size_t>(index)];
    if (id != 0) QAccessible::deleteAccessibleInterface(id);
    id = 0;
}

int GraphPanelAccessible::childCount() const {
    return Panel()->Graph().Bands().CurveCount;
}

QAccessibleInterface* GraphPanelAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    QAccessible::Id& id = children_[static_cast<size_t>(index)];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(new BandHandleAccessible(Panel(), index));
    return QAccessible::accessibleInterface(id);
}

int GraphPanelAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int i = 0; i < childCount(); ++i) {
        const QAccessible::Id id = children_[static_cast<size_t>(i)];
        if (id != 0 && QAccessible::accessibleInterface(id) == child) return i;
    }
    return -1;
}

QAccessibleInterface* GraphPanelAccessible::childAt(int x, int y) const {
    const QPoint at = Panel()->mapFromGlobal(QPoint(x, y));
    const graph::ResponseGraph& graph = Panel()->Graph();
    int found = Panel()->Editor() ? Panel()->Editor()->BandAt(at.x(), at.y()) : -1;
    for (int i = 0; found < 0 && i < childCount(); ++i)
        if (graph::GraphEditor::HitRect(graph.HandleCentre(i)).contains(at)) found = i;
    return found >= 0 ? child(found) : nullptr;
}

QAccessibleInterface* GraphPanelAccessible::focusChild() const {
    if (!Panel()->hasFocus()) return nullptr;
    return child(Panel()->Graph().SelectedBand());
}

void GraphPanelAccessible::Announce(const EventSink& raise) {
    GraphPanel* panel = Panel();
    std::vector<HandleView> now = HandleViews(panel->Graph());
    const int before = static_cast<int>(announced_.size());
    const int after = static_cast<int>(now.size());
    bool reordered = before != after;

    // Handles that went: told while their interfaces still answer, then dropped.
    for (int i = before - 1; i >= after; --i) {
        const QAccessible::Id id = children_[static_cast<size_t>(i)];
        if (id == 0) continue;
        QAccessibleEvent gone(QAccessible::accessibleInterface(id), QAccessible::ObjectDestroyed);
        raise(gone);
        Forget(i);
    }
    const auto tell = [&](QAccessibleEvent&& event, int index) {
        event.setChild(index);
        raise(event);
    };
    for (int i = 0; i < std::min(before, after); ++i) {
        const HandleView& was = announced_[static_cast<size_t>(i)];
        const HandleView& is = now[static_cast<size_t>(i)];
        if (was == is) continue;
        if (was.Name != is.Name) {
            tell(QAccessibleEvent(panel, QAccessible::NameChanged), i);
            reordered = true;
        }
        if (was.Description != is.Description)
            tell(QAccessibleEvent(panel, QAccessible::DescriptionChanged), i);
        if (was.Value != is.Value) tell(QAccessibleValueChangeEvent(panel, is.Value), i);
        if (was.Selected != is.Selected || was.Disabled != is.Disabled) {
            QAccessible::State changed;
            changed.selected = was.Selected != is.Selected;
            changed.focused = changed.selected && panel->hasFocus();
            changed.disabled = was.Disabled != is.Disabled;
            tell(QAccessibleStateChangeEvent(panel, changed), i);
        }
        if (was.Rect != is.Rect) tell(QAccessibleEvent(panel, QAccessible::LocationChanged), i);
    }
    for (int i = before; i < after; ++i)
        tell(QAccessibleEvent(panel, QAccessible::ObjectCreated), i);
    if (reordered) {
        QAccessibleEvent reorder(panel, QAccessible::ObjectReorder);
        raise(reorder);
    }

    // The keyboard follows the selection while the graph has it.
    const int selected = panel->Graph().SelectedBand();
    const bool wasSelected =
        selected < before && announced_[static_cast<size_t>(selected)].Selected;
    if (selected < after && (!wasSelected || reordered) && panel->hasFocus())
        tell(QAccessibleEvent(panel, QAccessible::Focus), selected);
    announced_ = std::move(now);
}

// ---- A band handle ----------------------------------------------------------------------

BandHandleAccessible::BandHandleAccessible(GraphPanel* panel, int position)
    : panel_(panel), position_(position) {}

bool BandHandleAccessible::isValid() const {
    return panel_ && position_ < panel_->Graph().Bands().CurveCount;
}

QWindow* BandHandleAccessible::window() const {
    return panel_ ? panel_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* BandHandleAccessible::parent() const {
    return panel_ ? QAccessible::queryAccessibleInterface(panel_.data()) : nullptr;
}

QString BandHandleAccessible::text(QAccessible::Text t) const {
    if (!isValid()) return {};
    const HandleView v = HandleViewOf(panel_->Graph(), position_);
    switch (t) {
        case QAccessible::Name:
            return v.Name;
        case QAccessible::Value:
            return v.Value;
        case QAccessible::Description:
        case QAccessible::Help:
            return v.Description;
        default:
            return {};
    }
}

QRect BandHandleAccessible::rect() const {
    if (!isValid()) return {};
    const QRect r = HandleViewOf(panel_->Graph(), position_).Rect;
    return QRect(panel_->mapToGlobal(r.topLeft()), r.size());
}

QAccessible::State BandHandleAccessible::state() const {
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    const HandleView v = HandleViewOf(panel_->Graph(), position_);
    s.selectable = true;
    s.focusable = true;
    s.selected = v.Selected;
    s.focused = v.Selected && panel_->hasFocus();
    s.disabled = v.Disabled;
    s.invisible = !panel_->isVisible();
    return s;
}

void* BandHandleAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QStringList BandHandleAccessible::actionNames() const {
    return {pressAction()};
}

void BandHandleAccessible::doAction(const QString& actionName) {
    if (actionName != pressAction() || !isValid() || !panel_->Editor()) return;
    // A click gives the graph the keys as well.
    if (panel_->Editor()->ClickBand(position_)) panel_->setFocus(Qt::MouseFocusReason);
}

}  // namespace vellora::editor
