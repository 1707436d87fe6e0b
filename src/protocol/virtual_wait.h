// The wait of the link in virtual time: each step moves a VirtualClock to its next due call,
// so a simulated device's reply and the 600 ms time-out fire in time order.
#pragma once

#include "model/clock.h"
#include "protocol/wait_driver.h"

namespace vellora::protocol {

class VirtualWait : public WaitDriver {
public:
    /// The clock must outlive the wait.
    explicit VirtualWait(model::VirtualClock& clock) : clock_(clock) {}
    bool Step() override { return clock_.AdvanceToNext(); }
    void Drain() override { clock_.RunDue(); }
    model::Clock& Clock() override { return clock_; }

private:
    model::VirtualClock& clock_;
};

}  // namespace vellora::protocol
