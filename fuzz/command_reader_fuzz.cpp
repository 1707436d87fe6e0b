// Fuzzes the simulated processor's side of the link: byte streams of noise and well-made
// command frames, split anywhere, through the command reader and the processor on a virtual
// clock, with the faults it can show. Everything the device sends must be a keep-alive or
// tone-key byte or a whole reply frame.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "device/command_reader.h"
#include "device/fault_plan.h"
#include "device/processor_state.h"
#include "device/simulated_processor.h"
#include "model/clock.h"
#include "protocol/wire_format.h"

namespace {

using namespace vellora;

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// Fault plans picked by the first input byte (modulo their count).
constexpr std::array<std::string_view, 12> kFaults{
    "",
    "",
    "silent",
    "answer-from=2",
    "stop-after=3",
    "bad-checksum",
    "bad-checksum=1",
    "no-keepalive",
    "unplug-after=2",
    "block-length=7",
    "block-length=-9",
    "tag=ABCDEFGH",
};

// The stream is made of segments, each opened by a tag byte t:
//   0      the terminal goes and another one comes (Stop, Start)
//   1      the tone key is pressed on the panel
//   2..31  t bytes copied as they stand (noise, keep-alives, halves of frames)
//   32..63 t - 32 bytes copied, then the checksum of the stream from its last 0xFE: frames
//          with any length byte, or none, that still add up
//   64..   a command frame with t - 64 payload bytes: command and three header bytes, then
//          the payload; every byte is taken modulo 253 and the length and checksum are right
enum : uint8_t { kReconnect = 0, kToneKey = 1, kFirstSummedTag = 32, kFirstFrameTag = 64 };

// Keep-alive or tone-key byte alone, or FE, length, payload below 253, checksum.
void CheckDeviceOutput(std::span<const uint8_t> out, bool checksumsMayBeWrong) {
    Check(!out.empty());
    if (out.size() == 1) {
        Check(out[0] == protocol::KeepAliveByte || out[0] == protocol::ToneKeyByte);
        return;
    }
    Check(out.size() >= protocol::kMinReplyLength && out.size() <= protocol::kMaxReplyLength);
    Check(out[0] == protocol::kFrameStart && out[1] == out.size());
    for (std::size_t i = 1; i < out.size(); ++i) Check(out[i] <= protocol::kMaxDataByte);
    if (!checksumsMayBeWrong)
        Check(out.back() == protocol::FrameChecksum(out.first(out.size() - 1)));
}

// What the reader hands on is a whole frame with its own length and a good checksum.
void CheckReader(device::CommandReader& reader, std::span<const uint8_t> bytes) {
    for (const uint8_t b : bytes) {
        const device::CommandReader::Event event = reader.Push(b);
        const std::span<const uint8_t> frame = reader.Frame();
        if (event != device::CommandReader::Event::Frame) {
            Check(frame.empty());
            continue;
        }
        Check(frame.size() >= device::CommandReader::kMinFrameLength);
        Check(frame[0] == protocol::kFrameStart && frame[5] == frame.size());
        for (std::size_t i = 1; i < frame.size(); ++i) Check(frame[i] <= protocol::kMaxDataByte);
        Check(frame.back() == protocol::FrameChecksum(frame.first(frame.size() - 1)));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    static model::VirtualClock clock;
    static device::SimulatedProcessor processor(clock);
    static const device::ProcessorState factory;
    static bool changed = false;
    static bool checksumsMayBeWrong = false;
    static std::size_t outputs = 0;
    static bool wired = [] {
        processor.SetOutputHandler([](std::span<const uint8_t> out) {
            CheckDeviceOutput(out, checksumsMayBeWrong);
            ++outputs;
        });
        processor.SetChangeHandler([] { changed = true; });
        return true;
    }();
    (void)wired;

    // A fresh session on the factory state with the plan, variant and latency of byte 0.
    const uint8_t setup = data[0];
    const std::size_t chunk = 1 + data[1] % 80;
    device::FaultPlan plan;
    const std::string_view faults = kFaults[setup % kFaults.size()];
    Check(faults.empty() || device::ApplyFaultText(faults, plan).Ok);
    checksumsMayBeWrong = plan.BadChecksumReplies != 0;
    processor.Stop();
    if (changed) processor.State() = factory;
    changed = false;
    processor.SetFaults(plan);
    Check(processor.SetVariant(static_cast<char>('A' + setup % 26)) == device::DeviceError::Ok);
    processor.SetReplyLatencyMs(setup >> 6);
    processor.ClearFrameLog();
    processor.SetUnplugHandler([] { processor.Stop(); });
    processor.Start();
    const device::ProcessorCounters before = processor.Counters();
    outputs = 0;

    // The stream as the terminal sends it.
    static std::vector<uint8_t> stream;
    stream.clear();
    std::size_t at = 2;
    auto deliver = [&] {
        for (std::size_t i = 0; i < stream.size(); i += chunk) {
            const std::size_t n = std::min(chunk, stream.size() - i);
            processor.Receive(std::span(stream).subspan(i, n));
            clock.AdvanceBy(static_cast<int64_t>(stream[i] % 4));
        }
        static device::CommandReader reader;
        reader.Reset();
        CheckReader(reader, stream);
        stream.clear();
    };
    uint64_t toneKeys = 0;
    bool reconnected = false;
    while (at < size) {
        const uint8_t tag = data[at++];
        if (tag == kReconnect || tag == kToneKey) {
            deliver();
            if (tag == kReconnect) {
                processor.Stop();
                processor.Start();
                reconnected = true;
            } else if (processor.IsRunning()) {
                processor.SendToneKey();
                ++toneKeys;
            }
        } else if (tag < kFirstFrameTag) {
            const std::size_t n = std::min<std::size_t>(
                tag < kFirstSummedTag ? tag : tag - kFirstSummedTag, size - at);
            stream.insert(stream.end(), data + at, data + at + n);
            at += n;
            if (tag >= kFirstSummedTag) {
                const auto start = std::find(stream.rbegin(), stream.rend(), protocol::kFrameStart);
                const std::size_t from = start == stream.rend()
                                             ? 0
                                             : static_cast<std::size_t>(stream.rend() - start) - 1;
                stream.push_back(protocol::FrameChecksum(std::span(stream).subspan(from)));
            }
        } else {
            // FE, command, three header bytes, length, payload, checksum
            const std::size_t length =
                tag - kFirstFrameTag + device::CommandReader::kMinFrameLength;
            const std::size_t first = stream.size();
            stream.push_back(protocol::kFrameStart);
            for (std::size_t i = 1; i + 1 < length; ++i) {
                uint8_t b = static_cast<uint8_t>(length);
                if (i != 5) b = at < size ? data[at++] % (protocol::kMaxDataByte + 1) : 0x23;
                stream.push_back(b);
            }
            stream.push_back(protocol::FrameChecksum(std::span(stream).subspan(first)));
        }
    }
    deliver();
    clock.AdvanceBy(2500);  // every answer out, and two keep-alive bytes

    const device::ProcessorCounters& after = processor.Counters();
    const uint64_t received = after.FramesReceived - before.FramesReceived;
    const uint64_t answered = after.FramesAnswered - before.FramesAnswered;
    Check(answered + (after.FramesIgnored - before.FramesIgnored) <= received);
    // Every answer, keep-alive and tone key counted went out, unless the terminal left while
    // some were on their way.
    const uint64_t sent = answered + (after.KeepAlivesSent - before.KeepAlivesSent) + toneKeys;
    if (reconnected || plan.UnplugAfterFrames != device::FaultPlan::kNever)
        Check(outputs <= sent);
    else
        Check(outputs == sent);
    if (plan.Silent) Check(answered == 0);
    return 0;
}
