// frmRec "录音调节": the levels of the recording outputs' sources, left channel (menu kind 8)
// above and right channel (kind 9) below. Modal; reads the store when it opens.
#pragma once

#include "admin/aux_window.h"

namespace vellora::admin {

class FrmRec : public AuxWindow {
    Q_OBJECT

public:
    explicit FrmRec(const AuxContext& context, QWidget* parent = nullptr);
};

}  // namespace vellora::admin
