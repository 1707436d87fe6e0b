// The commands of vellora-cli: each has a name, a one-line summary, its --help text, a run
// function and the application object it needs. The registry dispatches the program's
// arguments to them and answers --help and --version itself.
#pragma once

#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vellora::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitDifferent = 1;  ///< a comparison found differences
inline constexpr int kExitError = 2;      ///< bad arguments, unreadable input, failed output

/// One run of a command: its arguments (after the command name, UTF-8) and where it writes.
struct Invocation {
    std::string_view command;
    std::vector<std::string> args;
    std::ostream& out;
    std::ostream& err;

    /// Prints "vellora-cli <command>: <message>" as one line on err; returns kExitError.
    int Fail(std::string_view message) const;
};

/// The application object a command runs with. Making a GUI application costs more than the
/// rest of a file command's start, so only commands that draw ask for one.
enum class ApplicationKind {
    None,  ///< files, numbers and text only
    Core,  ///< an event loop: timers, sockets, the device link
    Gui,   ///< drawing: pictures and fonts
};

struct Command {
    std::string_view name;
    std::string_view summary;  ///< one line, shown in the program's --help
    std::string_view help;     ///< the command's --help text, starting with its usage line
    std::function<int(Invocation&)> run;  ///< returns the exit status
    ApplicationKind application = ApplicationKind::Core;
};

class CommandRegistry {
public:
    /// `version` is what --version prints after the program name.
    explicit CommandRegistry(std::string_view version) : version_(version) {}

    /// Adds a command; false (and nothing added) when the name is taken or empty.
    bool Add(Command command);
    [[nodiscard]] const Command* Find(std::string_view name) const;
    [[nodiscard]] const std::vector<Command>& Commands() const { return commands_; }

    /// Runs the program's arguments (without the program name): "--help" alone or no
    /// arguments print the usage; "--version" prints "vellora-cli VERSION"; "<command> --help"
    /// prints the command's help; otherwise the command runs. Unknown commands are an error
    /// (exit status 2).
    int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err) const;

    /// The application object Run needs for these arguments: the command's own when it
    /// runs, None when the registry answers (help, version, unknown command).
    [[nodiscard]] ApplicationKind ApplicationFor(std::span<const std::string> args) const;

    void PrintUsage(std::ostream& out) const;

private:
    /// The command these arguments run, or nullptr when the registry answers them itself.
    [[nodiscard]] const Command* Selected(std::span<const std::string> args) const;

    std::string_view version_;
    std::vector<Command> commands_;
};

/// Registers every command of the program (the files named in command_list.h).
void RegisterAllCommands(CommandRegistry& registry);

}  // namespace vellora::cli
