// The real-time Clock of the program: QElapsedTimer for the time, one single-shot QTimer per
// pending call. Lives on, and fires on, the thread that created it (the user-interface thread).
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <unordered_map>

#include "model/clock.h"

class QTimer;

namespace vellora::link {

class QtClock : public model::Clock {
public:
    QtClock();
    ~QtClock() override;
    QtClock(const QtClock&) = delete;
    QtClock& operator=(const QtClock&) = delete;

    [[nodiscard]] std::int64_t NowMs() const override { return elapsed_.elapsed(); }
    /// Fires from the event loop, never before `delayMs` has passed (precise timers: a coarse
    /// one may fire 5% early, which would cut a 600 ms reply time-out to 570 ms).
    model::TimerId CallAfter(std::int64_t delayMs, std::function<void()> fn) override;
    void Cancel(model::TimerId id) override;

private:
    QElapsedTimer elapsed_;
    QObject context_;
    std::unordered_map<model::TimerId, QTimer*> pending_;
    model::TimerId next_id_ = 0;
};

}  // namespace vellora::link
