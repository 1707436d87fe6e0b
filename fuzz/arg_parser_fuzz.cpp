// Fuzzes the command line's argument parser: the input, split at NUL bytes into arguments, is
// parsed against the option tables of the commands. A parse fails with a one-line error or
// accounts for its arguments, and its result written out again parses to the same result;
// numbers are read exactly as whole decimal texts.
#include <array>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arg_parser.h"

namespace {

using namespace vellora::cli;

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// Option tables as the commands declare them.
constexpr std::array<OptionDef, 2> kDump{{{"--scene", true}, {"--json", false}}};
constexpr std::array<OptionDef, 7> kCurve{{{"--page", true},
                                           {"--scene", true},
                                           {"--view", true},
                                           {"--width", true},
                                           {"--height", true},
                                           {"--csv", false},
                                           {"--json", false}}};
constexpr std::array<OptionDef, 3> kDevice{
    {{"--device", true}, {"--password", true}, {"--json", false}}};
constexpr std::array<OptionDef, 0> kNone{};
constexpr std::array<std::span<const OptionDef>, 4> kTables{kDump, kCurve, kDevice, kNone};

struct Range {
    int min;
    int max;
};
constexpr std::array<Range, 4> kRanges{{{0, 2}, {1, 10}, {-5, 5}, {INT_MIN, INT_MAX}}};

// A whole decimal number: an optional minus and digits, nothing else, inside int.
bool ReadsAsInt(std::string_view text, long long& value) {
    const std::size_t digits = text.starts_with('-') ? 1 : 0;
    if (text.size() == digits) return false;
    for (std::size_t i = digits; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    errno = 0;
    value = std::strtoll(std::string(text).c_str(), nullptr, 10);
    return errno == 0 && value >= INT_MIN && value <= INT_MAX;
}

bool SameResult(const ParsedArgs& a, const ParsedArgs& b) {
    return a.positionals == b.positionals && a.options == b.options;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::span<const OptionDef> table = kTables[data[0] % kTables.size()];
    std::vector<std::string> args;
    std::string current;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    if (size > 1) args.push_back(current);

    // Numbers: in range and written as a whole decimal, or refused.
    for (const std::string& arg : args) {
        for (const Range& range : kRanges) {
            int value = 0;
            long long expected = 0;
            const bool wanted =
                ReadsAsInt(arg, expected) && expected >= range.min && expected <= range.max;
            Check(ParseIntInRange(arg, range.min, range.max, value) == wanted);
            if (wanted) Check(value == expected);
        }
    }

    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, table, parsed, error)) {
        Check(!error.empty());
        bool lineBreakGiven = false;
        for (const std::string& arg : args) lineBreakGiven |= arg.find('\n') != std::string::npos;
        if (!lineBreakGiven) Check(error.find('\n') == std::string::npos);
        return 0;
    }

    // Every option is one of the table's, flags without a value; positionals are arguments
    // in their order.
    for (const auto& [name, value] : parsed.options) {
        bool known = false;
        for (const OptionDef& def : table)
            if (def.name == name) {
                known = true;
                Check(def.takesValue || value.empty());
            }
        Check(known && parsed.Has(name) && parsed.Value(name) == value);
    }
    std::size_t next = 0;
    for (const std::string& positional : parsed.positionals) {
        while (next < args.size() && args[next] != positional) ++next;
        Check(next < args.size());
        ++next;
    }

    // Written out as "--name=value" or as "--name" "value", options first, then "--" and the
    // positionals: the same result.
    for (const bool joined : {true, false}) {
        std::vector<std::string> again;
        for (const auto& [name, value] : parsed.options) {
            bool takesValue = false;
            for (const OptionDef& def : table)
                if (def.name == name) takesValue = def.takesValue;
            if (!takesValue) {
                again.push_back(name);
            } else if (joined) {
                again.push_back(name + "=" + value);
            } else {
                again.push_back(name);
                again.push_back(value);
            }
        }
        again.push_back("--");
        again.insert(again.end(), parsed.positionals.begin(), parsed.positionals.end());
        ParsedArgs reparsed;
        std::string reerror;
        Check(ParseArgs(again, table, reparsed, reerror));
        Check(SameResult(parsed, reparsed));
    }
    return 0;
}
