// The link of one device command: the link session with the command line's prompts and
// progress, its failures as one line on stderr.
#include "cli/device_session.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <cstdio>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "cli/output_file.h"
#include "device/device_port_factory.h"
#include "link/link_error.h"
#include "link/tracing_port.h"
#include "model/comma_fields.h"
#include "protocol/frame_description.h"
#include "protocol/password_window.h"
#include "protocol/wire_format.h"

namespace vellora::cli {

namespace {

bool StderrIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// Bytes a device sent, quoted for an error line: printable ASCII as it is, anything else
// (escape sequences above all) as \xNN; at most 16 bytes.
std::string Quoted(std::span<const uint8_t> bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "\"";
    for (std::size_t i = 0; i < bytes.size() && i < 16; ++i) {
        const uint8_t b = bytes[i];
        if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
            text += static_cast<char>(b);
        } else {
            text += "\\x";
            text += kHex[b >> 4];
            text += kHex[b & 0xF];
        }
    }
    return text + (bytes.size() > 16 ? "...\"" : "\"");
}

// The trace file is checked as every file a command writes, before any work: it opens
// emptied, so it may not be one of the command's own files (the settings file given to push
// would be lost), by any name, whether that file exists yet or not.
std::optional<std::string> TracePathProblem(const std::string& trace,
                                            const std::vector<std::string>& files) {
    if (auto problem = OutputPathProblem(trace)) return problem;
    const QFileInfo info(QString::fromStdString(trace));
    for (const std::string& file : files) {
        const QFileInfo other(QString::fromStdString(file));
        const bool sameName =
            QDir::cleanPath(other.absoluteFilePath()) == QDir::cleanPath(info.absoluteFilePath());
        const bool sameFile = info.exists() && other.exists() &&
                              other.canonicalFilePath() == info.canonicalFilePath();
        if (sameName || sameFile)
            return trace + " is the command's own file " + file + "; trace to another file";
    }
    const QFileInfo target = info.exists() ? info : QFileInfo(info.absolutePath());
    if (!target.isWritable()) return "cannot write the trace file " + trace;
    return std::nullopt;
}

bool IsSocket(const link::Endpoint& endpoint) {
    return endpoint.Kind == link::EndpointKind::Unix || endpoint.Kind == link::EndpointKind::Tcp;
}

}  // namespace

bool ReadDeviceOptions(const ParsedArgs& parsed, DeviceOptions& options, std::string& error) {
    const std::string device = parsed.Value(kDeviceOption.name).value_or("auto");
    const link::EndpointParse endpoint = link::ParseEndpoint(device);
    if (!endpoint.Ok()) {
        error = "--device " + device + ": " + endpoint.Message;
        return false;
    }
    options.Endpoint = endpoint.Value;
    options.TracePath = parsed.Value(kTraceOption.name).value_or("");
    if (parsed.Has(kTraceOption.name) && options.TracePath.empty()) {
        error = "--trace needs a file name";  // not taken as no trace at all
        return false;
    }
    options.Passwords.clear();
    if (const auto given = parsed.Value(kPasswordOption.name)) {
        for (const std::string_view field : model::SplitCommas(*given)) {
            const std::string digits(field);
            const bool allDigits =
                !digits.empty() && std::all_of(digits.begin(), digits.end(),
                                               [](char c) { return c >= '0' && c <= '9'; });
            if (!allDigits || (digits.size() != protocol::kPanelLockDigits &&
                               digits.size() != protocol::kAdministratorDigits)) {
                error = "--password takes " + std::to_string(protocol::kAdministratorDigits) +
                        " digits (administrator) and/or " +
                        std::to_string(protocol::kPanelLockDigits) +
                        " digits (panel lock), separated by a comma, not '" + *given + "'";
                return false;
            }
            options.Passwords.push_back(digits);
        }
    }
    return true;
}

std::string DeviceHelp(std::string_view usage, std::string_view text, std::string_view options) {
    return std::string(usage) + "\n\n" + std::string(text) + "\nOptions:\n" + std::string(options) +
           std::string(kDeviceOptionsHelp) +
           "\nExit status: 0 success, 1 the device failed or refused, 2 bad arguments or files.\n";
}

bool ParseDeviceArgs(const Invocation& inv, std::vector<OptionDef> extra, std::size_t positionals,
                     std::string_view positionalNames, ParsedArgs& parsed, DeviceOptions& device,
                     int& status) {
    extra.push_back(kDeviceOption);
    extra.push_back(kPasswordOption);
    extra.push_back(kTraceOption);
    std::string error;
    if (!ParseArgs(inv.args, extra, parsed, error) || !ReadDeviceOptions(parsed, device, error)) {
        status = inv.Fail(error);
        return false;
    }
    if (parsed.positionals.size() != positionals) {
        status = inv.Fail(positionals == 0 ? "takes no arguments besides the options"
                                           : "expected " + std::string(positionalNames));
        return false;
    }
    if (!device.TracePath.empty()) {
        if (const auto problem = TracePathProblem(device.TracePath, parsed.positionals)) {
            status = inv.Fail("--trace: " + *problem);
            return false;
        }
    }
    return true;
}

// ---- prompts ----

bool CliPrompts::Question(std::string_view text) {
    messages_.emplace_back(text);
    return false;
}

void CliPrompts::AskPassword(protocol::PasswordWindow& window) {
    asked_ = true;
    asked_for_ = (window.InputType() == protocol::PasswordInputType::Administrator
                      ? std::string("the administrator password (")
                      : std::string("the panel-lock password (")) +
                 std::to_string(window.DigitCount()) + " digits)";
    for (const std::string& password : passwords_) {
        if (password.size() != window.DigitCount()) continue;
        typed_ = true;
        if (window.Submit(password) == protocol::PasswordEntry::Accepted) return;
    }
}

// ---- progress ----

CliView::CliView(std::ostream& err, std::string_view command)
    : err_(err), command_(command), tty_(StderrIsTerminal()) {}

void CliView::BeginBulk(protocol::BulkOperation operation) {
    if (!task_.empty()) {
        label_ = task_;
    } else {
        switch (operation) {
            case protocol::BulkOperation::Synchronise:
                label_ = "synchronising";
                break;
            case protocol::BulkOperation::ReadMode:
                label_ = "reading a mode";
                break;
            case protocol::BulkOperation::WriteMode:
                label_ = "writing a mode";
                break;
        }
    }
    done_ = 0;
    total_ = 0;
}

void CliView::BulkProgress(int done, int total) {
    done_ = done;
    total_ = total;
    if (tty_)
        err_ << "\rvellora-cli " << command_ << ": " << label_ << ' ' << done << '/' << total
             << std::flush;
}

void CliView::EndBulk(protocol::BulkOperation) {
    if (tty_) {
        err_ << "\rvellora-cli " << command_ << ": " << label_ << ' ' << done_ << '/' << total_
             << (done_ == total_ && total_ > 0 ? " done" : " stopped") << '\n';
    } else {
        err_ << "vellora-cli " << command_ << ": " << label_ << ": " << done_ << " of " << total_
             << " frames" << '\n';
    }
    err_.flush();
}

// ---- the session ----

DeviceSession::DeviceSession(const Invocation& inv, DeviceOptions options)
    : inv_(inv),
      options_(std::move(options)),
      workspace_(std::make_unique<model::Workspace>()),
      prompts_(options_.Passwords),
      view_(inv.err, inv.command) {
    session_ = std::make_unique<protocol::LinkSession>(
        *workspace_, wait_, prompts_, [this](const link::Endpoint& endpoint, model::Clock& clock) {
            std::unique_ptr<link::HidPort> port = device::MakeDevicePort(endpoint, clock).Port;
            if (!port || options_.TracePath.empty()) return port;
            return link::TraceOwnedPort(std::move(port), options_.TracePath, clock,
                                        protocol::ReportDescriber{}, trace_error_);
        });
    session_->SetViews({&view_, nullptr, nullptr, nullptr});
}

DeviceSession::~DeviceSession() = default;

bool DeviceSession::Open() {
    const std::string where = link::EndpointText(options_.Endpoint);
    const std::string prefix = "vellora-cli " + std::string(inv_.command) + ": ";
    switch (session_->Open(options_.Endpoint)) {
        case protocol::LinkSession::OpenResult::NoPort:
            if (!trace_error_.empty())
                inv_.err << prefix << trace_error_ << '\n';
            else
                inv_.err << prefix << "no port for " << where << '\n';
            return false;
        case protocol::LinkSession::OpenResult::NoDevice:
            inv_.err << prefix << "no device at " << where << ": "
                     << link::LinkErrorText(session_->PortError()) << '\n';
            return false;
        case protocol::LinkSession::OpenResult::Ok:
            break;
    }
    const protocol::LinkSession::LinkUpResult linked = session_->LinkUp();
    if (linked == protocol::LinkSession::LinkUpResult::Ok) return true;
    if (linked == protocol::LinkSession::LinkUpResult::TooSlow) {
        inv_.err << prefix << "the device at " << where << " answers too slowly: it identified"
                 << " itself " << session_->IdentifiedAfterMs()
                 << " ms after the search frame, and replies must come within "
                 << protocol::CommandChannel::kReplyTimeoutMs << " ms\n";
        return false;
    }
    const protocol::ReceiveParser& parser = session_->Channel().Parser();
    const protocol::ParserDrops& drops = parser.Drops();
    const bool heard =
        parser.ReplyLength() > 0 || drops.BadChecksum > 0 || drops.BadLength > 0 || drops.Stray > 0;
    const link::LinkError lost = session_->PortError();
    std::string why;
    if (drops.Unasked > 0) {
        // Good frames came, but none was a processor's identification.
        why = " answered the search with an unknown tag " + Quoted(parser.LastPayload());
    } else if (linked == protocol::LinkSession::LinkUpResult::Silent && drops.BadChecksum > 0) {
        why = " did not identify itself within 5 s: " + std::to_string(drops.BadChecksum) +
              (drops.BadChecksum == 1 ? " frame" : " frames") + " came with a wrong checksum";
    } else if (linked == protocol::LinkSession::LinkUpResult::Silent) {
        why = " did not identify itself within 5 s";
    } else if (IsSocket(options_.Endpoint) && !heard && lost != link::LinkError::BadRecord &&
               lost != link::LinkError::ShortRecord) {
        // A bridge device serves one terminal and turns the next away by closing at once.
        why = " is busy with another terminal (it closed the connection at once)";
    } else {
        // Ended by the peer: what it sent (a broken record) or how it went tells why.
        why = " went away: " + std::string(link::LinkErrorText(lost));
    }
    inv_.err << prefix << "the device at " << where << why << '\n';
    return false;
}

bool DeviceSession::Synchronise() {
    const protocol::CommandStatus status = session_->Synchronise();
    if (status == protocol::CommandStatus::Ok) return true;
    (void)Failed(status, "synchronisation");
    return false;
}

int DeviceSession::Failed(protocol::CommandStatus status, std::string_view what) {
    std::string reason;
    if (status == protocol::CommandStatus::AccessRefused) {
        const std::string needed = prompts_.AskedFor().empty() ? std::string("a password")
                                                               : std::string(prompts_.AskedFor());
        reason = prompts_.PasswordTyped()
                     ? "access refused: the device did not accept " + needed
                     : "access refused: the device demands " + needed + "; give it with --password";
    } else {
        reason = std::string(what) + " failed: " + std::string(protocol::StatusText(status));
        if (!prompts_.Messages().empty())
            reason += " (" + OneLine(prompts_.Messages().back()) + ")";
    }
    inv_.err << "vellora-cli " << inv_.command << ": " << reason << '\n';
    return kExitDevice;
}

}  // namespace vellora::cli
