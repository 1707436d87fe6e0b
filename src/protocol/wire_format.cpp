// The link search frame, assembled from the header rule of the non-parameter commands.
#include "protocol/wire_format.h"

namespace vellora::protocol {

std::array<uint8_t, kLinkSearchFrameLength> LinkSearchFrame() {
    std::array<uint8_t, kLinkSearchFrameLength> frame{kFrameStart,
                                                      static_cast<uint8_t>(Command::LinkSearch),
                                                      kFiller,
                                                      kFiller,
                                                      kFiller,
                                                      static_cast<uint8_t>(kLinkSearchFrameLength),
                                                      'Y',
                                                      'O',
                                                      'P',
                                                      '_',
                                                      'C',
                                                      'T',
                                                      'R',
                                                      'L',
                                                      0};
    frame[kLinkSearchFrameLength - 1] =
        FrameChecksum(std::span<const uint8_t>(frame.data(), kLinkSearchFrameLength - 1));
    return frame;
}

}  // namespace vellora::protocol
