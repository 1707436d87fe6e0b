// How a slider relates the host's value to its integer position and to the text it shows,
// one rule per value type, and the flag bit that some sliders carry beside the position.
#pragma once

#include <string>

namespace vellora::controls {

inline constexpr int kValueTypeMax =
    16;                                  ///< value types 0..16; higher types show the bare position
inline constexpr int kFlagOffset = 250;  ///< a value of 250 or more carries the flag bit

/// Position for a host value by `valueType`, rounded half to even; not yet clamped.
[[nodiscard]] int PositionFromValue(int valueType, double value);
/// Host value of a position by `valueType`.
[[nodiscard]] double ValueFromPosition(int valueType, int position);
/// The text a slider shows for a position.
[[nodiscard]] std::string ValueText(int valueType, int position);

/// FreqTable[index] in its shortest decimal form ("19.7", "23", "20220"); index clamped.
[[nodiscard]] std::string FreqText(int index);

/// A value split into the flag bit and the remaining value.
struct FlaggedValue {
    bool flag = false;
    double value = 0.0;
};
/// Splits a host value of a slider that carries a flag bit: 250 or more sets the flag.
[[nodiscard]] FlaggedValue SplitFlag(double value);
/// The host value of a flagged slider: the value, plus 250 with the flag set.
[[nodiscard]] double JoinFlag(bool flag, double value);

}  // namespace vellora::controls
