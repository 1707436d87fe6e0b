// Keeping and putting back the pixels under drawings.
#include "graph/saved_pixels.h"

#include <algorithm>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace vellora::graph {

namespace {

// Copies a short run of pixels inline: a call to memcpy per run of a few dozen bytes costs
// more than the copy.
inline void CopyRun(uint32_t* out, const uint32_t* in, int n) {
    int i = 0;
#ifdef __SSE2__
    for (; i + 4 <= n; i += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i)));
#endif
    for (; i < n; ++i) out[i] = in[i];
}

// d = colour over d, colour premultiplied.
inline uint32_t Over(uint32_t colour, uint32_t d) {
    const uint32_t a = 255 - (colour >> 24);
    uint32_t rb = (d & 0x00ff00ffu) * a;
    rb = ((rb + ((rb >> 8) & 0x00ff00ffu) + 0x00800080u) >> 8) & 0x00ff00ffu;
    uint32_t ag = ((d >> 8) & 0x00ff00ffu) * a;
    ag = (ag + ((ag >> 8) & 0x00ff00ffu) + 0x00800080u) & 0xff00ff00u;
    return colour + (rb | ag);
}

}  // namespace

void SavedPixels::Clear() {
    parts_.clear();
    column_spans_.clear();
    used_ = 0;
}

void SavedPixels::Release() {
    Clear();
    parts_ = {};
    column_spans_ = {};
    pixels_ = {};
}

void SavedPixels::SaveColumns(const QImage& image, const ColumnSpans& spans) {
    if (image.depth() != 32) return;
    const size_t first = column_spans_.size();
    for (int x = spans.Left(); x < spans.Left() + spans.Count(); ++x)
        if (!spans.Empty(x)) column_spans_.push_back({x, spans.Top(x), spans.Bottom(x)});
    if (column_spans_.size() == first) return;
    const auto count = static_cast<size_t>(spans.Area());
    parts_.push_back({Part::Columns, first, column_spans_.size(), QRect(), used_});
    if (pixels_.size() < used_ + count) pixels_.resize(used_ + count);
    uint32_t* out = pixels_.data() + used_;
    const auto* bits = reinterpret_cast<const uint32_t*>(image.constBits());
    const int64_t stride = image.bytesPerLine() / 4;
    for (size_t k = first; k < column_spans_.size(); ++k) {
        const ColumnSpan& c = column_spans_[k];
        const uint32_t* p = bits + c.Top * stride + c.X;
        for (int y = c.Top; y <= c.Bottom; ++y, p += stride) *out++ = *p;
    }
    used_ += count;
}

void SavedPixels::SaveRect(const QImage& image, const QRect& area) {
    const QRect r = area & image.rect();
    if (r.isEmpty() || image.depth() != 32) return;
    const size_t count = static_cast<size_t>(r.width()) * static_cast<size_t>(r.height());
    parts_.push_back({Part::Rect, 0, 0, r, used_});
    if (pixels_.size() < used_ + count) pixels_.resize(used_ + count);
    uint32_t* out = pixels_.data() + used_;
    for (int y = r.top(); y <= r.bottom(); ++y, out += r.width())
        CopyRun(out, reinterpret_cast<const uint32_t*>(image.constScanLine(y)) + r.left(),
                r.width());
    used_ += count;
}

void SavedPixels::RestoreTo(QImage& image) const {
    if (image.depth() != 32) return;
    auto* bits = reinterpret_cast<uint32_t*>(image.bits());
    const int64_t stride = image.bytesPerLine() / 4;
    for (auto part = parts_.rbegin(); part != parts_.rend(); ++part) {
        const uint32_t* in = pixels_.data() + part->Offset;
        if (part->Type == Part::Columns) {
            for (size_t k = part->First; k < part->End; ++k) {
                const ColumnSpan& c = column_spans_[k];
                uint32_t* p = bits + c.Top * stride + c.X;
                for (int y = c.Top; y <= c.Bottom; ++y, p += stride) *p = *in++;
            }
            continue;
        }
        const QRect& r = part->Area;
        if (!image.rect().contains(r)) continue;
        for (int y = r.top(); y <= r.bottom(); ++y, in += r.width())
            CopyRun(bits + y * stride + r.left(), in, r.width());
    }
}

int64_t SavedPixels::Bytes() const {
    return static_cast<int64_t>(pixels_.capacity() * sizeof(uint32_t) +
                                column_spans_.capacity() * sizeof(ColumnSpan) +
                                parts_.capacity() * sizeof(Part));
}

void SavedFill::Change(QImage& image, std::span<const ColumnSpans::Run> runs, QRgb colour) {
    if (image.depth() != 32) return;
    if (colour == 0) runs = {};
    auto* bits = reinterpret_cast<uint32_t*>(image.bits());
    const int64_t stride = image.bytesPerLine() / 4;
    const bool sameRuns = runs.size() == runs_.size() &&
                          std::equal(runs.begin(), runs.end(), runs_.begin(),
                                     [](const ColumnSpans::Run& a, const ColumnSpans::Run& b) {
                                         return a.Y == b.Y && a.X == b.X && a.Count == b.Count;
                                     });
    if (sameRuns) {
        // The same pixels: nothing to do, or the kept ones filled in the new colour.
        if (colour != colour_) {
            const uint32_t* in = pixels_.data();
            for (const ColumnSpans::Run& run : runs_) {
                uint32_t* p = bits + run.Y * stride + run.X;
                for (int x = 0; x < run.Count; ++x) p[x] = Over(colour, in[x]);
                in += run.Count;
            }
            colour_ = colour;
        }
        return;
    }
    next_runs_.assign(runs.begin(), runs.end());
    size_t total = 0;
    for (const ColumnSpans::Run& run : runs) total += static_cast<size_t>(run.Count);
    if (next_pixels_.size() < total) next_pixels_.resize(total);

    // Walk the old and the new runs together, row by row and left to right.
    const bool recolour = colour != colour_;
    constexpr int kNone = std::numeric_limits<int>::max();
    size_t i = 0;  // old run
    size_t k = 0;  // new run
    const uint32_t* oldPixel = pixels_.data();
    uint32_t* newPixel = next_pixels_.data();
    int oa = kNone, ob = kNone, oy = kNone;  // what is left of the old run: [oa, ob) in row oy
    int na = kNone, nb = kNone, ny = kNone;
    const auto loadOld = [&] {
        if (i < runs_.size()) {
            oy = runs_[i].Y;
            oa = runs_[i].X;
            ob = oa + runs_[i].Count;
        } else {
            oy = oa = ob = kNone;
        }
    };
    const auto loadNew = [&] {
        if (k < next_runs_.size()) {
            ny = next_runs_[k].Y;
            na = next_runs_[k].X;
            nb = na + next_runs_[k].Count;
        } else {
            ny = na = nb = kNone;
        }
    };
    loadOld();
    loadNew();
    while (oy != kNone || ny != kNone) {
        // The earlier of the two, by row then by x.
        const bool oldFirst = oy < ny || (oy == ny && oa < na);
        const bool newFirst = ny < oy || (ny == oy && na < oa);
        if (oldFirst) {
            // Under the old fill only: put back.
            const int e = oy == ny ? std::min(ob, na) : ob;
            CopyRun(bits + oy * stride + oa, oldPixel, e - oa);
            oldPixel += e - oa;
            oa = e;
        } else if (newFirst) {
            // Under the new fill only: keep, then fill.
            const int e = oy == ny ? std::min(nb, oa) : nb;
            uint32_t* p = bits + ny * stride + na;
            CopyRun(newPixel, p, e - na);
            for (int x = 0; x < e - na; ++x) p[x] = Over(colour, p[x]);
            newPixel += e - na;
            na = e;
        } else {
            // Under both: the kept pixels carry over; fill again only in a new colour.
            const int e = std::min(ob, nb);
            CopyRun(newPixel, oldPixel, e - oa);
            if (recolour) {
                uint32_t* p = bits + oy * stride + oa;
                for (int x = 0; x < e - oa; ++x) p[x] = Over(colour, oldPixel[x]);
            }
            oldPixel += e - oa;
            newPixel += e - oa;
            oa = na = e;
        }
        if (oa == ob) {
            ++i;
            loadOld();
        }
        if (na == nb) {
            ++k;
            loadNew();
        }
    }
    std::swap(runs_, next_runs_);
    std::swap(pixels_, next_pixels_);
    colour_ = colour;
}

void SavedFill::RestoreTo(QImage& image) const {
    if (image.depth() != 32) return;
    auto* bits = reinterpret_cast<uint32_t*>(image.bits());
    const int64_t stride = image.bytesPerLine() / 4;
    const uint32_t* in = pixels_.data();
    for (const ColumnSpans::Run& run : runs_) {
        CopyRun(bits + run.Y * stride + run.X, in, run.Count);
        in += run.Count;
    }
}

void SavedFill::Release() {
    colour_ = 0;
    runs_ = {};
    pixels_ = {};
    next_runs_ = {};
    next_pixels_ = {};
}

int64_t SavedFill::Bytes() const {
    return static_cast<int64_t>((pixels_.capacity() + next_pixels_.capacity()) * sizeof(uint32_t) +
                                (runs_.capacity() + next_runs_.capacity()) *
                                    sizeof(ColumnSpans::Run));
}

}  // namespace vellora::graph
