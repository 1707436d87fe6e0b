// Test bench of the link engine: the simulated processor and the engine on one virtual clock,
// every byte the engine sends recorded with its time, scripted prompts and a view that
// records what the engine did to the windows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "device/fault_plan.h"
#include "device/simulated_processor.h"
#include "model/clock.h"
#include "model/workspace.h"
#include "protocol/byte_sink.h"
#include "protocol/communications.h"
#include "protocol/engine_view.h"
#include "protocol/link_state.h"
#include "protocol/scripted_prompts.h"
#include "protocol/virtual_wait.h"

namespace vellora::protocol::testing {

/// Records the window side of the engine as short event names, in order.
class RecordingView : public EngineView {
public:
    void BeginBulk(BulkOperation) override { events.push_back("BeginBulk"); }
    void EndBulk(BulkOperation) override { events.push_back("EndBulk"); }
    void BulkProgress(int done, int total) override {
        last_progress = {done, total};
        ++progress_calls;
    }
    void ProgressStep() override { ++progress_steps; }
    void SetConnectStatus(int value) override { connect_status = value; }
    void SetSwitchCaption(std::string_view text) override { caption = std::string(text); }
    void SetMasterLimits(const std::array<int32_t, 3>& values) override {
        limits = values;
        events.push_back("SetMasterLimits");
    }
    void FullRefresh() override { events.push_back("FullRefresh"); }
    void ClearUndo() override { events.push_back("ClearUndo"); }
    void ToneKeyReset() override { ++tone_resets; }
    void BlinkToggled(bool phase) override { blinks.push_back(phase); }
    void StopEditorTimers() override { events.push_back("StopEditorTimers"); }
    void CloseEditor() override { events.push_back("CloseEditor"); }
    void EndProgram() override { events.push_back("EndProgram"); }

    [[nodiscard]] int Count(const std::string& event) const {
        return static_cast<int>(std::count(events.begin(), events.end(), event));
    }

    std::vector<std::string> events;
    std::array<int, 2> last_progress{0, 0};
    int progress_calls = 0;
    int progress_steps = 0;
    int connect_status = -1;
    std::string caption;
    std::array<int32_t, 3> limits{-1, -1, -1};
    int tone_resets = 0;
    std::vector<bool> blinks;
};

/// One SendData call of the engine.
struct Sent {
    std::int64_t at;
    std::vector<uint8_t> bytes;
    [[nodiscard]] bool IsCommand() const {
        return bytes.size() > 1 && bytes[0] == kFrameStart &&
               bytes[1] != static_cast<uint8_t>(Command::LinkSearch);
    }
    [[nodiscard]] bool IsSearch() const {
        return bytes.size() > 1 && bytes[0] == kFrameStart &&
               bytes[1] == static_cast<uint8_t>(Command::LinkSearch);
    }
    [[nodiscard]] bool IsKeepAlive() const {
        return bytes.size() == 1 && bytes[0] == KeepAliveByte;
    }
};

class EngineHarness {
public:
    explicit EngineHarness(device::ProcessorOptions options = {})
        : device(clock, std::move(options)) {
        device.SetOutputHandler([this](std::span<const uint8_t> b) { engine.OnDeviceBytes(b); });
        device.Start();
    }
    ~EngineHarness() { device.Stop(); }

    /// Brings the link up with search frames, as the link tick would, and forgets what
    /// that exchange recorded.
    void LinkUp() {
        for (int i = 0; i < 10 && !link.LinkUp; ++i) {
            engine.SendLinkSearch();
            clock.AdvanceBy(100);
        }
        ASSERT_TRUE(link.LinkUp) << "the simulated processor did not identify itself";
        link.StartSyncRequest = false;
        Forget();
    }
    void Forget() {
        sent.clear();
        device.ClearFrameLog();
        prompts.ClearRecord();
        view.events.clear();
    }

    [[nodiscard]] std::vector<Sent> Commands() const { return Filter(&Sent::IsCommand); }
    [[nodiscard]] std::vector<Sent> Searches() const { return Filter(&Sent::IsSearch); }
    [[nodiscard]] std::vector<Sent> KeepAlives() const { return Filter(&Sent::IsKeepAlive); }
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
    Communications engine{ws, link, clock, sink, wait, prompts, view};

private:
    [[nodiscard]] std::vector<Sent> Filter(bool (Sent::*keep)() const) const {
        std::vector<Sent> out;
        for (const Sent& s : sent)
            if ((s.*keep)()) out.push_back(s);
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

inline device::ProcessorOptions WithFaults(std::string_view text) {
    device::ProcessorOptions options;
    options.Faults = Faults(text);
    return options;
}

/// The harness on the heap (the workspace and the device's tables are large).
inline std::unique_ptr<EngineHarness> MakeHarness(device::ProcessorOptions options = {}) {
    return std::make_unique<EngineHarness>(std::move(options));
}

}  // namespace vellora::protocol::testing
