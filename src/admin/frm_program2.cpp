// frmProgram2: the rights and password window.
#include "admin/frm_program2.h"

#include <QApplication>
#include <QCloseEvent>

#include "admin/admin_look.h"

namespace vellora::admin {

FrmProgram2::FrmProgram2(model::Workspace& ws, protocol::LinkSession& session,
                         protocol::Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmProgram2"));
    setWindowTitle(QStringLiteral("权限与密码管理"));
    setWindowIcon(QApplication::windowIcon());
    setFixedSize(kProgram2Width, kProgram2Height);
    BuildControls(this, Program2Frames(), map_);
    ApplyAdminLook(this);
    rights_ = new RightsFrames(map_, ws, session.Channel(), prompts, this);
    rights_->Load();
}

FrmProgram2* FrmProgram2::Open(model::Workspace& ws, protocol::LinkSession& session,
                               protocol::Prompts& prompts, QWidget* parent) {
    auto* window = new FrmProgram2(ws, session, prompts, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

void FrmProgram2::closeEvent(QCloseEvent* event) {
    (void)rights_->CloseOperations();
    event->accept();
}

}  // namespace vellora::admin
