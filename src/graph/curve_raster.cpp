// Antialiasing of the graph's curves, column by column where they are flat and row by row
// where they are steep (see Rasterize); fills and the extents of what is drawn.
#include "graph/curve_raster.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace vellora::graph {

void ColumnSpans::Reset(int left, int count) {
    left_ = left;
    top_.assign(static_cast<size_t>(std::max(count, 0)), std::numeric_limits<int>::max());
    bottom_.assign(static_cast<size_t>(std::max(count, 0)), std::numeric_limits<int>::min());
}

int64_t ColumnSpans::Area() const {
    int64_t area = 0;
    for (size_t i = 0; i < top_.size(); ++i)
        if (top_[i] <= bottom_[i]) area += bottom_[i] - top_[i] + 1;
    return area;
}

void ColumnSpans::Runs(std::vector<Run>& out) const {
    out.clear();
    const int count = Count();
    int first = std::numeric_limits<int>::max();
    int last = std::numeric_limits<int>::min();
    for (int i = 0; i < count; ++i) {
        if (top_[static_cast<size_t>(i)] > bottom_[static_cast<size_t>(i)]) continue;
        first = std::min(first, top_[static_cast<size_t>(i)]);
        last = std::max(last, bottom_[static_cast<size_t>(i)]);
    }
    if (first > last) return;

    // Columns grouped by the row where they start and the row after they end.
    const auto rows = static_cast<size_t>(last - first + 2);
    thread_local std::vector<int> startAt, endAt, starting, ending, nextStart, nextEnd;
    startAt.assign(rows + 1, 0);
    endAt.assign(rows + 1, 0);
    for (int i = 0; i < count; ++i) {
        if (top_[static_cast<size_t>(i)] > bottom_[static_cast<size_t>(i)]) continue;
        ++startAt[static_cast<size_t>(top_[static_cast<size_t>(i)] - first) + 1];
        ++endAt[static_cast<size_t>(bottom_[static_cast<size_t>(i)] + 1 - first) + 1];
    }
    for (size_t r = 1; r <= rows; ++r) {
        startAt[r] += startAt[r - 1];
        endAt[r] += endAt[r - 1];
    }
    starting.resize(static_cast<size_t>(startAt[rows]));
    ending.resize(static_cast<size_t>(endAt[rows]));
    nextStart.assign(startAt.begin(), startAt.end() - 1);
    nextEnd.assign(endAt.begin(), endAt.end() - 1);
    for (int i = 0; i < count; ++i) {
        const int t = top_[static_cast<size_t>(i)];
        const int b = bottom_[static_cast<size_t>(i)];
        if (t > b) continue;
        starting[static_cast<size_t>(nextStart[static_cast<size_t>(t - first)]++)] = i;
        ending[static_cast<size_t>(nextEnd[static_cast<size_t>(b + 1 - first)]++)] = i;
    }

    // Sweep down the rows with the set of columns present as a bit map.
    thread_local std::vector<uint64_t> present;
    present.assign(static_cast<size_t>(count + 63) / 64, 0);
    const auto words = static_cast<int>(present.size());
    for (int y = first; y <= last; ++y) {
        const auto r = static_cast<size_t>(y - first);
        for (int k = startAt[r]; k < startAt[r + 1]; ++k) {
            const int i = starting[static_cast<size_t>(k)];
            present[static_cast<size_t>(i >> 6)] |= uint64_t{1} << (i & 63);
        }
        for (int k = endAt[r]; k < endAt[r + 1]; ++k) {
            const int i = ending[static_cast<size_t>(k)];
            present[static_cast<size_t>(i >> 6)] &= ~(uint64_t{1} << (i & 63));
        }
        int runStart = -1;
        for (int w = 0; w < words; ++w) {
            uint64_t bits = present[static_cast<size_t>(w)];
            if (runStart < 0 && bits == 0) continue;
            if (runStart >= 0 && bits == ~uint64_t{0}) continue;
            int pos = 0;
            while (pos < 64) {
                if (runStart < 0) {
                    const uint64_t rest = bits >> pos;
                    if (rest == 0) break;
                    pos += std::countr_zero(rest);
                    runStart = w * 64 + pos;
                } else {
                    const uint64_t rest = ~bits >> pos;
                    if (rest == 0) break;
                    pos += std::countr_zero(rest);
                    out.push_back({y, left_ + runStart, w * 64 + pos - runStart});
                    runStart = -1;
                }
            }
        }
        if (runStart >= 0) out.push_back({y, left_ + runStart, count - runStart});
    }
}

RasterTarget RasterTarget::Of(QImage& image, const QRect& clip) {
    RasterTarget t;
    t.Bits = reinterpret_cast<uint32_t*>(image.bits());
    t.Stride = image.bytesPerLine() / 4;
    t.Clip = clip & QRect(QPoint(0, 0), image.size());
    return t;
}

namespace {

// x * a / 255 on the four channels of a premultiplied pixel, a = 0..255.
inline uint32_t ByteMul(uint32_t x, uint32_t a) {
    uint32_t rb = (x & 0x00ff00ffu) * a;
    rb = ((rb + ((rb >> 8) & 0x00ff00ffu) + 0x00800080u) >> 8) & 0x00ff00ffu;
    uint32_t ag = ((x >> 8) & 0x00ff00ffu) * a;
    ag = (ag + ((ag >> 8) & 0x00ff00ffu) + 0x00800080u) & 0xff00ff00u;
    return rb | ag;
}

// floor for values well inside the int range (the rows of a clipped picture).
inline int FloorToInt(double v) {
    const int i = static_cast<int>(v);
    return i - (v < i ? 1 : 0);
}

inline int CeilToInt(double v) {
    return -FloorToInt(-v);
}

// A coverage 0..1 (a little outside from rounding) as 0..255.
inline uint32_t Coverage8(double c) {
    if (!(c > 0.0)) return 0;
    if (c >= 1.0) return 255;
    return static_cast<uint32_t>(c * 255.0 + 0.5);
}

// Blends the stroke's colour at each coverage; with kInside, pixels within the style's Inside
// spans take its InsideColour.
template <bool kInside>
struct BlendSink {
    BlendSink(const RasterTarget& t, const StrokeStyle& style) : target(t), inside(style.Inside) {
        for (uint32_t c = 0; c < 256; ++c) {
            source[0][c] = ByteMul(style.Colour, c);
            inverse[c] = 255 - (source[0][c] >> 24);
            if (kInside) source[1][c] = ByteMul(style.InsideColour, c);
        }
    }
    const RasterTarget& target;
    const ColumnSpans* inside;
    uint32_t source[kInside ? 2 : 1][256];  // the colour at each coverage (outside, inside)
    uint32_t inverse[256];                  // what is left of the pixel under it
    uint32_t* column = nullptr;  // pixel (x, 0) of the current column, outside the memory
    int insideTop = 1;           // the current column's rows inside
    int insideBottom = 0;

    void BeginColumn(int x) {
        column = target.Bits + (x - target.Origin.x()) - target.Origin.y() * target.Stride;
        if (!kInside) return;
        insideTop = 1;
        insideBottom = 0;
        if (!inside->Empty(x)) {
            insideTop = inside->Top(x);
            insideBottom = inside->Bottom(x);
        }
    }
    void Pixel(int y, uint32_t coverage) {
        uint32_t& d = column[y * target.Stride];
        const int in = kInside && y >= insideTop && y <= insideBottom;
        d = source[in][coverage] + ByteMul(d, inverse[coverage]);
    }
    // Rows y and y + 1 (a hairline's two pixels; a coverage may be 0).
    void PixelPair(int y, uint32_t upper, uint32_t lower) {
#ifdef __SSE2__
        if (!kInside) {
            // Both pixels at once, with the arithmetic of ByteMul on 16-bit lanes.
            uint32_t* a = column + y * target.Stride;
            uint32_t* b = a + target.Stride;
            const __m128i zero = _mm_setzero_si128();
            const __m128i d =
                _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(*a)),
                                                     _mm_cvtsi32_si128(static_cast<int>(*b))),
                                  zero);
            const __m128i factor =
                _mm_unpacklo_epi64(_mm_set1_epi16(static_cast<short>(inverse[upper])),
                                   _mm_set1_epi16(static_cast<short>(inverse[lower])));
            const __m128i t = _mm_mullo_epi16(d, factor);
            const __m128i scaled = _mm_srli_epi16(
                _mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), _mm_set1_epi16(0x80)), 8);
            const __m128i packed = _mm_packus_epi16(scaled, zero);
            *a = source[0][upper] + static_cast<uint32_t>(_mm_cvtsi128_si32(packed));
            *b = source[0][lower] +
                 static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(packed, 4)));
            return;
        }
#endif
        if (upper) Pixel(y, upper);
        if (lower) Pixel(y + 1, lower);
    }
    void EndColumn(int) {}
};

// How thick a stroke is across its flat parts (|slope| <= 1), measured vertically: a hairline
// carries one pixel per column, a wider one adds width - 1 pixels measured across the curve.
inline double VerticalThickness(double slope, double width) {
    if (width <= 1.0) return 1.0;
    return (width - 1.0) * std::sqrt(1.0 + slope * slope) + 1.0;
}

// And across its steep parts (|slope| > 1), measured horizontally: one pixel per row for a
// hairline.
inline double HorizontalThickness(double slope, double width) {
    if (width <= 1.0) return 1.0;
    return (width - 1.0) * std::sqrt(1.0 + 1.0 / (slope * slope)) + 1.0;
}

// Half a pixel: how far strokes run on past their end points, as square caps do.
constexpr double kCap = 0.5;

// How far a steep part of a wide stroke runs on, vertically, past its ends: without it the
// outside of a bend between a flat and a steep part would be notched.
inline double SteepOverrun(double width) {
    return width > 1.0 ? (width - 1.0) * 0.5 : 0.0;
}

// The length of [a0, a1] inside [b0, b1].
inline double Overlap(double a0, double a1, double b0, double b1) {
    return std::max(0.0, std::min(a1, b1) - std::max(a0, b0));
}

// The curve between two of its points.
struct Segment {
    double x0, y0, slope;
    [[nodiscard]] double At(double x) const { return y0 + slope * (x - x0); }
};

// Per segment: slope, thickness, and whether it is steep.
struct SegmentTable {
    std::vector<double> slope;
    std::vector<double> thickness;  // vertical (flat) or horizontal (steep)
    std::vector<char> steep;
    double reach = 0.0;  // the furthest a steep segment reaches along x past its ends

    // How far steep segment k reaches along x past its ends: half its thickness, and its
    // run-on past the ends.
    [[nodiscard]] double Reach(size_t k, double width) const {
        return thickness[k] * 0.5 + SteepOverrun(width) / std::abs(slope[k]);
    }

    void Build(const CurveSamples& curve, double width) {
        const size_t count = curve.Ys.size() - 1;
        slope.resize(count);
        thickness.resize(count);
        steep.resize(count);
        reach = 0.0;
        const double inv = 1.0 / curve.Step;
        for (size_t k = 0; k < count; ++k) {
            slope[k] = (static_cast<double>(curve.Ys[k + 1]) - curve.Ys[k]) * inv;
            steep[k] = std::abs(slope[k]) > 1.0;
            if (steep[k]) {
                thickness[k] = HorizontalThickness(slope[k], width);
                reach = std::max(reach, Reach(k, width));
            } else {
                thickness[k] = VerticalThickness(slope[k], width);
            }
        }
    }
};

// Flat parts go column by column: a box as thick as the stroke, centred on the curve at the
// column's centre (for a hairline: two pixels sharing the coverage, as in Wu's lines). Steep
// parts go row by row: a band as wide as the stroke, centred on the curve at the row's
// centre, shared among the columns it crosses. Every pixel is blended once per curve.
template <class Sink>
void Rasterize(const CurveSamples& curve, double width, const QRect& clip, const ColumnSpans* only,
               Sink& sink) {
    const std::span<const float> ys = curve.Ys;
    const int n = static_cast<int>(ys.size());
    if (n < 2 || clip.isEmpty() || !(curve.Step >= 1.0f)) return;
    const double step = curve.Step;
    const double inv = 1.0 / step;
    const double xFirst = curve.X0;
    const double xLast = curve.X0 + step * (n - 1);
    // Square caps: the stroke runs on half a pixel past the end points.
    const double xStart = xFirst - kCap;
    const double xEnd = xLast + kCap;
    thread_local SegmentTable table;
    table.Build(curve, width);
    const int cBegin = std::max(clip.left(), FloorToInt(xStart - table.reach));
    const int cEnd = std::min(clip.right() + 1, FloorToInt(xEnd + table.reach) + 1);
    if (cBegin >= cEnd) return;
    const auto segment = [&](int k) {
        return Segment{xFirst + k * step, ys[static_cast<size_t>(k)],
                       table.slope[static_cast<size_t>(k)]};
    };
    const auto segmentAt = [&](double x) {
        return std::clamp(FloorToInt((x - xFirst) * inv), 0, n - 2);
    };
    // A segment's extent along x; the first and the last one hold the caps.
    const auto segmentLeft = [&](int k) { return k == 0 ? xStart : xFirst + k * step; };
    const auto segmentRight = [&](int k) { return k == n - 2 ? xEnd : xFirst + (k + 1) * step; };
    const double overrun = SteepOverrun(width);

    // Columns that a steep segment reaches into.
    thread_local std::vector<char> steepColumn;
    steepColumn.assign(static_cast<size_t>(cEnd - cBegin), 0);
    for (int k = 0; k < n - 1; ++k) {
        if (!table.steep[static_cast<size_t>(k)]) continue;
        const double half = table.Reach(static_cast<size_t>(k), width);
        for (int c = std::max(cBegin, FloorToInt(segmentLeft(k) - half));
             c <= std::min(cEnd - 1, FloorToInt(segmentRight(k) + half)); ++c)
            steepColumn[static_cast<size_t>(c - cBegin)] = 1;
    }

    int j = segmentAt(cBegin);  // the segment at a column's left edge, moving right
    thread_local std::vector<double> coverage;

    for (int c = cBegin; c < cEnd; ++c) {
        int rowTop = clip.top();
        int rowBottom = clip.bottom();
        if (only) {
            if (only->Empty(c)) continue;
            rowTop = std::max(rowTop, only->Top(c));
            rowBottom = std::min(rowBottom, only->Bottom(c));
            if (rowTop > rowBottom) continue;
        }
        const double xl = std::max<double>(c, xStart);
        const double xr = std::min<double>(c + 1, xEnd);

        if (!steepColumn[static_cast<size_t>(c - cBegin)]) {
            if (!(xr > xl)) continue;
            // Step >= 1, so a column holds at most two segments.
            while (j < n - 2 && xFirst + (j + 1) * step <= xl) ++j;
            const double w = xr - xl;
            const double xc = std::clamp(c + 0.5, xl, xr);
            const int jc = j < n - 2 && xc >= xFirst + (j + 1) * step ? j + 1 : j;
            const double yc = segment(jc).At(xc);
            sink.BeginColumn(c);
            if (width <= 1.0) {
                // y - 0.5 in fixed point with 8 fraction bits, rounded down (ys are far
                // inside +-2^23 pixels).
                constexpr int64_t kOffset = int64_t{1} << 23;
                const auto fixed =
                    static_cast<int64_t>((std::clamp(yc, -1e7, 1e7) - 0.5 + kOffset) * 256.0) -
                    (kOffset << 8);
                const auto r0 = static_cast<int>(fixed >> 8);
                const auto f = static_cast<uint32_t>(fixed & 255);
                uint32_t upper = 255 - f;
                uint32_t lower = f;
                if (w < 1.0) {
                    upper = static_cast<uint32_t>(upper * w + 0.5);
                    lower = static_cast<uint32_t>(lower * w + 0.5);
                }
                if (r0 >= rowTop && r0 + 1 <= rowBottom) {
                    sink.PixelPair(r0, upper, lower);
                } else {
                    if (upper && r0 >= rowTop && r0 <= rowBottom) sink.Pixel(r0, upper);
                    if (lower && r0 + 1 >= rowTop && r0 + 1 <= rowBottom) sink.Pixel(r0 + 1, lower);
                }
                sink.EndColumn(c);
                continue;
            }
            const double t = table.thickness[static_cast<size_t>(jc)];
            const double a = std::clamp(yc - t * 0.5, -1e7, 1e7);
            const double b = std::clamp(yc + t * 0.5, -1e7, 1e7);
            const int ra = FloorToInt(a);
            const int rb = FloorToInt(b);
            if (ra == rb) {
                if (ra >= rowTop && ra <= rowBottom)
                    if (const uint32_t v = Coverage8((b - a) * w)) sink.Pixel(ra, v);
            } else {
                // Partly covered ends, fully covered rows between.
                if (ra >= rowTop && ra <= rowBottom)
                    if (const uint32_t v = Coverage8((ra + 1 - a) * w)) sink.Pixel(ra, v);
                const uint32_t full = Coverage8(w);
                for (int row = std::max(ra + 1, rowTop); row <= std::min(rb - 1, rowBottom); ++row)
                    sink.Pixel(row, full);
                if (rb >= rowTop && rb <= rowBottom)
                    if (const uint32_t v = Coverage8((b - rb) * w)) sink.Pixel(rb, v);
            }
            sink.EndColumn(c);
            continue;
        }

        // Near a steep part: every segment within reach adds its share to the column.
        const int kFirst = segmentAt(c - table.reach);
        const int kLast = segmentAt(c + 1 + table.reach);
        double lo = std::numeric_limits<double>::max();
        double hi = std::numeric_limits<double>::lowest();
        for (int k = kFirst; k <= kLast; ++k) {
            const double ya = ys[static_cast<size_t>(k)];
            const double yb = ys[static_cast<size_t>(k) + 1];
            const double grow = table.steep[static_cast<size_t>(k)]
                                    ? overrun
                                    : table.thickness[static_cast<size_t>(k)] * 0.5;
            lo = std::min(lo, std::min(ya, yb) - grow);
            hi = std::max(hi, std::max(ya, yb) + grow);
        }
        const int r0 = std::max(rowTop, FloorToInt(std::max(lo, -1e9)));
        const int r1 = std::min(rowBottom, FloorToInt(std::min(hi, 1e9)));
        if (r0 > r1) continue;
        coverage.assign(static_cast<size_t>(r1 - r0 + 1), 0.0);
        for (int k = kFirst; k <= kLast; ++k) {
            const Segment s = segment(k);
            const double t = table.thickness[static_cast<size_t>(k)];
            if (table.steep[static_cast<size_t>(k)]) {
                // A wide stroke runs on past an end where the curve bends flat, into the
                // corner of the bend.
                const double ya = s.y0;
                const double yb = s.At(s.x0 + step);
                const double onLeft =
                    k == 0 || !table.steep[static_cast<size_t>(k) - 1] ? overrun : 0.0;
                const double onRight =
                    k == n - 2 || !table.steep[static_cast<size_t>(k) + 1] ? overrun : 0.0;
                const double ymin = ya < yb ? ya - onLeft : yb - onRight;
                const double ymax = ya < yb ? yb + onRight : ya + onLeft;
                for (int row = std::max(r0, FloorToInt(std::max(ymin, -1e9)));
                     row <= std::min(r1, FloorToInt(std::min(ymax, 1e9))); ++row) {
                    const double y0 = std::max<double>(row, ymin);
                    const double y1 = std::min<double>(row + 1, ymax);
                    const double x = s.x0 + ((y0 + y1) * 0.5 - s.y0) / s.slope;
                    coverage[static_cast<size_t>(row - r0)] +=
                        (y1 - y0) * Overlap(x - t * 0.5, x + t * 0.5, c, c + 1);
                }
                continue;
            }
            const double du = Overlap(segmentLeft(k), segmentRight(k), xl, xr);
            if (!(du > 0.0)) continue;
            const double ym =
                s.At((std::max(segmentLeft(k), xl) + std::min(segmentRight(k), xr)) * 0.5);
            for (int row = std::max(r0, FloorToInt(std::max(ym - t * 0.5, -1e9)));
                 row <= std::min(r1, FloorToInt(std::min(ym + t * 0.5, 1e9))); ++row)
                coverage[static_cast<size_t>(row - r0)] +=
                    du * Overlap(ym - t * 0.5, ym + t * 0.5, row, row + 1);
        }
        sink.BeginColumn(c);
        for (int row = r0; row <= r1; ++row) {
            const uint32_t v = Coverage8(coverage[static_cast<size_t>(row - r0)]);
            if (v) sink.Pixel(row, v);
        }
        sink.EndColumn(c);
    }
}

// Calls rows(c, first, last) for every column whose centre lies on the curve, with the rows
// whose centres lie between the curve and the baseline, cut to `clip`.
template <class Rows>
void FillRows(const CurveSamples& curve, double baseline, const QRect& clip, Rows&& rows) {
    const std::span<const float> ys = curve.Ys;
    const int n = static_cast<int>(ys.size());
    if (n < 2 || clip.isEmpty() || !(curve.Step >= 1.0f)) return;
    const double step = curve.Step;
    const double inv = 1.0 / step;
    const double xFirst = curve.X0;
    const double xLast = curve.X0 + step * (n - 1);
    // Columns whose centre c + 0.5 lies in [xFirst, xLast).
    const int cBegin = std::max(clip.left(), CeilToInt(xFirst - 0.5));
    const int cEnd = std::min(clip.right() + 1, CeilToInt(xLast - 0.5));
    int j = 0;
    for (int c = cBegin; c < cEnd; ++c) {
        const double xc = c + 0.5;
        while (j < n - 2 && xFirst + (j + 1) * step <= xc) ++j;
        const double a = ys[static_cast<size_t>(j)];
        const double y =
            a + (ys[static_cast<size_t>(j) + 1] - a) * ((xc - (xFirst + j * step)) * inv);
        const double lo = std::max(std::min(y, baseline), -1e9);
        const double hi = std::min(std::max(y, baseline), 1e9);
        // Rows whose centre r + 0.5 lies in (lo, hi], as the raster engine fills.
        const int first = std::max(clip.top(), FloorToInt(lo - 0.5) + 1);
        const int last = std::min(clip.bottom(), FloorToInt(hi - 0.5));
        if (first <= last) rows(c, first, last);
    }
}

}  // namespace

QRgb UnderFill(QRgb line, QRgb fill) {
    // line under fill over d = fill + (1 - af) line + (1 - af)(1 - al) d; a colour M drawn
    // over (fill over d) with alpha al gives the same when M = al fill + (1 - af) line.
    return ByteMul(fill, qAlpha(line)) + ByteMul(line, 255 - qAlpha(fill));
}

void FillRuns(const RasterTarget& target, std::span<const ColumnSpans::Run> runs, QRgb colour) {
    if (!target.Bits || qAlpha(colour) == 0) return;
    const uint32_t inverse = 255 - qAlpha(colour);
#ifdef __SSE2__
    // Four pixels at a time, with the arithmetic of ByteMul on 16-bit lanes.
    const __m128i zero = _mm_setzero_si128();
    const __m128i factor = _mm_set1_epi16(static_cast<short>(inverse));
    const __m128i half = _mm_set1_epi16(0x80);
    const __m128i add = _mm_set1_epi32(static_cast<int>(colour));
    const auto scale = [&](__m128i v) {
        const __m128i t = _mm_mullo_epi16(v, factor);
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), half), 8);
    };
#endif
    for (const ColumnSpans::Run& run : runs) {
        uint32_t* p =
            target.Bits + (run.Y - target.Origin.y()) * target.Stride + (run.X - target.Origin.x());
        int i = 0;
#ifdef __SSE2__
        for (; i + 4 <= run.Count; i += 4) {
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const __m128i lo = scale(_mm_unpacklo_epi8(d, zero));
            const __m128i hi = scale(_mm_unpackhi_epi8(d, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i),
                             _mm_add_epi32(_mm_packus_epi16(lo, hi), add));
        }
#endif
        for (; i < run.Count; ++i) p[i] = colour + ByteMul(p[i], inverse);
    }
}

void AddFillExtent(ColumnSpans& spans, const CurveSamples& curve, float baseline,
                   const QRect& clip) {
    FillRows(curve, baseline, clip,
             [&](int x, int first, int last) { spans.Include(x, first, last); });
}

void StrokeCurve(const RasterTarget& target, const CurveSamples& curve, const StrokeStyle& style,
                 const ColumnSpans* only) {
    if (!target.Bits || qAlpha(style.Colour) == 0) return;
    const double width = std::max(1.0f, style.Width);
    if (style.Inside) {
        BlendSink<true> sink(target, style);
        Rasterize(curve, width, target.Clip, only, sink);
    } else {
        BlendSink<false> sink(target, style);
        Rasterize(curve, width, target.Clip, only, sink);
    }
}

void AddStrokeExtent(ColumnSpans& spans, const CurveSamples& curve, float width,
                     const QRect& clip) {
    // Segment by segment: a flat one reaches half the stroke's vertical thickness above and
    // below its ends, in its own columns; a steep one its own rows, and half the stroke's
    // horizontal thickness into the columns beside it. (A hair more, for rounding.)
    const std::span<const float> ys = curve.Ys;
    const int n = static_cast<int>(ys.size());
    if (n < 2 || clip.isEmpty() || !(curve.Step >= 1.0f)) return;
    const double step = curve.Step;
    const double inv = 1.0 / step;
    const bool hairline = width <= 1.0f;
    constexpr double kHair = 0.01;
    for (int j = 0; j + 1 < n; ++j) {
        const double xa = curve.X0 + j * step;
        const double a = ys[static_cast<size_t>(j)];
        const double b = ys[static_cast<size_t>(j) + 1];
        const double slope = std::abs(b - a) * inv;
        const bool steep = slope > 1.0;
        // The end segments hold the caps: half a pixel further along x, and what the curve
        // climbs there.
        const double cap = (j == 0 || j + 2 == n) ? kCap : 0.0;
        double grow = cap * slope + kHair;
        double reach = cap;
        if (hairline) {
            if (steep)
                reach += 0.5;
            else
                grow += 0.5;
        } else if (steep) {
            // A steep one's run-on past its ends also carries it along x.
            grow += SteepOverrun(width);
            reach += HorizontalThickness(slope, width) * 0.5 + SteepOverrun(width) / slope;
        } else {
            grow += VerticalThickness(slope, width) * 0.5;
        }
        const int top = std::max(clip.top(), FloorToInt(std::max(std::min(a, b) - grow, -1e9)));
        const int bottom =
            std::min(clip.bottom(), FloorToInt(std::min(std::max(a, b) + grow, 1e9)));
        if (top > bottom) continue;
        // Columns that the segment reaches into; a column it only touches at an edge takes
        // nothing from it.
        const int first = std::max(clip.left(), FloorToInt(xa - reach));
        const int last = std::min(clip.right(), CeilToInt(xa + step + reach) - 1);
        for (int x = first; x <= last; ++x) spans.Include(x, top, bottom);
    }
}

}  // namespace vellora::graph
