// QTimer-based Clock.
#include "link/qt_clock.h"

#include <QTimer>
#include <algorithm>
#include <limits>

namespace vellora::link {

QtClock::QtClock() {
    elapsed_.start();
}

QtClock::~QtClock() {
    // The timers are children of context_ and go with it; nothing fires after this.
    pending_.clear();
}

model::TimerId QtClock::CallAfter(std::int64_t delayMs, std::function<void()> fn) {
    const model::TimerId id = ++next_id_;
    auto* timer = new QTimer(&context_);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, &context_, [this, id, timer, fn = std::move(fn)] {
        pending_.erase(id);
        timer->deleteLater();
        fn();
    });
    pending_.emplace(id, timer);
    const std::int64_t interval =
        std::clamp<std::int64_t>(delayMs, 0, std::numeric_limits<int>::max());
    timer->start(static_cast<int>(interval));
    return id;
}

void QtClock::Cancel(model::TimerId id) {
    const auto it = pending_.find(id);
    if (it == pending_.end()) return;
    it->second->stop();
    it->second->deleteLater();
    pending_.erase(it);
}

}  // namespace vellora::link
