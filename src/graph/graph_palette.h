// The colours of the response graph: one per band position, and the fixed colours of the
// grid, labels and summed curve. Values are (alpha, red, green, blue).
#pragma once

#include <cstdint>

namespace vellora::graph {

struct Argb {
    uint8_t a, r, g, b;
};

inline constexpr uint8_t kCurveAlpha = 0x70;  ///< alpha of every band curve

/// The colour of band position 0..16 at full alpha (positions outside wrap into the table).
[[nodiscard]] Argb BandColour(int position);

inline constexpr Argb kGridColour{64, 128, 128, 128};
inline constexpr Argb kAxisLabelColour{255, 170, 170, 170};
inline constexpr Argb kSumColour{255, 255, 200, 0};
inline constexpr Argb kSumGreyedColour{255, 130, 130, 130};
inline constexpr Argb kSumFillColour{255, 255, 255, 0};  ///< alpha comes from the fade level
inline constexpr Argb kBandLabelColour{176, 255, 255, 255};

}  // namespace vellora::graph
