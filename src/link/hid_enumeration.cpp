// hidapi's device list and open call; the only Linux-specific check of the link lives here.
#include "link/hid_enumeration.h"

#include <hidapi.h>

#if defined(__linux__)
#include <fcntl.h>
#include <sys/file.h>
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

int LockDeviceNode([[maybe_unused]] const std::string& path) {
#if defined(__linux__)
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held ? -2 : -1;
#else
    return -1;
#endif
}

void UnlockDeviceNode([[maybe_unused]] int lock) {
#if defined(__linux__)
    if (lock >= 0) ::close(lock);  // closing the handle gives the lock back
#endif
}

HidapiEnumeration::~HidapiEnumeration() {
    for (const auto& [device, lock] : locks_) UnlockDeviceNode(lock);
}

HidOpenResult HidapiEnumeration::OpenPath(const std::string& path) {
    const int lock = LockDeviceNode(path);
    if (lock == -2) return {nullptr, LinkError::OpenFailed};  // another terminal has it
    hid_device* device = hid_open_path(path.c_str());
    if (device != nullptr) {
        if (lock >= 0) locks_[device] = lock;
        return {device, LinkError::None};
    }
    UnlockDeviceNode(lock);
    return {nullptr, PermissionDenied(path) ? LinkError::AccessDenied : LinkError::OpenFailed};
}

void HidapiEnumeration::Closing(hid_device_* device) {
    const auto it = locks_.find(device);
    if (it == locks_.end()) return;
    UnlockDeviceNode(it->second);
    locks_.erase(it);
}

}  // namespace vellora::link
