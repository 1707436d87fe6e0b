// Packing an image into runs of equal pixels per row, and copying runs back.
#include "graph/packed_layer.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vellora::graph {

void PackedLayer::Pack(const QImage& image) {
    Clear();
    if (image.isNull() || image.depth() != 32) return;
    size_ = image.size();
    format_ = image.format();
    dpr_ = image.devicePixelRatio();
    const int w = size_.width();
    rows_.reserve(static_cast<size_t>(size_.height()));
    for (int y = 0; y < size_.height(); ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        // A row like the one above (most rows of a slow gradient) shares its runs.
        if (y > 0 &&
            std::memcmp(line, image.constScanLine(y - 1), static_cast<size_t>(w) * 4) == 0) {
            rows_.push_back(rows_.back());
            continue;
        }
        Row row{static_cast<uint32_t>(colour_.size()), 0};
        for (int x = 0; x < w;) {
            const uint32_t c = line[x];
            int e = x + 1;
            while (e < w && line[e] == c) ++e;
            colour_.push_back(c);
            end_.push_back(static_cast<uint32_t>(e));
            x = e;
        }
        row.End = static_cast<uint32_t>(colour_.size());
        rows_.push_back(row);
    }
    colour_.shrink_to_fit();
    end_.shrink_to_fit();
}

void PackedLayer::Clear() {
    size_ = QSize();
    colour_ = {};
    end_ = {};
    rows_ = {};
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
    const auto bytes = static_cast<size_t>(size_.width()) * 4;
    for (int y = 0; y < size_.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(target.scanLine(y));
        const Row& row = rows_[static_cast<size_t>(y)];
        if (y > 0 && row.First == rows_[static_cast<size_t>(y) - 1].First) {
            std::memcpy(line, target.constScanLine(y - 1), bytes);
            continue;
        }
        uint32_t x = 0;
        for (uint32_t r = row.First; r < row.End; ++r) {
            std::fill(line + x, line + end_[r], colour_[r]);
            x = end_[r];
        }
    }
}

void PackedLayer::CopySpansTo(QImage& target, const ColumnSpans& spans) const {
    if (IsNull() || target.size() != size_ || target.depth() != 32) return;
    thread_local std::vector<ColumnSpans::Run> runs;
    spans.Runs(runs);
    // Rows that repeat the one above are unpacked once, whole, and copied from.
    thread_local std::vector<uint32_t> unpacked;
    uint32_t unpackedFirst = std::numeric_limits<uint32_t>::max();
    const auto repeated = [&](size_t y) {
        const uint32_t first = rows_[y].First;
        return (y > 0 && rows_[y - 1].First == first) ||
               (y + 1 < rows_.size() && rows_[y + 1].First == first);
    };
    // Runs come row by row, left to right: the packed run only ever moves right in a row.
    int row = -1;
    uint32_t r = 0;
    bool fromCopy = false;
    for (const ColumnSpans::Run& run : runs) {
        if (run.Y < 0 || run.Y >= size_.height()) continue;
        if (run.Y != row) {
            row = run.Y;
            const Row& packed = rows_[static_cast<size_t>(row)];
            r = packed.First;
            fromCopy = repeated(static_cast<size_t>(row));
            if (fromCopy && packed.First != unpackedFirst) {
                unpacked.resize(static_cast<size_t>(size_.width()));
                uint32_t x = 0;
                for (uint32_t k = packed.First; k < packed.End; ++k) {
                    std::fill(unpacked.data() + x, unpacked.data() + end_[k], colour_[k]);
                    x = end_[k];
                }
                unpackedFirst = packed.First;
            }
        }
        auto* line = reinterpret_cast<uint32_t*>(target.scanLine(row));
        const auto begin = static_cast<uint32_t>(std::max(run.X, 0));
        const auto end = static_cast<uint32_t>(std::min(run.X + run.Count, size_.width()));
        if (begin >= end) continue;
        if (fromCopy) {
            std::memcpy(line + begin, unpacked.data() + begin, (end - begin) * sizeof(uint32_t));
            continue;
        }
        for (uint32_t x = begin; x < end;) {
            while (end_[r] <= x) ++r;
            const uint32_t stop = std::min(end_[r], end);
            std::fill(line + x, line + stop, colour_[r]);
            x = stop;
        }
    }
}

int64_t PackedLayer::Bytes() const {
    return static_cast<int64_t>((colour_.capacity() + end_.capacity()) * sizeof(uint32_t) +
                                rows_.capacity() * sizeof(Row));
}

}  // namespace vellora::graph
