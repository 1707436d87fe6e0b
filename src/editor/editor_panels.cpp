// Painting the editor window's parts in the console style of the graph and the controls.
#include "editor/editor_panels.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>

#include "controls/control_art.h"
#include "editor/control_set.h"
#include "editor/graph_accessibility.h"
#include "editor/page_layout.h"
#include "graph/graph_editor.h"
#include "graph/picture_store.h"

namespace vellora::editor {

namespace {

const QColor kPanelTop(31, 35, 43);
const QColor kPanelBottom(19, 22, 27);
const QColor kCaptionInk(150, 160, 174);
constexpr int kStatusLeft = 86;
constexpr int kBadgeWidth = 30;  // the SIM badge before the status
constexpr int kBadgeGap = 6;
constexpr int kStatusMinWidth = 260;  // before the keys are placed

}  // namespace

void PaintPanel(QPainter& p, const QRect& r) {
    QLinearGradient g(0, r.top(), 0, r.bottom());
    g.setColorAt(0.0, kPanelTop);
    g.setColorAt(1.0, kPanelBottom);
    p.fillRect(r, g);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), QColor(255, 255, 255, 20));
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), QColor(0, 0, 0, 150));
}

TitleStrip::TitleStrip(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("Vellora"));
}

void TitleStrip::SetStatus(const QString& text, bool simulated) {
    status_ = text;
    simulated_ = simulated;
    setToolTip(text);
    setAccessibleDescription(text);
    update();
}

void TitleStrip::SetStatusRight(int right) {
    status_right_ = right;
    update();
}

QRect TitleStrip::StatusRect() const {
    const int left = kStatusLeft + (simulated_ ? kBadgeWidth + kBadgeGap : 0);
    const int right = status_right_ > 0 ? status_right_ : left + kStatusMinWidth;
    return QRect(left, 0, std::max(0, right - left), height());
}

QString TitleStrip::ShownStatus() const {
    const QFontMetrics metrics(graph::PictureStore::UiFont());
    return metrics.elidedText(status_, Qt::ElideRight, StatusRect().width());
}

void TitleStrip::SetPaintRate(const QString& text) {
    paint_rate_ = text;
    update();
}

void TitleStrip::SetPaintRateLeft(int left) {
    paint_rate_left_ = left;
    update();
}

int TitleStrip::StatusLeft() const {
    return kStatusLeft;
}

void TitleStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    PaintPanel(p, rect());
    p.fillRect(QRect(10, 8, 3, height() - 16), controls::art::kAccent);
    controls::art::Label(p, QRectF(18, 0, 66, height()), QStringLiteral("Vellora"),
                         controls::art::kInk, 14, Qt::AlignLeft | Qt::AlignVCenter, true);
    if (simulated_) {
        const QRectF badge(kStatusLeft, 7, kBadgeWidth, height() - 14);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 178, 36, 50));
        p.drawRoundedRect(badge, 3, 3);
        controls::art::Label(p, badge, QStringLiteral("SIM"), controls::art::kAmber, 9,
                             Qt::AlignCenter, true);
    }
    p.setPen(kCaptionInk);
    p.setFont(graph::PictureStore::UiFont());
    p.drawText(StatusRect(), Qt::AlignLeft | Qt::AlignVCenter, ShownStatus());
    p.setPen(controls::art::kDimInk);
    p.drawText(QRect(paint_rate_left_, 0, 40, height()), Qt::AlignCenter, paint_rate_);
}

void TitleStrip::mousePressEvent(QMouseEvent* event) {
    // The title strip moves the window as its caption would.
    if (event->button() == Qt::LeftButton && window()->windowHandle())
        window()->windowHandle()->startSystemMove();
}

GraphPanel::GraphPanel(graph::ResponseGraph& graph, QWidget* parent)
    : QWidget(parent), graph_(graph) {
    InstallGraphAccessibility();  // before anything asks for the panel's interface
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("response graph"));
    setFocusPolicy(Qt::ClickFocus);  // a click on the graph gives it the arrow keys
}

void GraphPanel::FrameComposed() {
    update();
    AnnounceHandleChanges(*this);
}

void GraphPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!graph_.HasGraphics()) {
        p.fillRect(rect(), QColor(10, 12, 15));
        return;
    }
    graph_.Repaint(p);
}

void GraphPanel::resizeEvent(QResizeEvent*) {
    if (resized_) resized_();
}

namespace {

// The editing's key code of a key; 0 for one the graph does not take.
int GraphKey(int key) {
    switch (key) {
        case Qt::Key_End: return graph::kKeyEnd;
        case Qt::Key_Home: return graph::kKeyHome;
        case Qt::Key_Left: return graph::kKeyLeft;
        case Qt::Key_Up: return graph::kKeyUp;
        case Qt::Key_Right: return graph::kKeyRight;
        case Qt::Key_Down: return graph::kKeyDown;
        default: return 0;
    }
}

}  // namespace

void GraphPanel::mousePressEvent(QMouseEvent* event) {
    graph::MouseButton button = graph::MouseButton::Left;
    switch (event->button()) {
        case Qt::LeftButton: break;
        case Qt::RightButton: button = graph::MouseButton::Right; break;
        case Qt::MiddleButton: button = graph::MouseButton::Middle; break;
        default: QWidget::mousePressEvent(event); return;
    }
    if (editor_) editor_->Press(event->position().x(), event->position().y(), button);
}

void GraphPanel::mouseMoveEvent(QMouseEvent* event) {
    if (editor_) editor_->Move(event->position().x(), event->position().y());
}

void GraphPanel::mouseReleaseEvent(QMouseEvent*) {
    if (editor_) editor_->Release();
}

void GraphPanel::keyPressEvent(QKeyEvent* event) {
    const int key = GraphKey(event->key());
    if (key == 0 || !editor_ || !editor_->KeyDown(key)) QWidget::keyPressEvent(event);
}

void GraphPanel::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats as press and release pairs; only the last release lets it go.
    const int key = GraphKey(event->key());
    if (key != 0 && event->isAutoRepeat()) return;
    if (key == 0 || !editor_ || !editor_->KeyUp(key)) QWidget::keyReleaseEvent(event);
}

void GraphPanel::focusOutEvent(QFocusEvent* event) {
    // A key held while the focus moves away never reports its release here.
    if (editor_) editor_->EndHold();
    QWidget::focusOutEvent(event);
}

void GraphPanel::wheelEvent(QWheelEvent* event) {
    const Qt::KeyboardModifiers keys = event->modifiers();
    const bool ctrl = keys == Qt::ControlModifier;
    const bool other = (keys != Qt::NoModifier && !ctrl) || event->buttons() != Qt::NoButton;
    if (!editor_ || !editor_->Wheel(event->angleDelta().y(), ctrl, other)) event->ignore();
}

StripBar::StripBar(QWidget* parent) : QWidget(parent) {}

void StripBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintPanel(p, rect());
}

PagePanel::PagePanel(int page, QWidget* parent) : QWidget(parent), page_(page) {
    const std::string_view name = PageCaption(page);
    setAccessibleName(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
}

void PagePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    PaintPanel(p, rect());
    p.translate(contentsMargins().left(), 0);  // narrower content is centred
    // The band strips sit on a recessed bed; the grids on a faint plate each.
    const StripExtent strips = StripsOf(page_);
    if (strips.Right > 0) {
        p.setPen(QPen(QColor(0, 0, 0, 120), 1.0));
        p.setBrush(QColor(12, 14, 18, 120));
        p.drawRoundedRect(QRectF(4.5, 3.5, strips.Right + 1, strips.Bottom + 2), 5, 5);
    }
    p.setFont(graph::PictureStore::UiFont());
    for (const ControlDecl& d : PageControls()) {
        if (d.Page != page_ || d.Where == Region::Dialog || d.Where == Region::Strips) continue;
        if (d.Array == ControlArray::OptionFBX2 || d.Array == ControlArray::OptionFBX)
            if (d.Index != 0) continue;
        const Rect c = CaptionRect(d);
        if (c.W <= 0) continue;
        p.setPen(kCaptionInk);
        p.drawText(QRect(c.X, c.Y, c.W, c.H + 2), Qt::AlignLeft | Qt::AlignVCenter,
                   CaptionText(d));
    }
}

}  // namespace vellora::editor
