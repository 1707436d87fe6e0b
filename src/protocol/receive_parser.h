// The byte-by-byte receive parser of the device link: single control bytes, frame assembly,
// the checksum check, and the device's identification while the link is down. Good frames
// while the link is up go to the observer, which decides whether they answer anything.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/workspace.h"
#include "protocol/link_state.h"

namespace vellora::protocol {

inline constexpr std::size_t kFrameBufferSize = 1000;
inline constexpr std::size_t kReplyPayloadSize = 5001;
inline constexpr int32_t kToneKeyNeutral = 5;  ///< key-shift Value written on the tone-key byte

/// What the parser tells its owner. Every call happens inside OnDeviceBytes, after the
/// LinkState and the store already hold the new state.
class ParserObserver {
public:
    virtual ~ParserObserver() = default;
    /// The device sent the tone-key byte; key shift (2598, slot 0) is now 5.
    virtual void OnToneKey() {}
    /// An identification brought the link up (LinkState::Identified has run).
    virtual void OnIdentified(char /*variantLetter*/) {}
    /// A good frame arrived while the link was up; `identification` when it has the form of
    /// the device's identification (an answer to a search frame sent earlier).
    virtual void OnFrame(std::span<const uint8_t> /*payload*/, bool /*identification*/) {}
};

/// Counters of what the parser threw away, for diagnostics and tests.
struct ParserDrops {
    uint32_t BadChecksum = 0;  ///< complete frames whose checksum did not match
    uint32_t BadLength = 0;    ///< frames whose length byte lay outside 3..252
    uint32_t Stray = 0;        ///< bytes outside any frame
    uint32_t Unasked = 0;  ///< good frames while the link was down that were not identifications
};

class ReceiveParser {
public:
    /// `workspace` and `link` must outlive the parser; `observer` may be null, and when given
    /// must outlive it too.
    ReceiveParser(model::Workspace& workspace, LinkState& link, ParserObserver* observer = nullptr)
        : workspace_(workspace), link_(link), observer_(observer) {}

    void SetObserver(ParserObserver* observer) { observer_ = observer; }

    /// Feeds the bytes of one arrival, in order. Any byte sequence is safe.
    void OnDeviceBytes(std::span<const uint8_t> bytes);

    /// Drops a half-received frame; called before every frame sent and every search frame.
    void ResetPosition();

    /// Number of bytes of the frame being received (0..kFrameBufferSize - 1).
    [[nodiscard]] std::size_t Position() const { return position_; }
    [[nodiscard]] const std::array<uint8_t, kFrameBufferSize>& FrameBuffer() const {
        return frame_;
    }

    /// Length byte of the last good frame (its payload is ReplyLength - 3 bytes); 0 before any.
    [[nodiscard]] int ReplyLength() const { return reply_length_; }
    /// The whole 5001-byte payload store; bytes beyond the last reply are left from before.
    [[nodiscard]] const std::array<uint8_t, kReplyPayloadSize>& ReplyPayload() const {
        return payload_;
    }
    /// Exactly the payload of the last good frame.
    [[nodiscard]] std::span<const uint8_t> LastPayload() const {
        return {payload_.data(),
                reply_length_ >= 3 ? static_cast<std::size_t>(reply_length_ - 3) : 0};
    }
    /// Byte `i` of the last good frame's payload, or `fallback` when the frame was shorter
    /// (a reply too short to carry the byte a caller looks for).
    [[nodiscard]] uint8_t PayloadByte(std::size_t i, uint8_t fallback = 0) const {
        const auto last = LastPayload();
        return i < last.size() ? last[i] : fallback;
    }

    [[nodiscard]] const ParserDrops& Drops() const { return drops_; }

private:
    void StoreByte(uint8_t b);
    void CompleteFrame(std::size_t length);
    void HandleGoodFrame(std::size_t payloadLength);

    model::Workspace& workspace_;
    LinkState& link_;
    ParserObserver* observer_;

    std::array<uint8_t, kFrameBufferSize> frame_{};
    std::size_t position_ = 0;
    std::array<uint8_t, kReplyPayloadSize> payload_{};
    int reply_length_ = 0;
    ParserDrops drops_{};
};

}  // namespace vellora::protocol
