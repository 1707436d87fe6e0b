// Argument parsing of the commands.
#include "cli/arg_parser.h"

#include <algorithm>
#include <charconv>

namespace vellora::cli {

std::optional<std::string> ParsedArgs::Value(std::string_view name) const {
    auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

bool ParseArgs(std::span<const std::string> args, std::span<const OptionDef> optionDefs,
               ParsedArgs& parsed, std::string& error) {
    parsed = {};
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.positionals.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string_view name = arg;
        std::optional<std::string> inlineValue;
        if (auto eq = name.find('='); eq != std::string_view::npos && name.starts_with("--")) {
            inlineValue = std::string(name.substr(eq + 1));
            name = name.substr(0, eq);
        }
        auto def = std::find_if(optionDefs.begin(), optionDefs.end(),
                                 [name](const OptionDef& s) { return s.name == name; });
        if (def == optionDefs.end()) {
            error = "unknown option '" + std::string(name) + "'";
            return false;
        }
        if (parsed.Has(name)) {
            error = "option " + std::string(name) + " given twice";
            return false;
        }
        if (!def->takesValue) {
            if (inlineValue) {
                error = "option " + std::string(name) + " takes no value";
                return false;
            }
            parsed.options.emplace(std::string(name), std::string());
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                error = "option " + std::string(name) + " needs a value";
                return false;
            }
            inlineValue = args[++i];
        }
        parsed.options.emplace(std::string(name), *inlineValue);
    }
    return true;
}

bool ParseIntInRange(std::string_view text, int min, int max, int& value) {
    int parsed = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return false;
    if (parsed < min || parsed > max) return false;
    value = parsed;
    return true;
}

}  // namespace vellora::cli
