// vellora-cli: settings files (and, later, the device) from the command line.
#include <QStringList>
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_application.h"
#include "cli/command_registry.h"

int main(int argc, char** argv) {
    const auto app = vellora::cli::MakeApplication(argc, argv);
    // Numbers are written with a decimal point whatever the user's locale says.
    std::setlocale(LC_NUMERIC, "C");

    std::vector<std::string> args;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());

    vellora::cli::CommandRegistry registry;
    vellora::cli::RegisterAllCommands(registry);
    const int status = registry.Run(args, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "vellora-cli: cannot write the output\n";
        return vellora::cli::kExitError;
    }
    return status;
}
