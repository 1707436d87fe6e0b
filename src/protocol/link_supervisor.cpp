// The link tick, the start-sync tick, the indicator and the exit.
#include "protocol/link_supervisor.h"

#include "protocol/link_texts.h"

namespace vellora::protocol {

LinkSupervisor::LinkSupervisor(CommandChannel& channel, BulkTransfers& bulk, Prompts& prompts)
    : channel_(channel),
      bulk_(bulk),
      prompts_(prompts),
      link_(channel.Link()),
      clock_(channel.Wait().Clock()),
      link_tick_(clock_, kLinkTickMs, [this] { LinkTick(); }),
      start_sync_(clock_, kStartSyncMs, [this] { StartSyncTick(); }) {
    link_.AddListener(*this);
}

LinkSupervisor::~LinkSupervisor() {
    link_.RemoveListener(*this);
    StopTimers();
    if (close_pending_) clock_.Cancel(close_timer_);
}

void LinkSupervisor::StartTimers() {
    link_tick_.Start();
    start_sync_.Start();
}

void LinkSupervisor::StopTimers() {
    link_tick_.Stop();
    start_sync_.Stop();
}

void LinkSupervisor::LinkTick() {
    if (link_.LinkUp()) {
        if (++keep_alive_ticks_ > kKeepAliveAfterTicks) {
            keep_alive_ticks_ = 0;
            channel_.SendKeepAlive();
            progress_->ProgressStep();
        }
        if (link_.CountSilentTick() > kSilenceAfterTicks) {
            channel_.AbandonWait();
            link_.Lose(LinkLoss::Silence);
        }
    } else {
        link_.ResetSilence();
        keep_alive_ticks_ = 0;
    }

    if (link_.LinkUp() || search_off_) {
        search_ticks_ = 0;
    } else if (++search_ticks_ > kSearchAfterTicks) {
        search_ticks_ = 0;
        channel_.SendLinkSearch();
    }

    if (tick_) tick_();
}

void LinkSupervisor::StartSyncTick() {
    if (!link_.StartSyncRequested() || !channel_.Idle()) return;
    link_.ClearStartSyncRequest();
    (void)bulk_.SyncFromDevice(0, true, Command::ReadWorkingBlock);
}

void LinkSupervisor::SwitchOff(LinkLoss why) {
    search_off_ = true;
    link_.Lose(why);
}

void LinkSupervisor::ShowIndicator(ConnectStatus status) {
    status_->ShowConnectStatus(status);
}

void LinkSupervisor::LinkCameUp() {
    ShowIndicator(ConnectStatus::Linked);
}

void LinkSupervisor::LinkLost(LinkLoss why, bool wasUp) {
    const bool timedOut =
        why == LinkLoss::NoReply || why == LinkLoss::Silence || why == LinkLoss::TooSlow;
    if (timedOut && wasUp && !link_.Closing()) prompts_.Warning(texts::kLinkTimeout);
    ShowIndicator(why == LinkLoss::IndicatorOff ? ConnectStatus::SwitchedOff
                                                : ConnectStatus::NotLinked);
}

void LinkSupervisor::Exit() {
    link_.SetClosing(true);  // ends a running wait and silences its time-out message
    channel_.Wait().Drain();
    StopTimers();
    lifecycle_->StopEditorTimers();
    if (channel_.InWait()) {
        prompts_.Warning(texts::kStopping);
        if (close_pending_) clock_.Cancel(close_timer_);
        close_pending_ = true;
        close_timer_ = clock_.CallAfter(kCloseDelayMs, [this] {
            close_pending_ = false;
            lifecycle_->CloseEditor();
        });
        return;
    }
    lifecycle_->CloseEditor();
}

void LinkSupervisor::Reopen() {
    link_.SetClosing(false);
}

}  // namespace vellora::protocol
