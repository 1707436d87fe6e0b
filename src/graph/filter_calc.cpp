// Coefficient formulas of the displayed sections (all normalised by the raw a0).
#include "graph/filter_calc.h"

#include <cmath>

namespace vellora::graph {

namespace {

// The processor's own literal for 2 pi; the drawn curves follow it.
constexpr double kTwoPi = 6.2831852;

struct Raw {
    double b0, b1, b2, a0, a1, a2;
};

BiquadCoeffs Normalise(const Raw& r) {
    if (!std::isfinite(r.a0) || r.a0 == 0.0) return FlatSection();
    BiquadCoeffs c{r.b0 / r.a0, r.b1 / r.a0, r.b2 / r.a0, r.a1 / r.a0, r.a2 / r.a0, 1.0};
    if (!std::isfinite(c.b0) || !std::isfinite(c.b1) || !std::isfinite(c.b2) ||
        !std::isfinite(c.a1) || !std::isfinite(c.a2))
        return FlatSection();
    return c;
}

bool UsableFrequency(double freq, double sampleRate) {
    return std::isfinite(freq) && std::isfinite(sampleRate) && sampleRate > 0.0 && freq > 0.0 &&
           freq < sampleRate / 2.0;
}

// The shelf's alpha, or a negative value when its square-root argument is negative.
double ShelfAlpha(double w0, double A, double slope) {
    const double arg = (A + 1.0 / A) * (1.0 / slope - 1.0) + 2.0;
    if (!(arg >= 0.0)) return -1.0;
    return std::sin(w0) / 2.0 * std::sqrt(arg);
}

BiquadCoeffs MakePass(double freq, double sampleRate, double overallDb, FilterFamily family,
                      bool highPass) {
    if (!UsableFrequency(freq, sampleRate)) return FlatSection();
    const double G = std::pow(10.0, overallDb / 20.0);
    const double w0 = freq * kTwoPi / sampleRate;
    const double c = std::cos(w0);
    const double root = family == FilterFamily::Butterworth ? std::sqrt(2.0) : std::sqrt(3.0);
    const double alpha = std::sin(w0) / (2.0 / root);
    Raw r{};
    r.a0 = 1.0 + alpha;
    r.a1 = -2.0 * c;
    r.a2 = 1.0 - alpha;
    if (highPass) {
        r.b0 = r.b2 = G * (1.0 + c) / 2.0;
        r.b1 = -G * (1.0 + c);
    } else {
        r.b0 = r.b2 = G * (1.0 - c) / 2.0;
        r.b1 = G * (1.0 - c);
    }
    return Normalise(r);
}

}  // namespace

BiquadCoeffs MakePeaking(double freq, double sampleRate, double overallDb, double q,
                         double gainDb) {
    if (!UsableFrequency(freq, sampleRate) || !(q > 0.0) || !std::isfinite(gainDb))
        return FlatSection();
    const double G = std::pow(10.0, overallDb / 20.0);
    const double A = std::pow(10.0, gainDb / 40.0);
    const double w0 = freq * kTwoPi / sampleRate;
    const double alpha = std::sin(w0) / (2.0 * q);
    const double c = std::cos(w0);
    Raw r{};
    r.a0 = 1.0 + alpha / A;
    r.b0 = G * (1.0 + alpha * A);
    r.b1 = G * (-2.0 * c);
    r.b2 = G * (1.0 - alpha * A);
    r.a1 = -2.0 * c;
    r.a2 = 1.0 - alpha / A;
    return Normalise(r);
}

BiquadCoeffs MakeLowShelf(double freq, double sampleRate, double overallDb, double slope,
                          double gainDb) {
    if (!UsableFrequency(freq, sampleRate) || !(slope > 0.0) || !std::isfinite(gainDb))
        return FlatSection();
    const double G = std::pow(10.0, overallDb / 20.0);
    const double A = std::pow(10.0, gainDb / 40.0);
    const double w0 = freq * kTwoPi / sampleRate;
    const double alpha = ShelfAlpha(w0, A, slope);
    if (alpha < 0.0) return FlatSection();
    const double c = std::cos(w0);
    const double r2 = 2.0 * std::sqrt(A) * alpha;
    Raw r{};
    r.a0 = (A + 1.0) + (A - 1.0) * c + r2;
    r.b0 = G * A * ((A + 1.0) - (A - 1.0) * c + r2);
    r.b1 = G * 2.0 * A * ((A - 1.0) - (A + 1.0) * c);
    r.b2 = G * A * ((A + 1.0) - (A - 1.0) * c - r2);
    r.a1 = -2.0 * ((A - 1.0) + (A + 1.0) * c);
    r.a2 = (A + 1.0) + (A - 1.0) * c - r2;
    return Normalise(r);
}

BiquadCoeffs MakeHighShelf(double freq, double sampleRate, double overallDb, double slope,
                           double gainDb) {
    if (!UsableFrequency(freq, sampleRate) || !(slope > 0.0) || !std::isfinite(gainDb))
        return FlatSection();
    const double G = std::pow(10.0, overallDb / 20.0);
    const double A = std::pow(10.0, gainDb / 40.0);
    const double w0 = freq * kTwoPi / sampleRate;
    const double alpha = ShelfAlpha(w0, A, slope);
    if (alpha < 0.0) return FlatSection();
    const double c = std::cos(w0);
    const double r2 = 2.0 * std::sqrt(A) * alpha;
    Raw r{};
    r.a0 = (A + 1.0) - (A - 1.0) * c + r2;
    r.b0 = G * A * ((A + 1.0) + (A - 1.0) * c + r2);
    r.b1 = -2.0 * G * A * ((A - 1.0) + (A + 1.0) * c);
    r.b2 = G * A * ((A + 1.0) + (A - 1.0) * c - r2);
    r.a1 = 2.0 * ((A - 1.0) - (A + 1.0) * c);
    r.a2 = (A + 1.0) - (A - 1.0) * c - r2;
    return Normalise(r);
}

BiquadCoeffs MakeLowPass(double freq, double sampleRate, double overallDb, FilterFamily family) {
    return MakePass(freq, sampleRate, overallDb, family, false);
}

BiquadCoeffs MakeHighPass(double freq, double sampleRate, double overallDb, FilterFamily family) {
    return MakePass(freq, sampleRate, overallDb, family, true);
}

}  // namespace vellora::graph
