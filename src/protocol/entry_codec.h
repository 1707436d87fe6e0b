// The wire forms of parameter entries and of whole menu-kind blocks: encoding an entry or
// a block from a table, and decoding a block reply into one scene slot of a table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "model/param_store.h"
#include "model/workspace.h"
#include "protocol/protocol_error.h"

namespace vellora::protocol {

inline constexpr std::size_t kBandEntrySize = 8;   ///< QType, ShelfQ, Freq pair, Gain pair, Q pair
inline constexpr std::size_t kPlainEntrySize = 2;  ///< Value pair
inline constexpr int32_t kFreqDisabledOffset =
    30000;  ///< added to Freq on the wire when EQdisabled
/// First menu kind whose blocks are always plain pairs (the settings kept by no mode).
inline constexpr int kFirstPlainKind = 8;

/// True when the entry travels in the 8-byte band form: slot 0 of `table` says FilterType 1
/// and the entry lies in menu kinds 0..7. Kinds 8..10 always travel as plain pairs.
[[nodiscard]] bool UsesBandForm(const model::ParamTable& table, int index);

/// 8 or 2 bytes by the entry's form; 0 for an index outside 0..2999.
[[nodiscard]] std::size_t EntryWireSize(const model::ParamTable& table, int index);

/// Writes the entry `index`, taken from scene slot `slot` of `table`, in its wire form at the
/// start of `out`. With `sendNeutral` the Gain pair of a band is 250 (0.0 dB) and the pair of a
/// plain entry is 0. Out-of-range values are clamped so that no reserved byte is produced.
/// Returns the bytes written (8 or 2); nothing is written on an error.
[[nodiscard]] ByteResult EncodeEntry(const model::ParamTable& table, int index, int slot,
                                     bool sendNeutral, std::span<uint8_t> out);

/// Number of bytes of the block of menu kind `kind`: its entries from MenuKindFirst to
/// MenuKindLast of `ranges`, each in the form that `table` gives it.
[[nodiscard]] ByteResult BlockSize(const model::ParamTable& table, const model::Workspace& ranges,
                                   int kind);

/// Writes the block of `kind` from scene slot `slot` of `table` at the start of `out`.
[[nodiscard]] ByteResult EncodeBlock(const model::ParamTable& table, const model::Workspace& ranges,
                                     int kind, int slot, std::span<uint8_t> out);

/// Reads a block reply (`payload` = the reply's payload, exactly ReplyLength - 3 bytes) into
/// scene slot `slot` of `table`; entries of kinds 8..10 go as plain Values into slot 0.
/// Bytes = the size the block's entries need, so a caller can compare ReplyLength with
/// Bytes + 3. A payload of any other size gives ReplyTooShort / ReplyTooLong and leaves the
/// table untouched; no byte beyond `payload` is ever read.
[[nodiscard]] ByteResult DecodeBlock(std::span<const uint8_t> payload, model::ParamTable& table,
                                     const model::Workspace& ranges, int kind, int slot);

}  // namespace vellora::protocol
