// Errors of the simulated processor: settings it refuses and state folders it cannot use.
#pragma once

#include <string_view>

namespace vellora::device {

enum class DeviceError {
    Ok = 0,
    BadMode,         ///< a mode number outside 0..10
    BadName,         ///< a mode name over 12 bytes, with a zero byte or a byte 253..255
    NoNameEncoding,  ///< this Qt build has no GBK converter for turning text into a name
    BadPassword,     ///< not exactly the slot's number of digits 0..9
    BadVariant,      ///< a variant that is not one ASCII letter
    StateNotFound,   ///< the state folder holds no state file yet (a fresh device)
    StateCorrupt,    ///< the state file is damaged or from another layout
    StateReadFailed,
    StateWriteFailed,
    StateFolderUnusable,  ///< the state folder cannot be made or written
};

/// A short English sentence for logs and command-line error lines.
[[nodiscard]] std::string_view DeviceErrorText(DeviceError error);

}  // namespace vellora::device
