// Trace lines: "<seconds> <arrow> <report id> <count> | <decoder text>", plus open, close,
// lost and failure lines. The report layout (id, count, data) is read here; what the data
// bytes mean is the decoder's.
#include "link/tracing_port.h"

#include <cstdio>

namespace vellora::link {

namespace {

constexpr const char* kHeader =
    "# Vellora HID trace: seconds since the start; -> terminal to device, <- device to terminal";

void AppendHex(std::string& out, std::uint8_t b) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
}

std::string HexBytes(std::span<const std::uint8_t> bytes) {
    std::string s;
    for (const std::uint8_t b : bytes) {
        if (!s.empty()) s += ' ';
        AppendHex(s, b);
    }
    return s;
}

std::string Ids(const DeviceMatch& match) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X:%04X", static_cast<unsigned>(match.VendorId),
                  static_cast<unsigned>(match.ProductId));
    return text;
}

}  // namespace

TracingPort::TracingPort(HidPort& inner, model::Clock& clock, TraceSink& sink, TraceDecoder decoder)
    : inner_(inner),
      clock_(clock),
      sink_(sink),
      decoder_(std::move(decoder)),
      start_ms_(clock.NowMs()) {
    inner_.SetListener(this);
    sink_.WriteLine(kHeader);
}

TracingPort::TracingPort(HidPort& inner, model::Clock& clock, std::unique_ptr<TraceSink> sink,
                         TraceDecoder decoder)
    : inner_(inner),
      clock_(clock),
      own_sink_(std::move(sink)),
      sink_(*own_sink_),
      decoder_(std::move(decoder)),
      start_ms_(clock.NowMs()) {
    inner_.SetListener(this);
    sink_.WriteLine(kHeader);
}

TracingPort::~TracingPort() {
    inner_.SetListener(nullptr);
}

void TracingPort::Line(const std::string& text) {
    const std::int64_t ms = clock_.NowMs() - start_ms_;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%5lld.%03lld ", static_cast<long long>(ms / 1000),
                  static_cast<long long>(ms % 1000));
    sink_.WriteLine(stamp + text);
}

std::string TracingPort::ReportText(bool toDevice, std::span<const std::uint8_t> report) {
    std::string text = toDevice ? "-> " : "<- ";
    if (report.size() < 2) {
        // Only a report of 0 or 1 bytes gets here.
        return text + HexBytes(report) + " | malformed report of " + std::to_string(report.size()) +
               (report.size() == 1 ? " byte" : " bytes") + ", no count; dropped";
    }
    text += HexBytes(report.first(2)) + " | ";
    const std::size_t count = report[1];
    const std::span<const std::uint8_t> data = report.subspan(2);
    if (count == 0) return text + "empty report";
    if (count > data.size()) {
        // UsbComm drops such a report: the decoder does not see it either.
        return text + HexBytes(data) + " | truncated report: count " + std::to_string(count) +
               ", only " + std::to_string(data.size()) + " data bytes; dropped";
    }
    return text + (decoder_ ? decoder_(toDevice, data.first(count)) : HexBytes(data.first(count)));
}

LinkError TracingPort::Open(const DeviceMatch& match) {
    const LinkError result = inner_.Open(match);
    const std::pair<DeviceMatch, LinkError> answer{match, result};
    if (result == LinkError::None) {
        Line("open " + Ids(match));
    } else if (answer != last_open_) {
        Line("open " + Ids(match) + " failed: " + LinkErrorText(result));
    }
    last_open_ = answer;
    return result;
}

LinkError TracingPort::WriteReport(std::span<const std::uint8_t> report) {
    Line(ReportText(true, report));
    const LinkError result = inner_.WriteReport(report);
    if (result != LinkError::None) Line(std::string("!! write failed: ") + LinkErrorText(result));
    return result;
}

LinkError TracingPort::SendFeatureReport(std::span<const std::uint8_t> report) {
    Line("=> feature report " + HexBytes(report));
    const LinkError result = inner_.SendFeatureReport(report);
    if (result != LinkError::None) {
        Line(std::string("!! feature report failed: ") + LinkErrorText(result));
    }
    return result;
}

void TracingPort::Close() {
    if (inner_.IsOpen()) Line("close");
    inner_.Close();
}

void TracingPort::InputReport(std::span<const std::uint8_t> report) {
    Line(ReportText(false, report));
    InputReportArrived(report);
}

void TracingPort::PortLost(LinkError reason) {
    Line(std::string("lost: ") + LinkErrorText(reason));
    DeviceLost(reason);
}

TraceAttachment AttachTrace(HidPort& inner, const std::string& path, model::Clock& clock,
                            TraceDecoder decoder) {
    TraceAttachment attachment;
    std::unique_ptr<TraceFile> file = TraceFile::Open(path, attachment.Error);
    if (!file) return attachment;
    attachment.Port =
        std::make_unique<TracingPort>(inner, clock, std::move(file), std::move(decoder));
    return attachment;
}

namespace {

// The wrapped port outlives the tracer: it is a base declared before it.
struct InnerPort {
    std::unique_ptr<HidPort> inner;
};

class OwningTracingPort : private InnerPort, public TracingPort {
public:
    OwningTracingPort(std::unique_ptr<HidPort> port, model::Clock& clock,
                      std::unique_ptr<TraceSink> sink, TraceDecoder decoder)
        : InnerPort{std::move(port)},
          TracingPort(*inner, clock, std::move(sink), std::move(decoder)) {}
};

}  // namespace

std::unique_ptr<HidPort> TraceOwnedPort(std::unique_ptr<HidPort> inner, const std::string& path,
                                        model::Clock& clock, TraceDecoder decoder,
                                        std::string& error) {
    if (!inner) return nullptr;
    std::unique_ptr<TraceFile> file = TraceFile::Open(path, error);
    if (!file) return nullptr;
    return std::make_unique<OwningTracingPort>(std::move(inner), clock, std::move(file),
                                               std::move(decoder));
}

}  // namespace vellora::link
