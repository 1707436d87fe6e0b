// Test helpers: a simulated processor on a virtual clock whose output is collected, command
// frames written from their header and payload, golden bytes written as hex text, and runs of
// arrivals with the answer expected for each.
#pragma once

#include <cstdint>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "device/simulated_processor.h"
#include "device/state_file.h"
#include "model/clock.h"
#include "protocol/wire_format.h"

namespace vellora::device::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Hex(std::string_view text) {
    Bytes out;
    std::istringstream in{std::string(text)};
    std::string token;
    while (in >> token) out.push_back(static_cast<std::uint8_t>(std::stoul(token, nullptr, 16)));
    return out;
}

/// A terminal frame: FE, command, three header bytes, length, payload, checksum.
inline Bytes CommandFrame(std::uint8_t command, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4,
                          const Bytes& payload = {0x23, 0x23}) {
    Bytes frame;
    frame.reserve(payload.size() + 7);
    for (std::uint8_t b :
         {std::uint8_t{0xFE}, command, b2, b3, b4, static_cast<std::uint8_t>(payload.size() + 7)})
        frame.push_back(b);
    for (std::uint8_t b : payload) frame.push_back(b);
    frame.push_back(protocol::FrameChecksum(frame));
    return frame;
}

/// The link search frame: command 250 with "YOP_CTRL".
inline const Bytes kSearch = Hex("FE FA 23 23 23 0F 59 4F 50 5F 43 54 52 4C FC");
/// Command 9, the current-mode query, and its answer from a factory device (mode 0).
inline const Bytes kModeQuery = Hex("FE 09 23 23 23 09 23 23 BF");
inline const Bytes kModeReply = Hex("FE 05 09 00 0C");

/// The payload of a reply frame (without FE, length and checksum).
inline Bytes Payload(const Bytes& reply) {
    return reply.size() < 3 ? Bytes{} : Bytes(reply.begin() + 2, reply.end() - 1);
}

/// Processor options with a fault text as vellora-sim takes it ("" = no fault).
inline ProcessorOptions Options(std::string_view faults, char variant = 'A', int latency_ms = 2) {
    ProcessorOptions options{variant, latency_ms, {}};
    EXPECT_TRUE(faults.empty() || ApplyFaultText(faults, options.Faults).Ok) << faults;
    return options;
}

/// The device with its output collected, started, on its own virtual clock.
class DeviceHarness {
public:
    explicit DeviceHarness(ProcessorOptions options = {}) : device(clock, std::move(options)) {
        Wire();
    }
    DeviceHarness(ProcessorState state, ProcessorOptions options = {})
        : device(clock, std::move(state), std::move(options)) {
        Wire();
    }

    /// Sends bytes and lets 50 ms pass; returns everything the device sent meanwhile.
    Bytes Ask(const Bytes& bytes, std::int64_t wait_ms = 50) {
        sent.clear();
        device.Receive(bytes);
        clock.AdvanceBy(wait_ms);
        Bytes all;
        for (const auto& chunk : sent) all.insert(all.end(), chunk.begin(), chunk.end());
        return all;
    }

    model::VirtualClock clock;
    SimulatedProcessor device;
    std::vector<Bytes> sent;  ///< one entry per output call
    std::vector<std::int64_t> sent_at;

private:
    void Wire() {
        device.SetOutputHandler([this](std::span<const std::uint8_t> b) {
            sent.emplace_back(b.begin(), b.end());
            sent_at.push_back(clock.NowMs());
        });
        device.Start();
    }
};

/// One arrival, the answer expected for it as hex text ("" = no answer), and whether the
/// device's stored state must stay as it was (a refused or read-only request).
struct Step {
    Bytes Send;
    std::string_view Reply;
    bool Keeps = false;
};

/// Sends the steps in order to one device, 10 ms apart (up to 99 steps fit between its
/// keep-alive bytes); a mismatch names the case and the step.
inline void RunSteps(DeviceHarness& h, const std::vector<Step>& steps, std::string_view name) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Bytes before = steps[i].Keeps ? EncodeState(h.device.State()) : Bytes{};
        EXPECT_EQ(h.Ask(steps[i].Send, 10), Hex(steps[i].Reply)) << name << ", step " << i;
        if (steps[i].Keeps) {
            EXPECT_EQ(EncodeState(h.device.State()), before) << name << ", step " << i;
        }
    }
}

}  // namespace vellora::device::testing
