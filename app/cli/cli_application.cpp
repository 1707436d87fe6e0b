// The offscreen application object of vellora-cli, which keeps Qt's notes off stderr.
#include "cli/cli_application.h"

#include <QByteArray>
#include <QString>

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

std::unique_ptr<QGuiApplication> MakeApplication(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    g_previousHandler = qInstallMessageHandler(KeepNotesOffStderr);
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace vellora::cli
