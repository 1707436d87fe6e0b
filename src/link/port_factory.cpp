// Endpoint to port.
#include "link/port_factory.h"

#include "link/hidapi_port.h"
#include "link/socket_port.h"

namespace vellora::link {

std::unique_ptr<HidPort> MakePort(const Endpoint& endpoint, model::Clock& clock) {
    switch (endpoint.Kind) {
        case EndpointKind::Auto:
        case EndpointKind::Bridge:
            return std::make_unique<HidapiPort>(clock);
        case EndpointKind::Unix:
        case EndpointKind::Tcp:
            return std::make_unique<SocketPort>(endpoint);
        case EndpointKind::Sim:
            return nullptr;
    }
    return nullptr;
}

}  // namespace vellora::link
