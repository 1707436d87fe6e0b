// The drawable bands of the current page: one CurveBand per equaliser band or filter,
// collected into a CurveList of at most 17 positions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vellora::graph {

inline constexpr int kMaxBands = 17;  ///< list positions 0..16, one ResponseTable column each

/// FilterType of a band (the store's FilterType of its entry).
inline constexpr int kBandEq = 1;
inline constexpr int kBandHighPass = 2;
inline constexpr int kBandLowPass = 3;

/// Crossover types of the full list (the page of menu kind 7).
enum CrossoverType : int {
    kLinkwitz48 = 0,     ///< "LinkWitz 48dB": four Butterworth sections
    kLinkwitz24 = 1,     ///< "LinkWitz 24dB": two Butterworth sections
    kButterworth12 = 2,  ///< "ButterWorth 12dB": one Butterworth section
    kBessel24 = 3,       ///< "Bessel 24dB": two Bessel sections
    kBessel12 = 4,       ///< "Bessel 12dB": one Bessel section
};
/// The page whose filters offer the full list of crossover types.
inline constexpr int kFullCrossoverPage = 7;

struct CurveBand {
    int32_t Freq = 0;        ///< FreqTable index
    int32_t GainOrType = 0;  ///< EQ band: gain step (250 = 0 dB); filter: CrossoverType
    int32_t Q = 0;           ///< QTable index of the peaking shape
    int32_t ShelfQ = 0;      ///< QTable index used as the slope of the shelves
    int32_t QType = 0;       ///< 0 peaking, 1 low shelf, 2 high shelf
    int32_t FilterType = 0;  ///< 1 EQ band, 2 high-pass, 3 low-pass
    int32_t ParamIndex = 0;  ///< store entry (a paired filter: its type entry)
    int32_t SliderIndex = 0; ///< the band's slider in the host; 0 = none
    bool Paired = false;     ///< type at ParamIndex, frequency at ParamIndex + 1
    bool EQdisabled = false;
    bool Locked = false;
    uint8_t Column = 0;      ///< position 0..16: ResponseTable column and colour index

    [[nodiscard]] bool IsEq() const { return FilterType == kBandEq; }
    /// The entry that holds the band's frequency (and its slider's Addr).
    [[nodiscard]] int32_t FreqEntry() const { return Paired ? ParamIndex + 1 : ParamIndex; }

    friend bool operator==(const CurveBand&, const CurveBand&) = default;
};

struct CurveList {
    std::array<CurveBand, kMaxBands> Bands{};
    int CurveCount = 0;
    bool PageGreyed = false;  ///< shown greyed, bands not editable (bass auto control)

    [[nodiscard]] const CurveBand* At(int position) const {
        return position >= 0 && position < CurveCount ? &Bands[static_cast<std::size_t>(position)] : nullptr;
    }
    [[nodiscard]] CurveBand* At(int position) {
        return position >= 0 && position < CurveCount ? &Bands[static_cast<std::size_t>(position)] : nullptr;
    }
    /// Whether the mouse and the keys may change the band at `position`: the page is not
    /// greyed and the band is listed, switched on and not locked. Others draw a plain handle.
    [[nodiscard]] bool Editable(int position) const {
        const CurveBand* band = At(position);
        return !PageGreyed && band && !band->EQdisabled && !band->Locked;
    }
};

}  // namespace vellora::graph
