// The painted parts of the editor window: the title strip (Picture2), the response graph's
// panel (Picture1), the strip below the graph (Picture4) and a page's container (PictureMode).
#pragma once

#include <QAccessible>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>

#include "graph/response_graph.h"

namespace vellora::graph {
class GraphEditor;
}

namespace vellora::editor {

/// A panel filling `r`: the console's dark gradient with a lit upper and a shadowed lower edge.
/// The editor's strips and the other windows share it.
void PaintPanel(QPainter& p, const QRect& r);

/// Picture2: the window's caption and status; a press moves the window.
class TitleStrip : public QWidget {
    Q_OBJECT
public:
    explicit TitleStrip(QWidget* parent);
    /// The whole text is also the strip's tooltip and accessible description, so a text cut
    /// to fit (ShownStatus) is never lost.
    void SetStatus(const QString& text, bool simulated);
    /// The status ends left of `right` (the first key of the strip), in the strip's pixels.
    void SetStatusRight(int right);
    /// Where the status text is painted: after the SIM badge, up to the status's right end.
    [[nodiscard]] QRect StatusRect() const;
    /// The status as painted: cut with "…" where it is wider than StatusRect.
    [[nodiscard]] QString ShownStatus() const;
    /// Command5: the graph's paints of the last second ("0Hz" at first), right of `left`.
    void SetPaintRate(const QString& text);
    void SetPaintRateLeft(int left);
    [[nodiscard]] int StatusLeft() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString status_;
    int status_right_ = 0;
    QString paint_rate_ = QStringLiteral("0Hz");
    int paint_rate_left_ = 0;
    bool simulated_ = false;
};

/// Picture1: shows the graph's finished picture; tells the window when it was resized, and
/// passes mouse, key and wheel events to the graph's editing (in the panel's logical pixels).
/// In the accessibility tree its children are the band handles.
class GraphPanel : public QWidget {
    Q_OBJECT
public:
    using AccessibilitySink = std::function<void(QAccessibleEvent&)>;

    GraphPanel(graph::ResponseGraph& graph, QWidget* parent);
    void SetResized(std::function<void()> handler) { resized_ = std::move(handler); }
    /// The editing that takes the panel's input; null takes none. Not owned.
    void SetEditor(graph::GraphEditor* editor) { editor_ = editor; }
    [[nodiscard]] graph::GraphEditor* Editor() const { return editor_; }
    [[nodiscard]] graph::ResponseGraph& Graph() const { return graph_; }

    /// The graph composed a new picture: schedules its paint and tells the accessibility tree
    /// what changed among the handles.
    void FrameComposed();
    /// Takes the handles' accessibility events in place of the platform, which receives them
    /// only while assistive technology is active; an empty sink gives them back.
    void SetAccessibilityEvents(AccessibilitySink sink) { accessibility_events_ = std::move(sink); }
    [[nodiscard]] const AccessibilitySink& AccessibilityEvents() const {
        return accessibility_events_;
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    graph::ResponseGraph& graph_;
    std::function<void()> resized_;
    graph::GraphEditor* editor_ = nullptr;
    AccessibilitySink accessibility_events_;
};

/// Picture4: the strip of master sliders and scene keys below the graph.
class StripBar : public QWidget {
    Q_OBJECT
public:
    explicit StripBar(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

/// PictureMode(p): one page's container; draws its panel and the captions of its controls.
class PagePanel : public QWidget {
    Q_OBJECT
public:
    PagePanel(int page, QWidget* parent);
    [[nodiscard]] int Page() const { return page_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int page_;
};

}  // namespace vellora::editor
