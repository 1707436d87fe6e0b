// The password boxes' rules: every message of a check and of a change, in their order, with
// the box that gets the focus.
#include "admin/mode_manager_passwords.h"

#include <gtest/gtest.h>

namespace vellora::admin {
namespace {

TEST(ModeManagerPasswords, CheckRules) {
    const struct {
        bool linkUp;
        const char* text;
        std::size_t digits;
        bool ok;
        const char* message;
        PasswordBox focus;
    } cases[] = {
        {false, "1234", 4, false, "未联机时，不可执行此操作！", PasswordBox::None},
        {false, "", 6, false, "未联机时，不可执行此操作！", PasswordBox::None},
        {true, "", 4, false, "", PasswordBox::Entry},
        {true, "12a4", 4, false, "密码只能输入数字0~9", PasswordBox::Entry},
        {true, "-123", 4, false, "密码只能输入数字0~9", PasswordBox::Entry},
        {true, "123", 4, false, "密码请输入4位!", PasswordBox::Entry},
        {true, "1234", 6, false, "密码请输入6位!", PasswordBox::Entry},
        {true, "1234", 4, true, "", PasswordBox::None},
        {true, "000000", 6, true, "", PasswordBox::None},
    };
    for (const auto& c : cases) {
        const PasswordVerdict v = CheckPasswordInput(c.linkUp, QString::fromUtf8(c.text), c.digits);
        EXPECT_EQ(v.Ok, c.ok) << c.text;
        EXPECT_EQ(std::string(v.Message), c.message) << c.text;
        EXPECT_EQ(v.Focus, c.focus) << c.text;
    }
    EXPECT_EQ(PasswordDigitValues("0907"), (std::vector<uint8_t>{0, 9, 0, 7}));
}

TEST(ModeManagerPasswords, ChangeRulesInTheirOrder) {
    using B = PasswordBox;
    const struct {
        bool linkUp;
        const char *oldText, *newText, *confirm;
        std::size_t digits;
        const char* message;
        B focus;
    } cases[] = {
        {false, "", "", "", 6, "未联机时，不可执行此操作！", B::None},
        {true, "", "x", "x", 6, "原始密码请输入!", B::Old},
        {true, "1a", "", "", 6, "原始密码只能输入数字0~9", B::Old},
        {true, "123", "", "", 6, "原始密码请输入6位!", B::Old},
        {true, "123", "", "", 4, "原始密码请输入4位!", B::Old},
        {true, "1234", "", "", 4, "新密码请输入!", B::New},
        {true, "1234", "12 4", "", 4, "新密码只能输入数字0~9", B::New},
        {true, "1234", "12345", "", 4, "新密码请输入4位!", B::New},
        {true, "123456", "1234", "", 6, "新密码请输入6位!", B::New},
        {true, "1234", "5678", "", 4, "确认密码请输入!", B::Confirmation},
        {true, "1234", "5678", "5x78", 4, "确认密码只能输入数字0~9", B::Confirmation},
        {true, "1234", "5678", "567", 4, "确认密码请输入4位!", B::Confirmation},
        {true, "123456", "567890", "5678", 6, "确认密码请输入6位!", B::Confirmation},
        {true, "1234", "5678", "5679", 4, "新密码和确认密码不一致！", B::New},
        {true, "1234", "5678", "5678", 4, "", B::None},
    };
    for (const auto& c : cases) {
        const PasswordVerdict v =
            ChangePasswordInput(c.linkUp, c.oldText, c.newText, c.confirm, c.digits);
        EXPECT_EQ(v.Ok, std::string(c.message).empty()) << c.message;
        EXPECT_EQ(std::string(v.Message), c.message);
        EXPECT_EQ(v.Focus, c.focus) << c.message;
    }
}

}  // namespace
}  // namespace vellora::admin
