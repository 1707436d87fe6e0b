// The machine's list of HID devices and the open call on one of them, as HidapiPort sees them:
// hidapi in the program, a scripted list in tests that tells "none there" from "no permission".
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "link/link_error.h"

struct hid_device_;

namespace vellora::link {

/// One present HID interface.
struct HidDeviceEntry {
    std::string Path;  ///< what OpenPath takes (a /dev/hidraw* node on Linux)
    std::uint16_t VendorId = 0;
    std::uint16_t ProductId = 0;
};

/// The answer of OpenPath: a device, or why there is none.
struct HidOpenResult {
    hid_device_* Device = nullptr;  ///< owned by the caller, closed with hid_close
    /// None with a device; AccessDenied when this user may not open the node, OpenFailed for
    /// any other reason (in use, I/O error).
    LinkError Error = LinkError::OpenFailed;
};

class HidEnumeration {
public:
    virtual ~HidEnumeration() = default;
    /// The present interfaces that carry these ids; an implementation may list others too
    /// (the caller matches the ids again).
    [[nodiscard]] virtual std::vector<HidDeviceEntry> Enumerate(std::uint16_t vendorId,
                                                                std::uint16_t productId) = 0;
    /// Opens one listed interface. A scripted list never hands out a device: it answers with
    /// AccessDenied or OpenFailed.
    [[nodiscard]] virtual HidOpenResult OpenPath(const std::string& path) = 0;
    /// Called just before the caller closes a device OpenPath handed out.
    virtual void Closing(hid_device_* /*device*/) {}
};

/// hid_enumerate and hid_open_path. On Linux a failed open is told apart by the access
/// rights of the hidraw node; elsewhere it stays OpenFailed. On Linux, where any number of
/// programs may open a hidraw node at once and would take each other's replies, an open device
/// is also locked: a second terminal finds it in use (OpenFailed) until the first closes it.
/// Windows and macOS open HID devices for one program already.
class HidapiEnumeration : public HidEnumeration {
public:
    ~HidapiEnumeration() override;
    [[nodiscard]] std::vector<HidDeviceEntry> Enumerate(std::uint16_t vendorId,
                                                        std::uint16_t productId) override;
    [[nodiscard]] HidOpenResult OpenPath(const std::string& path) override;
    void Closing(hid_device_* device) override;

private:
    std::map<hid_device_*, int> locks_;  ///< the lock of each open device's node
};

/// Takes the exclusive lock of a device node for this terminal: the lock's handle (>= 0),
/// -2 when another terminal holds it, -1 when the node cannot be locked at all (then nobody
/// can, and the device is used unlocked). Always -1 where there are no such locks.
[[nodiscard]] int LockDeviceNode(const std::string& path);
/// Gives a lock back; harmless for a negative handle.
void UnlockDeviceNode(int lock);

}  // namespace vellora::link
