// An image kept as runs of equal pixels along its rows. The graph's background (gradients
// that change only from row to row, thin grid lines, a few labels) packs to a small fraction
// of its size and is copied back whole or column span by column span.
#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <vector>

#include "graph/curve_raster.h"

namespace vellora::graph {

class PackedLayer {
public:
    /// Packs a 32-bit image (Format_ARGB32_Premultiplied or Format_RGB32), keeping its
    /// format and pixel density.
    void Pack(const QImage& image);
    void Clear();
    [[nodiscard]] bool IsNull() const { return size_.isEmpty(); }
    /// Size in device pixels.
    [[nodiscard]] QSize Size() const { return size_; }

    /// The image as it was packed.
    [[nodiscard]] QImage Unpack() const;
    /// Writes every pixel into `target` (an image of the same size and depth).
    void CopyTo(QImage& target) const;
    /// Writes the pixels of the spans (device columns and rows) into `target`.
    void CopySpansTo(QImage& target, const ColumnSpans& spans) const;

    /// Memory held, in bytes.
    [[nodiscard]] int64_t Bytes() const;

private:
    QSize size_;
    QImage::Format format_ = QImage::Format_ARGB32_Premultiplied;
    qreal dpr_ = 1.0;
    // A row's runs: [First, End) of colour_ and end_; a row equal to the one above has the
    // same range.
    struct Row {
        uint32_t First = 0;
        uint32_t End = 0;
    };
    std::vector<uint32_t> colour_;  // per run
    std::vector<uint32_t> end_;     // per run: the x just after it
    std::vector<Row> rows_;
};

}  // namespace vellora::graph
