// vellora-cli's device commands end to end: the real binary against the real vellora-sim over
// a Unix socket in a temporary folder; exit statuses 0 / 1 / 2 and one-line reasons.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <utility>
#include <vector>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "app/sim_process.h"
#include "model/workspace.h"
#include "storage/settings_codec.h"

namespace {

constexpr int kStartMs = 30000;
constexpr int kRunMs = 120000;

QString Binary(const char* name) { return vellora::testing::BinaryPath(name); }

using Result = vellora::testing::ProgramRun;

Result RunCli(const QStringList& args) { return vellora::testing::RunProgram("vellora-cli", args, kRunMs); }

std::vector<uint8_t> ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

bool WriteBytes(const QString& path, const std::vector<uint8_t>& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

class DeviceCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        socket_ = dir_.filePath("sim.sock");
    }

    // Starts vellora-sim on the socket and waits for its ready line.
    void StartSim(const QStringList& extra = {}) {
        QString problem;
        ASSERT_TRUE(sim_.Start("unix:" + socket_, extra, problem)) << problem.toStdString();
    }

    Result Device(QStringList args) {
        args << "--device"
             << "unix:" + socket_;
        return RunCli(args);
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    QString socket_;
    vellora::testing::SimProcess sim_;
};

// One reason line on stderr and the status.
void ExpectFailure(const Result& r, int code, const char* mention) {
    EXPECT_EQ(r.code, code) << r.err.toStdString();
    const QStringList lines = r.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().startsWith("vellora-cli ")) << lines.last().toStdString();
    EXPECT_TRUE(lines.last().contains(QString::fromUtf8(mention))) << lines.last().toStdString();
}

TEST_F(DeviceCliTest, InfoShowsTagVariantModeAndNames) {
    StartSim({"--variant", "B"});
    const Result r = Device({"info"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("device: TR-W48B_\n"));
    EXPECT_TRUE(r.out.contains("variant: B\n"));
    EXPECT_TRUE(r.out.contains("current mode: 1\n"));
    for (int mode = 1; mode <= 11; ++mode)
        EXPECT_TRUE(r.out.contains(QString("  %1  模式%1\n").arg(mode))) << mode;
}

// The value at a path of keys ("value.raw.gain") in a JSON object.
QJsonValue At(QJsonObject object, const QString& path) {
    const QStringList keys = path.split('.');
    for (qsizetype i = 0; i + 1 < keys.size(); ++i) object = object[keys[i]].toObject();
    return object[keys.last()];
}

// info --json and get --json: one object of their schema on stdout and nothing else there;
// the progress stays on stderr.
TEST_F(DeviceCliTest, InfoAndGetAsJson) {
    StartSim({"--variant", "B"});
    ASSERT_EQ(Device({"set", "2560", "42"}).code, 0);
    ASSERT_EQ(Device({"set", "5", "gain=270,q=40", "--scene", "1"}).code, 0);

    struct Case {
        QStringList args;
        std::vector<std::pair<QString, QJsonValue>> expected;
    };
    const QJsonValue null(QJsonValue::Null);
    const std::vector<Case> cases = {
        {{"info", "--json"},
         {{"schema", "vellora.info/1"},
          {"endpoint", "unix:" + socket_},
          {"tag", "TR-W48B_"},
          {"variant", "B"},
          {"currentMode", 1}}},
        // A common setting of menu kind 10: one value for both scenes.
        {{"get", "10,0", "--json"},
         {{"schema", "vellora.get/1"},
          {"index", 2560},
          {"kind", 10},
          {"address", 0},
          {"role", "step"},
          {"mode", 1},
          {"scene", null},
          {"perScene", false},
          {"value.slot", 0},
          {"value.step", 42},
          {"value.raw.value", 42}}},
        // A band written in the dance scene, in its units and its raw fields.
        {{"get", "5", "--scene", "1", "--json"},
         {{"index", 5},
          {"role", "band"},
          {"name", "EQ6"},
          {"scene", 1},
          {"perScene", true},
          {"value.slot", 1},
          {"value.gainDb", 2.0},
          {"value.raw.gain", 270},
          {"value.raw.q", 40}}},
        // The factory gain of EQ8 differs by scene: +15.0 dB singing, 0.0 dB dance.
        {{"get", "7", "--json", "--scene", "0"},
         {{"scene", 0}, {"value.gainDb", 15.0}, {"value.freqHz", 630}, {"value.shape", "peaking"}}},
        {{"get", "7", "--json", "--scene", "1"}, {{"scene", 1}, {"value.gainDb", 0.0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Result r = Device(c.args);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
        for (const auto& [path, value] : c.expected)
            EXPECT_EQ(At(doc.object(), path), value) << path.toStdString();
    }

    const QJsonArray modes =
        QJsonDocument::fromJson(Device({"info", "--json"}).out.toUtf8())["modes"].toArray();
    ASSERT_EQ(modes.size(), 11);
    for (int mode = 1; mode <= 11; ++mode)
        EXPECT_EQ(modes[mode - 1],
                  (QJsonObject{{"mode", mode}, {"name", QString("模式%1").arg(mode)}}));

    // A refused argument is one line on stderr and no JSON at all.
    const Result bad = Device({"get", "3000", "--json"});
    ExpectFailure(bad, 2, "PARAM");
    EXPECT_TRUE(bad.out.isEmpty()) << bad.out.toStdString();
}

TEST_F(DeviceCliTest, PullAfterPushGivesTheSameFile) {
    StartSim();
    const Result first = Device({"pull", Path("first.VL")});
    ASSERT_EQ(first.code, 0) << first.err.toStdString();
    EXPECT_TRUE(first.err.contains("synchronising")) << "progress on stderr";
    ASSERT_EQ(QFileInfo(Path("first.VL")).size(), 252000);

    // Change a band of the singing scene and a setting of no mode, as an editor would.
    auto ws = std::make_unique<vellora::model::Workspace>();
    ASSERT_EQ(vellora::storage::DecodeTable(ReadBytes(Path("first.VL")), ws->ModeImage),
              vellora::storage::StorageError::Ok);
    int band = -1;
    for (int i = 0; i < 256 && band < 0; ++i)
        if (ws->ModeImage.Slot(i, 0)->FilterType == vellora::model::kEqBand) band = i;
    ASSERT_GE(band, 0);
    ws->ModeImage.Slot(band, 0)->Gain = 310;
    ws->ModeImage.Slot(band, 0)->EQdisabled = true;
    ws->ModeImage.SetValueAt(vellora::model::entry::kMasterSlider0, 0, 41);
    ws->ModeImage.ShareSingleSceneValues();
    const std::vector<uint8_t> edited = vellora::storage::EncodeTable(ws->ModeImage);
    ASSERT_NE(edited, ReadBytes(Path("first.VL")));
    ASSERT_TRUE(WriteBytes(Path("edited.VL"), edited));

    const Result push = Device({"push", Path("edited.VL")});
    ASSERT_EQ(push.code, 0) << push.err.toStdString();
    const Result second = Device({"pull", Path("second.VL")});
    ASSERT_EQ(second.code, 0) << second.err.toStdString();
    EXPECT_EQ(ReadBytes(Path("second.VL")), edited);

    // --raw sends a file as it stands, values no editor can make included.
    ws->ModeImage.Slot(band, 0)->Gain = 450;
    ASSERT_TRUE(WriteBytes(Path("raw.VL"), vellora::storage::EncodeTable(ws->ModeImage)));
    ExpectFailure(Device({"push", Path("raw.VL")}), 2, "Gain 450 outside 10..400");
    const Result raw = Device({"push", Path("raw.VL"), "--raw"});
    ASSERT_EQ(raw.code, 0) << raw.err.toStdString();
    const Result get = Device({"get", QString::number(band), "--scene", "0"});
    EXPECT_TRUE(get.out.contains("gain=450")) << get.out.toStdString();
}

// A file whose FilterTypes are not the processor's would land shifted in the device, which
// took the blocks it could and refused the others while the push reported success: it is
// refused before the link, --raw or not, and the device keeps its settings.
TEST_F(DeviceCliTest, PushRefusesAFileOfAnotherLayoutEvenRaw) {
    StartSim();
    ASSERT_EQ(Device({"pull", Path("before.VL")}).code, 0);
    std::vector<uint8_t> bytes = ReadBytes(Path("before.VL"));
    bytes[vellora::storage::SlotOffset(0, 0) + vellora::storage::slot_offset::kFilterType] = 0;
    ASSERT_TRUE(WriteBytes(Path("other.VL"), bytes));
    for (const QStringList& args :
         {QStringList{"push", Path("other.VL"), "--raw"},
          QStringList{"restore", "--mode", "2", Path("other.VL"), "--raw"}}) {
        const Result r = Device(args);
        ExpectFailure(r, 2, "entry 0 (kind 0, address 0) slot 0: FilterType 0, expected 1");
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
    ASSERT_EQ(Device({"pull", Path("after.VL")}).code, 0);
    EXPECT_EQ(ReadBytes(Path("after.VL")), ReadBytes(Path("before.VL")));
}

TEST_F(DeviceCliTest, SetThenGet) {
    StartSim();
    Result r = Device({"set", "2560", "42"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    r = Device({"get", "10,0"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("entry 2560 (kind 10, address 0)"));
    EXPECT_TRUE(r.out.contains("fields: value=42\n")) << r.out.toStdString();

    r = Device({"set", "5", "gain=270,q=40", "--scene", "1"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    r = Device({"get", "5", "--scene", "1"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("gain=270 q=40")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("2.0 dB")) << r.out.toStdString();

    r = Device({"set", "5", "gain=400,shelfq=90", "--raw"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("gain=400 q=")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("shelfq=90")) << r.out.toStdString();
}

TEST_F(DeviceCliTest, BackupAndRestoreModes) {
    StartSim();
    ASSERT_EQ(Device({"pull", Path("live.VL")}).code, 0);
    auto ws = std::make_unique<vellora::model::Workspace>();
    ASSERT_EQ(vellora::storage::DecodeTable(ReadBytes(Path("live.VL")), ws->ModeImage),
              vellora::storage::StorageError::Ok);
    int entry = -1;  // a band of menu kind 0
    for (int i = 0; i < 256 && entry < 0; ++i)
        if (ws->ModeImage.Slot(i, 0)->FilterType == vellora::model::kEqBand) entry = i;
    ASSERT_GE(entry, 0);
    const int32_t original = ws->ModeImage.Slot(entry, 0)->Gain;
    ws->ModeImage.Slot(entry, 0)->Gain = original + 33;
    ws->ModeImage.ShareSingleSceneValues();
    ASSERT_TRUE(WriteBytes(Path("mode3.VL"), vellora::storage::EncodeTable(ws->ModeImage)));

    Result r = Device({"restore", "--mode", "3", Path("mode3.VL")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();

    const QString folder = Path("modes");
    r = Device({"backup", folder});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files.size(), 10);
    for (int mode = 1; mode <= 10; ++mode) {
        const QString file = QDir(folder).filePath(QString("模式%1.vl").arg(mode));
        EXPECT_EQ(QFileInfo(file).size(), 252000) << file.toStdString();
    }
    auto read = std::make_unique<vellora::model::Workspace>();
    ASSERT_EQ(vellora::storage::DecodeTable(ReadBytes(QDir(folder).filePath("模式3.vl")),
                                            read->ModeImage),
              vellora::storage::StorageError::Ok);
    EXPECT_EQ(read->ModeImage.Slot(entry, 0)->Gain, original + 33);
    ASSERT_EQ(vellora::storage::DecodeTable(ReadBytes(QDir(folder).filePath("模式2.vl")),
                                            read->ModeImage),
              vellora::storage::StorageError::Ok);
    EXPECT_EQ(read->ModeImage.Slot(entry, 0)->Gain, original);

    ExpectFailure(Device({"backup", folder}), 2, "exists");
    EXPECT_EQ(Device({"backup", folder, "--force"}).code, 0);
}

// restore and push keep what the device held first, say where, and write nothing when that
// snapshot cannot be kept; --no-snapshot writes without one. A snapshot is put back with
// restore.
TEST_F(DeviceCliTest, WholeWritesKeepASnapshotFirst) {
    StartSim();
    ASSERT_EQ(Device({"backup", Path("modes")}).code, 0);
    const QString factory3 = QDir(Path("modes")).filePath("模式3.vl");
    auto ws = std::make_unique<vellora::model::Workspace>();
    ASSERT_EQ(vellora::storage::DecodeTable(ReadBytes(factory3), ws->ModeImage),
              vellora::storage::StorageError::Ok);
    int band = -1;
    for (int i = 0; i < 256 && band < 0; ++i)
        if (ws->ModeImage.Slot(i, 0)->FilterType == vellora::model::kEqBand) band = i;
    ASSERT_GE(band, 0);
    ws->ModeImage.Slot(band, 0)->Gain += 33;
    ws->ModeImage.ShareSingleSceneValues();
    const std::vector<uint8_t> edited = vellora::storage::EncodeTable(ws->ModeImage);
    ASSERT_TRUE(WriteBytes(Path("edited.VL"), edited));

    Result r = Device({"restore", "--mode", "3", Path("edited.VL"), "--no-snapshot"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(r.out.contains("snapshot"));

    const QString snaps = Path("snaps");
    r = Device({"restore", "--mode", "3", factory3, "--snapshot-dir", snaps});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QStringList kept = QDir(snaps).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(kept[0].endsWith("-mode03.vl")) << kept[0].toStdString();
    EXPECT_TRUE(r.out.contains("snapshot of mode 3 as it was -> " + QDir(snaps).filePath(kept[0])))
        << r.out.toStdString();
    EXPECT_EQ(ReadBytes(QDir(snaps).filePath(kept[0])), edited) << "mode 3 before the restore";

    // Putting the snapshot back is a restore of it.
    ASSERT_EQ(
        Device({"restore", "--mode", "3", QDir(snaps).filePath(kept[0]), "--no-snapshot"}).code, 0);
    ASSERT_EQ(Device({"backup", Path("after"), "--force"}).code, 0);
    EXPECT_EQ(ReadBytes(QDir(Path("after")).filePath("模式3.vl")), edited);

    // No snapshot, no write.
    ASSERT_TRUE(WriteBytes(Path("blocked"), {1}));
    ExpectFailure(Device({"restore", "--mode", "3", factory3, "--snapshot-dir", Path("blocked")}),
                  2, "cannot make the snapshot folder");
    ExpectFailure(Device({"push", factory3, "--snapshot-dir", Path("blocked")}), 2,
                  "nothing was written");
    ASSERT_EQ(Device({"backup", Path("after"), "--force"}).code, 0);
    EXPECT_EQ(ReadBytes(QDir(Path("after")).filePath("模式3.vl")), edited);

    // push keeps the current mode as stored and the working settings.
    r = Device({"push", factory3, "--snapshot-dir", snaps});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("snapshot of mode 1 as it was"));
    EXPECT_TRUE(r.out.contains("snapshot of the working settings as it was"));
    kept = QDir(snaps).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(kept.size(), 3);
    EXPECT_EQ(kept.filter("-mode01-working").size(), 1);
}

TEST_F(DeviceCliTest, AccessCheckAtConnect) {
    StartSim({"--admin-password", "123456"});
    ExpectFailure(Device({"set", "2592", "1"}), 2, "--password");
    ExpectFailure(Device({"set", "2592", "1", "--password", "111111"}), 1, "refused");
    ASSERT_EQ(Device({"set", "2592", "1", "--password", "123456"}).code, 0);

    ExpectFailure(Device({"get", "2560"}), 1, "demands the administrator password");
    ExpectFailure(Device({"get", "2560", "--password", "654321"}), 1, "did not accept");
    const Result r = Device({"get", "2592", "--password", "123456"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("fields: value=1\n"));
}

// A device that cannot be linked up with is one line that says why, and nothing else.
TEST_F(DeviceCliTest, LinkUpFailuresSayWhatHappened) {
    // The device answers the search with a tag that is not a processor's.
    StartSim({"--fault", "tag=XY-Z99A_"});
    Result r = Device({"info"});
    ExpectFailure(r, 1, "answered the search with an unknown tag \"XY-Z99A_\"");
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    sim_.Stop();

    // Another terminal holds the device: it turns this one away.
    StartSim();
    QLocalSocket other;
    other.connectToServer(socket_);
    ASSERT_TRUE(other.waitForConnected(kStartMs));
    QByteArray search = QByteArray::fromHex(
        "41010F"
        "FEFA2323230F594F505F4354524CFC");
    search.resize(66);
    other.write(search);
    ASSERT_TRUE(other.waitForBytesWritten(kStartMs));
    ASSERT_TRUE(other.waitForReadyRead(kStartMs));  // it is the device's terminal now
    r = Device({"info"});
    ExpectFailure(r, 1, "is busy with another terminal");
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    other.abort();

#if defined(Q_OS_UNIX)
    // A socket this user may not open is a matter of permissions, not of USB rules.
    const QString closed = Path("closed");
    ASSERT_TRUE(QDir().mkdir(closed));
    QProcess late;
    late.start(Binary("vellora-sim"), {"--listen", "unix:" + closed + "/sim.sock"});
    ASSERT_TRUE(late.waitForReadyRead(kStartMs));
    ASSERT_EQ(::chmod(QFile::encodeName(closed).constData(), 0), 0);
    QProcess cli;
    if (::geteuid() == 0) {
        cli.setChildProcessModifier([] {  // root passes every permission: run as nobody
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(99);
        });
    }
    cli.start(Binary("vellora-cli"), {"info", "--device", "unix:" + closed + "/sim.sock"});
    ASSERT_TRUE(cli.waitForFinished(kRunMs));
    r = {cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()),
         QString::fromUtf8(cli.readAllStandardError())};
    ASSERT_EQ(::chmod(QFile::encodeName(closed).constData(), 0700), 0);
    late.terminate();
    late.waitForFinished(kStartMs);
    ExpectFailure(r, 1, "permission denied");
    EXPECT_FALSE(r.err.contains("udev")) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("USB")) << r.err.toStdString();
#endif
}

// A peer that answers with broken records, or only with damaged frames, is told as such: it is
// neither busy with another terminal nor silent.
TEST_F(DeviceCliTest, BrokenPeersAreNotBusyOrSilentDevices) {
    StartSim({"--fault", "bad-checksum"});
    ExpectFailure(Device({"info"}), 1, "frames came with a wrong checksum");
    sim_.Stop();

    QByteArray whole(66, '\0');
    whole[0] = 65;
    whole[1] = 1;
    const struct {
        QByteArray sent;
        const char* said;
    } cases[] = {{QByteArray(1, 64) + QByteArray(64, '\0'), "malformed record"},
                 {whole.left(30), "in the middle of a record"}};
    QLocalServer peer;
    ASSERT_TRUE(peer.listen(Path("peer.sock")));
    for (const auto& c : cases) {
        QProcess cli;
        cli.start(Binary("vellora-cli"), {"info", "--device", "unix:" + Path("peer.sock")});
        ASSERT_TRUE(peer.waitForNewConnection(kStartMs));
        QLocalSocket* s = peer.nextPendingConnection();
        ASSERT_TRUE(s->waitForReadyRead(kStartMs));  // the search frame
        s->write(c.sent);
        ASSERT_TRUE(s->waitForBytesWritten(kStartMs));
        s->disconnectFromServer();
        ASSERT_TRUE(cli.waitForFinished(kRunMs));
        const Result r{cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()),
                       QString::fromUtf8(cli.readAllStandardError())};
        ExpectFailure(r, 1, c.said);
        EXPECT_FALSE(r.err.contains("busy")) << r.err.toStdString();
        delete s;
    }
}

// An empty trace file name is refused, not taken as no trace.
TEST_F(DeviceCliTest, EmptyTraceNameIsRefused) {
    StartSim();
    ExpectFailure(Device({"info", "--trace", ""}), 2, "--trace needs a file name");
    ExpectFailure(Device({"info", "--trace="}), 2, "--trace needs a file name");
}

TEST_F(DeviceCliTest, InProcessSimulatedProcessor) {
    const Result r = RunCli({"pull", Path("sim.VL"), "--device", "sim"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QFileInfo(Path("sim.VL")).size(), 252000);
    EXPECT_EQ(RunCli({"info", "--device", "sim"}).code, 0);
}

TEST_F(DeviceCliTest, BadInputAndMissingDevice) {
    ExpectFailure(Device({"info"}), 1, "no device");
    ExpectFailure(RunCli({"info", "--device", "serial:3"}), 2, "--device");
    ExpectFailure(Device({"get", "3000"}), 2, "PARAM");
    ExpectFailure(Device({"get", "11,0"}), 2, "PARAM");
    ExpectFailure(Device({"set", "5", "77"}), 2, "EQ band");
    ExpectFailure(Device({"set", "2560", "70000"}), 2, "0..62499");
    // Beyond the editor's ranges only with --raw; and never beyond what a file may hold.
    ExpectFailure(Device({"set", "5", "gain=371"}), 2, "10..370");
    ExpectFailure(Device({"set", "5", "shelfq=27"}), 2, "0..26");
    ExpectFailure(Device({"set", "5", "gain=401", "--raw"}), 2, "10..400");
    ExpectFailure(Device({"restore", "--mode", "0", Path("x.VL")}), 2, "--mode");
    ExpectFailure(Device({"get", "2560", "--password", "12a4"}), 2, "--password");
    ASSERT_TRUE(WriteBytes(Path("short.VL"), std::vector<uint8_t>(100, 0)));
    ExpectFailure(Device({"push", Path("short.VL")}), 2, "252000");
    // A file of the right size with values no editor can make is refused before linking up.
    auto ws = std::make_unique<vellora::model::Workspace>();
    ws->ParamStore.Slot(0, 0)->Gain = 62499;  // +6224.9 dB
    ws->ParamStore.Slot(1, 1)->ShelfQ = -3;
    ASSERT_TRUE(WriteBytes(Path("wild.VL"), vellora::storage::EncodeTable(ws->ParamStore)));
    for (const QStringList& args : {QStringList{"push", Path("wild.VL")},
                                    QStringList{"restore", "--mode", "2", Path("wild.VL")}}) {
        const Result r = Device(args);
        ExpectFailure(r, 2, "entry 0 (kind 0, address 0) slot 0: Gain 62499 outside 10..400");
        EXPECT_TRUE(r.err.contains("ShelfQ -3")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("--raw")) << r.err.toStdString();
    }
}

// The trace file opens emptied: it is checked before any work like every file written, and
// may not be one of the command's own files, so a settings file is never lost to it.
TEST_F(DeviceCliTest, TheTraceFileIsCheckedBeforeAnyWork) {
    const std::vector<uint8_t> factory = [] {
        auto ws = std::make_unique<vellora::model::Workspace>();
        ws->LoadDefaults();
        return vellora::storage::EncodeTable(ws->ParamStore);
    }();
    ASSERT_TRUE(WriteBytes(Path("mine.VL"), factory));
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
    const struct {
        QStringList args;
        const char* mention;
    } cases[] = {
        {{"push", Path("mine.VL"), "--trace", Path("mine.VL")}, "own file"},
        {{"push", Path("mine.VL"), "--trace", Path("./mine.VL")}, "own file"},
        {{"restore", "--mode", "2", Path("mine.VL"), "--trace", Path("mine.VL")}, "own file"},
        {{"pull", Path("new.VL"), "--trace", Path("new.VL")}, "own file"},
        {{"info", "--trace", Path("folder")}, "is a folder"},
        {{"info", "--trace", Path("none/t.trace")}, "no folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        ExpectFailure(RunCli(c.args + QStringList{"--device", "sim"}), 2, c.mention);
    }
    EXPECT_EQ(ReadBytes(Path("mine.VL")), factory);
    EXPECT_FALSE(QFileInfo::exists(Path("new.VL")));

    // Another name is traced, and the command does its work.
    const Result r =
        RunCli({"pull", Path("new.VL"), "--device", "sim", "--trace", Path("t.trace")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QFileInfo(Path("new.VL")).size(), 252000);
    QFile trace(Path("t.trace"));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(trace.readAll()).contains("ReadWorkingBlock(11)"));
}

// A device that answers just inside the 600 ms reply time-out works; a slower one is refused
// at link-up with the reason, never answered with another command's reply.
TEST_F(DeviceCliTest, SlowDevices) {
    StartSim({"--latency", "580"});
    Result r = Device({"info"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("current mode: 1\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("   1  模式1\n")) << r.out.toStdString();
    r = Device({"get", "2560"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("entry 2560 (kind 10, address 0)")) << r.out.toStdString();

    sim_.Stop();
    StartSim({"--latency", "700"});
    ExpectFailure(Device({"info"}), 1, "answers too slowly");
}

}  // namespace

#if VELLORA_TERMINAL_TESTS
namespace {

// The width and height of a PNG picture, from its header.
QSize PngSize(const QString& path) {
    const std::vector<uint8_t> b = ReadBytes(path);
    if (b.size() < 24 || b[1] != 'P' || b[2] != 'N' || b[3] != 'G') return {};
    auto be32 = [&](size_t at) {
        return static_cast<int>((b[at] << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3]);
    };
    return {be32(16), be32(20)};
}

// The terminal itself, offscreen, against vellora-sim over the socket bridge: it links up,
// synchronises (its trace shows the device's answers) and paints the page asked for.
TEST_F(DeviceCliTest, TerminalLinksSynchronisesAndPaints) {
    StartSim({"--variant", "B"});
    ASSERT_EQ(Device({"set", "2560", "42"}).code, 0);
    QProcess terminal;
    terminal.start(Binary("vellora"),
                   {"--screenshot", Path("page4.png"), "--page", "4", "--size", "1200x700",
                    "--device", "unix:" + socket_, "--trace", Path("link.trace")});
    ASSERT_TRUE(terminal.waitForStarted(kStartMs));
    ASSERT_TRUE(terminal.waitForFinished(kRunMs));
    EXPECT_EQ(terminal.exitCode(), 0) << terminal.readAllStandardError().toStdString();
    EXPECT_EQ(PngSize(Path("page4.png")), QSize(1200, 700));
    QFile trace(Path("link.trace"));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(trace.readAll());
    EXPECT_TRUE(text.contains("identification \"TR-W48B_\" variant \"B\""));
    EXPECT_EQ(text.count("ReadWorkingBlock(11)"), 16);
    EXPECT_FALSE(text.contains("checksum bad"));
}

// A synchronisation that stops half-way draws no picture of the half-read store: the reason
// and the refusal are on stderr, the status is 1.
TEST_F(DeviceCliTest, TerminalDrawsNoPictureOfAFailedSynchronisation) {
    for (const char* fault : {"block-length=2", "stop-after=6"}) {
        StartSim({"--fault", fault});
        const QString picture = Path("failed.png");
        QProcess terminal;
        terminal.start(Binary("vellora"), {"--screenshot", picture, "--device", "unix:" + socket_});
        ASSERT_TRUE(terminal.waitForFinished(kRunMs)) << fault;
        EXPECT_EQ(terminal.exitCode(), 1) << fault;
        EXPECT_TRUE(QString::fromUtf8(terminal.readAllStandardError()).contains("no picture"))
            << fault;
        EXPECT_FALSE(QFileInfo::exists(picture)) << fault;
        sim_.Stop();
    }
}

#if defined(Q_OS_UNIX)
// A picture name that is a pipe (or any other non-file) is refused: saving into a pipe that
// nobody reads would wait for ever.
TEST_F(DeviceCliTest, TerminalWritesPicturesOnlyIntoPlainFiles) {
    const QString pipe = Path("shot.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QProcess terminal;
    terminal.start(Binary("vellora"), {"--screenshot", pipe, "--device", "sim"});
    ASSERT_TRUE(terminal.waitForFinished(kStartMs));
    EXPECT_EQ(terminal.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(terminal.readAllStandardError()).contains("not a regular file"));
}
#endif

// An empty value on the terminal's command line is refused, not taken as the option left out
// (which ran the terminal without its trace, or drew the window instead of the gallery).
TEST_F(DeviceCliTest, TerminalRefusesEmptyValues) {
    const QString picture = Path("empty.png");
    for (const char* option : {"--trace", "--gallery", "--screenshot", "--device"}) {
        QProcess terminal;
        QStringList args{option, ""};
        if (QString(option) != "--screenshot") args << "--screenshot" << picture;
        terminal.start(Binary("vellora"), args << "--device"
                                               << "sim");
        ASSERT_TRUE(terminal.waitForFinished(kStartMs)) << option;
        EXPECT_EQ(terminal.exitCode(), 2) << option;
        const QString err = QString::fromUtf8(terminal.readAllStandardError());
        EXPECT_TRUE(err.startsWith("vellora: " + QString(option))) << err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(picture)) << option;
    }
}

}  // namespace
#endif
