// The graph's curves written straight into image memory: antialiased strokes, and fills down
// to a baseline. A curve is a function of x sampled at evenly spaced points, so it is drawn a
// device column at a time and every pixel it touches is blended exactly once.
#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>

#include <cstdint>
#include <span>
#include <vector>

namespace vellora::graph {

/// A curve in device pixels: point j lies at x = X0 + j * Step, y = Ys[j]; Step >= 1.
struct CurveSamples {
    float X0 = 0.0f;
    float Step = 1.0f;
    std::span<const float> Ys;
};

class ColumnSpans;

/// Width 1 is a hairline, one device pixel thick as the raster engine's cosmetic pen draws
/// it; a wider stroke adds Width - 1 device pixels measured across the curve. Both have
/// square caps: they run on half a pixel past the end points.
struct StrokeStyle {
    float Width = 1.0f;  ///< device pixels, >= 1
    QRgb Colour = 0;     ///< premultiplied ARGB
    /// Pixels within these spans take InsideColour instead (premultiplied, same alpha).
    const ColumnSpans* Inside = nullptr;
    QRgb InsideColour = 0;
};

/// The colour that, drawn over `fill` (premultiplied), gives what `line` drawn under it would:
/// for a stroke that belongs beneath a fill already in the image.
[[nodiscard]] QRgb UnderFill(QRgb line, QRgb fill);

/// For each device column of a range, the rows (inclusive) that an operation may touch.
class ColumnSpans {
public:
    /// Columns left .. left + count - 1, all empty.
    void Reset(int left, int count);
    /// Widens column x's span to hold top .. bottom (columns outside the range are ignored).
    void Include(int x, int top, int bottom) {
        if (x < left_ || x >= left_ + Count() || top > bottom) return;
        const auto i = static_cast<size_t>(x - left_);
        top_[i] = top < top_[i] ? top : top_[i];
        bottom_[i] = bottom > bottom_[i] ? bottom : bottom_[i];
    }
    [[nodiscard]] int Left() const { return left_; }
    [[nodiscard]] int Count() const { return static_cast<int>(top_.size()); }
    [[nodiscard]] bool Empty(int x) const {
        if (x < left_ || x >= left_ + Count()) return true;
        return top_[static_cast<size_t>(x - left_)] > bottom_[static_cast<size_t>(x - left_)];
    }
    [[nodiscard]] int Top(int x) const { return top_[static_cast<size_t>(x - left_)]; }
    [[nodiscard]] int Bottom(int x) const { return bottom_[static_cast<size_t>(x - left_)]; }
    /// The number of pixels covered.
    [[nodiscard]] int64_t Area() const;

    /// A row's stretch of pixels that belong to the spans.
    struct Run {
        int Y = 0;
        int X = 0;
        int Count = 0;
    };
    /// The spans as runs along rows: top row first, left to right in a row, each run as long
    /// as it can be. Row by row is the order memory is laid out in.
    void Runs(std::vector<Run>& out) const;

private:
    int left_ = 0;
    std::vector<int> top_;
    std::vector<int> bottom_;
};

/// 32-bit premultiplied pixels (Format_ARGB32_Premultiplied or Format_RGB32): pixel (x, y)
/// of the device plane is Bits[(y - Origin.y()) * Stride + x - Origin.x()]; nothing outside
/// Clip (device pixels, inside the memory) is written.
struct RasterTarget {
    uint32_t* Bits = nullptr;
    int64_t Stride = 0;  ///< pixels per line
    QPoint Origin;
    QRect Clip;

    /// The whole of `image` (origin 0, 0), clipped to `clip`.
    [[nodiscard]] static RasterTarget Of(QImage& image, const QRect& clip);
};

/// Blends the stroke of `curve` into `target`; with `only`, also limited to its spans.
void StrokeCurve(const RasterTarget& target, const CurveSamples& curve, const StrokeStyle& style,
                 const ColumnSpans* only = nullptr);

/// Widens `spans` to hold (at least) every pixel that StrokeCurve would touch inside `clip`.
void AddStrokeExtent(ColumnSpans& spans, const CurveSamples& curve, float width, const QRect& clip);

/// Widens `spans` to hold the pixels, inside `clip`, whose centres lie between the curve and
/// the line y = baseline: the polygon of the curve closed along that line, as the raster
/// engine fills it without antialiasing.
void AddFillExtent(ColumnSpans& spans, const CurveSamples& curve, float baseline,
                   const QRect& clip);

/// Blends `colour` (premultiplied) over every pixel of the runs (inside the target's memory).
void FillRuns(const RasterTarget& target, std::span<const ColumnSpans::Run> runs, QRgb colour);

}  // namespace vellora::graph
