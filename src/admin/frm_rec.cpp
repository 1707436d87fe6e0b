// The recording window: everything it does is the auxiliary windows' common behaviour.
#include "admin/frm_rec.h"

namespace vellora::admin {

FrmRec::FrmRec(const AuxContext& context, QWidget* parent)
    : AuxWindow(FrmRecWindow(), context, parent) {
    setModal(true);
}

}  // namespace vellora::admin
