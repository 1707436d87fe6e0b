// The response of every band of a page at every point of a frequency grid, in dB, and their
// sum. Sections are evaluated from precomputed sine tables with single-precision storage.
#pragma once

#include <span>
#include <vector>

#include "graph/curve_band.h"
#include "graph/filter_calc.h"

namespace vellora::graph {

/// pi / 48000 as the processor writes it: half the normalised angular frequency per Hz.
inline constexpr double kHalfAngleStep = 0.0000654498;

/// Gain steps are limited to this range before a curve is computed (values read from a file
/// or a device may lie anywhere; the display spans +16 .. -27 dB).
inline constexpr int kCurveGainStepMin = 250 - 480;  ///< -48.0 dB
inline constexpr int kCurveGainStepMax = 250 + 480;  ///< +48.0 dB

/// How one band is drawn: which section and how many times it is cascaded.
struct SectionPlan {
    enum Shape { None, Peaking, LowShelf, HighShelf, LowPass, HighPass } shape = None;
    FilterFamily family = FilterFamily::Butterworth;
    int count = 0;             ///< times the section is added; 0 = nothing
    BiquadCoeffs coeffs{};
};

/// The section plan of a band: nothing for a filter at an off position or a switched-off band.
/// `page` is the menu kind shown (the crossover cascade differs on the full-list page).
[[nodiscard]] SectionPlan PlanBand(const CurveBand& band, int page);

class ResponseTable {
public:
    /// Grid frequencies in Hz, one per point. Fills the sine tables and sizes the table to
    /// N rows x 17 columns (all 0) and the sum to N.
    void PrepareGrid(std::span<const float> freqs);
    [[nodiscard]] int GridSize() const { return static_cast<int>(sin2_.size()); }

    /// Adds one section's dB response to a column (0..16), row by row.
    void AddSectionResponse(const BiquadCoeffs& c, int column, int times = 1);
    /// Recomputes the band's Column from its fields; `page` as for PlanBand.
    void ComputeBandCurve(const CurveBand& band, int page);
    /// SumCurve = columns 0..count-1 added row by row.
    void ComputeSum(int count);

    /// One column (N values in dB); empty for a column outside 0..16.
    [[nodiscard]] std::span<const float> Column(int column) const;
    [[nodiscard]] std::span<const float> SumCurve() const { return sum_; }
    [[nodiscard]] std::span<const float> Sin2() const { return sin2_; }
    [[nodiscard]] std::span<const float> Sin4() const { return sin4_; }

private:
    std::span<float> MutableColumn(int column);

    std::vector<float> sin2_;
    std::vector<float> sin4_;
    std::vector<float> columns_;  // column-major: kMaxBands columns of GridSize() rows
    std::vector<float> sum_;
};

}  // namespace vellora::graph
