// The offscreen application object of vellora-cli, quiet about the desktop session it lacks.
#include "cli/cli_application.h"

#include <QByteArray>
#include <QString>
#if VELLORA_CLI_GUI
#include <QGuiApplication>
#endif

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

std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
    g_previousHandler = qInstallMessageHandler(FilterSessionNotes);
#if VELLORA_CLI_GUI
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
#else
    return std::make_unique<QCoreApplication>(argc, argv);
#endif
}

}  // namespace vellora::cli
