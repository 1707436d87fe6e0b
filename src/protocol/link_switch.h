// The link switch (Command1) and the link indicator (cmdConnectStatus) used as a second
// switch: link searching on and off, with the question whether to save unsaved changes before
// the link goes down.
#pragma once

#include <cstdint>
#include <string_view>

#include "protocol/command_channel.h"
#include "protocol/link_supervisor.h"
#include "protocol/link_views.h"
#include "protocol/prompts.h"

namespace vellora::protocol {

class LinkSwitch {
public:
    /// Every reference must outlive the switch. The view starts as a no-op.
    LinkSwitch(CommandChannel& channel, LinkSupervisor& supervisor, Prompts& prompts)
        : channel_(channel), supervisor_(supervisor), prompts_(prompts) {}

    void SetStatusView(LinkStatusView& view) { status_ = &view; }

    /// The link switch: searching on again, or off. Switching off while linked with unsaved
    /// changes asks "您当前的调节还未保存到设备, 是否在保存到模式" + the mode counted from 1;
    /// on Yes SaveToMode goes out first (at once, or when a command still waits, as soon as the
    /// channel is idle again) and the link goes down after it.
    void SwitchClick();
    /// The indicator: searching on again (the indicator shows 0), or off (it shows 2); no
    /// question.
    void IndicatorClick();
    /// "联机开启" (searching on, the caption at start) or "联机关闭".
    [[nodiscard]] std::string_view SwitchCaption() const;

private:
    void SetSwitchOn(bool on);

    CommandChannel& channel_;
    LinkSupervisor& supervisor_;
    Prompts& prompts_;
    LinkStatusView no_status_;
    LinkStatusView* status_ = &no_status_;
    bool switch_on_ = true;
    uint64_t clicks_ = 0;  // a save waiting for the channel switches off only if still the last
};

}  // namespace vellora::protocol
