// How the link lets the rest of the program run while it waits for a reply: the real program
// runs its event loop, tests step a virtual clock to its next due call. The clock is the one
// whose timers that loop fires, so deadlines and time-outs are measured on it.
#pragma once

#include "model/clock.h"

namespace vellora::protocol {

class WaitDriver {
public:
    virtual ~WaitDriver() = default;
    /// Runs what is pending and, when nothing is, waits for the next event (a timer, arriving
    /// bytes, a user action). False when nothing can ever happen again: the wait gives up.
    virtual bool Step() = 0;
    /// Runs everything already pending without waiting ("let pending events run").
    virtual void Drain() = 0;
    /// The clock of the loop.
    [[nodiscard]] virtual model::Clock& Clock() = 0;
};

}  // namespace vellora::protocol
