// Coordinate mapping of the response graph.
#include "graph/graph_geometry.h"

#include <algorithm>
#include <cmath>

#include "model/value_scales.h"

namespace vellora::graph {

bool GraphGeometry::SetupGeometry(int w, int h) {
    w = std::max(w, kMinGraphWidth);
    h = std::max(h, kMinGraphHeight);
    if (w == w_ && h == h_) return false;
    w_ = w;
    h_ = h;
    xr_ = w - 5;
    n_ = w - 45;
    yb_ = h - 8;
    d_ = static_cast<float>((xr_ - kPlotLeft) / (std::log10(22000.0) - 1.0));
    y0_ = model::RoundHalfEven((16.0 * yb_ - 160.0) / 43.0 + 10.0);
    return true;
}

float GraphGeometry::FreqToX(float hz) const {
    return (static_cast<float>(std::log10(static_cast<double>(hz))) - 1.0f) * d_ + kPlotLeft;
}

float GraphGeometry::XToFreq(float x) const {
    const float exponent = (x - kPlotLeft) / d_ + 1.0f;
    return static_cast<float>(std::pow(10.0, static_cast<double>(exponent)));
}

float GraphGeometry::DbToY(float db) const {
    return static_cast<float>(kPlotTop - yb_) * db / 43.0f + static_cast<float>(y0_);
}

float GraphGeometry::GainStepToY(int step) const {
    const float db = static_cast<float>((static_cast<double>(step) - model::kGainZero) / 10.0);
    if (db > kTopDb) return static_cast<float>(kPlotTop);
    if (db < kBottomDb) return static_cast<float>(yb_);
    return DbToY(db);
}

int GraphGeometry::YToGainStep(float y) const {
    float db;
    if (y < kPlotTop)
        db = kTopDb;
    else if (y > yb_)
        db = kBottomDb;
    else
        db = 43.0f * (static_cast<float>(y0_) - y) / static_cast<float>(yb_ - kPlotTop);
    return model::RoundHalfEven(static_cast<double>(db * 10.0f + 250.0f));
}

std::vector<float> GraphGeometry::GridFrequencies() const {
    std::vector<float> f(static_cast<size_t>(n_));
    for (int j = 0; j < n_; ++j) f[static_cast<size_t>(j)] = XToFreq(static_cast<float>(kPlotLeft + j));
    return f;
}

}  // namespace vellora::graph
