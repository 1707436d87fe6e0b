// The HID trace: a HidPort that passes everything through to another port and writes one line
// per report, both ways, with its time, the report in hex and what it means, to a sink.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "link/hid_port.h"
#include "link/trace_file.h"
#include "model/clock.h"

namespace vellora::link {

/// Text for the data bytes of one report (its count byte and padding already taken off):
/// the bytes in hex and what they mean. The protocol layer gives the real one
/// (protocol::ReportDescriber); it is called once per report, in the order the reports pass.
using TraceDecoder = std::function<std::string(bool toDevice, std::span<const std::uint8_t> data)>;

class TracingPort : public HidPort, private HidPortListener {
public:
    /// `inner`, `clock` and `sink` must outlive the port. The tracing port becomes the inner
    /// port's listener: the inner port is used through it only. Times are milliseconds of
    /// `clock` since construction, shown as seconds.
    TracingPort(HidPort& inner, model::Clock& clock, TraceSink& sink, TraceDecoder decoder);
    /// The same, owning its sink.
    TracingPort(HidPort& inner, model::Clock& clock, std::unique_ptr<TraceSink> sink,
                TraceDecoder decoder);
    ~TracingPort() override;

    /// Traced: a successful open, and a failed one when its answer differs from the last.
    [[nodiscard]] LinkError Open(const DeviceMatch& match) override;
    [[nodiscard]] bool IsOpen() const override { return inner_.IsOpen(); }
    [[nodiscard]] int OutputReportLength() const override { return inner_.OutputReportLength(); }
    /// The report is traced before it is written, so that input the inner port hands over
    /// from inside the write comes after it in the trace.
    [[nodiscard]] LinkError WriteReport(std::span<const std::uint8_t> report) override;
    [[nodiscard]] LinkError SendFeatureReport(std::span<const std::uint8_t> report) override;
    void Close() override;

private:
    void InputReport(std::span<const std::uint8_t> report) override;
    void PortLost(LinkError reason) override;

    void Line(const std::string& text);
    [[nodiscard]] std::string ReportText(bool toDevice, std::span<const std::uint8_t> report);

    HidPort& inner_;
    model::Clock& clock_;
    std::unique_ptr<TraceSink> own_sink_;
    TraceSink& sink_;
    TraceDecoder decoder_;
    std::int64_t start_ms_;
    std::optional<std::pair<DeviceMatch, LinkError>> last_open_;
};

/// A traced port and why there is none.
struct TraceAttachment {
    std::unique_ptr<TracingPort> Port;  ///< null when the file cannot be written
    std::string Error;                  ///< one English line naming the file; empty on success
};

/// Opens (and empties) the trace file at `path` and wraps `inner` in a TracingPort that owns
/// it. The program then uses the returned port instead of `inner`, which must outlive it.
[[nodiscard]] TraceAttachment AttachTrace(HidPort& inner, const std::string& path,
                                          model::Clock& clock, TraceDecoder decoder);

/// The same for a port factory's port: the traced port owns `inner`. Null, with `error` set,
/// when the trace file cannot be written.
[[nodiscard]] std::unique_ptr<HidPort> TraceOwnedPort(std::unique_ptr<HidPort> inner,
                                                      const std::string& path, model::Clock& clock,
                                                      TraceDecoder decoder, std::string& error);

}  // namespace vellora::link
