// Endpoint to port, "sim" included.
#include "device/device_port_factory.h"

#include "link/port_factory.h"

namespace vellora::device {

DevicePort MakeDevicePort(const link::Endpoint& endpoint, model::Clock& clock,
                          const SimulatedDeviceOptions& options) {
    DevicePort result;
    if (endpoint.Kind != link::EndpointKind::Sim) {
        result.Port = link::MakePort(endpoint, clock);
        return result;
    }
    auto port = std::make_unique<SimulatedPort>(
        std::make_unique<SimulatedProcessor>(clock, options.Processor));
    if (!options.StateFolder.isEmpty()) result.StateError = port->KeepStateIn(options.StateFolder);
    result.Simulated = port.get();
    result.Port = std::move(port);
    return result;
}

}  // namespace vellora::device
