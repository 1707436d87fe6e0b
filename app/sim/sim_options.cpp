// Checking the arguments of vellora-sim.
#include "sim_options.h"

#include <charconv>
#include <set>

namespace vellora::sim {

namespace {

template <std::size_t N>
bool ReadDigits(const std::string& text, std::array<std::uint8_t, N>& digits) {
    if (text.size() != N) return false;
    for (std::size_t i = 0; i < N; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        digits[i] = static_cast<std::uint8_t>(text[i] - '0');
    }
    return true;
}

SimArgs Fail(std::string message) {
    SimArgs result;
    result.Result = SimArgs::Outcome::Error;
    result.Error = std::move(message);
    return result;
}

}  // namespace

SimArgs ParseSimArgs(const std::vector<std::string>& args) {
    SimArgs result;
    SimOptions& o = result.Options;
    std::set<std::string> seen;
    bool haveListen = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const std::size_t eq = name.find('=');
            name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (name == "--help" || name == "-h") {
            if (value) return Fail("--help takes no value");
            result.Result = SimArgs::Outcome::Help;
            return result;
        }
        static const std::set<std::string> kKnown{
            "--listen",         "--state", "--variant", "--admin-password",
            "--panel-password", "--fault", "--latency"};
        if (kKnown.count(name) == 0) return Fail("unknown argument \"" + args[i] + "\"");
        if (name != "--fault" && !seen.insert(name).second)
            return Fail(name + " given more than once");
        if (!value) {
            if (i + 1 >= args.size()) return Fail(name + " needs a value");
            value = args[++i];
        }
        const std::string& v = *value;

        if (name == "--listen") {
            const link::EndpointParse parsed = link::ParseEndpoint(v);
            if (!parsed.Ok()) return Fail("--listen: " + parsed.Message);
            if (parsed.Value.Kind != link::EndpointKind::Unix &&
                parsed.Value.Kind != link::EndpointKind::Tcp)
                return Fail("--listen needs unix:PATH or tcp:127.0.0.1:PORT, not \"" + v + "\"");
            o.Listen = parsed.Value;
            haveListen = true;
        } else if (name == "--state") {
            if (v.empty()) return Fail("--state needs a folder");
            o.StateFolder = QString::fromStdString(v);
        } else if (name == "--variant") {
            if (v.size() != 1 || v[0] < 'A' || v[0] > 'Z')
                return Fail("--variant must be one capital letter A..Z, not \"" + v + "\"");
            o.Variant = v[0];
        } else if (name == "--admin-password") {
            device::AdminPassword digits{};
            if (!ReadDigits(v, digits))
                return Fail("--admin-password must be exactly 6 digits 0..9");
            o.AdminPassword = digits;
        } else if (name == "--panel-password") {
            device::PanelPassword digits{};
            if (!ReadDigits(v, digits))
                return Fail("--panel-password must be exactly 4 digits 0..9");
            o.PanelPassword = digits;
        } else if (name == "--fault") {
            const device::FaultParse parsed = device::ApplyFaultText(v, o.Faults);
            if (!parsed.Ok) return Fail("--fault: " + parsed.Message);
        } else if (name == "--latency") {
            int ms = 0;
            const auto [end, error] = std::from_chars(v.data(), v.data() + v.size(), ms);
            if (v.empty() || error != std::errc{} || end != v.data() + v.size() || ms < 0 ||
                ms > 10000)
                return Fail("--latency must be a number of milliseconds from 0 to 10000");
            o.LatencyMs = ms;
        }
    }
    if (!haveListen) return Fail("--listen is required (unix:PATH or tcp:127.0.0.1:PORT)");
    return result;
}

std::string SimHelpText() {
    std::string faults;
    const std::string lines = device::FaultHelpText();
    for (std::size_t start = 0; start < lines.size();) {
        const std::size_t end = lines.find('\n', start);
        faults += "    " + lines.substr(start, end == std::string::npos ? end : end - start + 1);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return "Usage: vellora-sim --listen unix:PATH|tcp:127.0.0.1:PORT [options]\n"
           "\n"
           "The simulated processor: answers the terminal's commands as the device does,\n"
           "served over the socket bridge (each report travels as one byte L = 65 followed\n"
           "by the 65 bytes of the report). Prints one line when it is ready and serves one\n"
           "terminal at a time until SIGINT or SIGTERM; SIGUSR1 sends the tone-key byte.\n"
           "\n"
           "Options:\n"
           "  --listen ENDPOINT         unix:PATH or tcp:HOST:PORT on a loopback address\n"
           "  --state DIR               keep modes, names, passwords, current mode and working\n"
           "                            settings in DIR across runs (made when missing, checked\n"
           "                            at the start); each damaged state file is kept as\n"
           "                            device-state.bin.<when it was written>.damaged\n"
           "  --variant LETTER          identification letter A..Z (default A)\n"
           "  --admin-password DIGITS   administrator password, 6 digits (default 000000)\n"
           "  --panel-password DIGITS   panel lock password, 4 digits (default 0000)\n"
           "  --latency MS              reply delay in ms, 0..10000 (default 2)\n"
           "  --fault FAULT             show a fault, one of:\n" +
           faults +
           "  --help                    this text\n"
           "\n"
           "Passwords given here replace the ones kept in the state folder.\n"
           "Exit status: 0 after a signal, 1 when it cannot listen, use its state folder or save,\n"
           "2 for bad arguments.\n";
}

}  // namespace vellora::sim
