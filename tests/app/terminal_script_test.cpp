// The terminal end to end: the real vellora, offscreen, driven by its script lines against the
// real vellora-sim over a Unix socket, through an installer's working session: link up, edit
// on a page and on the graph, undo, save a settings file, batch upload, cable out and back in.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

#include "app/cli_runner.h"
#include "app/sim_process.h"

// Failures show the lines as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << text.toStdString();
}

namespace {

using vellora::testing::BinaryPath;

constexpr int kLineMs = 60000;

// vellora --script -: commands go in on standard input, each ends with "ok ..." or
// "failed: ..."; messages, questions and link events come as lines of their own.
class ScriptedTerminal {
public:
    explicit ScriptedTerminal(const QStringList& args) {
        process_.start(BinaryPath("vellora"), QStringList{"--script", "-"} + args);
    }
    ~ScriptedTerminal() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    void Send(const QString& line) {
        process_.write((line + '\n').toUtf8());
        process_.waitForBytesWritten(kLineMs);
    }

    /// The next line that starts with one of `prefixes`; every line read is kept.
    QString Until(const QStringList& prefixes) {
        for (;;) {
            while (process_.canReadLine()) {
                const QString line = QString::fromUtf8(process_.readLine()).chopped(1);
                transcript_ << line;
                for (const QString& p : prefixes)
                    if (line.startsWith(p)) return line;
            }
            if (!process_.waitForReadyRead(kLineMs)) {
                ADD_FAILURE() << "no line starting with " << prefixes.join('|').toStdString()
                              << "; so far:\n"
                              << transcript_.join('\n').toStdString()
                              << "\nstderr: " << process_.readAllStandardError().toStdString();
                return {};
            }
        }
    }

    /// Runs one command and returns what follows its "ok"; a failure fails the test.
    QString Do(const QString& command) {
        Send(command);
        const QString end = Until({"ok", "failed:"});
        EXPECT_TRUE(end.startsWith("ok")) << command.toStdString() << ": " << end.toStdString();
        return end.mid(3);
    }

    int Finish() {
        if (!process_.waitForFinished(kLineMs)) return -1;
        transcript_ << QString::fromUtf8(process_.readAllStandardOutput()).split('\n');
        errors_ = QString::fromUtf8(process_.readAllStandardError());
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    /// What the program wrote on stderr, once it has finished.
    [[nodiscard]] const QString& Errors() const { return errors_; }

    /// Lines read since line `from` that start with `prefix`.
    [[nodiscard]] int Count(const QString& prefix, qsizetype from = 0) const {
        int n = 0;
        for (qsizetype i = from; i < transcript_.size(); ++i)
            n += transcript_[i].startsWith(prefix);
        return n;
    }
    [[nodiscard]] qsizetype Lines() const { return transcript_.size(); }

private:
    QProcess process_;
    QStringList transcript_;
    QString errors_;
};

// "band shape 0 freq 62 gain 210 ..." from the terminal's entry, or the device's fields line.
int Field(const QString& text, const char* name) {
    const QRegularExpression re(QStringLiteral("\\b%1[ =](-?\\d+)").arg(QLatin1String(name)));
    const QRegularExpressionMatch m = re.match(text);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// "Slider | entry 7 (kind 0, address 7)" -> 7
int EntryOf(const QString& description) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("entry (\\d+) ")).match(description);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

TEST(TerminalScript, AnInstallersSessionEndToEnd) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString endpoint = "unix:" + dir.filePath("sim.sock");
    const QStringList simArgs{"--state", dir.filePath("device")};
    vellora::testing::SimProcess sim;
    QString problem;
    ASSERT_TRUE(sim.Start(endpoint, simArgs, problem)) << problem.toStdString();
    ASSERT_TRUE(QDir(dir.path()).mkpath("data/Orvane"));
    ASSERT_EQ(
        vellora::testing::RunCli({"defaults", "--out", dir.filePath("data/Orvane/party.VL")}).code,
        0);

    ScriptedTerminal t({"--device", endpoint, "--data-dir", dir.filePath("data"), "--trace",
                        dir.filePath("link.trace")});
    t.Do("wait linked 60");
    EXPECT_EQ(t.Count("link: up TR-W48A_"), 1);

    // A band strip on the music page, then the same band dragged on the graph.
    const int band8 = EntryOf(t.Do("describe \"EQ8, 音乐\""));
    const int band3 = EntryOf(t.Do("describe \"EQ3, 音乐\""));
    ASSERT_GE(band8, 0);
    ASSERT_GE(band3, 0);
    const QString before = t.Do(QStringLiteral("entry %1").arg(band8));
    EXPECT_EQ(t.Do("set \"EQ8, 音乐\" 300"), "300");
    const QString afterStrip = t.Do(QStringLiteral("entry %1").arg(band8));
    EXPECT_NE(Field(afterStrip, "gain"), Field(before, "gain"));
    t.Do("sleep 1200");  // the strip's gesture ends
    t.Do("drag \"response graph::band 8\" 60 -40");
    const QString afterDrag = t.Do(QStringLiteral("entry %1").arg(band8));
    EXPECT_NE(Field(afterDrag, "freq"), Field(afterStrip, "freq")) << afterDrag.toStdString();
    EXPECT_NE(Field(afterDrag, "gain"), Field(afterStrip, "gain")) << afterDrag.toStdString();

    // Undo takes the drag back, then the strip's edit; redo brings the strip's edit again.
    t.Do("sleep 1200");
    t.Do("press 撤销");
    EXPECT_EQ(t.Do(QStringLiteral("entry %1").arg(band8)), afterStrip);
    t.Do("press 撤销");
    EXPECT_EQ(t.Do(QStringLiteral("entry %1").arg(band8)), before);
    t.Do("press 重做");
    EXPECT_EQ(t.Do(QStringLiteral("entry %1").arg(band8)), afterStrip);

    // A settings file from the launcher's menu, the path given to its save window.
    t.Send("menu 设备/保存文件");
    EXPECT_EQ(t.Until({"choose-save:"}), "choose-save: .VL");
    t.Send("answer " + dir.filePath("saved"));
    EXPECT_EQ(t.Until({"warning:", "error:"}), "warning: 已写入文件！");
    t.Until({"ok", "failed:"});
    EXPECT_EQ(QFileInfo(dir.filePath("saved.VL")).size(), 252000);

    // Batch upload: the file in the mode folder goes to mode 2, after a snapshot of mode 2.
    t.Do("menu 设备/程序管理");
    t.Do("select \"文件1*\"");
    t.Do("select \"模式 2*\"");
    t.Do("press <<");
    t.Send("press 批量上传到设备中");
    EXPECT_EQ(t.Until({"warning:", "error:"}), "warning: 已完成操作! ");
    t.Until({"ok", "failed:"});
    EXPECT_EQ(QDir(dir.filePath("data/snapshots")).entryList({"*-mode02.vl"}, QDir::Files).size(),
              1);

    // The cable is pulled: said once; an edit made meanwhile is kept, offered after the
    // replug's synchronisation and sent when the user agrees.
    const qsizetype unplugged = t.Lines();
    sim.Kill();
    t.Do("wait unlinked 60");
    EXPECT_EQ(t.Count("link: lost", unplugged), 1);
    EXPECT_EQ(t.Count("warning:", unplugged), 1);
    EXPECT_EQ(t.Do("set \"EQ3, 音乐\" 200"), "200");
    const QString offline = t.Do(QStringLiteral("entry %1").arg(band3));
    ASSERT_TRUE(sim.Start(endpoint, simArgs, problem)) << problem.toStdString();
    t.Send("wait linked 60");
    const QString question = t.Until({"question:"});
    EXPECT_TRUE(question.contains("1")) << question.toStdString();
    t.Send("answer yes");
    EXPECT_TRUE(t.Until({"ok", "failed:"}).startsWith("ok"));
    EXPECT_EQ(t.Count("warning:", unplugged), 1);
    EXPECT_EQ(t.Do(QStringLiteral("entry %1").arg(band3)), offline);

    t.Do("quit");
    EXPECT_EQ(t.Finish(), 0) << t.Errors().toStdString();
    EXPECT_EQ(t.Count("failed:"), 0);

    // The device holds the offline edit, and the trace saw it go out.
    const auto r = vellora::testing::RunCli({"get", QString::number(band3), "--device", endpoint});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(Field(QString::fromUtf8(r.out), "gain"), Field(offline, "gain"))
        << r.out.toStdString();
    QFile trace(dir.filePath("link.trace"));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    EXPECT_TRUE(trace.readAll().contains("WriteParam"));
}

}  // namespace

namespace {

using TerminalRun = vellora::testing::ProgramRun;

TerminalRun RunTerminal(const QStringList& args) {
    return vellora::testing::RunProgram("vellora", args, kLineMs);
}

// A script file ends at its first failed command with status 1, saying which and why; bad
// arguments are one line and status 2.
TEST(TerminalScript, ScriptFilesStopAtTheFirstFailure) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString script = dir.filePath("setup.txt");
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "# an installer's set-up\n"
        "wait linked 60\n"
        "set \"EQ8, 音乐\" 280\n"
        "set \"EQ8, 音乐\" 9999\n"
        "set \"EQ9, 音乐\" 280\n");
    file.close();
    const QStringList common{"--device", "sim", "--data-dir", dir.filePath("data")};
    TerminalRun r = RunTerminal(QStringList{"--script", script} + common);
    EXPECT_EQ(r.code, 1) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains("ok 280")) << r.out.toStdString();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.filter("failed:").size() == 1 &&
                lines.filter("failed:")[0].contains("outside"))
        << r.out.toStdString();
    EXPECT_EQ(lines.filter("ok 280").size(), 1);  // the line after the failure never ran

    r = RunTerminal({"--version"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QStringLiteral("vellora " VELLORA_VERSION "\n"));
    r = RunTerminal({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.startsWith("usage: vellora")) << r.out.toStdString();

    for (const QStringList& bad :
         {QStringList{"--script"}, QStringList{"--script", dir.filePath("none.txt")},
          QStringList{"--script", "-", "--screenshot", dir.filePath("x.png")},
          QStringList{"--data-dir", ""}}) {
        r = RunTerminal(bad + QStringList{"--device", "sim"});
        EXPECT_EQ(r.code, 2) << bad.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith("vellora: ")) << r.err.toStdString();
    }
}

}  // namespace
