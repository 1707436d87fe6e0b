// The link switch and the indicator as a switch.
#include "protocol/link_switch.h"

#include <string>

#include "protocol/link_texts.h"

namespace vellora::protocol {

std::string_view LinkSwitch::SwitchCaption() const {
    return switch_on_ ? texts::kSwitchOn : texts::kSwitchOff;
}

void LinkSwitch::SetSwitchOn(bool on) {
    switch_on_ = on;
    status_->ShowSwitchCaption(SwitchCaption());
}

void LinkSwitch::SwitchClick() {
    if (!switch_on_) {
        SetSwitchOn(true);
        supervisor_.ResumeSearch();
        return;
    }
    SetSwitchOn(false);
    LinkState& link = channel_.Link();
    if (link.Modified() && link.LinkUp()) {
        const std::string question =
            std::string(texts::kSaveQuestion) + std::to_string(link.CurrentMode() + 1);
        if (prompts_.Question(question))
            (void)channel_.SendCommand(Command::SaveToMode, link.CurrentMode(), 0);
    }
    supervisor_.SwitchOff(LinkLoss::SwitchedOff);
}

void LinkSwitch::IndicatorClick() {
    if (!switch_on_) {
        SetSwitchOn(true);
        supervisor_.ShowIndicator(ConnectStatus::NotLinked);
        supervisor_.ResumeSearch();
        return;
    }
    SetSwitchOn(false);
    supervisor_.SwitchOff(LinkLoss::IndicatorOff);
}

}  // namespace vellora::protocol
