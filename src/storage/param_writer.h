// The one thing the history needs of the link: whether it is up, and writing one parameter
// to the processor. The editor puts the link engine behind it.
#pragma once

#include <cstdint>

namespace vellora::storage {

class ParamWriter {
public:
    virtual ~ParamWriter() = default;
    /// True while the device link is up; nothing is written while it is down.
    [[nodiscard]] virtual bool LinkUp() const = 0;
    /// Writes the current scene slot of ParamIndex `index` (0..2999) and waits for the
    /// device's reply; false when it never came (the link is down afterwards).
    [[nodiscard]] virtual bool WriteParam(int32_t index) = 0;
};

}  // namespace vellora::storage
