// The logic of the CmdPassword window: caption, digit count and password slot by input type,
// the input rules for a typed entry, and the check sent through the command channel. The
// window itself (entry shown as "*", the "确定" button) is drawn around this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vellora::protocol {

class CommandChannel;
class Prompts;

/// InputType of the window, set by the caller before showing it.
enum class PasswordInputType : uint8_t {
    Administrator = 1,  ///< "管理员权限确认", 6 digits, PasswordSlot 2
    PanelLock = 2,      ///< "面板锁解锁", 4 digits, PasswordSlot 0
};

/// What became of one confirmed entry.
enum class PasswordEntry : uint8_t {
    Empty,        ///< nothing typed: focus back into the entry, no message, nothing sent
    NotDigits,    ///< "密码只能输入数字0~9" shown, focus back, nothing sent
    WrongLength,  ///< "密码请输入n位!" shown, focus back, nothing sent
    Refused,      ///< the device said no: "密码错误！" shown, focus back
    NoReply,      ///< the check was not answered (or could not be sent): the window stays open
    Accepted,     ///< OK() is now true and the window closes
};

class PasswordWindow {
public:
    /// `channel` and `prompts` must outlive the window. OK() starts false.
    PasswordWindow(CommandChannel& channel, Prompts& prompts, PasswordInputType type);

    [[nodiscard]] PasswordInputType InputType() const { return type_; }
    [[nodiscard]] std::string_view Caption() const;
    [[nodiscard]] std::string_view Label() const;
    [[nodiscard]] std::string_view ButtonCaption() const;
    [[nodiscard]] std::size_t DigitCount() const;
    [[nodiscard]] int32_t Slot() const;
    /// True once the device accepted an entry.
    [[nodiscard]] bool OK() const { return ok_; }

    /// The button or Enter with the entry's text (UTF-8): the input rules, then the check
    /// (PasswordCommand, operation 0) with the digits typed.
    PasswordEntry Submit(std::string_view text);

private:
    CommandChannel& channel_;
    Prompts& prompts_;
    PasswordInputType type_;
    bool ok_ = false;
};

}  // namespace vellora::protocol
