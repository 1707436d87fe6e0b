// Band responses on the frequency grid: section plans, the sine tables, the per-point
// evaluation with its single-precision storage points, and the summed curve.
#include "graph/response_table.h"

#include <algorithm>
#include <cmath>

#include "model/value_scales.h"

namespace vellora::graph {

namespace {

constexpr double kLn10 = 2.30258509299405;

// The two "off" positions of a filter frequency: 10 Hz (high-pass) and 20220 Hz (low-pass).
bool IsOffPosition(int freq) {
    static const int lowOff = model::FreqIndex(10);
    static const int highOff = model::FreqIndex(20220);
    return freq == lowOff || freq == highOff;
}

struct Terms {
    float squaredSum;   // (c0 + c1 + c2)^2
    float weighted;     // 4 (4 c0 c2 + c0 c1 + c1 c2)
    float phiSquared;   // 16 c0 c2
};

Terms MakeTerms(double c0, double c1, double c2) {
    const double s = c0 + c1 + c2;
    return {static_cast<float>(s * s), static_cast<float>(4.0 * (4.0 * c0 * c2 + c0 * c1 + c1 * c2)),
            static_cast<float>(16.0 * c0 * c2)};
}

}  // namespace

SectionPlan PlanBand(const CurveBand& band, int page) {
    SectionPlan plan;
    const bool eq = band.FilterType == kBandEq;
    if (!eq && IsOffPosition(band.Freq)) return plan;
    if (band.EQdisabled) return plan;

    const double f = model::FreqAt(band.Freq);
    if (eq) {
        const int step = std::clamp(band.GainOrType, kCurveGainStepMin, kCurveGainStepMax);
        const double gainDb = (step - model::kGainZero) / 10.0;
        plan.count = 1;
        if (band.QType == 0) {
            plan.shape = SectionPlan::Peaking;
            plan.coeffs = MakePeaking(f, kSampleRate, 0.0, model::QAt(band.Q), gainDb);
        } else if (band.QType == 2) {
            plan.shape = SectionPlan::HighShelf;
            plan.coeffs = MakeHighShelf(f, kSampleRate, 0.0, model::QAt(band.ShelfQ), gainDb);
        } else {
            plan.shape = SectionPlan::LowShelf;
            plan.coeffs = MakeLowShelf(f, kSampleRate, 0.0, model::QAt(band.ShelfQ), gainDb);
        }
        return plan;
    }

    if (page == kFullCrossoverPage) {
        switch (band.GainOrType) {
            case kLinkwitz48: plan.count = 4; break;
            case kLinkwitz24: plan.count = 2; break;
            case kButterworth12: plan.count = 1; break;
            case kBessel24: plan.count = 2; plan.family = FilterFamily::Bessel; break;
            default: plan.count = 1; plan.family = FilterFamily::Bessel; break;
        }
    } else {
        plan.count = band.GainOrType == 0 ? 1 : 2;
    }
    if (band.FilterType == kBandHighPass) {
        plan.shape = SectionPlan::HighPass;
        plan.coeffs = MakeHighPass(f, kSampleRate, 0.0, plan.family);
    } else {
        plan.shape = SectionPlan::LowPass;
        plan.coeffs = MakeLowPass(f, kSampleRate, 0.0, plan.family);
    }
    return plan;
}

void ResponseTable::PrepareGrid(std::span<const float> freqs) {
    const size_t n = freqs.size();
    sin2_.resize(n);
    sin4_.resize(n);
    for (size_t j = 0; j < n; ++j) {
        const double s = std::sin(kHalfAngleStep * static_cast<double>(freqs[j]));
        const double s2 = s * s;
        sin2_[j] = static_cast<float>(s2);
        sin4_[j] = static_cast<float>(s2 * s2);
    }
    columns_.assign(n * kMaxBands, 0.0f);
    sum_.assign(n, 0.0f);
}

std::span<const float> ResponseTable::Column(int column) const {
    if (column < 0 || column >= kMaxBands) return {};
    const size_t n = sin2_.size();
    return std::span<const float>(columns_).subspan(static_cast<size_t>(column) * n, n);
}

std::span<float> ResponseTable::MutableColumn(int column) {
    if (column < 0 || column >= kMaxBands) return {};
    const size_t n = sin2_.size();
    return std::span<float>(columns_).subspan(static_cast<size_t>(column) * n, n);
}

void ResponseTable::AddSectionResponse(const BiquadCoeffs& c, int column, int times) {
    std::span<float> out = MutableColumn(column);
    if (out.empty() || times <= 0) return;
    const Terms num = MakeTerms(c.b0, c.b1, c.b2);
    const Terms den = MakeTerms(c.a0, c.a1, c.a2);
    float previous = 0.0f;
    for (size_t j = 0; j < out.size(); ++j) {
        const float phi = sin2_[j];
        const float phi2 = sin4_[j];
        const float n = num.squaredSum - num.weighted * phi + num.phiSquared * phi2;
        const float d = den.squaredSum - den.weighted * phi + den.phiSquared * phi2;
        float db = previous;
        // A zero (or, from rounding, negative) power has no logarithm: the row repeats the
        // previous row of this pass.
        if (n > 0.0f && d > 0.0f) {
            db = static_cast<float>(10.0 * std::log(static_cast<double>(n)) / kLn10 -
                                    10.0 * std::log(static_cast<double>(d)) / kLn10);
        }
        previous = db;
        for (int k = 0; k < times; ++k) out[j] += db;
    }
}

void ResponseTable::ComputeBandCurve(const CurveBand& band, int page) {
    std::span<float> out = MutableColumn(band.Column);
    std::fill(out.begin(), out.end(), 0.0f);
    const SectionPlan plan = PlanBand(band, page);
    if (plan.count > 0) AddSectionResponse(plan.coeffs, band.Column, plan.count);
}

void ResponseTable::ComputeSum(int count) {
    std::fill(sum_.begin(), sum_.end(), 0.0f);
    const int bands = std::clamp(count, 0, kMaxBands);
    for (int i = 0; i < bands; ++i) {
        std::span<const float> col = Column(i);
        for (size_t j = 0; j < sum_.size(); ++j) sum_[j] += col[j];
    }
}

}  // namespace vellora::graph
