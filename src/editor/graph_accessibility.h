// How the response graph speaks to the accessibility tree: the panel keeps its own name and
// has one child per band handle drawn on the page, named by the handle's mark, reading the
// band's settings as its value and placed where the mouse picks the handle.
#pragma once

#include <QAccessibleWidget>
#include <QPointer>
#include <QRect>
#include <QString>

#include <array>
#include <functional>
#include <vector>

#include "graph/curve_band.h"

namespace vellora::graph {
class ResponseGraph;
}

namespace vellora::editor {

class GraphPanel;

/// Installs the factory of the graph panel's accessible interface; once per process, later
/// calls do nothing. The panel's constructor calls it.
void InstallGraphAccessibility();

/// Tells the accessibility tree what changed among the panel's handles since the last call:
/// through the panel's event sink when it has one, else to the platform while assistive
/// technology is active (nothing is computed otherwise).
void AnnounceHandleChanges(GraphPanel& panel);

/// What the tree shows of one handle. Name: "band " and the handle's mark ("band 1" ..
/// "band 15", "band L", "band H"). Value: "25.3 Hz, 8.0 dB, Q 1.00", for a filter "120 Hz" or
/// "OFF". Description: the entry holding the band's frequency as the command line writes it.
struct HandleView {
    QString Name;
    QString Value;
    QString Description;
    QRect Rect;  ///< where a press picks the handle, logical pixels of the graph
    bool Selected = false;
    bool Disabled = false;  ///< the mouse and the keys cannot change the band
    friend bool operator==(const HandleView&, const HandleView&) = default;
};

/// The handle of list position `position` (0 .. CurveCount - 1) as the graph draws it now.
[[nodiscard]] HandleView HandleViewOf(const graph::ResponseGraph& graph, int position);

/// The graph panel: its own name and role, the handles as children, the selected handle as
/// the focused child while the panel has the keyboard.
class GraphPanelAccessible final : public QAccessibleWidget {
public:
    using EventSink = std::function<void(QAccessibleEvent&)>;

    explicit GraphPanelAccessible(GraphPanel* panel);
    ~GraphPanelAccessible() override;

    [[nodiscard]] int childCount() const override;
    [[nodiscard]] QAccessibleInterface* child(int index) const override;
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override;
    /// The handle a press at the point (screen pixels) would pick; otherwise the first
    /// handle, editable or not, whose pick square holds the point; null when none does.
    [[nodiscard]] QAccessibleInterface* childAt(int x, int y) const override;
    [[nodiscard]] QAccessibleInterface* focusChild() const override;

    /// Raises, through `raise`, the events for what changed since the last call (or since the
    /// interface was made): handles that came and went, new names, values, states and places.
    void Announce(const EventSink& raise);

private:
    [[nodiscard]] GraphPanel* Panel() const;
    void Forget(int index);

    mutable std::array<QAccessible::Id, graph::kMaxBands> children_{};  // 0: not made yet
    std::vector<HandleView> announced_;
};

/// One band handle. Its role is Slider: like a slider's thumb it is dragged to set the band
/// (frequency across, gain up and down) and it reads its setting back as its value text. It
/// offers no value interface: the handle holds three numbers and no one of them is "the"
/// value, so the text says all three.
class BandHandleAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    BandHandleAccessible(GraphPanel* panel, int position);

    [[nodiscard]] bool isValid() const override;
    [[nodiscard]] QObject* object() const override { return nullptr; }
    [[nodiscard]] QWindow* window() const override;
    [[nodiscard]] QAccessibleInterface* parent() const override;
    [[nodiscard]] QAccessibleInterface* child(int) const override { return nullptr; }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    [[nodiscard]] QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    [[nodiscard]] QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    /// The pick square in screen pixels; its centre is the handle's centre.
    [[nodiscard]] QRect rect() const override;
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::Slider; }
    [[nodiscard]] QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    [[nodiscard]] QStringList actionNames() const override;
    /// Press selects the band as a click on its handle does and gives the graph the keys;
    /// nothing happens for a band that is not editable.
    void doAction(const QString& actionName) override;
    [[nodiscard]] QStringList keyBindingsForAction(const QString&) const override { return {}; }

    [[nodiscard]] int Position() const { return position_; }

private:
    QPointer<GraphPanel> panel_;
    int position_;
};

}  // namespace vellora::editor
