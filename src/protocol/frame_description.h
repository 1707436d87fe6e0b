// Readable text for the bytes of the device link, for the HID trace: what each frame of the
// terminal asks, what each frame of the device answers, the single control bytes, and what is
// malformed. Pure text making; no I/O and no clock.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "protocol/wire_format.h"

namespace vellora::protocol {

enum class FrameDirection {
    ToDevice,    ///< command frames: the length is byte 5
    FromDevice,  ///< reply frames: the length is byte 1
};

/// What one whole frame (start byte 0xFE to checksum) means, e.g.
/// "WriteParam(0) mode 0 index 4,5 (1029): value 250; checksum ok". Any bytes are safe: a
/// frame shorter than its header or than its length byte says is shown as malformed. The
/// digits of a password command are never shown.
[[nodiscard]] std::string DescribeFrame(std::span<const uint8_t> frame, FrameDirection direction);

/// Describes the data bytes of the reports of both directions as they pass: each call gets the
/// data bytes of one report (count byte and padding already taken off) and gives
/// "<the bytes in hex> | <what they are>", the meanings separated by "; ". A frame that spans
/// several reports is joined and described when its last byte arrives. Password digits are
/// shown as "**" in the hex too. Keeps at most one frame (255 bytes) per direction; any byte
/// sequence is safe. Copyable, so it can be handed to a tracer as a function.
class ReportDescriber {
public:
    [[nodiscard]] std::string Describe(FrameDirection direction, std::span<const uint8_t> data);
    /// The same, in the shape the link's tracer takes.
    [[nodiscard]] std::string operator()(bool toDevice, std::span<const uint8_t> data) {
        return Describe(toDevice ? FrameDirection::ToDevice : FrameDirection::FromDevice, data);
    }

private:
    /// The frame being received in one direction.
    struct Stream {
        std::array<uint8_t, kMaxFrameLength> Frame{};
        std::size_t Position = 0;  ///< bytes of the frame so far; 0 = between frames
    };

    Stream to_device_;
    Stream from_device_;
};

}  // namespace vellora::protocol
