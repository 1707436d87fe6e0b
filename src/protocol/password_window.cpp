// CmdPassword's input rules and check.
#include "protocol/password_window.h"

#include <algorithm>
#include <array>

#include "protocol/link_texts.h"
#include "protocol/password_check.h"
#include "protocol/prompts.h"

namespace vellora::protocol {

PasswordWindow::PasswordWindow(CommandChannel& channel, Prompts& prompts, PasswordInputType type)
    : channel_(channel), prompts_(prompts), type_(type) {}

std::string_view PasswordWindow::Caption() const {
    return type_ == PasswordInputType::Administrator ? texts::kAdministratorCaption
                                                     : texts::kPanelLockCaption;
}

std::string_view PasswordWindow::Label() const {
    return texts::kPasswordLabel;
}

std::string_view PasswordWindow::ButtonCaption() const {
    return texts::kPasswordButton;
}

std::size_t PasswordWindow::DigitCount() const {
    return PasswordDigitCount(Slot());
}

int32_t PasswordWindow::Slot() const {
    return type_ == PasswordInputType::Administrator ? kAdministratorSlot : kPanelLockSlot;
}

PasswordEntry PasswordWindow::Submit(std::string_view text) {
    if (text.empty()) return PasswordEntry::Empty;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        prompts_.Warning(texts::kDigitsOnly);
        return PasswordEntry::NotDigits;
    }
    const std::size_t count = DigitCount();
    if (text.size() != count) {
        prompts_.Warning(texts::DigitCountText(count));
        return PasswordEntry::WrongLength;
    }
    std::array<uint8_t, kAdministratorDigits> digits{};
    for (std::size_t i = 0; i < count; ++i) digits[i] = static_cast<uint8_t>(text[i] - '0');
    switch (CheckPassword(channel_, Slot(), std::span<const uint8_t>(digits.data(), count))) {
        case CommandStatus::Ok:
            ok_ = true;
            return PasswordEntry::Accepted;
        case CommandStatus::Refused:
            prompts_.Warning(texts::kWrongPassword);
            return PasswordEntry::Refused;
        default:
            return PasswordEntry::NoReply;
    }
}

}  // namespace vellora::protocol
