// The response graph's coordinate mapping: 10 Hz .. 22000 Hz on a logarithmic x axis from
// x = 40 to W - 5, +16 dB .. -27 dB from y = 10 to H - 8. All values in logical pixels.
#pragma once

#include <vector>

namespace vellora::graph {

inline constexpr int kPlotLeft = 40;     ///< x of 10 Hz
inline constexpr int kPlotTop = 10;      ///< y of +16 dB
inline constexpr float kTopDb = 16.0f;
inline constexpr float kBottomDb = -27.0f;
inline constexpr float kLowHz = 10.0f;
inline constexpr float kHighHz = 22000.0f;
/// Sizes below these are raised to them: the plot needs room for its axes.
inline constexpr int kMinGraphWidth = 100;
inline constexpr int kMinGraphHeight = 60;

class GraphGeometry {
public:
    GraphGeometry() { SetupGeometry(645, 400); }

    /// Derives every quantity from the inner size of the graph (raised to the minimum).
    /// Returns false when the size is already the stored one (nothing changed).
    bool SetupGeometry(int w, int h);

    [[nodiscard]] int Width() const { return w_; }
    [[nodiscard]] int Height() const { return h_; }
    [[nodiscard]] int XR() const { return xr_; }        ///< x of 22000 Hz: W - 5
    [[nodiscard]] int YB() const { return yb_; }        ///< y of -27 dB: H - 8
    [[nodiscard]] int Y0() const { return y0_; }        ///< y of 0 dB
    [[nodiscard]] int GridPoints() const { return n_; } ///< N = W - 45, one per x = 40 .. W - 6
    [[nodiscard]] float PixelsPerDecade() const { return d_; }

    [[nodiscard]] float FreqToX(float hz) const;
    [[nodiscard]] float XToFreq(float x) const;
    /// Not clamped: curves and grid lines may leave the plot.
    [[nodiscard]] float DbToY(float db) const;
    /// A gain step (250 = 0 dB, 0.1 dB each) as y, held to the plot's top and bottom.
    [[nodiscard]] float GainStepToY(int step) const;
    /// The gain step at y (above the top reads +16 dB, below the bottom -27 dB).
    [[nodiscard]] int YToGainStep(float y) const;

    /// f(j) = XToFreq(40 + j), j = 0 .. N - 1.
    [[nodiscard]] std::vector<float> GridFrequencies() const;

private:
    int w_ = 0;
    int h_ = 0;
    int xr_ = 0;
    int yb_ = 0;
    int y0_ = 0;
    int n_ = 0;
    float d_ = 1.0f;
};

}  // namespace vellora::graph
