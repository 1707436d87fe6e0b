// The editor's link and views over the link session.
#include "editor/session_link.h"

#include "editor/frm_eq.h"

namespace vellora::editor {

bool SessionLink::LinkUp() const {
    return session_.Link().LinkUp();
}

bool SessionLink::WriteParam(int32_t index) {
    const protocol::CommandStatus status = session_.Channel().WriteParam(index);
    return status == protocol::CommandStatus::Ok || status == protocol::CommandStatus::Queued;
}

void SessionLink::SwitchClick() {
    session_.Switch().SwitchClick();
}

void SessionLink::IndicatorClick() {
    session_.Switch().IndicatorClick();
}

void SessionLink::Exit() {
    session_.Supervisor().Exit();
}

void SessionLink::StartTimers() {
    session_.StartSupervision();
}

bool SessionLink::Busy() const {
    return !session_.Channel().Idle();
}

int SessionLink::CurrentMode() const {
    return session_.Link().CurrentMode();
}

std::string SessionLink::DeviceTag() const {
    return session_.Link().DeviceTag();
}

bool SessionLink::VariantB() const {
    return session_.Link().VariantB();
}

void SessionLink::MarkModified() {
    session_.Link().MarkModified();
}

protocol::LinkViews EditorLinkViews::Views() {
    return {this, this, this, this};
}

void EditorLinkViews::BeginBulk(protocol::BulkOperation operation) {
    window_.BeginBulk(operation == protocol::BulkOperation::Synchronise);
}

void EditorLinkViews::BulkProgress(int done, int total) {
    window_.BulkProgress(done, total);
}

void EditorLinkViews::EndBulk(protocol::BulkOperation) {
    window_.EndBulk();
}

void EditorLinkViews::ProgressStep() {
    window_.ProgressStep();
}

void EditorLinkViews::ShowConnectStatus(protocol::ConnectStatus status) {
    window_.ShowConnectStatus(static_cast<int>(status));
}

void EditorLinkViews::ShowSwitchCaption(std::string_view caption) {
    window_.ShowSwitchCaption(caption);
}

void EditorLinkViews::SetMasterSliderLimits(const std::array<int32_t, 3>& limits) {
    window_.SetMasterSliderLimits(limits);
}

void EditorLinkViews::ReloadAllControls() {
    window_.ReloadAllControls();
    if (synchronised_) synchronised_();
}

void EditorLinkViews::ClearUndoHistory() {
    window_.ClearUndoHistory();
}

void EditorLinkViews::ShowToneReset() {
    window_.ShowToneReset();
}

void EditorLinkViews::StopEditorTimers() {
    window_.StopEditorTimers();
}

void EditorLinkViews::CloseEditor() {
    if (closed_) closed_(false);
}

void EditorLinkViews::EndProgram() {
    if (closed_) closed_(true);
}

}  // namespace vellora::editor
