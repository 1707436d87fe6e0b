// The simulated processor: the device's side of the control protocol, as its firmware does it.
// It takes the bytes the terminal sends, acts on each command frame, and answers with reply
// frames after a short latency on an injected clock; it sends keep-alive bytes once a second
// and the tone-key byte on request, and can be told to show faults.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <span>
#include <vector>

#include "device/command_reader.h"
#include "device/device_error.h"
#include "device/fault_plan.h"
#include "device/processor_state.h"
#include "model/clock.h"

namespace vellora::device {

/// Reply payload byte 1 of a command the device refuses (wrong password, bad request); an
/// accepted one carries protocol::kAccepted.
inline constexpr std::uint8_t kRefused = 'N';

struct ProcessorOptions {
    char Variant = 'A';      ///< identification letter, A..Z
    int ReplyLatencyMs = 2;  ///< delay of every answer on the clock, >= 0
    FaultPlan Faults;
};

/// What the processor saw and did since it was made.
struct ProcessorCounters {
    std::uint64_t FramesReceived = 0;  ///< frames with a good checksum
    std::uint64_t FramesAnswered = 0;
    std::uint64_t FramesIgnored = 0;  ///< good frames a fault kept from being acted on
    std::uint64_t BadChecksum = 0;    ///< frames dropped for their checksum
    std::uint64_t BadLength = 0;      ///< frames dropped for a length byte under 7
    std::uint64_t StrayBytes = 0;     ///< bytes outside any frame
    std::uint64_t KeepAlivesReceived = 0;
    std::uint64_t KeepAlivesSent = 0;  ///< own ones and echoes
    std::uint64_t AnswersDropped = 0;  ///< answers not queued: kMaxPendingAnswers were waiting
};

/// One good frame as received.
struct FrameRecord {
    std::int64_t AtMs = 0;            ///< clock time of arrival
    std::vector<std::uint8_t> Bytes;  ///< the whole frame
    bool Answered = false;
};

class SimulatedProcessor {
public:
    static constexpr int kKeepAliveIntervalMs = 1000;
    static constexpr std::size_t kFrameLogLimit = 4096;  ///< oldest records are dropped
    /// Most answers waiting for their latency at once; a terminal that sends faster than the
    /// device answers loses the answers beyond, as a device's full output buffer does.
    static constexpr std::size_t kMaxPendingAnswers = 256;
    static constexpr std::int32_t kNoKeyShift = 5;       ///< key shift after a tone-key byte

    /// Receives the bytes the device sends: one call per reply frame or single byte, always
    /// from a clock callback, never from inside Receive.
    using OutputHandler = std::function<void(std::span<const std::uint8_t> bytes)>;

    /// The clock must outlive the processor. Factory state.
    explicit SimulatedProcessor(model::Clock& clock, ProcessorOptions options = {});
    SimulatedProcessor(model::Clock& clock, ProcessorState state, ProcessorOptions options = {});
    ~SimulatedProcessor();
    SimulatedProcessor(const SimulatedProcessor&) = delete;
    SimulatedProcessor& operator=(const SimulatedProcessor&) = delete;

    void SetOutputHandler(OutputHandler handler) { output_ = std::move(handler); }
    /// Called (from a clock callback) when the unplug fault fires; the port then goes away.
    void SetUnplugHandler(std::function<void()> handler) { unplug_ = std::move(handler); }
    /// Called after every change the device made to its state by itself or on a command
    /// (not for changes made through State() by the owner).
    void SetChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

    /// A terminal is attached: keep-alive bytes start, bytes are taken and answered.
    void Start();
    /// The terminal has gone: answers not yet sent are dropped, a half frame is forgotten,
    /// accepted passwords are forgotten, keep-alives stop. Harmless when stopped.
    void Stop();
    [[nodiscard]] bool IsRunning() const { return running_; }

    /// The data bytes the terminal sent, in order, split anywhere. Ignored while stopped.
    void Receive(std::span<const std::uint8_t> bytes);

    /// Sends the tone-key byte 0xFD (at once, on the clock) and sets the key shift (2598) back
    /// to no shift, as the device does when its key is reset on the panel. Nothing while stopped.
    void SendToneKey();

    [[nodiscard]] model::Clock& GetClock() { return clock_; }

    [[nodiscard]] ProcessorState& State() { return state_; }
    [[nodiscard]] const ProcessorState& State() const { return state_; }

    [[nodiscard]] char Variant() const { return variant_; }
    /// One letter A..Z, else BadVariant and no change.
    [[nodiscard]] DeviceError SetVariant(char letter);

    [[nodiscard]] const FaultPlan& Faults() const { return faults_; }
    /// Replaces the fault plan; the frame counts of the plan start again from 0.
    void SetFaults(FaultPlan faults);

    [[nodiscard]] int ReplyLatencyMs() const { return latency_ms_; }
    void SetReplyLatencyMs(int ms) { latency_ms_ = ms < 0 ? 0 : ms; }

    /// True while the administrator (panel) password has been accepted by a check or change
    /// of this session and not closed since.
    [[nodiscard]] bool AdministratorVerified() const { return admin_verified_; }
    [[nodiscard]] bool PanelVerified() const { return panel_verified_; }

    [[nodiscard]] const ProcessorCounters& Counters() const { return counters_; }
    [[nodiscard]] const std::deque<FrameRecord>& FrameLog() const { return log_; }
    void ClearFrameLog() { log_.clear(); }

    /// The reply frame around `payload` (at most 249 bytes): FE, length, payload, checksum.
    [[nodiscard]] static std::vector<std::uint8_t> ReplyFrame(
        std::span<const std::uint8_t> payload);

private:
    struct Answer {
        std::vector<std::uint8_t> Payload;
        bool Block = false;  // a block read: the block-length fault applies
    };

    void OnFrame(std::span<const std::uint8_t> frame);
    [[nodiscard]] bool Handle(std::span<const std::uint8_t> frame, Answer& answer);
    [[nodiscard]] bool HandleBlock(std::uint8_t command, std::uint8_t field, std::uint8_t kind,
                                   std::uint8_t address, std::span<const std::uint8_t> payload,
                                   Answer& answer);
    [[nodiscard]] bool HandleWriteParam(std::uint8_t scene, int index,
                                        std::span<const std::uint8_t> payload, Answer& answer);
    [[nodiscard]] bool HandlePassword(std::uint8_t slot, std::uint8_t operation,
                                      std::span<const std::uint8_t> digits, Answer& answer);
    [[nodiscard]] std::vector<std::uint8_t> Identification() const;
    void SendReply(Answer answer);
    void Emit(std::vector<std::uint8_t> bytes, std::int64_t delayMs);
    void KeepAliveTick();
    void NoteChange();
    void CancelPending();

    model::Clock& clock_;
    ProcessorState state_;
    char variant_ = 'A';
    int latency_ms_ = 2;
    FaultPlan faults_;
    // Counts of the fault plan, from when it was set.
    std::uint64_t plan_answered_ = 0;
    int bad_checksums_left_ = 0;
    bool unplug_done_ = false;
    std::vector<std::uint8_t> repeat_frame_;
    int repeat_count_ = 0;

    bool running_ = false;
    bool admin_verified_ = false;
    bool panel_verified_ = false;
    CommandReader reader_;
    model::RepeatingTimer keep_alive_;
    std::map<std::uint64_t, model::TimerId> pending_;
    std::uint64_t next_pending_ = 0;

    ProcessorCounters counters_;
    std::deque<FrameRecord> log_;
    OutputHandler output_;
    std::function<void()> unplug_;
    std::function<void()> changed_;
};

}  // namespace vellora::device
