// The application object of vellora-cli, made only when a command needs one, and the filter
// that keeps Qt's notes off stderr.
#include "cli/cli_application.h"

#include <QByteArray>
#include <QString>
#if VELLORA_CLI_GUI
#include <QGuiApplication>
#endif
#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>  // after windows.h
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

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    std::vector<std::string> args;
#ifdef _WIN32
    // The narrow argv is in the ANSI code page; the wide command line has every character.
    (void)argc;
    (void)argv;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide && i < count; ++i)
        args.push_back(QString::fromWCharArray(wide[i]).toStdString());
    LocalFree(wide);
#else
    // As QCoreApplication::arguments() reads them.
    for (int i = 1; i < argc; ++i) args.push_back(QString::fromLocal8Bit(argv[i]).toStdString());
#endif
    return args;
}

int FirstUndecodableArgument(int argc, char** argv) {
#ifdef _WIN32
    // The wide command line is read instead (ProgramArguments): every character is text.
    (void)argc;
    (void)argv;
#else
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        if (QString::fromLocal8Bit(raw).toLocal8Bit() != raw) return i;
    }
#endif
    return 0;
}

std::unique_ptr<QCoreApplication> MakeApplication(ApplicationKind kind, char* program) {
    g_previousHandler = qInstallMessageHandler(KeepNotesOffStderr);
    // Qt keeps references to argc and argv for the application's lifetime.
    static int argc = 1;
    static char* argv[] = {program, nullptr};
    argv[0] = program;
    switch (kind) {
        case ApplicationKind::None:
            return nullptr;
        case ApplicationKind::Gui:
#if VELLORA_CLI_GUI
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            return std::make_unique<QGuiApplication>(argc, argv);
#else
            break;
#endif
        case ApplicationKind::Core:
            break;
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace vellora::cli
