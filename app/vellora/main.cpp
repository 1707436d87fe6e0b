// vellora: the tuning terminal. It links up with the processor and shows the editor window;
// --screenshot PNG renders the window offscreen, --gallery DIR every control to PNG files.
#include <QApplication>
#include <QDir>

#include <cstdio>
#include <string>
#include <vector>

#include "controls/control_context.h"
#include "controls/control_pictures.h"
#include "controls/workspace_look_source.h"
#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "model/clock.h"
#include "model/workspace.h"
#include "vellora/control_gallery.h"
#include "vellora/terminal.h"

namespace {

using namespace vellora;

// Renders every control form, value type and state to PNG files.
int RenderGallery(const QString& dir) {
    model::Workspace ws;
    ws.LoadDefaults();
    controls::WorkspaceLookSource look(ws);
    graph::PictureStore pictures(1.0);
    graph::RegisterGraphPictures(pictures);
    controls::RegisterControlPictures(pictures);
    model::VirtualClock clock;
    app::ControlGallery g(ws, controls::ControlContext{clock, pictures, look});
    QString error;
    const QStringList written = g.RenderTo(dir, error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "vellora: %s\n", qPrintable(error));
        return 1;
    }
    for (const QString& path : written) std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
    return 0;
}

// Offscreen, the picture or the gallery is the output and failures are one line each: Qt's own
// notes (a missing runtime folder, fonts) stay off stderr.
void QuietNotes(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) return;
    std::fprintf(stderr, "vellora: %s\n", qPrintable(text));
}

// A desktop session is needed for the window; without one, say so instead of failing later.
bool HasDisplay() {
#if defined(Q_OS_LINUX)
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(app::TerminalUsage(), stdout);
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::printf("vellora %s\n", VELLORA_VERSION);
        return 0;
    }
    std::string error;
    const auto options = app::ParseTerminalOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "vellora: %s\n%s", error.c_str(), app::TerminalUsage());
        return 2;
    }
    // Pictures are drawn offscreen; a script runs on the display when there is one, else
    // offscreen too.
    const bool offscreen = !options->Screenshot.isEmpty() || !options->GalleryDir.isEmpty() ||
                           (!options->Script.isEmpty() && !HasDisplay());
    if (offscreen && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (offscreen || qgetenv("QT_QPA_PLATFORM") == "offscreen") qInstallMessageHandler(QuietNotes);
    if (!options->Screenshot.isEmpty() && options->Scale != 1)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(options->Scale));
    if (!offscreen && !HasDisplay()) {
        std::fputs("vellora: no display to show the window on; vellora --screenshot PNG renders "
                   "it offscreen\n",
                   stderr);
        return 1;
    }
    QApplication application(argc, argv);
    if (!options->GalleryDir.isEmpty()) return RenderGallery(options->GalleryDir);
    return app::RunTerminal(*options);
}
