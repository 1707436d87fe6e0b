// Column-aligned text for a terminal. Widths count display columns: CJK and full-width
// characters take two, so Chinese item names line up with ASCII ones.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vellora::cli {

/// Display columns of a UTF-8 text (wide characters 2, combining marks 0, others 1;
/// a malformed byte counts as 1).
int DisplayWidth(std::string_view utf8);

class TextTable {
public:
    enum class Align { Left, Right };

    void AddColumn(std::string header, Align align = Align::Left);
    /// A row of cells, one per column; missing cells are empty, extra ones are dropped.
    void AddRow(std::vector<std::string> cells);
    [[nodiscard]] bool Empty() const { return rows_.empty(); }

    /// Writes the header and the rows, columns two spaces apart, no trailing blanks.
    void Print(std::ostream& out) const;

private:
    std::vector<std::string> headers_;
    std::vector<Align> aligns_;
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace vellora::cli
