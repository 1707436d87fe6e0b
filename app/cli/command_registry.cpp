// Dispatch of the program's arguments to its commands.
#include "cli/command_registry.h"

#include <algorithm>

namespace vellora::cli {

#define VELLORA_CLI_COMMANDS(fn) void fn(CommandRegistry& registry);
#include "cli/command_list.h"
#undef VELLORA_CLI_COMMANDS

void RegisterAllCommands(CommandRegistry& registry) {
#define VELLORA_CLI_COMMANDS(fn) fn(registry);
#include "cli/command_list.h"
#undef VELLORA_CLI_COMMANDS
}

namespace {

constexpr std::string_view kProgram = "vellora-cli";

bool IsHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

}  // namespace

int Invocation::Fail(std::string_view message) const {
    // An error is one line: control characters that came in with the arguments are shown as
    // \xNN, never written as they are.
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string line;
    for (const char c : message) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            line += "\\x";
            line += kHex[b >> 4];
            line += kHex[b & 0xF];
        } else {
            line += c;
        }
    }
    err << kProgram << ' ' << command << ": " << line << '\n';
    return kExitError;
}

bool CommandRegistry::Add(Command command) {
    if (command.name.empty() || !command.run || Find(command.name)) return false;
    commands_.push_back(std::move(command));
    return true;
}

const Command* CommandRegistry::Find(std::string_view name) const {
    auto it = std::find_if(commands_.begin(), commands_.end(),
                           [name](const Command& c) { return c.name == name; });
    return it == commands_.end() ? nullptr : &*it;
}

void CommandRegistry::PrintUsage(std::ostream& out) const {
    out << "Usage: " << kProgram << " <command> [arguments]\n\n"
        << "Reads, writes and compares the processor's settings files (.VL), and reads and\n"
        << "writes the device's settings and modes.\n\nCommands:\n";
    std::size_t width = 0;
    for (const Command& c : commands_) width = std::max(width, c.name.size());
    std::vector<const Command*> sorted;
    for (const Command& c : commands_) sorted.push_back(&c);
    std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->name < b->name; });
    for (const Command* c : sorted)
        out << "  " << c->name << std::string(width - c->name.size() + 2, ' ') << c->summary
            << '\n';
    out << "\nRun '" << kProgram << " <command> --help' for the arguments of a command,\n'"
        << kProgram << " --version' for the program's version.\n"
        << "Exit status: 0 success, 1 differences found (diff) or the device failed or refused\n"
        << "(device commands), 2 error.\n";
}

const Command* CommandRegistry::Selected(std::span<const std::string> args) const {
    if (args.empty()) return nullptr;
    const Command* command = Find(args[0]);
    if (!command) return nullptr;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--") break;
        if (IsHelp(args[i])) return nullptr;
    }
    return command;
}

ApplicationKind CommandRegistry::ApplicationFor(std::span<const std::string> args) const {
    const Command* command = Selected(args);
    return command ? command->application : ApplicationKind::None;
}

int CommandRegistry::Run(std::span<const std::string> args, std::ostream& out,
                         std::ostream& err) const {
    if (const Command* command = Selected(args)) {
        Invocation invocation{command->name, {args.begin() + 1, args.end()}, out, err};
        return command->run(invocation);
    }
    if (args.empty()) {
        PrintUsage(err);
        return kExitError;
    }
    if (IsHelp(args[0])) {
        PrintUsage(out);
        return kExitOk;
    }
    if (args[0] == "--version") {
        out << kProgram << ' ' << version_ << '\n';
        return kExitOk;
    }
    if (args[0] == "help") {
        if (args.size() == 1) {
            PrintUsage(out);
            return kExitOk;
        }
        if (const Command* c = Find(args[1])) {
            out << c->help;
            return kExitOk;
        }
        err << kProgram << ": unknown command '" << args[1] << "' (see " << kProgram
            << " --help)\n";
        return kExitError;
    }
    const Command* command = Find(args[0]);
    if (!command) {
        err << kProgram << ": unknown command '" << args[0] << "' (see " << kProgram
            << " --help)\n";
        return kExitError;
    }
    out << command->help;  // a --help among the command's arguments
    return kExitOk;
}

}  // namespace vellora::cli
