// Builds the terminal's command frames: header rules, each command's payload, the length byte
// and the checksum. A pure function: everything a frame depends on is in its arguments.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/workspace.h"
#include "protocol/protocol_error.h"
#include "protocol/wire_format.h"

namespace vellora::protocol {

inline constexpr std::size_t kSendBufferSize = 1000;
using SendBuffer = std::array<uint8_t, kSendBufferSize>;

/// What one frame is made of, besides the tables.
struct FrameRequest {
    Command command = Command::ReadCurrentMode;
    /// ModeField (commands 1, 2, 11), mode number (3), PasswordSlot (8); ignored by the others.
    int32_t value = 0;
    /// ParamIndex (0, 1, 2, 11; for the block commands MenuKindFirst of the kind), the password
    /// operation (8); ignored by the others.
    int32_t index = 0;
    /// Command 0 only: the Gain pair of a band is 0.0 dB, the pair of a plain entry 0.
    bool sendNeutral = false;
    /// Command 0 only: the scene slot (0, 1) whose entry goes out; 2048 and up always use 0.
    int scene = 0;
    /// Commands 0, 1, 2, 3 and 11: byte 2 when not 0 (ModeOverride). The bulk transfers name
    /// the mode this way for kinds 8..10, whose value argument is otherwise taken as 0.
    uint8_t modeOverride = 0;
    /// Command 8: the digits 0..9 (numbers, not characters); a check sends the first n, a
    /// change the old digits then the new ones (2 x n).
    std::span<const uint8_t> passwordDigits;
};

/// Writes the frame of `request` at the start of `out` and returns its length (at most 255).
/// Entries come from `tables`: ParamStore for command 0, ModeImage for command 2, the menu
/// kind ranges for both. On an error nothing is written to `out`.
[[nodiscard]] ByteResult BuildFrame(const FrameRequest& request, const model::Workspace& tables,
                                    std::span<uint8_t> out);

}  // namespace vellora::protocol
