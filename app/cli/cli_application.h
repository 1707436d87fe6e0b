// The application object of vellora-cli, made for what the command needs: none for the
// commands that only read and write files, a core application (event loop, timers, sockets)
// for the device commands, a GUI application on the offscreen platform only for drawing.
#pragma once

#include <QCoreApplication>

#include <memory>
#include <string>
#include <vector>

#include "cli/command_registry.h"

namespace vellora::cli {

/// The program's arguments after its name, as UTF-8, read without an application object.
[[nodiscard]] std::vector<std::string> ProgramArguments(int argc, char** argv);

/// The position (1 = the first after the program's name) of the first argument whose bytes
/// are not text in this system's encoding, 0 when all are: such a file name cannot be
/// opened by name at all, so "no such file" would be wrong.
[[nodiscard]] int FirstUndecodableArgument(int argc, char** argv);

/// Keeps Qt's notes and warnings off stderr (a command reports its own failures in one
/// line) and makes the application object `kind` asks for: nullptr for ApplicationKind::None.
/// The application sees only the program name (`program`, main's argv[0]), never the
/// command's arguments. A build without Qt Gui makes a core application for Gui.
[[nodiscard]] std::unique_ptr<QCoreApplication> MakeApplication(ApplicationKind kind,
                                                                char* program);

}  // namespace vellora::cli
