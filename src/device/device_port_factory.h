// The port a device endpoint names, with "sim" resolved here to an in-process simulated
// processor; "auto", "unix:" and "tcp:" are the link layer's ports.
#pragma once

#include <QString>
#include <memory>

#include "device/device_error.h"
#include "device/simulated_port.h"
#include "device/simulated_processor.h"
#include "link/endpoint.h"
#include "link/hid_port.h"
#include "model/clock.h"

namespace vellora::device {

/// How a "sim" endpoint's processor is made.
struct SimulatedDeviceOptions {
    ProcessorOptions Processor;
    /// Keeps the state across runs in this folder; empty = the factory state, not kept.
    QString StateFolder;
};

struct DevicePort {
    std::unique_ptr<link::HidPort> Port;
    /// The same port when it is the simulated processor (for faults, state, unplugging).
    SimulatedPort* Simulated = nullptr;
    /// Loading the state folder: Ok, StateNotFound (a fresh device), or the error for which
    /// the device started from the factory state (a damaged file was kept aside).
    DeviceError StateError = DeviceError::Ok;
};

/// The clock must outlive the port.
[[nodiscard]] DevicePort MakeDevicePort(const link::Endpoint& endpoint, model::Clock& clock,
                                        const SimulatedDeviceOptions& options = {});

}  // namespace vellora::device
