// Builds the terminal's command frames from the workspace and the link state: header rules,
// each command's payload, the length byte and the checksum.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/workspace.h"
#include "protocol/link_state.h"
#include "protocol/protocol_error.h"
#include "protocol/wire_format.h"

namespace vellora::protocol {

inline constexpr std::size_t kSendBufferSize = 1000;
using SendBuffer = std::array<uint8_t, kSendBufferSize>;

class FrameBuilder {
public:
    /// Both references must outlive the builder.
    FrameBuilder(const model::Workspace& workspace, LinkState& link)
        : workspace_(workspace), link_(link) {}

    /// Writes the frame of `command` at the start of `out` and returns its length (at most 255).
    /// `value`: ModeField (commands 1, 2, 11), mode number (3), PasswordSlot (8); ignored by
    /// 0 (which sends CurrentScene), 4, 9 and 250. `index`: ParamIndex (0, 1, 2, 11; for the
    /// block commands MenuKindFirst of the kind), the password operation (8); ignored by the
    /// others. `sendNeutral` applies to command 0 only.
    /// Commands 0, 1, 2, 3 and 11 consume LinkState::ModeOverride, even when they fail.
    /// On an error nothing is written to `out`.
    [[nodiscard]] ByteResult Build(uint8_t command, int32_t value, int32_t index, bool sendNeutral,
                                   std::span<uint8_t> out);
    [[nodiscard]] ByteResult Build(Command command, int32_t value, int32_t index, bool sendNeutral,
                                   std::span<uint8_t> out) {
        return Build(static_cast<uint8_t>(command), value, index, sendNeutral, out);
    }

    /// Command 0 for scene slot `scene` (0 or 1) instead of CurrentScene: the same frame that
    /// Build gives while that scene is current. A ParamIndex of 2048 or more still uses slot 0.
    [[nodiscard]] ByteResult BuildWriteParam(int32_t index, int scene, bool sendNeutral,
                                             std::span<uint8_t> out);

private:
    [[nodiscard]] ByteResult Assemble(uint8_t command, int32_t value, int32_t index,
                                      bool sendNeutral, int scene, std::span<uint8_t> out);

    const model::Workspace& workspace_;
    LinkState& link_;
};

}  // namespace vellora::protocol
