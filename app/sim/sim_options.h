// The command line of vellora-sim: where to listen, the state folder, the variant letter, the
// passwords, the faults and the reply latency, each checked before anything starts.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "device/fault_plan.h"
#include "device/processor_state.h"
#include "link/endpoint.h"

namespace vellora::sim {

struct SimOptions {
    link::Endpoint Listen;
    QString StateFolder;  ///< empty: the factory state, not kept
    char Variant = 'A';
    std::optional<device::AdminPassword> AdminPassword;
    std::optional<device::PanelPassword> PanelPassword;
    device::FaultPlan Faults;
    int LatencyMs = 2;
};

struct SimArgs {
    enum class Outcome { Run, Help, Error };
    Outcome Result = Outcome::Run;
    SimOptions Options;
    std::string Error;  ///< one English line when Result is Error
};

/// Reads the arguments (without the program name). Every option takes its value as the next
/// argument or after "="; --fault may be given several times, the others once.
[[nodiscard]] SimArgs ParseSimArgs(const std::vector<std::string>& args);

/// The text of --help.
[[nodiscard]] std::string SimHelpText();

}  // namespace vellora::sim
