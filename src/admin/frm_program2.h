// frmProgram2 ("权限与密码管理"): the rights and password frames alone, opened from the
// launcher; closing it closes both password slots on the device.
#pragma once

#include <QWidget>

#include "admin/mode_manager_layout.h"
#include "admin/mode_manager_rights.h"
#include "model/workspace.h"
#include "protocol/link_session.h"
#include "protocol/prompts.h"

namespace vellora::admin {

class FrmProgram2 : public QWidget {
    Q_OBJECT
public:
    /// Every reference outlives the window. Loads at once (the options from the store).
    FrmProgram2(model::Workspace& ws, protocol::LinkSession& session, protocol::Prompts& prompts,
                QWidget* parent = nullptr);

    /// The launcher's "权限与密码管理" (CmdPrePassManager): a new window, shown, deleted when
    /// closed.
    static FrmProgram2* Open(model::Workspace& ws, protocol::LinkSession& session,
                             protocol::Prompts& prompts, QWidget* parent = nullptr);

    [[nodiscard]] const ControlMap& Controls() const { return map_; }
    [[nodiscard]] RightsFrames& Rights() { return *rights_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ControlMap map_;
    RightsFrames* rights_ = nullptr;
};

}  // namespace vellora::admin
