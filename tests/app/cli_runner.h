// Runs the real vellora-cli binary for the end-to-end tests and collects what it printed.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#if defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif

namespace vellora::testing {

struct CliResult {
    int code = -1;  ///< exit status; -1 when the program crashed or did not run
    QByteArray out;
    QByteArray err;
};

inline QString CliPath() {
#ifdef _WIN32
    return QStringLiteral(VELLORA_BIN_DIR "/vellora-cli.exe");
#else
    return QStringLiteral(VELLORA_BIN_DIR "/vellora-cli");
#endif
}

/// Generous time-outs: the test must never depend on the machine being fast. `environment`
/// replaces the test's own when given. A run that crashes leaves no core file behind.
inline CliResult RunCli(const QStringList& args,
                        const QProcessEnvironment& environment = QProcessEnvironment()) {
    QProcess process;
    if (!environment.isEmpty()) process.setProcessEnvironment(environment);
#if defined(Q_OS_UNIX)
    process.setChildProcessModifier([] {
        const rlimit none{0, 0};
        (void)::setrlimit(RLIMIT_CORE, &none);
    });
#endif
    process.start(CliPath(), args);
    CliResult r;
    if (!process.waitForStarted(30000) || !process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "vellora-cli did not run: " << process.errorString().toStdString();
        return r;
    }
    r.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

}  // namespace vellora::testing
