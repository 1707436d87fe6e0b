// What the device commands of vellora-cli share: the --device and --password options, the
// link session on the real clock with the command line's prompts and progress on stderr, and
// one-line failure reasons.
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arg_parser.h"
#include "cli/command_registry.h"
#include "link/endpoint.h"
#include "link/qt_clock.h"
#include "model/workspace.h"
#include "protocol/command_status.h"
#include "protocol/link_session.h"
#include "protocol/link_views.h"
#include "protocol/prompts.h"
#include "protocol/qt_event_wait.h"

namespace vellora::cli {

/// Exit status of a device command that the device failed or refused.
inline constexpr int kExitDevice = 1;

/// The options every device command takes.
inline constexpr OptionDef kDeviceOption{"--device", true};
inline constexpr OptionDef kPasswordOption{"--password", true};
inline constexpr OptionDef kTraceOption{"--trace", true};

/// The text of the two options for a command's --help.
inline constexpr std::string_view kDeviceOptionsHelp =
    "  --device ENDPOINT   auto (the first processor on USB, the default), sim (a simulated\n"
    "                      processor in this process), unix:PATH or tcp:HOST:PORT (a device\n"
    "                      served over the socket bridge, e.g. by vellora-sim)\n"
    "  --password DIGITS   the administrator password (6 digits) and/or the panel-lock\n"
    "                      password (4 digits), separated by a comma, for the access check\n"
    "                      when the device demands one\n"
    "  --trace FILE        writes every report both ways to FILE, with its time, in hex and\n"
    "                      decoded (see the README's HID trace)\n";

struct DeviceOptions {
    link::Endpoint Endpoint;
    std::vector<std::string> Passwords;  ///< each 4 or 6 digits
    std::string TracePath;               ///< --trace: empty for none
};

/// Reads --device and --password; false with a one-line `error` for bad values.
[[nodiscard]] bool ReadDeviceOptions(const ParsedArgs& parsed, DeviceOptions& options,
                                     std::string& error);

/// A device command's --help: usage line, description, its own options, the device options
/// and the exit statuses.
[[nodiscard]] std::string DeviceHelp(std::string_view usage, std::string_view text,
                                     std::string_view options = {});

/// Parses a device command's arguments: `extra` options besides --device and --password, and
/// exactly `positionals` positional arguments (named `positionalNames` in the error). The
/// --trace file is checked as an output file and may not name a positional argument. On
/// failure prints the error line and sets `status` (kExitError).
[[nodiscard]] bool ParseDeviceArgs(const Invocation& inv, std::vector<OptionDef> extra,
                                   std::size_t positionals, std::string_view positionalNames,
                                   ParsedArgs& parsed, DeviceOptions& device, int& status);

/// Prompts of a terminal without a user: messages are kept for the failure line, questions
/// are answered No, and the password window gets the given passwords of its digit count.
class CliPrompts : public protocol::Prompts {
public:
    explicit CliPrompts(std::vector<std::string> passwords) : passwords_(std::move(passwords)) {}
    void Warning(std::string_view text) override { messages_.emplace_back(text); }
    void Error(std::string_view text) override { messages_.emplace_back(text); }
    bool Question(std::string_view text) override;
    void AskPassword(protocol::PasswordWindow& window) override;

    [[nodiscard]] const std::vector<std::string>& Messages() const { return messages_; }
    /// Whether a password window was shown, and whether anything was typed into it.
    [[nodiscard]] bool PasswordAsked() const { return asked_; }
    [[nodiscard]] bool PasswordTyped() const { return typed_; }
    [[nodiscard]] std::string_view AskedFor() const { return asked_for_; }

private:
    std::vector<std::string> passwords_;
    std::vector<std::string> messages_;
    bool asked_ = false;
    bool typed_ = false;
    std::string asked_for_;
};

/// The progress of a terminal without windows: bulk operations report it on stderr (updated
/// in place on a terminal, one line per operation otherwise).
class CliView : public protocol::BulkProgressView {
public:
    CliView(std::ostream& err, std::string_view command);
    /// What the next bulk operations are called in the progress line ("reading mode 3");
    /// empty: named after the operation.
    void SetTask(std::string task) { task_ = std::move(task); }

    void BeginBulk(protocol::BulkOperation operation) override;
    void EndBulk(protocol::BulkOperation operation) override;
    void BulkProgress(int done, int total) override;

private:
    std::ostream& err_;
    std::string command_;
    std::string task_;
    std::string label_;
    bool tty_ = false;
    int done_ = 0;
    int total_ = 0;
};

/// One link to the processor for one command.
class DeviceSession {
public:
    DeviceSession(const Invocation& inv, DeviceOptions options);
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    /// Opens the endpoint and brings the link up (search frames until the device identifies
    /// itself, at most 5 s; a device that answers later than the reply time-out is refused).
    /// On failure prints the reason and returns false.
    [[nodiscard]] bool Open();
    /// The synchronisation of the link start-up: current mode, every block into the store,
    /// the access check. On failure prints the reason and returns false.
    [[nodiscard]] bool Synchronise();
    /// Prints the reason line for a failed device operation and returns kExitDevice.
    int Failed(protocol::CommandStatus status, std::string_view what);

    [[nodiscard]] protocol::CommandChannel& Channel() { return session_->Channel(); }
    [[nodiscard]] protocol::BulkTransfers& Transfers() { return session_->Transfers(); }
    [[nodiscard]] model::Workspace& Workspace() { return *workspace_; }
    [[nodiscard]] protocol::LinkState& Link() { return session_->Link(); }
    [[nodiscard]] CliView& View() { return view_; }

private:
    const Invocation& inv_;
    DeviceOptions options_;
    std::string trace_error_;  // why the trace file could not be opened
    link::QtClock clock_;
    protocol::QtEventWait wait_{clock_};
    std::unique_ptr<model::Workspace> workspace_;
    CliPrompts prompts_;
    CliView view_;
    std::unique_ptr<protocol::LinkSession> session_;
};

}  // namespace vellora::cli
