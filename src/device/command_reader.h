// The device's end of the byte stream: assembles the terminal's command frames (start 0xFE,
// command, three header bytes, length, payload, checksum) and picks out keep-alive bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vellora::device {

class CommandReader {
public:
    /// Smallest command frame: start, command, three header bytes, length, checksum.
    static constexpr std::size_t kMinFrameLength = 7;
    static constexpr std::size_t kMaxFrameLength = 255;

    enum class Event {
        None,         ///< the byte was stored; the frame goes on
        KeepAlive,    ///< a lone 0xFF (also inside a frame, which goes on without it)
        Frame,        ///< a frame with a good checksum is complete: see Frame()
        BadChecksum,  ///< a complete frame whose checksum did not match; dropped
        BadLength,    ///< a length byte under 7; the frame is dropped
        Stray,        ///< a byte outside any frame, or a tone-key byte; dropped
    };

    /// Takes one byte. After Event::Frame, Frame() holds the frame until the next call.
    [[nodiscard]] Event Push(std::uint8_t byte);
    /// The last complete good frame, start and checksum included.
    [[nodiscard]] std::span<const std::uint8_t> Frame() const {
        return {buffer_.data(), frame_length_};
    }
    /// Drops a half-received frame.
    void Reset() {
        position_ = 0;
        frame_length_ = 0;
    }

private:
    std::array<std::uint8_t, kMaxFrameLength> buffer_{};
    std::size_t position_ = 0;
    std::size_t frame_length_ = 0;
};

}  // namespace vellora::device
