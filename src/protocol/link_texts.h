// The fixed user texts of the device link: warnings, errors, questions, captions and the
// password window's texts, exactly as the user sees them (UTF-8).
#pragma once

#include <string>
#include <string_view>

namespace vellora::protocol::texts {

/// A command unanswered after all transmissions, or a device silent for more than 5 s.
inline constexpr std::string_view kLinkTimeout = "与目标通信连接超时，已断开连接。";
/// A block reply whose size is not the size of the block asked for.
inline constexpr std::string_view kLengthMismatch = "当前返回数据个数与期望的数据个数不符,请检查!";
inline constexpr std::string_view kWriteFailed = "向机器写入数据时出错！";
/// Exit while a command was waiting: the editor closes 700 ms after the user confirms.
inline constexpr std::string_view kStopping =
    "正在停止通信进程，请点击下面的确认，软件会自动关闭。";
/// The save question on switch-off; the 1-based mode number follows it.
inline constexpr std::string_view kSaveQuestion = "您当前的调节还未保存到设备, 是否在保存到模式";

/// Captions of the link switch (Command1): searching on, searching off.
inline constexpr std::string_view kSwitchOn = "联机开启";
inline constexpr std::string_view kSwitchOff = "联机关闭";

/// The access check at connect: the administrator or panel-lock password was not accepted.
inline constexpr std::string_view kAdminRefused =
    "管理员密码不正确！\n"
    "处于来宾模式时，不需要输入密码。处于管理模式时，必须输入正确密码后才能使用软件。\n"
    "如果您想脱机使用本软件，请断开机器的USB线。";
inline constexpr std::string_view kPanelRefused =
    "键盘锁密码不正确！\n"
    "必须输入正确密码后才能使用软件。\n"
    "如果您想脱机使用本软件，请断开机器的USB线。";

/// The password window (CmdPassword).
inline constexpr std::string_view kPasswordLabel = "请输入密码：";
inline constexpr std::string_view kPasswordButton = "确定";
inline constexpr std::string_view kPanelLockCaption = "面板锁解锁";
inline constexpr std::string_view kAdministratorCaption = "管理员权限确认";
inline constexpr std::string_view kDigitsOnly = "密码只能输入数字0~9";
inline constexpr std::string_view kWrongPassword = "密码错误！";

/// "密码请输入" + digit count + "位!", e.g. "密码请输入4位!".
inline std::string DigitCountText(std::size_t digits) {
    return std::string("密码请输入") + std::to_string(digits) + "位!";
}

/// "从机器读数据时出错！" + line break + "错误信息如下: 模式号=a,菜单种类号=b,菜单地址=c".
inline std::string ReadFailedText(int first, int second, int third) {
    return std::string("从机器读数据时出错！\n错误信息如下: 模式号=") + std::to_string(first) +
           ",菜单种类号=" + std::to_string(second) + ",菜单地址=" + std::to_string(third);
}

}  // namespace vellora::protocol::texts
