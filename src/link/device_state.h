// Where the search for the processor stands, as the front ends show it: not found, found but
// not permitted, open, lost. UsbComm keeps it and tells of each change once.
#pragma once

#include "link/link_error.h"

namespace vellora::link {

enum class DeviceState {
    Searching,     ///< no scan has answered yet
    NotFound,      ///< no matching device is present
    NoPermission,  ///< a matching device is present, but this user may not open it
    Unavailable,   ///< a matching device is present but could not be opened (in use, I/O error)
    Open,          ///< the device is open
    Lost,          ///< the open device went away; the next scan tells what is there now
};

/// The state a scan leaves: the result of HidPort::Open (None = Open).
[[nodiscard]] DeviceState StateAfterScan(LinkError openResult);

/// One line for an installer, naming what to do; never empty. NoPermission names the udev
/// rule "70-vellora.rules" on Linux.
[[nodiscard]] const char* DeviceStateText(DeviceState state);

}  // namespace vellora::link
