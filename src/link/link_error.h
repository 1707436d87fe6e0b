// Errors of the device link: every failure of hidapi, the socket bridge and the transport
// logic ends up as one of these values, translated once, here in the link layer.
#pragma once

namespace vellora::link {

enum class LinkError {
    None,
    NotFound,      ///< no matching device is present (or nothing listens on the bridge endpoint)
    AccessDenied,  ///< a matching device is present but this user may not open it
    SocketAccessDenied,  ///< the bridge socket exists but this user may not connect to it
    OpenFailed,    ///< a matching device is present but could not be opened (in use, I/O error)
    NotOpen,       ///< the operation needs an open device
    WriteFailed,   ///< an output report could not be written; the device counts as lost
    ReadFailed,    ///< reading input reports failed; the device counts as lost
    Disconnected,  ///< the device went away (unplugged, bridge connection closed)
    BadRecord,     ///< the bridge peer sent a record that breaks the record format
    ShortRecord,   ///< the bridge connection ended in the middle of a record
    BadReport,     ///< an input report whose count byte exceeds the report (dropped)
    BadArgument,   ///< empty data, a report of the wrong length, more than 60 data bytes
    ListenFailed,  ///< the bridge server could not listen on its endpoint
    NotReading,    ///< the bridge peer left too much unread; the server dropped it
};

/// A short English sentence for logs and the command line; never empty.
[[nodiscard]] const char* LinkErrorText(LinkError error);

}  // namespace vellora::link
