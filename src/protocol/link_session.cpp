// The link session: the parts of the link wired together, the port, and link-up.
#include "protocol/link_session.h"

#include <algorithm>

namespace vellora::protocol {

LinkSession::LinkSession(model::Workspace& workspace, WaitDriver& wait, Prompts& prompts,
                         PortFactory makePort)
    : wait_(wait),
      clock_(wait.Clock()),
      make_port_(std::move(makePort)),
      sink_([this](std::span<const uint8_t> bytes) { return usb_ && usb_->SendData(bytes); }),
      channel_(workspace, link_, sink_, wait),
      transfers_(channel_, workspace, prompts),
      supervisor_(channel_, transfers_, prompts),
      switch_(channel_, supervisor_, prompts) {
    link_.AddListener(*this);
}

LinkSession::~LinkSession() {
    link_.RemoveListener(*this);
    supervisor_.StopTimers();
    if (usb_) usb_->Stop();
}

void LinkSession::SetViews(const LinkViews& views) {
    if (views.progress) {
        transfers_.SetProgressView(*views.progress);
        supervisor_.SetProgressView(*views.progress);
    }
    if (views.status) {
        supervisor_.SetStatusView(*views.status);
        switch_.SetStatusView(*views.status);
    }
    if (views.refresh) {
        transfers_.SetRefreshView(*views.refresh);
        StoreRefreshView* refresh = views.refresh;
        channel_.SetToneKeyHandler([refresh] { refresh->ShowToneReset(); });
    }
    if (views.lifecycle) {
        transfers_.SetLifecycle(*views.lifecycle);
        supervisor_.SetLifecycle(*views.lifecycle);
    }
}

LinkSession::OpenResult LinkSession::Open(const link::Endpoint& endpoint) {
    if (usb_) usb_->Stop();
    usb_.reset();
    port_ = make_port_ ? make_port_(endpoint, clock_) : nullptr;
    if (!port_) return OpenResult::NoPort;
    usb_ = std::make_unique<link::UsbComm>(*port_, clock_);
    // Behind the bridge chip (1A86:E010) the reports carry no id and the chip is set up first.
    if (endpoint.Kind == link::EndpointKind::Bridge) usb_->SetDeviceType(1);
    usb_->SetDataArrivalHandler(
        [this](const std::vector<std::uint8_t>& data) { channel_.OnDeviceBytes(data); });
    usb_->SetStateHandler([this](link::DeviceState state) {
        if (device_state_) device_state_(state);
    });
    if (!usb_->Connect()) return OpenResult::NoDevice;
    usb_->Start();
    return OpenResult::Ok;
}

void LinkSession::StartSupervision() {
    if (usb_) usb_->Start();
    supervisor_.StartTimers();
}

link::LinkError LinkSession::PortError() const {
    if (!port_) return link::LinkError::NotFound;
    return usb_ ? usb_->LastError() : link::LinkError::NotOpen;
}

void LinkSession::LinkCameUp() {
    identified_at_ms_ = clock_.NowMs();
}

bool LinkSession::WaitUntil(const std::function<bool()>& done, std::int64_t atMs) {
    if (done() || clock_.NowMs() >= atMs) return done();
    bool expired = false;
    const model::TimerId id =
        clock_.CallAfter(atMs - clock_.NowMs(), [&expired] { expired = true; });
    while (!done() && !expired) {
        if (!wait_.Step()) break;
    }
    if (!expired) clock_.Cancel(id);
    return done();
}

LinkSession::LinkUpResult LinkSession::LinkUp() {
    const auto gone = [this] { return !usb_ || !usb_->IsOpen(); };
    if (gone()) return LinkUpResult::DeviceGone;
    // One search frame at a time: the identification then tells how long the device takes
    // to answer (a second one goes out only when the first seems lost).
    const std::int64_t deadline = clock_.NowMs() + kLinkUpTimeoutMs;
    std::int64_t searchedAt = identified_at_ms_;  // no search: linked already
    while (!link_.LinkUp()) {
        if (gone()) return LinkUpResult::DeviceGone;
        if (clock_.NowMs() >= deadline) return LinkUpResult::Silent;
        searchedAt = clock_.NowMs();
        channel_.SendLinkSearch();
        (void)WaitUntil([&] { return link_.LinkUp() || gone(); },
                        std::min(deadline, searchedAt + kSearchRepeatMs));
    }
    identified_after_ms_ = identified_at_ms_ - searchedAt;
    link_.ClearStartSyncRequest();        // the caller synchronises when it is ready
    supervisor_.LinkTickTimer().Start();  // keep-alive and the silence watch
    return identified_after_ms_ >= CommandChannel::kReplyTimeoutMs ? LinkUpResult::TooSlow
                                                                   : LinkUpResult::Ok;
}

CommandStatus LinkSession::Synchronise() {
    return transfers_.SyncFromDevice(0, true, Command::ReadWorkingBlock);
}

}  // namespace vellora::protocol
