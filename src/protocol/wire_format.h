// The byte-level vocabulary of the device link: command codes, reserved single bytes,
// base-250 value pairs, the frame checksum, the mode field and the link search frame.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vellora::protocol {

/// Command codes of the terminal's frames (byte 1).
enum class Command : uint8_t {
    WriteParam = 0,
    ReadModeBlock = 1,
    WriteModeBlock = 2,
    SaveToMode = 3,
    ReadModeNames = 4,
    PasswordCommand = 8,
    ReadCurrentMode = 9,
    ReadWorkingBlock = 11,
    LinkSearch = 250,
};

inline constexpr uint8_t kFrameStart = 0xFE;    ///< first byte of every frame, and only there
inline constexpr uint8_t KeepAliveByte = 0xFF;  ///< sent alone, both ways, outside frames
inline constexpr uint8_t ToneKeyByte = 0xFD;    ///< sent alone by the device: key shift reset
inline constexpr uint8_t kFiller = 0x23;        ///< '#', fills unused header and payload bytes

/// Largest byte that may stand inside a frame (253..255 are the single control bytes).
inline constexpr uint8_t kMaxDataByte = 252;
/// Largest byte the terminal itself puts into an entry; the device's own encoding stops here.
inline constexpr uint8_t kMaxSingleByte = 249;
inline constexpr int32_t kPairMax = 62499;  ///< 249 x 250 + 249
inline constexpr std::size_t kMaxFrameLength = 255;
inline constexpr uint8_t kMinReplyLength = 3;  ///< start, length, checksum
inline constexpr uint8_t kMaxReplyLength = 252;
inline constexpr std::size_t kCommandHeaderLength = 6;  ///< start, command, 3 header bytes, length

/// A value as two bytes, high first: value / 250, value mod 250. Values outside 0..62499
/// are clamped into that range first, so the two bytes are always 0..249.
struct ValuePair {
    uint8_t High = 0;
    uint8_t Low = 0;

    [[nodiscard]] static constexpr ValuePair Encode(int32_t value) {
        const int32_t v = value < 0 ? 0 : (value > kPairMax ? kPairMax : value);
        return {static_cast<uint8_t>(v / 250), static_cast<uint8_t>(v % 250)};
    }
    /// high x 250 + low, whatever the bytes are (a device may send bytes above 249).
    [[nodiscard]] static constexpr int32_t Decode(uint8_t high, uint8_t low) {
        return static_cast<int32_t>(high) * 250 + low;
    }
    [[nodiscard]] constexpr int32_t Value() const { return Decode(High, Low); }
};

/// Sum of the bytes modulo 256; a sum of 253, 254 or 255 is replaced by 0 so that the
/// checksum never looks like a control byte.
[[nodiscard]] constexpr uint8_t FrameChecksum(std::span<const uint8_t> bytes) {
    unsigned sum = 0;
    for (uint8_t b : bytes) sum += b;
    const auto c = static_cast<uint8_t>(sum & 0xFFu);
    return c > kMaxDataByte ? 0 : c;
}

/// The block address of a scene of a stored mode: mode + 11 x sceneSlot (0 singing, 1 dance).
[[nodiscard]] constexpr int32_t ModeField(int32_t mode, int32_t sceneSlot) {
    return mode + 11 * sceneSlot;
}

inline constexpr std::size_t kLinkSearchFrameLength = 15;
/// The payload of the search frame.
inline constexpr std::array<uint8_t, 8> kLinkSearchText{'Y', 'O', 'P', '_', 'C', 'T', 'R', 'L'};

/// The handshake frame: FE FA 23 23 23 0F "YOP_CTRL" and its checksum (0xFC).
[[nodiscard]] std::array<uint8_t, kLinkSearchFrameLength> LinkSearchFrame();

/// The device's identification (its answer to the search frame): "TR-W48" in payload bytes
/// 0..5, its variant letter in byte 6, '_' in byte 7.
inline constexpr std::array<uint8_t, 6> kDeviceTagPrefix{'T', 'R', '-', 'W', '4', '8'};
inline constexpr std::size_t kDeviceTagLength = 8;
inline constexpr std::size_t kDeviceVariantAt = 6;

/// True when `payload` has the form of the device's identification.
[[nodiscard]] bool IsIdentification(std::span<const uint8_t> payload);

/// Payload bytes of the ReadModeNames reply: 11 names of 12 bytes.
inline constexpr std::size_t kModeNamesReplyLength = 132;

/// Reply payload byte 1 when the device accepted the command (a password check or change).
inline constexpr uint8_t kAccepted = 'S';

/// PasswordSlot values (header byte 3 of the password command) and their digit counts.
inline constexpr int32_t kPanelLockSlot = 0;      ///< panel (keyboard) lock, 4 digits
inline constexpr int32_t kAdministratorSlot = 2;  ///< administrator, 6 digits
inline constexpr std::size_t kPanelLockDigits = 4;
inline constexpr std::size_t kAdministratorDigits = 6;

/// The operation of a password command (header byte 4).
enum class PasswordOperation : int32_t { Check = 0, Change = 1, Close = 2 };

/// Digit count of a PasswordSlot; 0 for a slot the device does not have.
[[nodiscard]] constexpr std::size_t PasswordDigitCount(int32_t slot) {
    return slot == kPanelLockSlot ? kPanelLockDigits
                                  : (slot == kAdministratorSlot ? kAdministratorDigits : 0);
}

}  // namespace vellora::protocol
