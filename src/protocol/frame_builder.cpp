// Frame assembly: the header rules in their order, then the payload of the command, the
// length byte and the checksum. Frames are assembled in a local 255-byte frame first, so a
// failing build never touches the caller's buffer.
#include "protocol/frame_builder.h"

#include <algorithm>

#include "protocol/entry_codec.h"

namespace vellora::protocol {

namespace {

constexpr std::size_t kHeaderEnd = kCommandHeaderLength;  // payload starts here
constexpr std::size_t kShortFrameLength = 9;

bool UsesModeHeader(uint8_t command) {
    return command == 0 || command == 1 || command == 2 || command == 3 || command == 11;
}

bool IsBlockCommand(uint8_t command) {
    return command == 1 || command == 2 || command == 11;
}

// A frame byte taken from an argument must stay clear of the control bytes 253..255.
bool FitsFrameByte(int32_t value) {
    return value >= 0 && value <= kMaxDataByte;
}

}  // namespace

ByteResult FrameBuilder::Build(uint8_t command, int32_t value, int32_t index, bool sendNeutral,
                               std::span<uint8_t> out) {
    return Assemble(command, value, index, sendNeutral, workspace_.CurrentScene(), out);
}

ByteResult FrameBuilder::BuildWriteParam(int32_t index, int scene, bool sendNeutral,
                                         std::span<uint8_t> out) {
    if (scene != 0 && scene != 1) {
        link_.ModeOverride = 0;  // consumed like any command-0 frame, built or not
        return {ProtocolError::BadSlot, 0};
    }
    return Assemble(static_cast<uint8_t>(Command::WriteParam), 0, index, sendNeutral, scene, out);
}

ByteResult FrameBuilder::Assemble(uint8_t command, int32_t value, int32_t index, bool sendNeutral,
                                  int scene, std::span<uint8_t> out) {
    if (!IsKnownCommand(command)) return {ProtocolError::UnknownCommand, 0};

    std::array<uint8_t, kMaxFrameLength> frame{};
    std::size_t length = kShortFrameLength;

    // 1. Start and command.
    frame[0] = kFrameStart;
    frame[1] = command;
    // 2. Settings that belong to no mode carry no mode.
    if (index >= model::kModeScopedEnd) value = 0;
    // 3. / 4. Mode, kind and address, or the filler.
    if (UsesModeHeader(command)) {
        const uint8_t modeOverride = link_.ModeOverride;
        link_.ModeOverride = 0;  // one-shot: used by this frame only
        const int32_t mode = modeOverride != 0 ? modeOverride : value;
        if (!FitsFrameByte(mode)) return {ProtocolError::BadValue, 0};
        if (command != 3) {
            if (!model::ValidIndex(index) || index % 256 > kMaxDataByte)
                return {ProtocolError::BadIndex, 0};
            if (IsBlockCommand(command) && model::MenuKindOf(index) >= model::kMenuKindCount)
                return {ProtocolError::BadIndex, 0};
        }
        frame[2] = static_cast<uint8_t>(mode);
        frame[3] = static_cast<uint8_t>(index >= 0 ? index / 256 : 0);
        frame[4] = static_cast<uint8_t>(index >= 0 ? index % 256 : 0);
    } else {
        frame[2] = frame[3] = frame[4] = kFiller;
    }

    // 5. The command's own payload (which may rewrite bytes 2 to 4).
    std::span<uint8_t> payload(frame.data() + kHeaderEnd, kMaxFrameLength - kHeaderEnd - 1);
    switch (command) {
        case 0: {
            const int slot = index >= model::kModeScopedEnd ? 0 : scene;
            frame[2] = static_cast<uint8_t>(slot);
            const ByteResult entry =
                EncodeEntry(workspace_.ParamStore, index, slot, sendNeutral, payload);
            if (!entry.Ok()) return entry;
            length = kHeaderEnd + entry.Bytes + 1;
            break;
        }
        case 2: {
            const int kind = index / 256;
            const int slot = kind < 8 && value >= 11 ? 1 : 0;
            const ByteResult block = BlockSize(workspace_.ModeImage, workspace_, kind);
            if (!block.Ok()) return block;
            if (kHeaderEnd + block.Bytes + 1 > kMaxFrameLength)
                return {ProtocolError::FrameTooLong, 0};
            const ByteResult written =
                EncodeBlock(workspace_.ModeImage, workspace_, kind, slot, payload);
            if (!written.Ok()) return written;
            length = kHeaderEnd + written.Bytes + 1;
            break;
        }
        case 3:
            frame[3] = frame[4] = 0;
            payload[0] = payload[1] = kFiller;
            break;
        case 8: {
            const std::size_t digits = PasswordDigitCount(value);
            if (digits == 0) return {ProtocolError::BadPasswordSlot, 0};
            if (index < 0 || index > static_cast<int32_t>(PasswordOperation::Close))
                return {ProtocolError::BadOperation, 0};
            const auto operation = static_cast<PasswordOperation>(index);
            frame[2] = 0;
            frame[3] = static_cast<uint8_t>(value);
            frame[4] = static_cast<uint8_t>(index);
            if (operation == PasswordOperation::Close) {
                payload[0] = payload[1] = kFiller;
                break;
            }
            const std::size_t count = operation == PasswordOperation::Change ? 2 * digits : digits;
            const auto& source = link_.PasswordDigits;
            if (std::any_of(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(count),
                            [](uint8_t d) { return d > 9; }))
                return {ProtocolError::BadPasswordDigit, 0};
            std::copy_n(source.begin(), count, payload.begin());
            length = kHeaderEnd + count + 1;
            break;
        }
        case 250: {
            const auto search = LinkSearchFrame();
            std::copy(search.begin(), search.end(), frame.begin());
            length = kLinkSearchFrameLength;
            break;
        }
        default:  // 1, 4, 9, 11: two filler bytes
            payload[0] = payload[1] = kFiller;
            break;
    }

    if (out.size() < length) return {ProtocolError::BufferTooSmall, 0};
    frame[5] = static_cast<uint8_t>(length);
    frame[length - 1] = FrameChecksum(std::span<const uint8_t>(frame.data(), length - 1));
    std::copy_n(frame.begin(), length, out.begin());
    return {ProtocolError::Ok, length};
}

}  // namespace vellora::protocol
