// vellora-cli: settings files and the device from the command line. Only the commands that
// need one get an application object, so that the file commands start fast.
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_application.h"
#include "cli/command_registry.h"

int main(int argc, char** argv) {
    if (const int bad = vellora::cli::FirstUndecodableArgument(argc, argv); bad > 0) {
        std::cerr << "vellora-cli: argument " << bad
                  << " is not text in this system's encoding; a file of that name cannot be "
                     "opened (rename it)\n";
        return vellora::cli::kExitError;
    }
    const std::vector<std::string> args = vellora::cli::ProgramArguments(argc, argv);
    vellora::cli::CommandRegistry registry(VELLORA_VERSION);
    vellora::cli::RegisterAllCommands(registry);

    const auto app = vellora::cli::MakeApplication(registry.ApplicationFor(args), argv[0]);
    // Numbers are written with a decimal point whatever the user's locale says (an
    // application object takes the user's locale for all categories).
    std::setlocale(LC_NUMERIC, "C");

    const int status = registry.Run(args, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "vellora-cli: cannot write the output\n";
        return vellora::cli::kExitError;
    }
    return status;
}
