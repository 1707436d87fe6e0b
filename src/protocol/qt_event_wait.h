// The wait of the link engine in the real program: Qt's event loop runs inside the wait, so
// timers, arriving reports and user actions are handled while a command waits for its reply.
#pragma once

#include "protocol/wait_driver.h"

namespace vellora::protocol {

class QtEventWait : public WaitDriver {
public:
    /// Processes events, sleeping until one arrives when none is pending. Needs a
    /// QCoreApplication; always true (the engine's own time-out ends every wait).
    bool Step() override;
    /// Processes the events pending now, without sleeping.
    void Drain() override;
};

}  // namespace vellora::protocol
