// The bound control's address, names and background life.
#include "controls/bound_control.h"

#include "controls/control_accessibility.h"
#include "controls/control_look_source.h"
#include "model/param_store.h"
#include "storage/param_format.h"

namespace vellora::controls {

BoundControl::BoundControl(const ControlContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    InstallControlAccessibility();
}

void BoundControl::SetAddr(int addr) {
    addr_ = addr;
    UpdateToolTip();
    AddrChanged();
}

void BoundControl::SetAccessibleContext(const QString& caption, const QString& page) {
    caption_ = caption;
    page_ = page;
    UpdateToolTip();
}

QString BoundControl::AccessibleName() const {
    QString name = caption_;
    if (name.isEmpty()) {
        const std::string_view entry = storage::EntryName(addr_);
        name = QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size()));
    }
    if (!page_.isEmpty()) name = name.isEmpty() ? page_ : name + QStringLiteral(", ") + page_;
    return name;
}

QString BoundControl::AddressText() const {
    if (!model::ValidIndex(addr_)) return {};
    return QString::fromStdString(model::ParamAddressText(addr_));
}

void BoundControl::UpdateToolTip() {
    const QString address = AddressText();
    if (caption_.isEmpty() || address.isEmpty())
        setToolTip(caption_.isEmpty() ? address : caption_);
    else
        setToolTip(caption_ + QLatin1Char('\n') + address);
}

void BoundControl::Refresh() {
    update();
}

void BoundControl::BkGround_Init(bool) {
    if (context_.look.Closing()) return;
    PrepareBackground();
    background_ready_ = true;
    update();
}

}  // namespace vellora::controls
