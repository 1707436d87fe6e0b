// The pixels of an image that drawings are about to cover, kept so that the drawings can be
// taken off again: column spans (curves), rectangles (pictures and texts), and a fill.
#pragma once

#include <QImage>
#include <QRect>

#include <cstdint>
#include <span>
#include <vector>

#include "graph/curve_raster.h"

namespace vellora::graph {

class SavedPixels {
public:
    /// Forgets every kept pixel (the memory stays for the next drawing).
    void Clear();
    /// Frees the memory too.
    void Release();
    [[nodiscard]] bool Empty() const { return parts_.empty(); }

    /// Keeps the pixels of the spans (inside the image) column by column: for thin lines,
    /// where a column holds a few pixels and its neighbour the same rows.
    void SaveColumns(const QImage& image, const ColumnSpans& spans);
    /// Keeps the pixels of a rectangle (device pixels; cut to the image).
    void SaveRect(const QImage& image, const QRect& area);
    /// Puts every kept pixel back, the last kept first, into `image`: the image they came
    /// from or a copy of it.
    void RestoreTo(QImage& image) const;

    /// Memory held, in bytes.
    [[nodiscard]] int64_t Bytes() const;

private:
    // One save: a range of column_spans_, or a rectangle; its pixels start at Offset in
    // pixels_.
    struct Part {
        enum Kind { Columns, Rect } Type = Columns;
        size_t First = 0;
        size_t End = 0;
        QRect Area;
        size_t Offset = 0;
    };
    struct ColumnSpan {
        int X, Top, Bottom;
    };
    std::vector<Part> parts_;
    std::vector<ColumnSpan> column_spans_;
    std::vector<uint32_t> pixels_;  // grown, never shrunk: filling it first would double the cost
    size_t used_ = 0;
};

/// A translucent fill drawn into an image, with the pixels it covers kept. A new fill only
/// touches the pixels where it differs from the one shown: while a band is dragged, most of
/// its fill stays where it was.
class SavedFill {
public:
    /// Makes `image` show `colour` (premultiplied; 0 for no fill) over the runs (row by row,
    /// left to right, inside the image) instead of the fill it shows now.
    void Change(QImage& image, std::span<const ColumnSpans::Run> runs, QRgb colour);
    /// Takes the fill off `image`.
    void Remove(QImage& image) { Change(image, {}, 0); }
    /// Puts the pixels under the fill into `image` (a copy of the image it is drawn in).
    void RestoreTo(QImage& image) const;
    /// Forgets the fill without touching any image, and frees the memory.
    void Release();
    [[nodiscard]] int64_t Bytes() const;

private:
    QRgb colour_ = 0;
    std::vector<ColumnSpans::Run> runs_;
    std::vector<uint32_t> pixels_;
    std::vector<ColumnSpans::Run> next_runs_;  // swapped with runs_ by Change
    std::vector<uint32_t> next_pixels_;
};

}  // namespace vellora::graph
