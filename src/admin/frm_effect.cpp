// The professional reverb window: the auxiliary windows' common behaviour on its table.
#include "admin/frm_effect.h"

namespace vellora::admin {

FrmEffect::FrmEffect(const AuxContext& context, QWidget* parent)
    : AuxWindow(FrmEffectWindow(), context, parent) {
    setModal(true);
}

}  // namespace vellora::admin
