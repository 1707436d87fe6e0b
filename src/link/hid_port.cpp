// Hand-over from a port to its listener.
#include "link/hid_port.h"

namespace vellora::link {

void HidPort::InputReportArrived(std::span<const std::uint8_t> report) {
    if (listener_ != nullptr) listener_->InputReport(report);
}

void HidPort::DeviceLost(LinkError reason) {
    if (listener_ != nullptr) listener_->PortLost(reason);
}

}  // namespace vellora::link
