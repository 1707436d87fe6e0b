// Bounded waits for tests that need the Qt event loop: pump events (and a virtual clock's due
// calls) until a condition holds or a generous real-time limit passes.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include "model/clock.h"

namespace vellora::link::testing {

inline constexpr int kWaitLimitMs = 10000;

template <typename Pred>
bool WaitUntil(Pred pred, model::VirtualClock* clock = nullptr, int limit_ms = kWaitLimitMs) {
    const QDeadlineTimer deadline(limit_ms);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (clock != nullptr) clock->RunDue();
        if (pred()) return true;
        if (deadline.hasExpired()) return false;
        QThread::msleep(1);
    }
}

/// Lets queued work run for a while; for checking that nothing more happens.
inline void Settle(model::VirtualClock* clock = nullptr, int ms = 50) {
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (clock != nullptr) clock->RunDue();
        QThread::msleep(1);
    }
}

}  // namespace vellora::link::testing
