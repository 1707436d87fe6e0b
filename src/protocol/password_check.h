// The password check command: the digits of a password slot sent to the device, and whether
// the device took them.
#pragma once

#include <cstdint>
#include <span>

#include "protocol/command_channel.h"
#include "protocol/command_status.h"

namespace vellora::protocol {

/// PasswordCommand check (command 8, operation 0) for `slot` with `digits` (each 0..9, as
/// many as the slot has): Ok when the device answers 'S', Refused when it answers otherwise,
/// BadFrame (nothing sent) for a slot or digits that cannot be sent.
[[nodiscard]] CommandStatus CheckPassword(CommandChannel& channel, int32_t slot,
                                          std::span<const uint8_t> digits);

}  // namespace vellora::protocol
