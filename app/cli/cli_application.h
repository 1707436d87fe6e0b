// The application object of vellora-cli: a GUI application on the offscreen platform, so that
// the graph commands can draw pictures and texts on a machine without a display (a core
// application in a build without Qt Gui, which has no drawing commands).
#pragma once

#include <QCoreApplication>

#include <memory>

namespace vellora::cli {

/// Makes the program's application object; `argc` and `argv` must outlive it (main's own).
[[nodiscard]] std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv);

}  // namespace vellora::cli
