// An independent evaluation of the displayed sections for the tests: the textbook formulas
// with 2 pi, evaluated as |H(e^jw)| in double precision complex arithmetic.
#pragma once

#include <cmath>
#include <complex>
#include <numbers>

namespace vellora::graph::test {

struct Ref {
    double b0, b1, b2, a0, a1, a2;
};

inline double RefDb(const Ref& c, double hz, double fs = 48000.0) {
    const double w = 2.0 * std::numbers::pi * hz / fs;
    const std::complex<double> z1 = std::polar(1.0, -w);
    const std::complex<double> z2 = z1 * z1;
    const std::complex<double> num = c.b0 + c.b1 * z1 + c.b2 * z2;
    const std::complex<double> den = c.a0 + c.a1 * z1 + c.a2 * z2;
    return 20.0 * std::log10(std::abs(num) / std::abs(den));
}

inline Ref RefPeaking(double f0, double q, double gainDb, double fs = 48000.0) {
    const double A = std::pow(10.0, gainDb / 40.0);
    const double w0 = 2.0 * std::numbers::pi * f0 / fs;
    const double alpha = std::sin(w0) / (2.0 * q);
    return {1 + alpha * A, -2 * std::cos(w0), 1 - alpha * A, 1 + alpha / A, -2 * std::cos(w0), 1 - alpha / A};
}

inline Ref RefShelf(bool high, double f0, double slope, double gainDb, double fs = 48000.0) {
    const double A = std::pow(10.0, gainDb / 40.0);
    const double w0 = 2.0 * std::numbers::pi * f0 / fs;
    const double cw = std::cos(w0);
    const double alpha = std::sin(w0) / 2.0 * std::sqrt((A + 1 / A) * (1 / slope - 1) + 2);
    const double r = 2 * std::sqrt(A) * alpha;
    if (!high)
        return {A * ((A + 1) - (A - 1) * cw + r), 2 * A * ((A - 1) - (A + 1) * cw), A * ((A + 1) - (A - 1) * cw - r),
                (A + 1) + (A - 1) * cw + r, -2 * ((A - 1) + (A + 1) * cw), (A + 1) + (A - 1) * cw - r};
    return {A * ((A + 1) + (A - 1) * cw + r), -2 * A * ((A - 1) + (A + 1) * cw), A * ((A + 1) + (A - 1) * cw - r),
            (A + 1) - (A - 1) * cw + r, 2 * ((A - 1) - (A + 1) * cw), (A + 1) - (A - 1) * cw - r};
}

inline Ref RefPass(bool high, double f0, double q, double fs = 48000.0) {
    const double w0 = 2.0 * std::numbers::pi * f0 / fs;
    const double cw = std::cos(w0);
    const double alpha = std::sin(w0) / (2.0 * q);
    if (high) return {(1 + cw) / 2, -(1 + cw), (1 + cw) / 2, 1 + alpha, -2 * cw, 1 - alpha};
    return {(1 - cw) / 2, 1 - cw, (1 - cw) / 2, 1 + alpha, -2 * cw, 1 - alpha};
}

}  // namespace vellora::graph::test
