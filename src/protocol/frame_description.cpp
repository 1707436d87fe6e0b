// Frame texts for the HID trace. Every read of a frame byte is checked against the frame's
// size first: the bytes come from a device or a user and may be anything.
#include "protocol/frame_description.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "protocol/receive_parser.h"

namespace vellora::protocol {

namespace {

constexpr std::size_t kCommandLengthAt = kCommandHeaderLength - 1;  // byte 5
constexpr std::size_t kReplyLengthAt = 1;
constexpr std::size_t kMinCommandLength = kCommandHeaderLength + 1;  // header and checksum
constexpr uint8_t kPasswordCode = static_cast<uint8_t>(Command::PasswordCommand);

struct CommandName {
    uint8_t Code;
    std::string_view Name;
};

constexpr std::array<CommandName, 9> kCommandNames{{
    {0, "WriteParam"},
    {1, "ReadModeBlock"},
    {2, "WriteModeBlock"},
    {3, "SaveToMode"},
    {4, "ReadModeNames"},
    {8, "PasswordCommand"},
    {9, "ReadCurrentMode"},
    {11, "ReadWorkingBlock"},
    {250, "LinkSearch"},
}};

void AppendHex(std::string& out, uint8_t b) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
}

std::string Hex(uint8_t b) {
    std::string s;
    AppendHex(s, b);
    return s;
}

// Printable ASCII as it is, anything else as \xNN, in double quotes.
std::string Quoted(std::span<const uint8_t> bytes) {
    std::string s = "\"";
    for (const uint8_t b : bytes) {
        if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
            s += static_cast<char>(b);
        } else {
            s += "\\x";
            AppendHex(s, b);
        }
    }
    return s + "\"";
}

std::string Pair(std::span<const uint8_t> payload, std::size_t at) {
    return std::to_string(ValuePair::Decode(payload[at], payload[at + 1]));
}

std::size_t LengthAt(FrameDirection direction) {
    return direction == FrameDirection::ToDevice ? kCommandLengthAt : kReplyLengthAt;
}

bool LengthFits(FrameDirection direction, uint8_t length) {
    return direction == FrameDirection::ToDevice
               ? length >= kMinCommandLength
               : (length >= kMinReplyLength && length <= kMaxReplyLength);
}

std::string ChecksumText(std::span<const uint8_t> frame) {
    const uint8_t expected = FrameChecksum(frame.first(frame.size() - 1));
    if (expected == frame.back()) return "checksum ok";
    return "checksum bad (" + Hex(expected) + " expected)";
}

std::string IndexText(uint8_t kind, uint8_t address) {
    return " index " + std::to_string(kind) + "," + std::to_string(address) + " (" +
           std::to_string(kind * 256 + address) + ")";
}

bool AllFiller(std::span<const uint8_t> payload) {
    for (const uint8_t b : payload)
        if (b != kFiller) return false;
    return true;
}

std::string ByteCount(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " byte" : " bytes");
}

std::string PayloadCount(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " payload byte" : " payload bytes");
}

// The entry of a WriteParam frame: a plain Value pair or the 8 bytes of an EQ band.
std::string EntryText(std::span<const uint8_t> payload) {
    if (payload.size() == 2) return "value " + Pair(payload, 0);
    if (payload.size() != 8) return PayloadCount(payload.size()) + ", not an entry";
    const int32_t freq = ValuePair::Decode(payload[2], payload[3]);
    const bool disabled = freq >= 30000;
    return "QType " + std::to_string(payload[0]) + ", ShelfQ " + std::to_string(payload[1]) +
           ", Freq " + std::to_string(disabled ? freq - 30000 : freq) +
           (disabled ? " disabled" : "") + ", Gain " + Pair(payload, 4) + ", Q " + Pair(payload, 6);
}

std::string PasswordText(uint8_t slot, uint8_t operation, std::span<const uint8_t> payload) {
    std::string s = " slot " + std::to_string(slot);
    if (slot == 0) s += " (panel lock)";
    if (slot == 2) s += " (administrator)";
    switch (operation) {
        case 0:
            return s + " check: " + std::to_string(payload.size()) + " digits";
        case 1:
            return s + " change: old and new, " + std::to_string(payload.size() / 2) +
                   " digits each";
        case 2:
            return s + " close";
        default:
            return s + " operation " + std::to_string(operation) + ": " +
                   PayloadCount(payload.size());
    }
}

std::string CommandText(std::span<const uint8_t> frame) {
    const uint8_t code = frame[1];
    const uint8_t mode = frame[2];
    const uint8_t kind = frame[3];
    const uint8_t address = frame[4];
    const std::span<const uint8_t> payload =
        frame.subspan(kCommandHeaderLength, frame.size() - kCommandHeaderLength - 1);

    std::string_view name;
    for (const CommandName& c : kCommandNames)
        if (c.Code == code) name = c.Name;
    if (name.empty()) {
        return "unknown command " + std::to_string(code) + ", " + std::to_string(frame.size()) +
               " bytes";
    }
    std::string s = std::string(name) + "(" + std::to_string(code) + ")";
    const std::string modeText = " mode " + std::to_string(mode);
    switch (static_cast<Command>(code)) {
        case Command::WriteParam:
            return s + modeText + IndexText(kind, address) + ": " + EntryText(payload);
        case Command::WriteModeBlock:
            return s + modeText + IndexText(kind, address) + ": block of " +
                   std::to_string(payload.size()) + " bytes";
        case Command::ReadModeBlock:
        case Command::ReadWorkingBlock:
            s += modeText + IndexText(kind, address);
            break;
        case Command::SaveToMode:
            s += modeText;
            break;
        case Command::PasswordCommand:
            return s + PasswordText(kind, address, payload);
        case Command::LinkSearch:
            return s + " " + Quoted(payload);
        case Command::ReadModeNames:
        case Command::ReadCurrentMode:
            break;
    }
    // The commands without payload carry two filler bytes.
    if (!AllFiller(payload)) s += ": " + PayloadCount(payload.size());
    return s;
}

std::string ReplyText(std::span<const uint8_t> frame) {
    const std::span<const uint8_t> payload = frame.subspan(2, frame.size() - 3);
    const bool identification =
        payload.size() >= kDeviceTagLength &&
        std::equal(kDeviceTagPrefix.begin(), kDeviceTagPrefix.end(), payload.begin()) &&
        payload[7] == '_';
    if (identification) {
        return "identification " + Quoted(payload.first(kDeviceTagLength)) + " variant " +
               Quoted(payload.subspan(6, 1));
    }
    return "reply, length " + std::to_string(frame.size()) + ", " + PayloadCount(payload.size());
}

}  // namespace

std::string DescribeFrame(std::span<const uint8_t> frame, FrameDirection direction) {
    const std::size_t lengthAt = LengthAt(direction);
    if (frame.empty() || frame[0] != kFrameStart) return "not a frame";
    if (frame.size() <= lengthAt) {
        return "frame cut short after " + ByteCount(frame.size());
    }
    const uint8_t length = frame[lengthAt];
    if (!LengthFits(direction, length)) return "bad length byte " + std::to_string(length);
    if (frame.size() != length) {
        return "frame of " + std::to_string(frame.size()) + " bytes, its length byte says " +
               std::to_string(length);
    }
    const std::string text =
        direction == FrameDirection::ToDevice ? CommandText(frame) : ReplyText(frame);
    return text + "; " + ChecksumText(frame);
}

std::string ReportDescriber::Describe(FrameDirection direction, std::span<const uint8_t> data) {
    Stream& stream = direction == FrameDirection::ToDevice ? to_device_ : from_device_;
    const std::size_t lengthAt = LengthAt(direction);
    bool startedHere = false;
    std::string hex;
    std::vector<std::string> items;
    std::size_t stray = 0;

    auto flushStray = [&] {
        if (stray == 0) return;
        items.push_back(std::to_string(stray) + (stray == 1 ? " stray byte outside a frame"
                                                            : " stray bytes outside a frame"));
        stray = 0;
    };
    auto lengthKnown = [&] { return stream.Position > lengthAt; };
    auto progress = [&] {
        return lengthKnown() ? std::to_string(stream.Position) + " of " +
                                   std::to_string(stream.Frame[lengthAt]) + " bytes"
                             : ByteCount(stream.Position);
    };

    for (const uint8_t b : data) {
        if (!hex.empty()) hex += ' ';
        switch (b) {
            case KeepAliveByte:
                flushStray();
                items.emplace_back("keep-alive");
                AppendHex(hex, b);
                continue;
            case ToneKeyByte:
                flushStray();
                items.emplace_back("tone key");
                AppendHex(hex, b);
                continue;
            case kFrameStart:
                flushStray();
                if (stream.Position > 0) items.push_back("frame cut short after " + progress());
                stream.Frame[0] = b;
                stream.Position = 1;
                startedHere = true;
                AppendHex(hex, b);
                continue;
            default:
                break;
        }
        if (stream.Position == 0) {
            ++stray;
            AppendHex(hex, b);
            continue;
        }
        const std::size_t at = stream.Position;
        const bool digit = direction == FrameDirection::ToDevice && at >= kCommandHeaderLength &&
                           stream.Frame[1] == kPasswordCode && at + 1 < stream.Frame[lengthAt];
        if (digit) {
            hex += "**";
        } else {
            AppendHex(hex, b);
        }
        stream.Frame[at] = b;
        stream.Position = at + 1;
        if (at == lengthAt && !LengthFits(direction, b)) {
            items.push_back("bad length byte " + std::to_string(b) + ", frame dropped");
            stream.Position = 0;
            continue;
        }
        if (lengthKnown() && stream.Position == stream.Frame[lengthAt]) {
            const std::string text =
                DescribeFrame(std::span(stream.Frame.data(), stream.Position), direction);
            items.push_back(startedHere ? text : "end of frame: " + text);
            stream.Position = 0;
        }
    }
    flushStray();
    if (stream.Position > 0) {
        items.push_back((startedHere ? "frame starts, " : "frame continues, ") + progress());
    }
    if (items.empty()) items.emplace_back("no data");  // only for an empty report

    std::string text = hex + " |";
    for (std::size_t i = 0; i < items.size(); ++i) text += (i == 0 ? " " : "; ") + items[i];
    return text;
}

}  // namespace vellora::protocol
