// Reading fault texts given on the command line.
#include "device/fault_plan.h"

#include <charconv>

#include "model/comma_fields.h"

namespace vellora::device {

namespace {

constexpr std::string_view kForms =
    "expected silent, answer-from=K, stop-after=N, bad-checksum[=N], no-keepalive, "
    "unplug-after=N, block-length=D or tag=TEXT";

bool ReadInt(std::string_view text, int low, int high, int& value) {
    if (text.empty()) return false;
    int v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc{} || end != text.data() + text.size()) return false;
    if (v < low || v > high) return false;
    value = v;
    return true;
}

FaultParse Fail(std::string message) {
    return {false, std::move(message)};
}

FaultParse ApplyOne(std::string_view item, FaultPlan& plan) {
    const std::size_t eq = item.find('=');
    const std::string_view name = item.substr(0, eq);
    const bool hasValue = eq != std::string_view::npos;
    const std::string_view value = hasValue ? item.substr(eq + 1) : std::string_view{};
    std::string quoted;  // appended piecewise: GCC 12 misreads "\"" + string as overlapping
    quoted.reserve(item.size() + 2);
    quoted.append(1, '"').append(item).append(1, '"');
    constexpr int kLargeCount = 1000000;

    if (name == "silent" && !hasValue) {
        plan.Silent = true;
    } else if (name == "no-keepalive" && !hasValue) {
        plan.NoKeepAlive = true;
    } else if (name == "bad-checksum") {
        int n = FaultPlan::kAlways;
        if (hasValue && !ReadInt(value, 1, kLargeCount, n))
            return Fail("fault " + quoted + ": the count of damaged replies must be 1 or more");
        plan.BadChecksumReplies = n;
    } else if (name == "answer-from" && hasValue) {
        if (!ReadInt(value, 1, kLargeCount, plan.AnswerFromTransmission))
            return Fail("fault " + quoted + ": the transmission to answer must be 1 or more");
    } else if (name == "stop-after" && hasValue) {
        if (!ReadInt(value, 0, kLargeCount, plan.StopAfterFrames))
            return Fail("fault " + quoted + ": the number of answered frames must be 0 or more");
    } else if (name == "unplug-after" && hasValue) {
        if (!ReadInt(value, 0, kLargeCount, plan.UnplugAfterFrames))
            return Fail("fault " + quoted + ": the number of answered frames must be 0 or more");
    } else if (name == "block-length" && hasValue) {
        int d = 0;
        if (!ReadInt(value, -200, 200, d) || d == 0)
            return Fail("fault " + quoted + ": the length error must be -200..200 and not 0");
        plan.BlockLengthError = d;
    } else if (name == "tag" && hasValue) {
        if (value.empty() || value.size() > 8)
            return Fail("fault " + quoted + ": the tag must be 1 to 8 characters");
        for (const char c : value)
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
                return Fail("fault " + quoted + ": the tag must be printable ASCII");
        plan.TagOverride = std::string(value);
    } else {
        return Fail("unknown fault " + quoted + "; " + std::string(kForms));
    }
    return {};
}

}  // namespace

FaultParse ApplyFaultText(std::string_view text, FaultPlan& plan) {
    if (text.empty()) return Fail("empty fault; " + std::string(kForms));
    FaultPlan changed = plan;
    for (const std::string_view item : model::SplitCommas(text)) {
        if (item.empty()) return Fail("empty fault in \"" + std::string(text) + "\"");
        if (FaultParse one = ApplyOne(item, changed); !one.Ok) return one;
    }
    plan = std::move(changed);
    return {};
}

std::string FaultHelpText() {
    return "  silent            answer no frame at all\n"
           "  answer-from=K     act on a frame only at its K-th transmission in a row\n"
           "  stop-after=N      answer N frames, then none\n"
           "  bad-checksum[=N]  damage the checksum of every reply (or of the next N)\n"
           "  no-keepalive      send no keep-alive byte and echo none\n"
           "  unplug-after=N    drop the terminal once, after N answered frames\n"
           "  block-length=D    make block replies D bytes longer (or shorter when D < 0)\n"
           "  tag=TEXT          identify with TEXT (1..8 characters) instead of TR-W48?_\n"
           "  Several faults may be given, in one --fault separated by commas or in several.\n";
}

}  // namespace vellora::device
