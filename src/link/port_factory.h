// Builds the port that an endpoint names: hidapi for "auto", the socket bridge for "unix:" and
// "tcp:". "sim" is the in-process simulated processor, which the device layer provides.
#pragma once

#include <memory>

#include "link/endpoint.h"
#include "link/hid_port.h"
#include "model/clock.h"

namespace vellora::link {

/// nullptr for EndpointKind::Sim. The clock must outlive the port.
[[nodiscard]] std::unique_ptr<HidPort> MakePort(const Endpoint& endpoint, model::Clock& clock);

}  // namespace vellora::link
