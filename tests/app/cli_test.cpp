// vellora-cli end to end: the real binary writes, dumps and compares settings files; exit
// status 0 / 1 / 2, JSON that parses, error lines on stderr.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <vector>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "app/cli_runner.h"
#include "cli/text_table.h"
#include "storage/settings_codec.h"

namespace {

using Result = vellora::testing::CliResult;
using vellora::testing::RunCli;

QJsonObject ParseJson(const QByteArray& text) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_TRUE(doc.isObject());
    return doc.object();
}

QJsonObject EntryOf(const QJsonObject& dump, int index) {
    for (const QJsonValue& e : dump["entries"].toArray())
        if (e.toObject()["index"].toInt() == index) return e.toObject();
    ADD_FAILURE() << "no entry " << index;
    return {};
}

// One line error on stderr, nothing on stdout, exit status 2.
void ExpectError(const Result& r, const char* mention) {
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(mention)) << r.err.toStdString();
}

class CliTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString defaults;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        defaults = dir.filePath("defaults.VL");
        const Result r = RunCli({"defaults", "--out", defaults});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        ASSERT_TRUE(r.err.isEmpty());
    }

    // A copy of the defaults with one little-endian 32-bit field changed.
    QString Modified(const QString& name, int index, int slot, int offset, qint32 value) {
        QFile in(defaults);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        QByteArray bytes = in.readAll();
        const qsizetype at = 84 * index + 28 * slot + offset;
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(static_cast<quint32>(value) >> (8 * i));
        const QString path = dir.filePath(name);
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return path;
    }
};

TEST_F(CliTest, DefaultsWritesTheImageUnderExactlyTheGivenName) {
    EXPECT_EQ(QFileInfo(defaults).size(), 252000);
    const QString plain = dir.filePath("abc");
    EXPECT_EQ(RunCli({"defaults", "--out", plain}).code, 0);
    EXPECT_TRUE(QFileInfo::exists(plain));
    EXPECT_FALSE(QFileInfo::exists(plain + ".VL"));
    ExpectError(RunCli({"defaults"}), "--out");
    ExpectError(RunCli({"defaults", "--out", dir.filePath("missing/x.VL")}), "missing/x.VL");
    ExpectError(RunCli({"defaults", "--out", defaults, "extra"}), "extra");
}

TEST_F(CliTest, DumpShowsBothScenesInTheUsersUnits) {
    const Result r = RunCli({"dump", defaults});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    const QString text = QString::fromUtf8(r.out);
    for (const char* expected :
         {"slot 0 唱歌模式", "slot 1 劲舞模式", "EQ8", "630 Hz", "15.0 dB", "-19.0 dB", "Q 1.00",
          "SQ 0.71", "80.3 Hz", "LinkWitz 48dB", "ButterWorth 12dB", "混响时间", "SceneSelect",
          "超低输出 (menu kind 7)", "off (20220 Hz)", "\ncommon settings (menu kind 10)\n"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_FALSE(text.contains(QString::fromUtf8("公共设置")));
    EXPECT_FALSE(text.contains("slot 2"));
    EXPECT_FALSE(text.contains("Out-of-range"));
    // The row of entry 7 carries the singing gain (+15.0 dB) and then the dance one (0.0 dB).
    for (const QString& line : text.split('\n')) {
        if (!line.startsWith("    7 ")) continue;
        EXPECT_LT(line.indexOf("15.0 dB"), line.lastIndexOf(" 0.0 dB")) << line.toStdString();
    }
}

TEST_F(CliTest, DumpAlignsChineseNamesByDisplayWidth) {
    const Result r = RunCli({"dump", defaults});
    ASSERT_EQ(r.code, 0);
    // In the subwoofer section a short ASCII name, a CJK name and one with a full-width colon
    // must put their role column at the same screen column.
    int column = -1;
    for (const QString& line : QString::fromUtf8(r.out).split('\n')) {
        if (!(line.startsWith(" 1793 ") || line.startsWith(" 1795 ") || line.startsWith(" 1813 ") ||
              line.startsWith(" 1803 ")))
            continue;
        const qsizetype role = line.indexOf(line.startsWith(" 1803 ") ? "EQ band" : "step");
        ASSERT_GT(role, 0) << line.toStdString();
        const int width = vellora::cli::DisplayWidth(line.left(role).toStdString());
        if (column < 0) column = width;
        EXPECT_EQ(width, column) << line.toStdString();
    }
    EXPECT_GT(column, 0);
}

TEST(DisplayWidth, CountsWideCharactersTwice) {
    using vellora::cli::DisplayWidth;
    EXPECT_EQ(DisplayWidth("EQ1"), 3);
    EXPECT_EQ(DisplayWidth("混响时间"), 8);
    EXPECT_EQ(DisplayWidth("控制对象：音乐通道"), 18);
    EXPECT_EQ(DisplayWidth("录音L"), 5);
    EXPECT_EQ(DisplayWidth("\xFF\xE6"), 2);  // malformed bytes count one each
}

TEST_F(CliTest, DumpJsonHasTheSchemaAndTheValues) {
    const Result r = RunCli({"dump", defaults, "--json"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject dump = ParseJson(r.out);
    EXPECT_EQ(dump["schema"].toString(), "vellora.dump/1");
    EXPECT_EQ(dump["bytes"].toInt(), 252000);
    EXPECT_EQ(dump["slots"].toArray(), (QJsonArray{0, 1}));
    EXPECT_EQ(dump["entries"].toArray().size(), 256);
    EXPECT_TRUE(dump["anomalies"].toArray().isEmpty());

    const QJsonObject band = EntryOf(dump, 7);
    EXPECT_EQ(band["role"].toString(), "band");
    EXPECT_EQ(band["name"].toString(), "EQ8");
    EXPECT_TRUE(band["perScene"].toBool());
    const QJsonArray values = band["values"].toArray();
    ASSERT_EQ(values.size(), 2);
    EXPECT_EQ(values[0].toObject()["raw"].toObject()["gain"].toInt(), 400);
    EXPECT_DOUBLE_EQ(values[0].toObject()["gainDb"].toDouble(), 15.0);
    EXPECT_DOUBLE_EQ(values[1].toObject()["gainDb"].toDouble(), 0.0);
    EXPECT_DOUBLE_EQ(values[0].toObject()["freqHz"].toDouble(), 630.0);
    EXPECT_DOUBLE_EQ(values[0].toObject()["q"].toDouble(), 1.0);
    EXPECT_EQ(values[0].toObject()["shape"].toString(), "peaking");

    const QJsonObject type = EntryOf(dump, 1801);
    EXPECT_EQ(type["role"].toString(), "filterType");
    EXPECT_EQ(type["values"].toArray()[0].toObject()["crossover"].toString(), "LinkWitz 48dB");
    EXPECT_DOUBLE_EQ(EntryOf(dump, 1031)["values"].toArray()[1].toObject()["hz"].toDouble(), 19.7);
    EXPECT_EQ(EntryOf(dump, 2598)["values"].toArray()[0].toObject()["step"].toInt(), 5);
    EXPECT_TRUE(EntryOf(dump, 2590)["name"].isString());
    EXPECT_TRUE(EntryOf(dump, 2597)["name"].isNull());
}

TEST_F(CliTest, DumpOfOneSceneAndBadScenes) {
    const QJsonObject dump = ParseJson(RunCli({"dump", "--scene", "2", defaults, "--json"}).out);
    EXPECT_EQ(dump["slots"].toArray(), (QJsonArray{2}));
    const QJsonArray values = EntryOf(dump, 7)["values"].toArray();
    ASSERT_EQ(values.size(), 1);
    EXPECT_EQ(values[0].toObject()["slot"].toInt(), 2);
    EXPECT_EQ(values[0].toObject()["raw"].toObject()["gain"].toInt(), 250);

    const Result text = RunCli({"dump", defaults, "--scene=1"});
    EXPECT_EQ(text.code, 0);
    EXPECT_TRUE(text.out.contains("slot 1"));
    EXPECT_FALSE(text.out.contains("slot 0"));

    ExpectError(RunCli({"dump", defaults, "--scene", "7"}), "--scene");
    ExpectError(RunCli({"dump", defaults, "--scene", "-1"}), "--scene");
    ExpectError(RunCli({"dump", defaults, "--scene", "1x"}), "--scene");
    ExpectError(RunCli({"dump", defaults, "--scene"}), "--scene");
    ExpectError(RunCli({"dump", defaults, "--color"}), "--color");
    ExpectError(RunCli({"dump"}), "FILE");
    ExpectError(RunCli({"dump", defaults, defaults}), "FILE");
}

TEST_F(CliTest, UnreadableFilesAreOneErrorLine) {
    ExpectError(RunCli({"dump", dir.filePath("none.VL")}), "no such file");
    const QString shortFile = dir.filePath("short.VL");
    QFile f(shortFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(1000, '\0'));
    f.close();
    ExpectError(RunCli({"dump", shortFile}), "252000");
    ExpectError(RunCli({"diff", defaults, shortFile}), "short.VL");
    ExpectError(RunCli({"dump", dir.path()}), "not a regular file");
}

#if defined(Q_OS_UNIX)
// A file name whose bytes are not text (a copy from another system) is named as such, not
// reported missing: no program using text names can open it.
TEST_F(CliTest, ArgumentsThatAreNotTextAreSaidToBeSo) {
    const QByteArray folder = QFile::encodeName(dir.path());
    const int fd = ::open((folder + "/bad\xff\xfe.VL").constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    QProcess shell;
    // QProcess would pass the name on as UTF-8 text; the shell passes the bytes themselves.
    shell.start(QStringLiteral("/bin/sh"),
                {"-c", "exec \"$0\" dump \"$(printf '%b' \"$1\")\"", vellora::testing::CliPath(),
                 QString::fromUtf8(folder) + "/bad\\0377\\0376.VL"});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.exitCode(), 2);
    const QByteArray err = shell.readAllStandardError();
    EXPECT_TRUE(err.startsWith("vellora-cli: argument 2 is not text")) << err.toStdString();
    EXPECT_EQ(err.count('\n'), 1);
}
#endif

TEST_F(CliTest, DiffListsDifferingSlotsAndSetsTheExitStatus) {
    const Result same = RunCli({"diff", defaults, defaults});
    EXPECT_EQ(same.code, 0) << same.err.toStdString();
    EXPECT_TRUE(same.out.contains("equal"));

    const QString changed = Modified("changed.VL", 7, 1, 10, 330);  // dance gain of EQ8: +8.0 dB
    const Result text = RunCli({"diff", defaults, changed});
    EXPECT_EQ(text.code, 1) << text.err.toStdString();
    EXPECT_TRUE(text.err.isEmpty());
    const QString out = QString::fromUtf8(text.out);
    EXPECT_TRUE(out.contains(QString::fromUtf8("slot 1 劲舞模式: 1 difference")));
    EXPECT_TRUE(out.contains(QString::fromUtf8("slot 0 唱歌模式: no differences")));
    EXPECT_TRUE(out.contains("8.0 dB"));
    EXPECT_TRUE(out.contains("EQ8"));

    const Result json = RunCli({"diff", defaults, changed, "--json"});
    EXPECT_EQ(json.code, 1);
    const QJsonObject diff = ParseJson(json.out);
    EXPECT_EQ(diff["schema"].toString(), "vellora.diff/1");
    EXPECT_FALSE(diff["equal"].toBool());
    const QJsonArray list = diff["differences"].toArray();
    ASSERT_EQ(list.size(), 1);
    const QJsonObject d = list[0].toObject();
    EXPECT_EQ(d["index"].toInt(), 7);
    EXPECT_EQ(d["slot"].toInt(), 1);
    EXPECT_EQ(d["fields"].toArray(), (QJsonArray{"Gain"}));
    EXPECT_DOUBLE_EQ(d["a"].toObject()["gainDb"].toDouble(), 0.0);
    EXPECT_DOUBLE_EQ(d["b"].toObject()["gainDb"].toDouble(), 8.0);

    const QJsonObject equal = ParseJson(RunCli({"diff", "--json", defaults, defaults}).out);
    EXPECT_TRUE(equal["equal"].toBool());
    EXPECT_TRUE(equal["differences"].toArray().isEmpty());
    ExpectError(RunCli({"diff", defaults}), "two files");
}

TEST_F(CliTest, OutOfRangeValuesAreShownAndReported) {
    QString bad = Modified("bad1.VL", 1031, 0, 1, 999);  // filter frequency index
    bad = Modified("bad2.VL", 0, 1, 6, -70000);          // band frequency index
    QFile in(bad);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray bytes = in.readAll();
    in.close();
    bytes[84 * 1030 + 1] = 9;                      // crossover type 9
    bytes[84 * 0 + 28 + 5] = 7;                    // band shape 7
    bytes[84 * 40 + 0] = static_cast<char>(0xEE);  // garbage in an undefined entry
    bytes[84 * 40 + 22] = 1;                       // marked defined
    bytes[84 * 2900 + 56 + 23] = 1;                // beyond every menu kind
    const QString path = dir.filePath("bad.VL");
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();

    const Result text = RunCli({"dump", path});
    EXPECT_EQ(text.code, 0) << text.err.toStdString();
    const QString shown = QString::fromUtf8(text.out);
    EXPECT_TRUE(shown.contains("index -70000 (out of range)"));
    EXPECT_TRUE(shown.contains("unknown type 9"));
    EXPECT_TRUE(shown.contains("unknown shape 7"));
    EXPECT_TRUE(shown.contains("raw: type 238"));
    EXPECT_TRUE(shown.contains("Out-of-range values (5)"));
    EXPECT_TRUE(shown.contains("\n 2900  "));

    const QJsonObject dump = ParseJson(RunCli({"dump", path, "--json"}).out);
    EXPECT_EQ(dump["anomalies"].toArray().size(), 5);
    EXPECT_EQ(dump["entries"].toArray().size(),
              258);  // the extra entries marked defined are listed
    EXPECT_TRUE(EntryOf(dump, 0)["values"].toArray()[1].toObject()["freqHz"].isNull());
    EXPECT_TRUE(EntryOf(dump, 1030)["values"].toArray()[0].toObject()["crossover"].isNull());
    EXPECT_EQ(RunCli({"diff", defaults, path}).code, 1);
}

// Every command that writes a file takes only a plain file, never its own input, and refuses
// before any work: a device node or a pipe in its place would otherwise be replaced.
TEST_F(CliTest, OutputsThatAreNotPlainFilesOrTheInputAreRefused) {
    QFile in(defaults);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray before = in.readAll();
    in.close();
    struct Case {
        QStringList args;
        const char* mention;
    };
    std::vector<Case> cases = {
        {{"defaults", "--out", dir.path()}, "is a folder"},
    };
#if VELLORA_CLI_GUI  // built without Qt Gui, the program has no render command
    cases.push_back({{"render", defaults, "--page", "0", "--out", defaults}, "input"});
    cases.push_back({{"render", defaults, "--page", "0", "--out", dir.path()}, "is a folder"});
    cases.push_back({{"render", defaults, "--page", "0", "--out", ""}, "--out"});
#endif
#if defined(Q_OS_UNIX)
    const QString pipe = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
#if VELLORA_CLI_GUI
    cases.push_back({{"render", defaults, "--page", "0", "--out", pipe}, "not a regular file"});
#endif
    cases.push_back({{"defaults", "--out", pipe}, "not a regular file"});
    // No device is asked: the target is refused first.
    cases.push_back(
        {{"pull", pipe, "--device", "unix:" + dir.filePath("none.sock")}, "not a regular file"});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        ExpectError(RunCli(c.args), c.mention);
    }
#if defined(Q_OS_UNIX)
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(pipe).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
#endif
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), before);
}

TEST(Cli, HelpUsageAndUnknownCommands) {
    const Result help = RunCli({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* name : {"defaults", "dump", "diff"})
        EXPECT_TRUE(help.out.contains(name)) << name;
    for (const char* name : {"defaults", "dump", "diff"}) {
        const Result r = RunCli({name, "--help"});
        EXPECT_EQ(r.code, 0) << name;
        EXPECT_TRUE(r.out.startsWith(QByteArray("Usage: vellora-cli ") + name)) << name;
        EXPECT_EQ(RunCli({"help", name}).out, r.out);
    }
    const Result none = RunCli({});
    EXPECT_EQ(none.code, 2);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(none.err.contains("Usage"));
    ExpectError(RunCli({"frobnicate"}), "unknown command 'frobnicate'");
    // A line break typed into an argument stays one error line.
    const Result broken = RunCli({"dump", "--a\nb"});
    EXPECT_EQ(broken.code, 2);
    EXPECT_EQ(broken.err.count('\n'), 1);
    EXPECT_TRUE(broken.err.contains("--a\\x0Ab"));
}

TEST(Cli, VersionIsTheProjectsVersion) {
    const Result r = RunCli({"--version"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QByteArray("vellora-cli " VELLORA_VERSION "\n"));
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}

// Only drawing needs a display platform: with one that cannot be loaded, every command that
// draws nothing still runs, the device commands included.
TEST_F(CliTest, OnlyDrawingNeedsADisplayPlatform) {
    QProcessEnvironment broken = QProcessEnvironment::systemEnvironment();
    broken.insert("QT_QPA_PLATFORM", "vellora-no-such-platform");
    struct Case {
        QStringList args;
        int code;
    };
    const std::vector<Case> cases = {
        {{"--help"}, 0},
        {{"--version"}, 0},
        {{"help", "dump"}, 0},
        {{"defaults", "--out", dir.filePath("again.VL")}, 0},
        {{"dump", defaults, "--json"}, 0},
        {{"diff", defaults, Modified("changed.VL", 7, 1, 10, 330)}, 1},
        {{"curve", defaults, "--page", "0", "--csv"}, 0},
        {{"info", "--device", "sim"}, 0},
        {{"frobnicate"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Result r = RunCli(c.args, broken);
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        EXPECT_EQ(r.out.isEmpty(), c.code == 2);
    }
#if VELLORA_CLI_GUI
    EXPECT_EQ(RunCli({"render", "--help"}, broken).code, 0);
    // The platform really cannot be loaded: drawing fails on it.
    const QStringList render = {"render", defaults, "--page", "0", "--out", dir.filePath("x.png")};
    EXPECT_NE(RunCli(render, broken).code, 0);
#endif
}

}  // namespace
