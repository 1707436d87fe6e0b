// vellora-cli defaults: writes the factory defaults as a settings file.
#include <QString>
#include <array>
#include <memory>

#include "cli/arg_parser.h"
#include "cli/command_registry.h"
#include "cli/output_file.h"
#include "cli/settings_view.h"
#include "model/workspace.h"
#include "storage/settings_codec.h"

namespace vellora::cli {

namespace {

constexpr std::string_view kHelp =
    "Usage: vellora-cli defaults --out FILE\n"
    "\n"
    "Writes the factory defaults of every parameter (both scenes and the factory slot) as a\n"
    "settings file of 252000 bytes, under exactly the name given (no extension is added).\n"
    "An existing file of that name is replaced only once the new one is completely written;\n"
    "a folder, device, pipe or socket of that name is never replaced.\n"
    "\n"
    "Options:\n"
    "  --out FILE   the file to write\n";

int RunDefaults(Invocation& inv) {
    static constexpr std::array<OptionDef, 1> kOptions{{{"--out", true}}};
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(inv.args, kOptions, parsed, error)) return inv.Fail(error);
    if (!parsed.positionals.empty())
        return inv.Fail("unexpected argument '" + parsed.positionals[0] + "'");
    const auto out = parsed.Value("--out");
    if (!out || out->empty()) return inv.Fail("--out FILE is required");
    if (const auto problem = OutputPathProblem(*out)) return inv.Fail(*problem);

    const auto workspace = std::make_unique<model::Workspace>();
    workspace->LoadDefaults();
    if (!WriteSettingsOutput(inv, *out, workspace->ParamStore)) return kExitError;
    inv.out << "Wrote the factory defaults to " << *out << " (" << storage::kSettingsFileSize
            << " bytes).\n";
    return kExitOk;
}

}  // namespace

void RegisterDefaultsCommand(CommandRegistry& registry) {
    registry.Add({"defaults", "write the factory defaults as a settings file", kHelp, RunDefaults,
                  ApplicationKind::None});
}

}  // namespace vellora::cli
