// The terminal program: its options, and running the launcher frame with the editor on one
// link session, live or offscreen for a screenshot.
#pragma once

#include <QSize>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "link/endpoint.h"

namespace vellora::app {

struct TerminalOptions {
    link::Endpoint Device;                ///< --device, auto (the first processor on USB) by default
    std::vector<std::string> Passwords;   ///< --password: tried before the password window opens
    QString TracePath;                    ///< --trace FILE
    QString Screenshot;                   ///< --screenshot PNG: offscreen, one picture, then exit
    int Page = 0;                         ///< --page 0..7
    int View = 0;                         ///< --view 0..2 (the effects page)
    int Scale = 1;                        ///< --scale 1..4: the pixel density of the picture
    QSize Size{1900, 1000};               ///< --size WxH of the screenshot window
    bool Unlinked = false;                ///< --unlinked: the picture as first painted, not linked
    /// --window: what the screenshot shows: the editor (default), the whole frame with its
    /// menu bar ("main"), or the power-on, recording or reverb window ("set", "rec", "effect").
    std::string Window = "editor";
    QString GalleryDir;                   ///< --gallery DIR: the controls' gallery
    QString Script;                       ///< --script FILE, or "-" for standard input
    /// --data-dir DIR: the folder holding the mode folder and the snapshots instead of the
    /// program's folder (or the user's data folder when that is read-only).
    QString DataDir;
};

/// Parses the command line (argv[1..]); nullopt with a one-line `error` for bad arguments.
[[nodiscard]] std::optional<TerminalOptions> ParseTerminalOptions(const std::vector<std::string>& args,
                                                                  std::string& error);

/// The usage text.
[[nodiscard]] const char* TerminalUsage();

/// Runs the terminal (needs the QApplication). Returns the process's exit status.
int RunTerminal(const TerminalOptions& options);

}  // namespace vellora::app
