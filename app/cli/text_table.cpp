// Display widths and the aligned table.
#include "cli/text_table.h"

#include <algorithm>
#include <cstdint>

namespace vellora::cli {

namespace {

bool IsWide(uint32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
           (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
           (c >= 0x20000 && c <= 0x3FFFD);
}

bool IsCombining(uint32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0xFE00 && c <= 0xFE0F);
}

}  // namespace

int DisplayWidth(std::string_view s) {
    int width = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        int length = b < 0x80           ? 1
                     : (b >> 5) == 0x6  ? 2
                     : (b >> 4) == 0xE  ? 3
                     : (b >> 3) == 0x1E ? 4
                                        : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > s.size()) {
            ++width;
            ++i;
            continue;
        }
        uint32_t c = length == 1 ? b : b & (0x7F >> length);
        bool valid = true;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) valid = false;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid) {
            ++width;
            ++i;
            continue;
        }
        i += static_cast<std::size_t>(length);
        if (c < 0x20 || IsCombining(c)) continue;
        width += IsWide(c) ? 2 : 1;
    }
    return width;
}

void TextTable::AddColumn(std::string header, Align align) {
    headers_.push_back(std::move(header));
    aligns_.push_back(align);
}

void TextTable::AddRow(std::vector<std::string> cells) {
    cells.resize(headers_.size());
    rows_.push_back(std::move(cells));
}

void TextTable::Print(std::ostream& out) const {
    std::vector<int> widths(headers_.size(), 0);
    for (std::size_t c = 0; c < headers_.size(); ++c) {
        widths[c] = DisplayWidth(headers_[c]);
        for (const auto& row : rows_) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
    auto printRow = [&](const std::vector<std::string>& cells) {
        std::string line;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const int pad = widths[c] - DisplayWidth(cells[c]);
            if (c > 0) line += "  ";
            if (aligns_[c] == Align::Right) line.append(static_cast<std::size_t>(pad), ' ');
            line += cells[c];
            if (aligns_[c] == Align::Left) line.append(static_cast<std::size_t>(pad), ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out << line << '\n';
    };
    printRow(headers_);
    for (const auto& row : rows_) printRow(row);
}

}  // namespace vellora::cli
