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

// A frame byte taken from an argument must stay clear of the control bytes 253..255.
bool FitsFrameByte(int32_t value) {
    return value >= 0 && value <= kMaxDataByte;
}

bool IsBlockCommand(Command command) {
    return command == Command::ReadModeBlock || command == Command::WriteModeBlock ||
           command == Command::ReadWorkingBlock;
}

// Rule 3: mode (or the override), kind and address, for the commands that address a mode.
ProtocolError PutModeHeader(const FrameRequest& r, int32_t value,
                            std::array<uint8_t, kMaxFrameLength>& frame) {
    const int32_t mode = r.modeOverride != 0 ? r.modeOverride : value;
    if (!FitsFrameByte(mode)) return ProtocolError::BadValue;
    const int32_t index = r.index;
    if (r.command != Command::SaveToMode) {
        if (!model::ValidIndex(index) || index % 256 > kMaxDataByte) return ProtocolError::BadIndex;
        if (IsBlockCommand(r.command) && model::MenuKindOf(index) >= model::kMenuKindCount)
            return ProtocolError::BadIndex;
    }
    frame[2] = static_cast<uint8_t>(mode);
    frame[3] = static_cast<uint8_t>(index >= 0 ? index / 256 : 0);
    frame[4] = static_cast<uint8_t>(index >= 0 ? index % 256 : 0);
    return ProtocolError::Ok;
}

}  // namespace

ByteResult BuildFrame(const FrameRequest& r, const model::Workspace& tables,
                      std::span<uint8_t> out) {
    std::array<uint8_t, kMaxFrameLength> frame{};
    std::size_t length = kShortFrameLength;

    // 1. Start and command.
    frame[0] = kFrameStart;
    frame[1] = static_cast<uint8_t>(r.command);
    // 2. Settings that belong to no mode carry no mode.
    const int32_t value = r.index >= model::kModeScopedEnd ? 0 : r.value;
    std::span<uint8_t> payload(frame.data() + kHeaderEnd, kMaxFrameLength - kHeaderEnd - 1);
    // 3. to 5. The header of the command, then its own payload (which may rewrite bytes 2-4).
    switch (r.command) {
        case Command::WriteParam: {
            if (const ProtocolError e = PutModeHeader(r, value, frame); e != ProtocolError::Ok)
                return {e, 0};
            const int slot = r.index >= model::kModeScopedEnd ? 0 : r.scene;
            if (slot != 0 && slot != 1) return {ProtocolError::BadSlot, 0};
            frame[2] = static_cast<uint8_t>(slot);
            const ByteResult entry =
                EncodeEntry(tables.ParamStore, r.index, slot, r.sendNeutral, payload);
            if (!entry.Ok()) return entry;
            length = kHeaderEnd + entry.Bytes + 1;
            break;
        }
        case Command::WriteModeBlock: {
            if (const ProtocolError e = PutModeHeader(r, value, frame); e != ProtocolError::Ok)
                return {e, 0};
            const int kind = r.index / 256;
            const int slot = kind < 8 && value >= 11 ? 1 : 0;
            const ByteResult block = BlockSize(tables.ModeImage, tables, kind);
            if (!block.Ok()) return block;
            if (kHeaderEnd + block.Bytes + 1 > kMaxFrameLength)
                return {ProtocolError::FrameTooLong, 0};
            const ByteResult written = EncodeBlock(tables.ModeImage, tables, kind, slot, payload);
            if (!written.Ok()) return written;
            length = kHeaderEnd + written.Bytes + 1;
            break;
        }
        case Command::ReadModeBlock:
        case Command::ReadWorkingBlock:
        case Command::SaveToMode:
            if (const ProtocolError e = PutModeHeader(r, value, frame); e != ProtocolError::Ok)
                return {e, 0};
            if (r.command == Command::SaveToMode) frame[3] = frame[4] = 0;
            payload[0] = payload[1] = kFiller;
            break;
        case Command::ReadModeNames:
        case Command::ReadCurrentMode:
            frame[2] = frame[3] = frame[4] = kFiller;
            payload[0] = payload[1] = kFiller;
            break;
        case Command::PasswordCommand: {
            const std::size_t digits = PasswordDigitCount(r.value);
            if (digits == 0) return {ProtocolError::BadPasswordSlot, 0};
            if (r.index < 0 || r.index > static_cast<int32_t>(PasswordOperation::Close))
                return {ProtocolError::BadOperation, 0};
            const auto operation = static_cast<PasswordOperation>(r.index);
            frame[2] = 0;
            frame[3] = static_cast<uint8_t>(r.value);
            frame[4] = static_cast<uint8_t>(r.index);
            if (operation == PasswordOperation::Close) {
                payload[0] = payload[1] = kFiller;
                break;
            }
            const std::size_t count = operation == PasswordOperation::Change ? 2 * digits : digits;
            const auto source = r.passwordDigits;
            if (source.size() < count ||
                std::any_of(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(count),
                            [](uint8_t d) { return d > 9; }))
                return {ProtocolError::BadPasswordDigit, 0};
            std::copy_n(source.begin(), count, payload.begin());
            length = kHeaderEnd + count + 1;
            break;
        }
        case Command::LinkSearch: {
            const auto search = LinkSearchFrame();
            std::copy(search.begin(), search.end(), frame.begin());
            length = kLinkSearchFrameLength;
            break;
        }
        default:
            return {ProtocolError::UnknownCommand, 0};
    }

    if (out.size() < length) return {ProtocolError::BufferTooSmall, 0};
    frame[5] = static_cast<uint8_t>(length);
    frame[length - 1] = FrameChecksum(std::span<const uint8_t>(frame.data(), length - 1));
    std::copy_n(frame.begin(), length, out.begin());
    return {ProtocolError::Ok, length};
}

}  // namespace vellora::protocol
