// The protocol's own mutable state, shared by the frame builder, the receive parser, the
// send-and-wait engine and the link tick. One instance, owned by whoever runs the link.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vellora::protocol {

inline constexpr std::size_t kPasswordDigitsSize = 21;

struct LinkState {
    /// One-shot mode byte for the next frame of commands 0, 1, 2, 3 and 11; 0 = none.
    /// The frame builder uses it in byte 2 and resets it, whether or not the frame was built.
    uint8_t ModeOverride = 0;
    /// Digits 0..9 (numbers, not characters) for the password command: a check sends the first
    /// n, a change the old digits at offset 0 and the new ones at offset n.
    std::array<uint8_t, kPasswordDigitsSize> PasswordDigits{};

    bool LinkUp = false;            ///< identification seen; down again by time-outs or the user
    bool ReplyPending = false;      ///< a command waits for its reply
    bool ReplyOk = false;           ///< the awaited reply arrived
    int32_t SilenceTicks = 0;       ///< link ticks since the device's last keep-alive byte
    bool StartSyncRequest = false;  ///< set by the identification; the sync clears it when it runs
    bool VariantB = false;          ///< the device identified itself with variant letter 'B'
    int32_t CurrentMode = 0;        ///< the device's current mode, 0-based
    bool Closing = false;           ///< the program is closing: waits end at once, no messages
    bool InWait = false;            ///< a send-and-wait is inside its wait loop

    bool SearchOff = false;      ///< the user switched link searching off
    int32_t KeepAliveTicks = 0;  ///< link ticks since the last keep-alive byte sent
    int32_t SearchTicks = 0;     ///< link ticks since the last search frame
    int32_t BlinkTicks = 0;      ///< 0 = not blinking; the graph arms it with 1
    bool BlinkPhase = false;     ///< flips every 4 link ticks while blinking
    /// An edit was recorded since the last answered SaveToMode; asks the save question when
    /// the user switches the link off.
    bool Modified = false;
};

}  // namespace vellora::protocol
