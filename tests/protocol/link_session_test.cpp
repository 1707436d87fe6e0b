// The link session over the simulated processor plugged in as a USB device, in virtual time:
// opening the port an endpoint names, link-up by search frame with the device's answer time
// measured, the synchronisation, and the views the session connects.
#include "protocol/link_session.h"

#include <gtest/gtest.h>

#include <memory>

#include "device/simulated_port.h"
#include "engine_harness.h"

namespace vellora::protocol {
namespace {

using testing::Faults;
using Events = std::vector<std::string>;

const link::Endpoint kSim{link::EndpointKind::Sim, "", "", 0};

// The session, its front end's parts and the device; the port factory knows only "sim", and
// only while has_port is set.
struct Rig {
    explicit Rig(int latencyMs) : processor(clock, Options(latencyMs)) {
        session.SetViews({&view, &view, &view, &view});
    }
    static device::ProcessorOptions Options(int latencyMs) {
        device::ProcessorOptions options;
        options.ReplyLatencyMs = latencyMs;
        return options;
    }

    model::VirtualClock clock;
    device::SimulatedProcessor processor;
    VirtualWait wait{clock};
    model::Workspace ws;
    testing::ScriptedPrompts prompts;
    testing::RecordingView view;
    bool has_port = true;
    LinkSession session{
        ws, wait, prompts,
        [this](const link::Endpoint& endpoint, model::Clock&) -> std::unique_ptr<link::HidPort> {
            if (!has_port || endpoint.Kind != link::EndpointKind::Sim) return nullptr;
            return std::make_unique<device::SimulatedPort>(processor);
        }};
};

// Inside the reply time-out the device links up, its answer time is measured, and the
// synchronisation fills the store and refreshes the windows through the views.
TEST(LinkSessionTest, LinksUpAndSynchronisesInsideTheTimeOut) {
    for (const int latency : {2, 580}) {
        SCOPED_TRACE(latency);
        auto rig = std::make_unique<Rig>(latency);
        ASSERT_EQ(rig->processor.State().SetCurrentMode(7), device::DeviceError::Ok);
        rig->processor.State().Working().SetValueAt(model::entry::kMasterSlider0, 0, 33);
        ASSERT_EQ(rig->session.Open(kSim), LinkSession::OpenResult::Ok);
        ASSERT_EQ(rig->session.LinkUp(), LinkSession::LinkUpResult::Ok);
        EXPECT_GE(rig->session.IdentifiedAfterMs(), latency);
        EXPECT_LT(rig->session.IdentifiedAfterMs(), 600);
        EXPECT_EQ(rig->view.connect_status, 1);
        EXPECT_TRUE(rig->session.Supervisor().LinkTickTimer().IsActive()) << "keep-alive";
        EXPECT_FALSE(rig->session.Link().StartSyncRequested()) << "the caller synchronises";

        EXPECT_EQ(rig->session.Synchronise(), CommandStatus::Ok);
        EXPECT_EQ(rig->session.Link().CurrentMode(), 7);
        EXPECT_EQ(rig->ws.ParamStore.ValueAt(model::entry::kMasterSlider0, 0), 33);
        EXPECT_EQ(rig->view.events,
                  (Events{"BeginBulk", "SetMasterLimits", "FullRefresh", "EndBulk", "ClearUndo"}));
        EXPECT_EQ(rig->session.Channel().Counters().Transmissions, 17u) << "no retransmission";
        rig->processor.SendToneKey();
        rig->clock.AdvanceBy(20);
        EXPECT_EQ(rig->view.tone_resets, 1);
        EXPECT_TRUE(rig->prompts.Messages().empty());
    }
}

// A device that takes the reply time-out or longer to identify itself is refused at link-up;
// a silent one after 5 s and two search frames; an endpoint without a port or device at once.
TEST(LinkSessionTest, SlowSilentAndMissingDevices) {
    for (const int latency : {600, 700, 1500}) {
        SCOPED_TRACE(latency);
        auto rig = std::make_unique<Rig>(latency);
        ASSERT_EQ(rig->session.Open(kSim), LinkSession::OpenResult::Ok);
        EXPECT_EQ(rig->session.LinkUp(), LinkSession::LinkUpResult::TooSlow);
        EXPECT_GE(rig->session.IdentifiedAfterMs(), latency);
        EXPECT_LT(rig->session.IdentifiedAfterMs(), latency + 20);
    }

    auto rig = std::make_unique<Rig>(2);
    rig->processor.SetFaults(Faults("silent"));
    ASSERT_EQ(rig->session.Open(kSim), LinkSession::OpenResult::Ok);
    const std::int64_t start = rig->clock.NowMs();
    EXPECT_EQ(rig->session.LinkUp(), LinkSession::LinkUpResult::Silent);
    EXPECT_EQ(rig->clock.NowMs() - start, LinkSession::kLinkUpTimeoutMs);
    EXPECT_EQ(rig->processor.FrameLog().size(), 2u) << "a search at 0 and one at 2.5 s";

    rig = std::make_unique<Rig>(2);
    rig->has_port = false;
    EXPECT_EQ(rig->session.Open(kSim), LinkSession::OpenResult::NoPort);
    EXPECT_EQ(rig->session.LinkUp(), LinkSession::LinkUpResult::DeviceGone);
    rig->has_port = true;
    EXPECT_EQ(rig->session.Open({link::EndpointKind::Unix, "/x", "", 0}),
              LinkSession::OpenResult::NoPort);
    EXPECT_EQ(rig->session.PortError(), link::LinkError::NotFound);
}

// A port that only records what the session asked it to open.
class MatchRecorder : public link::HidPort {
public:
    explicit MatchRecorder(std::vector<link::DeviceMatch>& asked) : asked_(asked) {}
    link::LinkError Open(const link::DeviceMatch& match) override {
        asked_.push_back(match);
        return link::LinkError::NotFound;
    }
    bool IsOpen() const override { return false; }
    int OutputReportLength() const override { return 65; }
    link::LinkError WriteReport(std::span<const std::uint8_t>) override { return link::LinkError::NotOpen; }
    link::LinkError SendFeatureReport(std::span<const std::uint8_t>) override {
        return link::LinkError::NotOpen;
    }
    void Close() override {}

private:
    std::vector<link::DeviceMatch>& asked_;
};

// "auto" looks for the processor itself, "bridge" for its USB-HID bridge chip, whose reports
// carry no id.
TEST(LinkSessionTest, TheEndpointChoosesTheUsbDeviceLookedFor) {
    const struct {
        link::EndpointKind kind;
        std::uint16_t vendor, product;
        bool numbered;
    } cases[] = {{link::EndpointKind::Auto, 0x0483, 0x5750, true},
                 {link::EndpointKind::Bridge, 0x1A86, 0xE010, false}};
    for (const auto& c : cases) {
        model::VirtualClock clock;
        VirtualWait wait{clock};
        model::Workspace ws;
        testing::ScriptedPrompts prompts;
        std::vector<link::DeviceMatch> asked;
        LinkSession session(ws, wait, prompts, [&](const link::Endpoint&, model::Clock&) {
            return std::make_unique<MatchRecorder>(asked);
        });
        EXPECT_EQ(session.Open({c.kind, "", "", 0}), LinkSession::OpenResult::NoDevice);
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked.front().VendorId, c.vendor);
        EXPECT_EQ(asked.front().ProductId, c.product);
        EXPECT_EQ(asked.front().NumberedReports, c.numbered);
    }
}

}  // namespace
}  // namespace vellora::protocol
