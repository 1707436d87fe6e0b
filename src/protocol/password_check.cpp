// The password check command.
#include "protocol/password_check.h"

#include <algorithm>

namespace vellora::protocol {

CommandStatus CheckPassword(CommandChannel& channel, int32_t slot,
                            std::span<const uint8_t> digits) {
    const std::size_t count = PasswordDigitCount(slot);
    if (count == 0 || digits.size() != count ||
        std::any_of(digits.begin(), digits.end(), [](uint8_t d) { return d > 9; }))
        return CommandStatus::BadFrame;
    FrameRequest request;
    request.command = Command::PasswordCommand;
    request.value = slot;
    request.index = static_cast<int32_t>(PasswordOperation::Check);
    request.passwordDigits = digits;
    const CommandStatus status = channel.Send(request);
    if (status != CommandStatus::Ok) return status;
    const auto reply = channel.Reply();
    return reply.size() > 1 && reply[1] == kAccepted ? CommandStatus::Ok : CommandStatus::Refused;
}

}  // namespace vellora::protocol
