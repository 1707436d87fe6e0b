// The rules for the password boxes of the rights frames: a check (4 or 6 digits) and a change
// (old, new, confirmation), each failure with its message and the box that gets the focus.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vellora::admin {

enum class PasswordBox : uint8_t { None, Entry, Old, New, Confirmation };

struct PasswordVerdict {
    bool Ok = false;
    std::string_view Message;  ///< empty: no message (an empty check box only takes the focus)
    PasswordBox Focus = PasswordBox::None;
};

inline constexpr std::string_view kNotLinked = "未联机时，不可执行此操作！";

/// 确认 of 权限管理 (6 digits) or 自动键盘锁 (4 digits). Only the digits 0..9 count as a number.
[[nodiscard]] PasswordVerdict CheckPasswordInput(bool linkUp, const QString& text,
                                                 std::size_t digits);
/// 修改: the old, the new and the confirmation box, in that order, then new = confirmation.
[[nodiscard]] PasswordVerdict ChangePasswordInput(bool linkUp, const QString& oldText,
                                                  const QString& newText,
                                                  const QString& confirmText, std::size_t digits);

/// The digit values of a text that passed the rules ('0' -> 0 ...).
[[nodiscard]] std::vector<uint8_t> PasswordDigitValues(const QString& text);

}  // namespace vellora::admin
