// Test helpers: a simulated processor on a virtual clock whose output is collected, command
// frames written from their header and payload, and golden bytes written as hex text.
#pragma once

#include <cstdint>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "device/simulated_processor.h"
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
    for (std::uint8_t b : {std::uint8_t{0xFE}, command, b2, b3, b4,
                           static_cast<std::uint8_t>(payload.size() + 7)})
        frame.push_back(b);
    for (std::uint8_t b : payload) frame.push_back(b);
    frame.push_back(protocol::FrameChecksum(frame));
    return frame;
}

inline Bytes SearchFrame() {
    const auto f = protocol::LinkSearchFrame();
    return {f.begin(), f.end()};
}

inline ProcessorOptions WithVariant(char letter) {
    ProcessorOptions options;
    options.Variant = letter;
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
        return Joined();
    }
    Bytes Joined() const {
        Bytes all;
        for (const auto& chunk : sent) all.insert(all.end(), chunk.begin(), chunk.end());
        return all;
    }

    model::VirtualClock clock;
    SimulatedProcessor device;
    std::vector<Bytes> sent;  ///< one entry per output call
    std::vector<std::int64_t> sent_at;
    int unplugs = 0;

private:
    void Wire() {
        device.SetOutputHandler([this](std::span<const std::uint8_t> b) {
            sent.emplace_back(b.begin(), b.end());
            sent_at.push_back(clock.NowMs());
        });
        device.SetUnplugHandler([this] { ++unplugs; });
        device.Start();
    }
};

}  // namespace vellora::device::testing
