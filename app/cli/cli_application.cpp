// The offscreen application object of vellora-cli, which keeps Qt's notes off stderr.
#include "cli/cli_application.h"

#include <QByteArray>
#include <QString>
#if VELLORA_CLI_GUI
#include <QGuiApplication>
#endif

namespace vellora::cli {

namespace {

QtMessageHandler g_previousHandler = nullptr;

// Every failure of a command is reported by the command itself, as one line. Qt's and its
// libraries' notes and warnings (a missing desktop session, "device not open", libpng's own
// words about a failed write) would add lines of their own; only critical messages pass.
void KeepNotesOffStderr(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) return;
    if (g_previousHandler) g_previousHandler(type, context, text);
}

}  // namespace

std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
    g_previousHandler = qInstallMessageHandler(KeepNotesOffStderr);
#if VELLORA_CLI_GUI
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
#else
    return std::make_unique<QCoreApplication>(argc, argv);
#endif
}

}  // namespace vellora::cli
