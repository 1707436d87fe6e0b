// Password box rules and their messages.
#include "admin/mode_manager_passwords.h"

#include <algorithm>
#include <tuple>

namespace vellora::admin {

namespace {

bool AllDigits(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

struct BoxTexts {
    std::string_view empty, notNumber, length6, length4;
};
constexpr BoxTexts kOld{"原始密码请输入!", "原始密码只能输入数字0~9", "原始密码请输入6位!",
                        "原始密码请输入4位!"};
constexpr BoxTexts kNew{"新密码请输入!", "新密码只能输入数字0~9", "新密码请输入6位!",
                        "新密码请输入4位!"};
constexpr BoxTexts kConfirm{"确认密码请输入!", "确认密码只能输入数字0~9", "确认密码请输入6位!",
                            "确认密码请输入4位!"};
constexpr BoxTexts kCheck{"", "密码只能输入数字0~9", "密码请输入6位!", "密码请输入4位!"};

// Empty, not a number, wrong length: the first that applies, or Ok.
PasswordVerdict Box(const QString& text, std::size_t digits, const BoxTexts& texts,
                    PasswordBox box) {
    if (text.isEmpty()) return {false, texts.empty, box};
    if (!AllDigits(text)) return {false, texts.notNumber, box};
    if (static_cast<std::size_t>(text.size()) != digits)
        return {false, digits == 6 ? texts.length6 : texts.length4, box};
    return {true, {}, PasswordBox::None};
}

}  // namespace

PasswordVerdict CheckPasswordInput(bool linkUp, const QString& text, std::size_t digits) {
    if (!linkUp) return {false, kNotLinked, PasswordBox::None};
    return Box(text, digits, kCheck, PasswordBox::Entry);
}

PasswordVerdict ChangePasswordInput(bool linkUp, const QString& oldText, const QString& newText,
                                    const QString& confirmText, std::size_t digits) {
    if (!linkUp) return {false, kNotLinked, PasswordBox::None};
    for (const auto& [text, texts, box] :
         {std::tuple{&oldText, &kOld, PasswordBox::Old},
          std::tuple{&newText, &kNew, PasswordBox::New},
          std::tuple{&confirmText, &kConfirm, PasswordBox::Confirmation}}) {
        const PasswordVerdict v = Box(*text, digits, *texts, box);
        if (!v.Ok) return v;
    }
    if (newText != confirmText) return {false, "新密码和确认密码不一致！", PasswordBox::New};
    return {true, {}, PasswordBox::None};
}

std::vector<uint8_t> PasswordDigitValues(const QString& text) {
    std::vector<uint8_t> digits;
    for (const QChar c : text) digits.push_back(static_cast<uint8_t>(c.unicode() - u'0'));
    return digits;
}

}  // namespace vellora::admin
