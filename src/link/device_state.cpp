// Scan results to states, and the texts of the states.
#include "link/device_state.h"

namespace vellora::link {

DeviceState StateAfterScan(LinkError openResult) {
    switch (openResult) {
        case LinkError::None:
            return DeviceState::Open;
        case LinkError::NotFound:
            return DeviceState::NotFound;
        case LinkError::AccessDenied:
            return DeviceState::NoPermission;
        default:
            return DeviceState::Unavailable;
    }
}

const char* DeviceStateText(DeviceState state) {
    switch (state) {
        case DeviceState::Searching:
            return "looking for the processor";
        case DeviceState::NotFound:
            return "no processor found: check that it is plugged in and switched on";
        case DeviceState::NoPermission:
            return LinkErrorText(LinkError::AccessDenied);
        case DeviceState::Unavailable:
            return "a processor was found but cannot be opened: is another program using it?";
        case DeviceState::Open:
            return "the processor is connected";
        case DeviceState::Lost:
            return "the processor was disconnected";
    }
    return "unknown device state";
}

}  // namespace vellora::link
