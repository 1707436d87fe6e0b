// What a command or a bulk operation of the link came to: answered, or why not.
#pragma once

#include <cstdint>
#include <string_view>

namespace vellora::protocol {

enum class CommandStatus : uint8_t {
    Ok = 0,          ///< answered (a bulk operation: every frame answered and read)
    Queued,          ///< a parameter write during another command's wait: sent right after it
    LinkDown,        ///< a parameter write while the link is down: nothing sent
    NoReply,         ///< unanswered after every transmission (or the link was down): link down
    Closing,         ///< the program is closing: the wait ended at once, nothing more is sent
    Busy,            ///< another command or bulk operation was running: nothing was sent
    BadFrame,        ///< the frame could not be built from the tables and arguments
    LengthMismatch,  ///< a reply of the wrong size; the warning was shown, nothing stored
    BadReply,        ///< a reply that does not fit its command (e.g. a mode beyond 10): unused
    Refused,         ///< the device answered "no" (a password check)
    AccessRefused,   ///< the access check at connect failed: the program must end
    TooSlow,         ///< the device answers later than the reply time-out: link down
};

[[nodiscard]] constexpr bool Succeeded(CommandStatus status) {
    return status == CommandStatus::Ok;
}

/// A short English description, for logs and command-line error lines.
[[nodiscard]] constexpr std::string_view StatusText(CommandStatus status) {
    switch (status) {
        case CommandStatus::Ok:
            return "ok";
        case CommandStatus::Queued:
            return "queued behind the command in progress";
        case CommandStatus::LinkDown:
            return "the link is down";
        case CommandStatus::NoReply:
            return "the device did not answer; the link is down";
        case CommandStatus::Closing:
            return "the program is closing";
        case CommandStatus::Busy:
            return "another device operation is in progress";
        case CommandStatus::BadFrame:
            return "the command frame could not be built";
        case CommandStatus::LengthMismatch:
            return "the device answered with a reply of the wrong size";
        case CommandStatus::BadReply:
            return "the device's reply does not fit the command";
        case CommandStatus::Refused:
            return "the device refused";
        case CommandStatus::AccessRefused:
            return "access refused: the device's password was not given or not accepted";
        case CommandStatus::TooSlow:
            return "the device answers too slowly (later than the 600 ms reply time-out); the "
                   "link is down";
    }
    return "unknown status";
}

}  // namespace vellora::protocol
