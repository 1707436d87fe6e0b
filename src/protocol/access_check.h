// The access check at link-up: for a password slot in force, first the all-zero password
// (a device without a real one accepts it silently), then the password window until the user
// gives one the device accepts or closes the window.
#pragma once

#include <cstdint>

#include "protocol/command_channel.h"
#include "protocol/command_status.h"
#include "protocol/password_window.h"
#include "protocol/prompts.h"

namespace vellora::protocol {

class AccessCheck {
public:
    /// Both references must outlive the check.
    AccessCheck(CommandChannel& channel, Prompts& prompts) : channel_(channel), prompts_(prompts) {}

    /// Checks the slot of `type`. Ok when the device accepted a password; AccessRefused after
    /// the refusal warning ("管理员密码不正确！..." or "键盘锁密码不正确！...") when the user
    /// gave none it accepts; the channel's status when the zero check went unanswered.
    [[nodiscard]] CommandStatus Run(PasswordInputType type);

private:
    CommandChannel& channel_;
    Prompts& prompts_;
};

}  // namespace vellora::protocol
