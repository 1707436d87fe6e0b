// Coefficient formulas of the second-order sections that the response graph draws:
// peaking and shelf equaliser bands, Butterworth and Bessel low-pass and high-pass.
#pragma once

namespace vellora::graph {

/// One second-order section, normalised so that a0 is 1.0.
struct BiquadCoeffs {
    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double a1 = 0.0;
    double a2 = 0.0;
    double a0 = 1.0;
};

enum class FilterFamily { Butterworth, Bessel };

/// The sample rate every displayed section is designed for, in Hz.
inline constexpr double kSampleRate = 48000.0;

/// The flat section (b0 = a0 = 1): 0 dB at every frequency.
[[nodiscard]] constexpr BiquadCoeffs FlatSection() { return {}; }

/// freq in Hz; overallDb scales b0..b2 only; q > 0; gainDb is the gain at the centre.
/// Arguments that give no finite section (q <= 0, freq outside 0..sampleRate/2) give FlatSection().
[[nodiscard]] BiquadCoeffs MakePeaking(double freq, double sampleRate, double overallDb, double q,
                                       double gainDb);
/// slope > 0 (1.0 the steepest without overshoot). A slope and gain whose shelf would need
/// the square root of a negative number give FlatSection(), so such a band adds 0 dB.
[[nodiscard]] BiquadCoeffs MakeLowShelf(double freq, double sampleRate, double overallDb,
                                        double slope, double gainDb);
[[nodiscard]] BiquadCoeffs MakeHighShelf(double freq, double sampleRate, double overallDb,
                                         double slope, double gainDb);
/// Second order with quality 1/sqrt(2) (Butterworth) or 1/sqrt(3) (Bessel); freq in Hz.
[[nodiscard]] BiquadCoeffs MakeLowPass(double freq, double sampleRate, double overallDb,
                                       FilterFamily family);
[[nodiscard]] BiquadCoeffs MakeHighPass(double freq, double sampleRate, double overallDb,
                                        FilterFamily family);

}  // namespace vellora::graph
