// The access check: the zero password, then the password window.
#include "protocol/access_check.h"

#include <array>

#include "protocol/link_texts.h"
#include "protocol/password_check.h"

namespace vellora::protocol {

CommandStatus AccessCheck::Run(PasswordInputType type) {
    const bool admin = type == PasswordInputType::Administrator;
    const int32_t slot = admin ? kAdministratorSlot : kPanelLockSlot;
    const std::array<uint8_t, kAdministratorDigits> zeros{};
    const CommandStatus status =
        CheckPassword(channel_, slot, std::span(zeros.data(), PasswordDigitCount(slot)));
    if (status != CommandStatus::Refused) return status;

    PasswordWindow window(channel_, prompts_, type);
    prompts_.AskPassword(window);
    if (window.OK()) return CommandStatus::Ok;
    prompts_.Warning(admin ? texts::kAdminRefused : texts::kPanelRefused);
    return CommandStatus::AccessRefused;
}

}  // namespace vellora::protocol
