// English texts of the device errors.
#include "device/device_error.h"

namespace vellora::device {

std::string_view DeviceErrorText(DeviceError error) {
    switch (error) {
        case DeviceError::Ok:
            return "ok";
        case DeviceError::BadMode:
            return "mode number outside 0..10";
        case DeviceError::BadName:
            return "mode name must be at most 12 bytes with no zero byte and no byte 253..255";
        case DeviceError::NoNameEncoding:
            return "no GBK converter in this Qt build";
        case DeviceError::BadPassword:
            return "password must be its exact number of digits 0..9";
        case DeviceError::BadVariant:
            return "variant must be one letter A..Z";
        case DeviceError::StateNotFound:
            return "no state file in the state folder";
        case DeviceError::StateCorrupt:
            return "state file is damaged";
        case DeviceError::StateReadFailed:
            return "state file could not be read";
        case DeviceError::StateWriteFailed:
            return "state file could not be written";
        case DeviceError::StateFolderUnusable:
            return "the folder cannot be made or written";
    }
    return "unknown error";
}

}  // namespace vellora::device
