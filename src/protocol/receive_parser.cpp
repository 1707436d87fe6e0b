// Receive parser. Position 0 means "waiting for a start byte": a frame that fails any check
// is dropped whole and everything up to the next 0xFE is ignored.
#include "protocol/receive_parser.h"

#include <algorithm>

#include "protocol/wire_format.h"

namespace vellora::protocol {

// A frame can never be longer than its length byte allows, so a frame that passes the length
// check always completes (or fails its checksum) well inside the buffer.
static_assert(kMaxReplyLength < kFrameBufferSize);
static_assert(kMaxReplyLength - kMinReplyLength <= kReplyPayloadSize);

void ReceiveParser::OnDeviceBytes(std::span<const uint8_t> bytes) {
    for (const uint8_t b : bytes) {
        switch (b) {
            case KeepAliveByte:
                link_.ResetSilence();
                break;
            case kFrameStart:
                // A start byte anywhere discards a partial frame and opens a new one.
                frame_[0] = b;
                position_ = 1;
                break;
            case ToneKeyByte:
                workspace_.ParamStore.SetValueAt(model::entry::kKeyShift, 0, kToneKeyNeutral);
                if (observer_) observer_->OnToneKey();
                break;
            default:
                StoreByte(b);
                break;
        }
    }
}

void ReceiveParser::ResetPosition() {
    position_ = 0;
}

void ReceiveParser::StoreByte(uint8_t b) {
    if (position_ == 0) {
        ++drops_.Stray;
        return;
    }
    if (position_ >= frame_.size()) {  // unreachable while the length check holds; never overrun
        position_ = 0;
        return;
    }
    frame_[position_++] = b;
    if (position_ == 2 && (b < kMinReplyLength || b > kMaxReplyLength)) {
        // A length byte outside 3..252 cannot start a frame: drop it and wait for the next 0xFE.
        ++drops_.BadLength;
        position_ = 0;
        return;
    }
    if (position_ >= kMinReplyLength && position_ == frame_[1]) CompleteFrame(position_);
}

void ReceiveParser::CompleteFrame(std::size_t length) {
    const uint8_t checksum = FrameChecksum(std::span<const uint8_t>(frame_.data(), length - 1));
    position_ = 0;
    if (checksum != frame_[length - 1]) {
        ++drops_.BadChecksum;
        return;
    }
    const std::size_t payloadLength = length - 3;
    std::copy_n(frame_.begin() + 2, payloadLength, payload_.begin());
    reply_length_ = static_cast<int>(length);
    HandleGoodFrame(payloadLength);
}

void ReceiveParser::HandleGoodFrame(std::size_t payloadLength) {
    const std::span<const uint8_t> payload(payload_.data(), payloadLength);
    // The tag must lie inside this frame's payload: bytes left over from an earlier reply
    // never identify a device.
    const bool identification = IsIdentification(payload);
    if (link_.LinkUp()) {
        if (observer_) observer_->OnFrame(payload, identification);
        return;
    }
    // While the link is down only the identification counts.
    if (!identification) {
        ++drops_.Unasked;
        return;
    }
    link_.Identified(payload.first(kDeviceTagLength));
    if (observer_) observer_->OnIdentified(static_cast<char>(payload_[kDeviceVariantAt]));
}

}  // namespace vellora::protocol
