// The response graph's pictures: background, band handles (normal and selected), the handle
// of a band that cannot be edited, and the bypass banner.
#pragma once

#include <QString>

#include "graph/curve_band.h"

namespace vellora::graph {

class PictureStore;

inline constexpr int kPicGraphBackground = 303;   ///< 1000 x 400, stretched to the graph
inline constexpr int kPicSelectedHandle0 = 325;   ///< + t: 33 x 33
inline constexpr int kPicHandle0 = 342;           ///< + t: 17 x 17
inline constexpr int kPicDisabledHandle = 279;    ///< 12 x 12
inline constexpr int kPicBypassBanner = 226;      ///< 252 x 45
inline constexpr int kHandleLowPass = 15;         ///< t of a low-pass handle ("H", high cut)
inline constexpr int kHandleHighPass = 16;        ///< t of a high-pass handle ("L", low cut)

/// The mark on handle t: the band number t + 1, "H" for t = 15, "L" for t = 16.
[[nodiscard]] QString HandleMark(int t);

/// The t of the handle drawn for `band` at list position `position`: the position for an
/// equaliser band, kHandleHighPass or kHandleLowPass for a filter.
[[nodiscard]] int HandleKind(const CurveBand& band, int position);

/// Adds the graph's pictures to the store (replacing any of the same numbers).
void RegisterGraphPictures(PictureStore& store);

}  // namespace vellora::graph
