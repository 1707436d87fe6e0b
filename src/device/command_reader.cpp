// Frame assembly on the device side. Every 0xFE starts a new frame, wherever it stands;
// 0xFF and 0xFD are single control bytes and never part of a frame.
#include "device/command_reader.h"

#include "protocol/wire_format.h"

namespace vellora::device {

namespace {
constexpr std::size_t kLengthByte = 5;
}

CommandReader::Event CommandReader::Push(std::uint8_t byte) {
    frame_length_ = 0;
    if (byte == protocol::KeepAliveByte) return Event::KeepAlive;
    if (byte == protocol::ToneKeyByte) return Event::Stray;
    if (byte == protocol::kFrameStart) {
        buffer_[0] = byte;
        position_ = 1;
        return Event::None;
    }
    if (position_ == 0) return Event::Stray;

    buffer_[position_++] = byte;
    if (position_ <= kLengthByte) return Event::None;
    const std::size_t length = buffer_[kLengthByte];
    if (length < kMinFrameLength) {
        position_ = 0;
        return Event::BadLength;
    }
    if (position_ < length) return Event::None;

    // The length byte is at most 252 (bytes 253..255 never get here), so the buffer holds it.
    position_ = 0;
    const std::uint8_t expected = protocol::FrameChecksum(std::span(buffer_.data(), length - 1));
    if (buffer_[length - 1] != expected) return Event::BadChecksum;
    frame_length_ = length;
    return Event::Frame;
}

}  // namespace vellora::device
