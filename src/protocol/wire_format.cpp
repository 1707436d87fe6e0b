// The link search frame, assembled from the header rule of the non-parameter commands, and
// the test for the device's identification.
#include "protocol/wire_format.h"

#include <algorithm>

namespace vellora::protocol {

std::array<uint8_t, kLinkSearchFrameLength> LinkSearchFrame() {
    std::array<uint8_t, kLinkSearchFrameLength> frame{
        kFrameStart, static_cast<uint8_t>(Command::LinkSearch),   kFiller, kFiller,
        kFiller,     static_cast<uint8_t>(kLinkSearchFrameLength)};
    std::copy(kLinkSearchText.begin(), kLinkSearchText.end(),
              frame.begin() + static_cast<std::ptrdiff_t>(kCommandHeaderLength));
    frame[kLinkSearchFrameLength - 1] =
        FrameChecksum(std::span<const uint8_t>(frame.data(), kLinkSearchFrameLength - 1));
    return frame;
}

bool IsIdentification(std::span<const uint8_t> payload) {
    return payload.size() >= kDeviceTagLength &&
           std::equal(kDeviceTagPrefix.begin(), kDeviceTagPrefix.end(), payload.begin()) &&
           payload[kDeviceTagLength - 1] == '_';
}

}  // namespace vellora::protocol
