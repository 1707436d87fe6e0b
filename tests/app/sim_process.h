// The project's programs run as processes for the end-to-end tests; vellora-sim started on a
// socket, waited for until it says it listens, stopped as a signal would, or killed as a cable
// pulled out.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace vellora::testing {

inline QString BinaryPath(const char* name) {
#ifdef _WIN32
    return QStringLiteral(VELLORA_BIN_DIR "/") + name + ".exe";
#else
    return QStringLiteral(VELLORA_BIN_DIR "/") + name;
#endif
}

/// What a program run to its end printed, and its exit status (-1: it crashed or did not run).
struct ProgramRun {
    int code = -1;
    QString out;
    QString err;
};

/// Runs one of the project's programs to its end; a run that does not end within `timeoutMs`
/// is killed and fails the test.
inline ProgramRun RunProgram(const char* name, const QStringList& args, int timeoutMs) {
    QProcess process;
    process.start(BinaryPath(name), args);
    ProgramRun r;
    if (!process.waitForStarted(timeoutMs) || !process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << name << " did not run: " << process.errorString().toStdString();
        return r;
    }
    r.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

class SimProcess {
public:
    static constexpr int kStartMs = 30000;

    ~SimProcess() { Stop(); }

    /// Starts vellora-sim listening on `endpoint` and waits for its ready line; false with
    /// what it printed otherwise.
    bool Start(const QString& endpoint, const QStringList& extra, QString& problem) {
        process_.start(BinaryPath("vellora-sim"), QStringList{"--listen", endpoint} + extra);
        if (!process_.waitForStarted(kStartMs)) {
            problem = process_.errorString();
            return false;
        }
        QByteArray line;
        while (!line.contains('\n') && process_.waitForReadyRead(kStartMs))
            line += process_.readAllStandardOutput();
        if (!line.startsWith("vellora-sim: listening on ")) {
            problem = QString::fromUtf8(line + process_.readAllStandardError());
            return false;
        }
        return true;
    }

    /// As a signal stops it.
    void Stop() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        if (!process_.waitForFinished(kStartMs)) Kill();
    }

    /// At once, as a pulled cable or a power cut.
    void Kill() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();
        process_.waitForFinished(kStartMs);
    }

private:
    QProcess process_;
};

}  // namespace vellora::testing
