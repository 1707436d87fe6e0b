// Options and positional arguments of one command: "--name value", "--name=value", flags,
// and "--" to end the options. Unknown, repeated or incomplete options are errors.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vellora::cli {

struct OptionDef {
    std::string_view name;  ///< with its dashes: "--scene"
    bool takesValue = false;
};

struct ParsedArgs {
    std::vector<std::string> positionals;
    std::map<std::string, std::string, std::less<>> options;  ///< flags map to ""

    [[nodiscard]] bool Has(std::string_view name) const {
        return options.find(name) != options.end();
    }
    [[nodiscard]] std::optional<std::string> Value(std::string_view name) const;
};

/// Parses `args` against `optionDefs`; on failure returns false with a one-line `error`.
[[nodiscard]] bool ParseArgs(std::span<const std::string> args, std::span<const OptionDef> optionDefs,
                             ParsedArgs& parsed, std::string& error);

/// A whole decimal number in min..max; false for anything else (signs, blanks, overflow).
[[nodiscard]] bool ParseIntInRange(std::string_view text, int min, int max, int& value);

}  // namespace vellora::cli
