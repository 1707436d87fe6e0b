// Comma-separated fields: the one splitter for the lists in the tables, the fault texts, the
// picture lists and the command-line values.
#pragma once

#include <string_view>
#include <vector>

namespace vellora::model {

/// The fields between the commas of `text`, as views into it (the caller keeps `text` alive):
/// n commas give n + 1 fields, empty ones included, so "" gives one empty field and ",a,"
/// gives "", "a", "". Nothing is trimmed.
[[nodiscard]] std::vector<std::string_view> SplitCommas(std::string_view text);

}  // namespace vellora::model
