// Errors of the protocol layer: frames that cannot be built and replies that cannot be read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vellora::protocol {

enum class ProtocolError : uint8_t {
    Ok = 0,
    UnknownCommand,    ///< a command code the device does not know
    BadIndex,          ///< ParamIndex outside the menu kinds, or a low byte the wire reserves
    BadValue,          ///< mode, ModeField or ModeOverride that does not fit a frame byte
    BadSlot,           ///< scene slot outside 0..2
    BadPasswordSlot,   ///< PasswordSlot other than 0 (panel lock) or 2 (administrator)
    BadOperation,      ///< password operation other than 0 check, 1 change, 2 close
    BadPasswordDigit,  ///< a PasswordDigits byte outside 0..9
    FrameTooLong,      ///< the frame would exceed 255 bytes
    BufferTooSmall,    ///< the caller's buffer cannot hold the frame
    ReplyTooShort,     ///< a block reply with fewer bytes than the block's entries need
    ReplyTooLong,      ///< a block reply with more bytes than the block's entries need
};

/// What a builder or codec produced: an error, or the number of bytes written or consumed.
struct ByteResult {
    ProtocolError Error = ProtocolError::Ok;
    std::size_t Bytes = 0;

    [[nodiscard]] constexpr bool Ok() const { return Error == ProtocolError::Ok; }
};

/// A short English description for logs and test output.
constexpr std::string_view ErrorName(ProtocolError error) {
    switch (error) {
        case ProtocolError::Ok:
            return "ok";
        case ProtocolError::UnknownCommand:
            return "unknown command";
        case ProtocolError::BadIndex:
            return "bad parameter index";
        case ProtocolError::BadValue:
            return "value does not fit a frame byte";
        case ProtocolError::BadSlot:
            return "bad scene slot";
        case ProtocolError::BadPasswordSlot:
            return "bad password slot";
        case ProtocolError::BadOperation:
            return "bad password operation";
        case ProtocolError::BadPasswordDigit:
            return "password digit outside 0..9";
        case ProtocolError::FrameTooLong:
            return "frame longer than 255 bytes";
        case ProtocolError::BufferTooSmall:
            return "buffer too small for the frame";
        case ProtocolError::ReplyTooShort:
            return "reply shorter than the block";
        case ProtocolError::ReplyTooLong:
            return "reply longer than the block";
    }
    return "unknown error";
}

}  // namespace vellora::protocol
