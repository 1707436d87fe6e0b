// Injected time: a clock with one-shot callbacks, a repeating timer built on it, and a
// virtual clock for tests that advances only when told to. Real time lives in a Qt adapter.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

namespace vellora::model {

using TimerId = std::uint64_t;

class Clock {
public:
    virtual ~Clock() = default;
    /// Milliseconds since an arbitrary start; never decreases.
    [[nodiscard]] virtual std::int64_t NowMs() const = 0;
    /// Calls `fn` once, `delayMs` (>= 0) from now, on the thread that owns the clock.
    virtual TimerId CallAfter(std::int64_t delayMs, std::function<void()> fn) = 0;
    /// Cancels a pending call; unknown or fired ids are ignored.
    virtual void Cancel(TimerId id) = 0;
};

/// A periodic tick on a Clock, like a toolkit timer: Start, Stop, interval in ms.
class RepeatingTimer {
public:
    RepeatingTimer(Clock& clock, std::int64_t intervalMs, std::function<void()> onTick)
        : clock_(clock), interval_(intervalMs), on_tick_(std::move(onTick)) {}
    ~RepeatingTimer() { Stop(); }
    RepeatingTimer(const RepeatingTimer&) = delete;
    RepeatingTimer& operator=(const RepeatingTimer&) = delete;

    void Start() {
        Stop();
        active_ = true;
        Arm();
    }
    void Stop() {
        if (active_) clock_.Cancel(pending_);
        active_ = false;
    }
    [[nodiscard]] bool IsActive() const { return active_; }
    [[nodiscard]] std::int64_t Interval() const { return interval_; }
    /// A new interval takes effect from the next start (a running timer restarts).
    void SetInterval(std::int64_t ms) {
        interval_ = ms;
        if (active_) Start();
    }

private:
    void Arm() {
        pending_ = clock_.CallAfter(interval_, [this] {
            if (!active_) return;
            Arm();
            on_tick_();
        });
    }

    Clock& clock_;
    std::int64_t interval_;
    std::function<void()> on_tick_;
    TimerId pending_ = 0;
    bool active_ = false;
};

/// Virtual time: nothing happens until AdvanceBy/AdvanceTo, which fire due callbacks in
/// time order (ties in the order they were scheduled), each seeing NowMs() = its due time.
class VirtualClock : public Clock {
public:
    [[nodiscard]] std::int64_t NowMs() const override { return now_; }
    TimerId CallAfter(std::int64_t delayMs, std::function<void()> fn) override {
        const TimerId id = ++next_id_;
        queue_.emplace(std::pair{now_ + (delayMs < 0 ? 0 : delayMs), id}, std::move(fn));
        return id;
    }
    void Cancel(TimerId id) override {
        for (auto it = queue_.begin(); it != queue_.end(); ++it)
            if (it->first.second == id) {
                queue_.erase(it);
                return;
            }
    }
    void AdvanceTo(std::int64_t t) {
        while (!queue_.empty() && queue_.begin()->first.first <= t) {
            auto node = queue_.extract(queue_.begin());
            now_ = node.key().first;
            node.mapped()();
        }
        if (t > now_) now_ = t;
    }
    void AdvanceBy(std::int64_t ms) { AdvanceTo(now_ + ms); }
    /// Fires everything due now (zero-delay callbacks) without moving time.
    void RunDue() { AdvanceTo(now_); }
    /// Moves time to the earliest pending call and fires everything due then; false (and
    /// nothing happens) when no call is pending. Lets a wait loop step through virtual time.
    bool AdvanceToNext() {
        if (queue_.empty()) return false;
        AdvanceTo(queue_.begin()->first.first);
        return true;
    }
    [[nodiscard]] std::size_t PendingCount() const { return queue_.size(); }

private:
    std::int64_t now_ = 0;
    TimerId next_id_ = 0;
    std::map<std::pair<std::int64_t, TimerId>, std::function<void()>> queue_;
};

}  // namespace vellora::model
