// What the slider, the flag button and the list box share as controls bound to a parameter:
// the bound address and its text, the host's free texts, the caption and page by which the
// accessibility tree names them, and the life of the see-through background.
#pragma once

#include <QString>
#include <QWidget>

#include "controls/control_context.h"

namespace vellora::controls {

class BoundControl : public QWidget {
    Q_OBJECT

public:
    /// The bound ParamIndex; -1 while unbound (command buttons stay so).
    [[nodiscard]] int Addr() const { return addr_; }
    /// Binds to a ParamIndex and shows its address in the tooltip.
    void SetAddr(int addr);
    /// Free text owned by the host (the graph keeps a band's position here); never read.
    [[nodiscard]] const QString& EQindex() const { return eq_index_; }
    void SetEQindex(const QString& text) { eq_index_ = text; }
    /// Free text owned by the host; the flag button reads "DisabledRefresh".
    [[nodiscard]] const QString& SpecialFeature() const { return special_feature_; }
    void SetSpecialFeature(const QString& text) { special_feature_ = text; }

    /// What the control is called on its page, and the page's name; the editor fills both.
    void SetAccessibleContext(const QString& caption, const QString& page);
    [[nodiscard]] const QString& AccessibleCaption() const { return caption_; }
    [[nodiscard]] const QString& AccessiblePage() const { return page_; }
    /// "caption, page"; without a caption the bound entry's menu name stands in.
    [[nodiscard]] QString AccessibleName() const;
    /// The bound entry as the command line writes it; empty while unbound.
    [[nodiscard]] QString AddressText() const;

    /// False blocks all input (each control keeps its own Enabled property).
    [[nodiscard]] virtual bool Enabled() const = 0;
    /// Locked by the parameter store; recomputed on every call.
    [[nodiscard]] virtual bool Locked() const = 0;

    /// Repaints from the current state; nothing is drawn before the first BkGround_Init.
    virtual void Refresh();
    /// Prepares the background of the current form; the control is see-through elsewhere, so
    /// `hideFirst` needs no snapshot. Does nothing while the program closes.
    void BkGround_Init(bool hideFirst = false);
    [[nodiscard]] bool BackgroundReady() const { return background_ready_; }

protected:
    /// `context` outlives the control. Installs the controls' accessibility once per process.
    BoundControl(const ControlContext& context, QWidget* parent);

    [[nodiscard]] const ControlContext& Context() const { return context_; }
    /// Draws the control's own background pictures, if it has any.
    virtual void PrepareBackground() {}
    /// Called after Addr changed.
    virtual void AddrChanged() {}

private:
    void UpdateToolTip();

    ControlContext context_;
    int addr_ = -1;
    QString eq_index_;
    QString special_feature_;
    QString caption_;
    QString page_;
    bool background_ready_ = false;
};

}  // namespace vellora::controls
