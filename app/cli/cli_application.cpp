// The offscreen application object of vellora-cli, quiet about the desktop session it lacks.
#include "cli/cli_application.h"

#include <QByteArray>
#include <QString>

namespace vellora::cli {

namespace {

QtMessageHandler g_previousHandler = nullptr;

// A command-line run has no desktop session: Qt's note about the missing runtime directory
// is not the user's concern and would mix into the program's error output.
void FilterSessionNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
    if (g_previousHandler) g_previousHandler(type, context, text);
}

}  // namespace

std::unique_ptr<QGuiApplication> MakeApplication(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    g_previousHandler = qInstallMessageHandler(FilterSessionNotes);
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace vellora::cli
