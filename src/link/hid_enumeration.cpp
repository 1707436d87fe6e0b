// hidapi's device list and open call; the only Linux-specific check of the link lives here.
#include "link/hid_enumeration.h"

#include <hidapi.h>

#if defined(__linux__)
#include <unistd.h>

#include <cerrno>
#endif

namespace vellora::link {

namespace {

// Whether a device node failed to open for lack of permission. Only hidraw exposes a node
// whose access rights can be checked.
bool PermissionDenied([[maybe_unused]] const std::string& path) {
#if defined(__linux__)
    return ::access(path.c_str(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM);
#else
    return false;
#endif
}

}  // namespace

std::vector<HidDeviceEntry> HidapiEnumeration::Enumerate(std::uint16_t vendorId,
                                                         std::uint16_t productId) {
    std::vector<HidDeviceEntry> entries;
    hid_device_info* list = hid_enumerate(vendorId, productId);
    for (const hid_device_info* info = list; info != nullptr; info = info->next) {
        if (info->path == nullptr) continue;
        entries.push_back({info->path, info->vendor_id, info->product_id});
    }
    hid_free_enumeration(list);
    return entries;
}

HidOpenResult HidapiEnumeration::OpenPath(const std::string& path) {
    hid_device* device = hid_open_path(path.c_str());
    if (device != nullptr) return {device, LinkError::None};
    return {nullptr, PermissionDenied(path) ? LinkError::AccessDenied : LinkError::OpenFailed};
}

}  // namespace vellora::link
