// Runs the real vellora-cli binary for the end-to-end tests and collects what it printed.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

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

/// Generous time-outs: the test must never depend on the machine being fast.
inline CliResult RunCli(const QStringList& args) {
    QProcess process;
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
