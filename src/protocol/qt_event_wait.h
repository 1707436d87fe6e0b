// The wait of the link in the real program: Qt's event loop runs inside the wait, so timers,
// arriving reports and user actions are handled while a command waits for its reply.
#pragma once

#include "model/clock.h"
#include "protocol/wait_driver.h"

namespace vellora::protocol {

class QtEventWait : public WaitDriver {
public:
    /// `clock` (a clock whose timers Qt's event loop fires) must outlive the wait.
    explicit QtEventWait(model::Clock& clock) : clock_(clock) {}
    /// Processes events, sleeping until one arrives when none is pending. Needs a
    /// QCoreApplication; always true (the link's own time-out ends every wait).
    bool Step() override;
    /// Processes the events pending now, without sleeping.
    void Drain() override;
    model::Clock& Clock() override { return clock_; }

private:
    model::Clock& clock_;
};

}  // namespace vellora::protocol
