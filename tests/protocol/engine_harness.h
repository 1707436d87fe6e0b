// Test bench of the link: the simulated processor and the parts of the link (command channel,
// mode transfers, supervision, switch) on one virtual clock, every byte the link sends
// recorded with its time, scripted prompts and a view that records what the link did to the
// windows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "device/fault_plan.h"
#include "device/simulated_processor.h"
#include "model/clock.h"
#include "model/workspace.h"
#include "protocol/bulk_transfers.h"
#include "protocol/byte_sink.h"
#include "protocol/command_channel.h"
#include "protocol/link_state.h"
#include "protocol/link_supervisor.h"
#include "protocol/link_switch.h"
#include "protocol/link_views.h"
#include "protocol/virtual_wait.h"
#include "support/scripted_prompts.h"

namespace vellora::protocol::testing {

/// The warning of a command unanswered after all transmissions or a device silent too long.
inline const std::string kLinkTimeoutText = "与目标通信连接超时，已断开连接。";

/// Records the window side of the link: the calls that change what is enabled or shown as
/// event names in order, the rest as their latest values or counts.
class RecordingView : public BulkProgressView,
                      public LinkStatusView,
                      public StoreRefreshView,
                      public EditorLifecycle {
public:
    void BeginBulk(BulkOperation) override { events.push_back("BeginBulk"); }
    void EndBulk(BulkOperation) override { events.push_back("EndBulk"); }
    void BulkProgress(int done, int total) override { last_progress = {done, total}; }
    void ProgressStep() override { ++progress_steps; }
    void ShowConnectStatus(ConnectStatus value) override {
        connect_status = static_cast<int>(value);
    }
    void ShowSwitchCaption(std::string_view text) override { caption = std::string(text); }
    void SetMasterSliderLimits(const std::array<int32_t, 3>& values) override {
        limits = values;
        events.push_back("SetMasterLimits");
    }
    void ReloadAllControls() override { events.push_back("FullRefresh"); }
    void ClearUndoHistory() override { events.push_back("ClearUndo"); }
    void ShowToneReset() override { ++tone_resets; }
    void StopEditorTimers() override { events.push_back("StopEditorTimers"); }
    void CloseEditor() override { events.push_back("CloseEditor"); }
    void EndProgram() override { events.push_back("EndProgram"); }

    [[nodiscard]] int Count(const std::string& event) const {
        return static_cast<int>(std::count(events.begin(), events.end(), event));
    }

    std::vector<std::string> events;
    std::array<int, 2> last_progress{0, 0};
    int progress_steps = 0;
    int connect_status = -1;
    std::string caption;
    std::array<int32_t, 3> limits{-1, -1, -1};
    int tone_resets = 0;
};

/// One SendData call of the link.
struct Sent {
    std::int64_t at;
    std::vector<uint8_t> bytes;
};

class EngineHarness {
public:
    explicit EngineHarness(device::ProcessorOptions options = {})
        : device(clock, std::move(options)) {
        device.SetOutputHandler([this](std::span<const uint8_t> b) { channel.OnDeviceBytes(b); });
        device.Start();
        channel.SetToneKeyHandler([this] { view.ShowToneReset(); });
        transfers.SetProgressView(view);
        transfers.SetRefreshView(view);
        transfers.SetLifecycle(view);
        supervisor.SetStatusView(view);
        supervisor.SetProgressView(view);
        supervisor.SetLifecycle(view);
        link_switch.SetStatusView(view);
    }
    ~EngineHarness() { device.Stop(); }

    /// Brings the link up with search frames, as the link tick would, and forgets what
    /// that exchange recorded.
    void LinkUp() {
        for (int i = 0; i < 10 && !link.LinkUp(); ++i) {
            channel.SendLinkSearch();
            clock.AdvanceBy(100);
        }
        ASSERT_TRUE(link.LinkUp()) << "the simulated processor did not identify itself";
        link.ClearStartSyncRequest();
        Forget();
    }
    void Forget() {
        sent.clear();
        prompts.ClearRecord();
        view.events.clear();
    }

    /// Frames other than the search frame; search frames; single keep-alive bytes.
    [[nodiscard]] std::vector<Sent> Commands() const {
        return Filter([](const Sent& s) { return s.bytes.size() > 1 && s.bytes[1] != 250; });
    }
    [[nodiscard]] std::vector<Sent> Searches() const {
        return Filter([](const Sent& s) { return s.bytes.size() > 1 && s.bytes[1] == 250; });
    }
    [[nodiscard]] std::vector<Sent> KeepAlives() const {
        return Filter([](const Sent& s) { return s.bytes == std::vector<uint8_t>{0xFF}; });
    }
    [[nodiscard]] std::vector<std::string> Warnings() const {
        return prompts.Texts(ScriptedPrompts::Kind::Warning);
    }

    model::VirtualClock clock;
    device::SimulatedProcessor device;
    model::Workspace ws;
    LinkState link;
    std::vector<Sent> sent;
    FunctionSink sink{[this](std::span<const uint8_t> b) {
        sent.push_back({clock.NowMs(), {b.begin(), b.end()}});
        device.Receive(b);
        return true;
    }};
    VirtualWait wait{clock};
    ScriptedPrompts prompts;
    RecordingView view;
    CommandChannel channel{ws, link, sink, wait};
    BulkTransfers transfers{channel, ws, prompts};
    LinkSupervisor supervisor{channel, transfers, prompts};
    LinkSwitch link_switch{channel, supervisor, prompts};

private:
    template <typename Keep>
    [[nodiscard]] std::vector<Sent> Filter(Keep keep) const {
        std::vector<Sent> out;
        std::copy_if(sent.begin(), sent.end(), std::back_inserter(out), keep);
        return out;
    }
};

/// A fault plan from the simulated processor's fault texts ("silent", "answer-from=3", ...).
inline device::FaultPlan Faults(std::string_view text) {
    device::FaultPlan plan;
    const device::FaultParse parsed = device::ApplyFaultText(text, plan);
    EXPECT_TRUE(parsed.Ok) << parsed.Message;
    return plan;
}

/// The harness on the heap (the workspace and the device's tables are large).
inline std::unique_ptr<EngineHarness> MakeHarness(device::ProcessorOptions options = {}) {
    return std::make_unique<EngineHarness>(std::move(options));
}

/// Command, byte 2 and byte 3 of each frame.
inline std::vector<std::array<int, 3>> Headers(const std::vector<Sent>& frames) {
    std::vector<std::array<int, 3>> out;
    for (const Sent& f : frames) out.push_back({f.bytes[1], f.bytes[2], f.bytes[3]});
    return out;
}

}  // namespace vellora::protocol::testing
