// Texts of the link errors.
#include "link/link_error.h"

namespace vellora::link {

const char* LinkErrorText(LinkError error) {
    switch (error) {
        case LinkError::None:
            return "no error";
        case LinkError::NotFound:
            return "device not found";
        case LinkError::AccessDenied:
#if defined(__linux__)
            return "a processor was found on USB but cannot be opened: no permission; install the "
                   "udev rule 70-vellora.rules (see the README) and plug it in again";
#else
            return "a processor was found on USB but cannot be opened: no permission";
#endif
        case LinkError::SocketAccessDenied:
            return "the socket could not be opened: permission denied";
        case LinkError::OpenFailed:
            return "device found but cannot be opened (in use by another program?)";
        case LinkError::NotOpen:
            return "no device is open";
        case LinkError::WriteFailed:
            return "writing to the device failed";
        case LinkError::ReadFailed:
            return "reading from the device failed";
        case LinkError::Disconnected:
            return "the device disconnected";
        case LinkError::BadRecord:
            return "the bridge peer sent a malformed record";
        case LinkError::ShortRecord:
            return "the bridge connection ended in the middle of a record";
        case LinkError::BadReport:
            return "the device sent a malformed input report";
        case LinkError::BadArgument:
            return "invalid data for the device link";
        case LinkError::ListenFailed:
            return "cannot listen on the bridge endpoint";
        case LinkError::NotReading:
            return "the peer stopped reading: more than 1 MiB of reports waited for it";
    }
    return "unknown link error";
}

}  // namespace vellora::link
