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
    const uint64_t click = ++clicks_;
    if (!switch_on_) {
        SetSwitchOn(true);
        supervisor_.ResumeSearch();
        return;
    }
    SetSwitchOn(false);
    LinkState& link = channel_.Link();
    const bool save = link.Modified() && link.LinkUp() &&
                      prompts_.Question(std::string(texts::kSaveQuestion) +
                                        std::to_string(link.CurrentMode() + 1));
    if (!save) {
        supervisor_.SwitchOff(LinkLoss::SwitchedOff);
        return;
    }
    // A command may be waiting (the click came inside its wait): the save cannot go out
    // before it has ended, and the link stays up until the save had its chance.
    channel_.WhenIdle([this, click] {
        LinkState& state = channel_.Link();
        if (state.LinkUp()) (void)channel_.SendCommand(Command::SaveToMode, state.CurrentMode(), 0);
        if (click == clicks_) supervisor_.SwitchOff(LinkLoss::SwitchedOff);
    });
}

void LinkSwitch::IndicatorClick() {
    ++clicks_;
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
