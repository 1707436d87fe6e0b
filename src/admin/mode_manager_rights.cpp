// The rights and password frames.
#include "admin/mode_manager_rights.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QRadioButton>
#include <array>
#include <initializer_list>

#include "protocol/password_check.h"
#include "protocol/wire_format.h"

namespace vellora::admin {

namespace {

constexpr const char* kAdminOptions[] = {"Option2_0", "Option2_1", nullptr};
constexpr const char* kPanelOptions[] = {"Option1_0", "Option1_1", nullptr};
constexpr const char* kChangeControls[] = {"Text2", "Text3", "Text4",    "Command6", "Text5",
                                           "Text6", "Text7", "Command7", nullptr};

QString Qs(const char* name) {
    return QString::fromLatin1(name);
}

}  // namespace

RightsFrames::RightsFrames(const ControlMap& map, model::Workspace& ws,
                           protocol::CommandChannel& channel, protocol::Prompts& prompts,
                           QObject* parent)
    : QObject(parent), map_(map), ws_(ws), channel_(channel), prompts_(prompts) {
    const auto click = [this](const char* name, auto handler) {
        if (auto* b = map_.Get<QAbstractButton>(Qs(name)))
            connect(b, &QAbstractButton::clicked, this, handler);
    };
    click("Command4", [this] { CheckPassword(protocol::kPanelLockSlot); });
    click("Command5", [this] { CheckPassword(protocol::kAdministratorSlot); });
    click("Command6", [this] { ChangePassword(protocol::kAdministratorSlot); });
    click("Command7", [this] { ChangePassword(protocol::kPanelLockSlot); });
    for (int index = 0; index < 2; ++index) {
        click(kPanelOptions[index],
              [this, index] { OptionClicked(model::entry::kPanelLock, index); });
        click(kAdminOptions[index],
              [this, index] { OptionClicked(model::entry::kAdminPassword, index); });
    }
}

void RightsFrames::SetEnabled(const char* const* names, bool on) {
    for (; *names; ++names)
        if (auto* w = map_.Get<QWidget>(Qs(*names))) w->setEnabled(on);
}

void RightsFrames::Focus(const char* name) {
    if (auto* edit = map_.Get<QLineEdit>(Qs(name))) {
        edit->setFocus();
        edit->selectAll();
    }
}

void RightsFrames::Load() {
    loaded_ = false;
    const auto show = [this](const char* const* pair, int32_t entry) {
        const int index = ws_.ParamStore.ValueAt(entry, 0) != 0 ? 1 : 0;
        if (auto* option = map_.Get<QRadioButton>(Qs(pair[index]))) option->setChecked(true);
    };
    show(kPanelOptions, model::entry::kPanelLock);
    show(kAdminOptions, model::entry::kAdminPassword);
    SetEnabled(kAdminOptions, false);
    SetEnabled(kPanelOptions, false);
    SetEnabled(kChangeControls, false);
    loaded_ = true;
}

void RightsFrames::OptionClicked(int32_t entry, int index) {
    if (!loaded_) return;
    ws_.ParamStore.SetValueAt(entry, 0, index);
    if (channel_.Link().LinkUp()) (void)channel_.WriteParam(entry);
}

void RightsFrames::CheckPassword(int32_t slot) {
    const bool admin = slot == protocol::kAdministratorSlot;
    const char* box = admin ? "Text9" : "Text8";
    auto* edit = map_.Get<QLineEdit>(Qs(box));
    if (!edit) return;
    const PasswordVerdict verdict = CheckPasswordInput(channel_.Link().LinkUp(), edit->text(),
                                                       protocol::PasswordDigitCount(slot));
    if (!verdict.Ok) {
        if (!verdict.Message.empty()) prompts_.Warning(verdict.Message);
        if (verdict.Focus != PasswordBox::None) Focus(box);
        return;
    }
    const std::vector<uint8_t> digits = PasswordDigitValues(edit->text());
    const protocol::CommandStatus status = protocol::CheckPassword(channel_, slot, digits);
    if (status == protocol::CommandStatus::Ok) {
        SetEnabled(admin ? kAdminOptions : kPanelOptions, true);
        if (admin) SetEnabled(kChangeControls, true);
    } else if (status == protocol::CommandStatus::Refused) {
        prompts_.Warning("密码错误！");
        Focus(box);
    }
}

void RightsFrames::ChangePassword(int32_t slot) {
    const bool admin = slot == protocol::kAdministratorSlot;
    const std::array<const char*, 3> boxes =
        admin ? std::array{"Text2", "Text3", "Text4"} : std::array{"Text5", "Text6", "Text7"};
    std::array<QString, 3> texts;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (auto* edit = map_.Get<QLineEdit>(Qs(boxes[i]))) texts[i] = edit->text();
    const PasswordVerdict verdict = ChangePasswordInput(
        channel_.Link().LinkUp(), texts[0], texts[1], texts[2], protocol::PasswordDigitCount(slot));
    if (!verdict.Ok) {
        prompts_.Warning(verdict.Message);
        switch (verdict.Focus) {
            case PasswordBox::Old:
                Focus(boxes[0]);
                break;
            case PasswordBox::New:
                Focus(boxes[1]);
                break;
            case PasswordBox::Confirmation:
                Focus(boxes[2]);
                break;
            default:
                break;
        }
        return;
    }
    std::vector<uint8_t> digits = PasswordDigitValues(texts[0]);
    const std::vector<uint8_t> fresh = PasswordDigitValues(texts[1]);
    digits.insert(digits.end(), fresh.begin(), fresh.end());
    protocol::FrameRequest request;
    request.command = protocol::Command::PasswordCommand;
    request.value = slot;
    request.index = static_cast<int32_t>(protocol::PasswordOperation::Change);
    request.passwordDigits = digits;
    if (channel_.Send(request) != protocol::CommandStatus::Ok) return;
    const auto reply = channel_.Reply();
    prompts_.Warning(reply.size() > 1 && reply[1] == protocol::kAccepted ? "密码修改成功！"
                                                                         : "密码修改失败！");
}

bool RightsFrames::CloseOperations() {
    if (!channel_.Link().LinkUp()) return true;
    for (const int32_t slot : {protocol::kPanelLockSlot, protocol::kAdministratorSlot}) {
        protocol::FrameRequest request;
        request.command = protocol::Command::PasswordCommand;
        request.value = slot;
        request.index = static_cast<int32_t>(protocol::PasswordOperation::Close);
        if (channel_.Send(request) != protocol::CommandStatus::Ok) return false;
    }
    return true;
}

}  // namespace vellora::admin
