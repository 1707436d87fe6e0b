// Building an auxiliary window from its table, loading it and handling its sliders.
#include "admin/aux_window.h"

#include <QPainter>

#include <algorithm>

#include "admin/admin_look.h"
#include "editor/control_set.h"
#include "editor/editor_panels.h"
#include "model/value_scales.h"

namespace vellora::admin {

namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The row label of `row`, if the window names its rows.
QString RowText(const AuxWindowDecl& window, int row) {
    for (const RowLabel& r : window.Rows)
        if (r.Row == row) return Utf8(r.Text);
    return {};
}

}  // namespace

AuxWindow::AuxWindow(const AuxWindowDecl& decl, const AuxContext& context, QWidget* parent)
    : QDialog(parent), context_(context), decl_(decl) {
    setObjectName(Utf8(decl.Name));
    setWindowTitle(Utf8(decl.Caption));
    if (parent) setWindowIcon(parent->window()->windowIcon());
    setFixedSize(decl.Width, decl.Height);
    setAccessibleName(windowTitle());

    for (const editor::ControlDecl& d : decl.Controls) {
        const QVariantMap bag = editor::DesignBag(d);
        controls::BoundControl* w = nullptr;
        if (d.Array == editor::ControlArray::MyScrollBar) {
            auto* s = new controls::MScrollBar(context.controls,
                                               controls::SliderStored::FromBag(bag), this);
            const int i = d.Index;
            connect(s, &controls::MScrollBar::Scroll, this, [this, i] { SliderChanged(i); });
            w = s;
        } else {
            auto* l = new controls::MComboBox(context.controls, controls::ComboStored::FromBag(bag),
                                              this);
            const int j = d.Index;
            connect(l, &controls::MComboBox::Click, this, [this, j](int v) { ListChanged(j, v); });
            w = l;
        }
        const QString row = RowText(decl, d.Row);
        w->SetAccessibleContext(
            editor::CaptionText(d),
            row.isEmpty() ? windowTitle() : windowTitle() + QLatin1Char(' ') + row);
        const editor::Rect at = AuxControlRect(decl, d, w->width(), w->height());
        w->move(at.X, at.Y);
        // A list's Tag is the bare number of its entry, which the list reads for itself.
        if (!d.Tag.empty() && d.Array == editor::ControlArray::MyScrollBar)
            w->SetAddr(model::ParseAddr(d.Tag));
        made_.push_back({&d, w});
    }
    LoadSliderValues();
}

controls::MScrollBar* AuxWindow::Slider(int index) const {
    for (const Made& m : made_)
        if (m.Decl->Array == editor::ControlArray::MyScrollBar && m.Decl->Index == index)
            return static_cast<controls::MScrollBar*>(m.Widget);
    return nullptr;
}

controls::MComboBox* AuxWindow::List(int index) const {
    for (const Made& m : made_)
        if (m.Decl->Array == editor::ControlArray::MyComboBox && m.Decl->Index == index)
            return static_cast<controls::MComboBox*>(m.Widget);
    return nullptr;
}

int AuxWindow::EntryOf(const Made& made) {
    if (made.Decl->Array == editor::ControlArray::MyComboBox) return TagNumber(made.Decl->Tag);
    return made.Widget->Addr();
}

void AuxWindow::LoadSliderValues() {
    for (const Made& m : made_) {
        if (m.Decl->Array != editor::ControlArray::MyScrollBar) continue;
        if (const model::SceneSlot* slot = context_.ws.ParamStore.Slot(m.Widget->Addr(), 0))
            static_cast<controls::MScrollBar*>(m.Widget)->SetValue(slot->Value);
    }
}

void AuxWindow::SliderChanged(int index) {
    controls::MScrollBar* s = Slider(index);
    if (!s || s->Addr() < 0) return;
    Store(s->Addr(), model::RoundHalfEven(s->Value()));
    SendSlider(*s);
}

void AuxWindow::Store(int entry, int32_t value) {
    model::ParamTable& store = context_.ws.ParamStore;
    model::SceneSlot* slot = store.Slot(entry, 0);
    if (!slot) return;
    slot->Value = value;
    if (entry < model::kModeScopedEnd && !store.IsPerScene(entry))
        if (model::SceneSlot* other = store.Slot(entry, 1)) other->Value = value;
}

void AuxWindow::SendSlider(controls::MScrollBar& slider) {
    slider.SetEnabled(false);
    if (context_.link.LinkUp()) (void)context_.link.WriteParam(slider.Addr());
    slider.SetEnabled(true);
}

void AuxWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    for (const Made& m : made_) m.Widget->BkGround_Init(false);
}

void AuxWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    editor::PaintPanel(p, rect());
    p.setFont(CaptionFont());
    p.setPen(kCaptionInk);
    int rowHeight = 0;
    for (const Made& m : made_) {
        rowHeight = std::max(rowHeight, m.Widget->height());
        const editor::Rect c =
            AuxCaptionRect(decl_, *m.Decl, m.Widget->width(), m.Widget->height());
        const Qt::Alignment align = decl_.Captions == CaptionPlace::Above
                                        ? Qt::AlignLeft | Qt::AlignVCenter
                                        : Qt::AlignCenter;
        p.drawText(QRect(c.X, c.Y, c.W, c.H + 2), align, editor::CaptionText(*m.Decl));
    }
    for (const RowLabel& r : decl_.Rows) {
        const editor::Rect l = AuxRowLabelRect(decl_, r.Row, rowHeight);
        PaintRowLabel(p, QRect(l.X, l.Y, l.W, l.H), Utf8(r.Text));
    }
}

}  // namespace vellora::admin
