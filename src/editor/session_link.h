// The editor's link over the one link session every front end shares: parameter writes go to
// the command channel, the switch and the indicator to the link switch, exit to the
// supervision; and the window's parts shown for each role of the link.
#pragma once

#include <functional>

#include "editor/editor_link.h"
#include "protocol/link_session.h"
#include "protocol/link_views.h"

namespace vellora::editor {

class FrmEQ;

class SessionLink : public EditorLink {
public:
    /// `session` outlives the link; `simulated` says the device is the in-process processor.
    SessionLink(protocol::LinkSession& session, bool simulated)
        : session_(session), simulated_(simulated) {}

    [[nodiscard]] bool LinkUp() const override;
    /// Ok, or queued behind a waiting command (it goes out as soon as the channel is free).
    [[nodiscard]] bool WriteParam(int32_t index) override;
    void SwitchClick() override;
    void IndicatorClick() override;
    void Exit() override;
    void StartTimers() override;
    [[nodiscard]] bool Busy() const override;
    [[nodiscard]] int CurrentMode() const override;
    [[nodiscard]] std::string DeviceTag() const override;
    [[nodiscard]] bool VariantB() const override;
    [[nodiscard]] bool Simulated() const override { return simulated_; }
    void MarkModified() override;

private:
    protocol::LinkSession& session_;
    bool simulated_;
};

/// The window as the link's views: progress, link status, refresh after bulk reads and the
/// editor's life. `closed` runs when the link closes the editor or ends the program.
class EditorLinkViews : public protocol::BulkProgressView,
                        public protocol::LinkStatusView,
                        public protocol::StoreRefreshView,
                        public protocol::EditorLifecycle {
public:
    EditorLinkViews(FrmEQ& window, std::function<void(bool endProgram)> closed)
        : window_(window), closed_(std::move(closed)) {}
    [[nodiscard]] protocol::LinkViews Views();
    /// Runs at the end of every synchronisation (after the full refresh).
    void SetSynchronised(std::function<void()> handler) { synchronised_ = std::move(handler); }

    void BeginBulk(protocol::BulkOperation operation) override;
    void BulkProgress(int done, int total) override;
    void EndBulk(protocol::BulkOperation operation) override;
    void ProgressStep() override;
    void ShowConnectStatus(protocol::ConnectStatus status) override;
    void ShowSwitchCaption(std::string_view caption) override;
    void SetMasterSliderLimits(const std::array<int32_t, 3>& limits) override;
    void ReloadAllControls() override;
    void ClearUndoHistory() override;
    void ShowToneReset() override;
    void StopEditorTimers() override;
    void CloseEditor() override;
    void EndProgram() override;

private:
    FrmEQ& window_;
    std::function<void(bool)> closed_;
    std::function<void()> synchronised_;
};

}  // namespace vellora::editor
