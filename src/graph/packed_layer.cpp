// Packing an image into runs of equal pixels per row, and copying runs back.
#include "graph/packed_layer.h"

#include <algorithm>

namespace vellora::graph {

void PackedLayer::Pack(const QImage& image) {
    Clear();
    if (image.isNull() || image.depth() != 32) return;
    size_ = image.size();
    format_ = image.format();
    dpr_ = image.devicePixelRatio();
    const int w = size_.width();
    row_start_.reserve(static_cast<size_t>(size_.height()) + 1);
    for (int y = 0; y < size_.height(); ++y) {
        row_start_.push_back(static_cast<uint32_t>(colour_.size()));
        const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < w;) {
            const uint32_t c = line[x];
            int e = x + 1;
            while (e < w && line[e] == c) ++e;
            colour_.push_back(c);
            end_.push_back(static_cast<uint32_t>(e));
            x = e;
        }
    }
    row_start_.push_back(static_cast<uint32_t>(colour_.size()));
    colour_.shrink_to_fit();
    end_.shrink_to_fit();
}

void PackedLayer::Clear() {
    size_ = QSize();
    colour_.clear();
    end_.clear();
    row_start_.clear();
    colour_.shrink_to_fit();
    end_.shrink_to_fit();
    row_start_.shrink_to_fit();
}

QImage PackedLayer::Unpack() const {
    if (IsNull()) return {};
    QImage image(size_, format_);
    image.setDevicePixelRatio(dpr_);
    CopyTo(image);
    return image;
}

void PackedLayer::CopyTo(QImage& target) const {
    if (IsNull() || target.size() != size_ || target.depth() != 32) return;
    for (int y = 0; y < size_.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(target.scanLine(y));
        uint32_t x = 0;
        for (uint32_t r = row_start_[static_cast<size_t>(y)];
             r < row_start_[static_cast<size_t>(y) + 1]; ++r) {
            std::fill(line + x, line + end_[r], colour_[r]);
            x = end_[r];
        }
    }
}

void PackedLayer::CopySpansTo(QImage& target, const ColumnSpans& spans) const {
    if (IsNull() || target.size() != size_ || target.depth() != 32) return;
    thread_local std::vector<ColumnSpans::Run> runs;
    spans.Runs(runs);
    // Runs come row by row, left to right: the packed run only ever moves right in a row.
    int row = -1;
    uint32_t r = 0;
    for (const ColumnSpans::Run& run : runs) {
        if (run.Y < 0 || run.Y >= size_.height()) continue;
        if (run.Y != row) {
            row = run.Y;
            r = row_start_[static_cast<size_t>(row)];
        }
        auto* line = reinterpret_cast<uint32_t*>(target.scanLine(row));
        const auto end = static_cast<uint32_t>(std::min(run.X + run.Count, size_.width()));
        for (auto x = static_cast<uint32_t>(std::max(run.X, 0)); x < end;) {
            while (end_[r] <= x) ++r;
            const uint32_t stop = std::min(end_[r], end);
            std::fill(line + x, line + stop, colour_[r]);
            x = stop;
        }
    }
}

int64_t PackedLayer::Bytes() const {
    return static_cast<int64_t>(colour_.capacity() + end_.capacity() + row_start_.capacity()) *
           static_cast<int64_t>(sizeof(uint32_t));
}

}  // namespace vellora::graph
