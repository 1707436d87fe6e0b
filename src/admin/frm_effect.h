// frmEffect "专业设置": the reverb's damping, reflections, room size and density (menu kind
// 3). Modal; reads the store when it opens.
#pragma once

#include "admin/aux_window.h"

namespace vellora::admin {

class FrmEffect : public AuxWindow {
    Q_OBJECT

public:
    explicit FrmEffect(const AuxContext& context, QWidget* parent = nullptr);
};

}  // namespace vellora::admin
