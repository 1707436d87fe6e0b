// vellora-cli info, pull, push, backup, restore: the device's identity and modes, its working
// settings to and from settings files, and its stored modes to and from mode files.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QStandardPaths>
#include <QString>
#include <array>
#include <string>
#include <vector>

#include "cli/arg_parser.h"
#include "cli/command_registry.h"
#include "cli/device_session.h"
#include "cli/output_file.h"
#include "cli/settings_view.h"
#include "link/endpoint.h"
#include "protocol/mode_names.h"
#include "protocol/mode_snapshot.h"
#include "protocol/wire_format.h"
#include "storage/mode_files.h"
#include "storage/mode_folder.h"
#include "storage/settings_check.h"
#include "storage/settings_codec.h"
#include "storage/settings_file.h"
#include "storage/snapshot_store.h"
#include "storage/storage_error.h"

namespace vellora::cli {

namespace {

using protocol::CommandStatus;

constexpr int kManagedModes = 10;  // modes 1..10; mode 11 is the device's own

// A name the device sent, safe to print: control characters (escape sequences included)
// become "?".
std::string Printable(const std::string& name) {
    QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    return text.toStdString();
}

constexpr std::size_t kAnomaliesShown = 3;

// Reads a settings or mode file into the mode image and, unless `raw`, refuses one with values
// outside their ranges (a device must never get them by accident); prints the error on failure.
bool ReadFileIntoModeImage(const Invocation& inv, const std::string& path, bool raw,
                           model::Workspace& ws, int& status) {
    const storage::StorageError loaded =
        storage::LoadSettingsFile(QString::fromStdString(path), ws);
    if (loaded != storage::StorageError::Ok) {
        status =
            inv.Fail("cannot read " + path + ": " + std::string(storage::StorageErrorText(loaded)));
        return false;
    }
    // A FilterType decides an entry's form in the device's blocks: with one that is not the
    // processor's, every entry after it would land shifted. Not even --raw sends that.
    if (const std::vector<storage::Anomaly> foreign = storage::FilterTypeAnomalies(ws.ModeImage);
        !foreign.empty()) {
        status =
            inv.Fail(path + ": " +
                     std::string(storage::StorageErrorText(storage::StorageError::WrongLayout)) +
                     ": " + storage::AnomalyText(foreign.front()));
        return false;
    }
    if (raw) return true;
    const std::vector<storage::Anomaly> anomalies = storage::Validate(ws.ModeImage);
    if (anomalies.empty()) return true;
    std::string line = path + ": " + std::to_string(anomalies.size()) +
                       (anomalies.size() == 1 ? " value is" : " values are") +
                       " outside their ranges: ";
    for (std::size_t i = 0; i < anomalies.size() && i < kAnomaliesShown; ++i)
        line += (i ? "; " : "") + storage::AnomalyText(anomalies[i]);
    if (anomalies.size() > kAnomaliesShown) line += "; ...";
    status = inv.Fail(line + " (dump lists them all; --raw sends the file as it is)");
    return false;
}

constexpr OptionDef kRawOption{"--raw", false};
constexpr std::string_view kRawHelp =
    "  --raw               send the file as it is, values outside their ranges included\n"
    "                      (a file whose FilterTypes are not the processor's is never sent)\n";

// ---- snapshots before whole writes ----

constexpr OptionDef kSnapshotDirOption{"--snapshot-dir", true};
constexpr OptionDef kNoSnapshotOption{"--no-snapshot", false};
constexpr std::string_view kSnapshotHelp =
    "  --snapshot-dir DIR  where the snapshot goes (default: the folder \"snapshots\" beside\n"
    "                      the mode folder \"Orvane\", as the terminal keeps them)\n"
    "  --no-snapshot       write without keeping what the device held first\n";

// The terminal's snapshot folder: "snapshots" beside its mode folder, which is "Orvane"
// beside the program, or in the user's data folder of the terminal ("vellora").
QString SnapshotFolder(const ParsedArgs& parsed) {
    if (const auto dir = parsed.Value("--snapshot-dir")) return QString::fromStdString(*dir);
    const QString userData =
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
            .filePath(QStringLiteral("vellora"));
    const storage::ModeFolderChoice folder =
        storage::ChooseModeFolder(QCoreApplication::applicationDirPath(), userData);
    return folder.Path.isEmpty() ? QString() : storage::SnapshotFolderBeside(folder.Path);
}

// Before a whole write: keeps stored mode `mode` as the device holds it and, with `working`,
// the working settings, each as a snapshot file, and says where they went. The mode image is
// kept as it was. False with the failure printed (nothing may be written then).
bool KeepSnapshots(Invocation& inv, DeviceSession& session, const ParsedArgs& parsed, int mode,
                   bool working, int& status) {
    if (parsed.Has("--no-snapshot")) return true;
    model::Workspace& ws = session.Workspace();
    const model::ParamTable toWrite = ws.ModeImage;
    storage::SnapshotStore store(SnapshotFolder(parsed),
                                 [] { return QDateTime::currentDateTime(); });
    const auto keep = [&](const model::ParamTable& image, int m, protocol::SnapshotSource source) {
        const bool isWorking = source == protocol::SnapshotSource::WorkingSettings;
        const storage::SnapshotSaved saved = store.Save(
            image, m,
            isWorking ? storage::SnapshotPart::WorkingSettings : storage::SnapshotPart::StoredMode);
        if (!saved.Ok()) return storage::SnapshotFailureText(saved);
        inv.out << "snapshot of "
                << (isWorking ? "the working settings" : "mode " + std::to_string(m + 1))
                << " as it was -> " << saved.Path.toStdString() << '\n';
        for (const QString& left : saved.NotRemoved)
            inv.err << "vellora-cli " << inv.command << ": cannot remove the old snapshot "
                    << left.toStdString() << '\n';
        return std::string();
    };
    std::vector<protocol::SnapshotSource> sources{protocol::SnapshotSource::StoredMode};
    if (working) sources.push_back(protocol::SnapshotSource::WorkingSettings);
    for (const protocol::SnapshotSource source : sources) {
        session.View().SetTask("reading mode " + std::to_string(mode + 1) + " for its snapshot");
        const protocol::SnapshotResult taken =
            protocol::TakeSnapshot(session.Transfers(), ws, mode, source, keep);
        if (taken.Status != CommandStatus::Ok) {
            status = session.Failed(taken.Status, "reading mode " + std::to_string(mode + 1) +
                                                      " for its snapshot (nothing was written)");
            return false;
        }
        if (!taken.Problem.empty()) {
            status = inv.Fail(taken.Problem +
                              " (nothing was written; --no-snapshot writes without a snapshot)");
            return false;
        }
    }
    ws.ModeImage = toWrite;
    return true;
}

// ---- info ----

constexpr std::string_view kInfoUsage = "Usage: vellora-cli info [--json] [--device ENDPOINT]";
constexpr std::string_view kInfoText =
    "Links up with the processor and prints its identification tag, its variant letter,\n"
    "its current mode (counted from 1) and the names of its 11 modes.\n";
constexpr std::string_view kInfoOptions =
    "  --json              one JSON object, schema \"vellora.info/1\" (see the README)\n";

int RunInfo(Invocation& inv) {
    ParsedArgs parsed;
    DeviceOptions options;
    int status = kExitOk;
    if (!ParseDeviceArgs(inv, {{"--json", false}}, 0, "", parsed, options, status)) return status;
    DeviceSession session(inv, options);
    if (!session.Open()) return kExitDevice;

    protocol::BulkTransfers& transfers = session.Transfers();
    CommandStatus result = transfers.ReadCurrentMode();
    if (result != CommandStatus::Ok) return session.Failed(result, "reading the current mode");
    result = transfers.ReadModeNames();
    if (result != CommandStatus::Ok) return session.Failed(result, "reading the mode names");
    const auto names = protocol::DecodeModeNames(session.Channel().Reply());

    const std::string& tag = session.Link().DeviceTag();
    if (parsed.Has("--json")) {
        QJsonObject root;
        root["schema"] = "vellora.info/1";
        root["endpoint"] = QString::fromStdString(link::EndpointText(options.Endpoint));
        root["tag"] = QString::fromStdString(tag);
        root["variant"] = tag.size() > 6 ? QJsonValue(QString::fromStdString(tag.substr(6, 1)))
                                         : QJsonValue(QJsonValue::Null);
        root["currentMode"] = session.Link().CurrentMode() + 1;
        QJsonArray modes;  // the names as the device has them; JSON escapes what cannot print
        for (std::size_t i = 0; i < names.size(); ++i)
            modes.append(QJsonObject{{"mode", static_cast<int>(i) + 1},
                                     {"name", QString::fromStdString(names[i])}});
        root["modes"] = modes;
        WriteJson(inv.out, root);
        return kExitOk;
    }
    inv.out << "device: " << tag << '\n'
            << "variant: " << (tag.size() > 6 ? tag.substr(6, 1) : std::string("?")) << '\n'
            << "current mode: " << session.Link().CurrentMode() + 1 << '\n'
            << "mode names:\n";
    for (std::size_t i = 0; i < names.size(); ++i)
        inv.out << (i + 1 < 10 ? "   " : "  ") << i + 1 << "  " << Printable(names[i]) << '\n';
    return kExitOk;
}

// ---- pull ----

constexpr std::string_view kPullUsage =
    "Usage: vellora-cli pull FILE [--device ENDPOINT] [--password DIGITS]";
constexpr std::string_view kPullText =
    "Links up and reads the device's current mode and all of its working settings, as the\n"
    "terminal does at link-up (with the access check), then writes them as a settings file\n"
    "(252000 bytes). FILE is written under exactly that name, replaced only when complete.\n";

int RunPull(Invocation& inv) {
    ParsedArgs parsed;
    DeviceOptions options;
    int status = kExitOk;
    if (!ParseDeviceArgs(inv, {}, 1, "one FILE", parsed, options, status)) return status;
    const std::string& path = parsed.positionals[0];
    if (const auto problem = OutputPathProblem(path)) return inv.Fail(*problem);

    DeviceSession session(inv, options);
    if (!session.Open()) return kExitDevice;
    if (!session.Synchronise()) return kExitDevice;
    if (!WriteSettingsOutput(inv, path, session.Workspace().ParamStore)) return kExitError;
    inv.out << "pulled the working settings of mode " << session.Link().CurrentMode() + 1
            << " into " << path << '\n';
    return kExitOk;
}

// ---- push ----

constexpr std::string_view kPushUsage =
    "Usage: vellora-cli push FILE [--raw] [--snapshot-dir DIR | --no-snapshot]\n"
    "                        [--device ENDPOINT] [--password DIGITS]";
constexpr std::string_view kPushText =
    "Loads a settings file into the device, as the mode manager's \"打开文件\" does: links up\n"
    "(with the access check), writes the file's settings into the device's current mode and\n"
    "reads the device's settings back. The file is checked before the device is touched: its\n"
    "size, and every value against its range (as dump reports them); a file with values\n"
    "outside their ranges is refused unless --raw is given. Before writing, the current mode\n"
    "as stored in the device and the working settings are kept as two snapshot files; when\n"
    "they cannot be read or kept, nothing is written.\n";

int RunPush(Invocation& inv) {
    ParsedArgs parsed;
    DeviceOptions options;
    int status = kExitOk;
    if (!ParseDeviceArgs(inv, {kRawOption, kSnapshotDirOption, kNoSnapshotOption}, 1, "one FILE",
                         parsed, options, status))
        return status;
    DeviceSession session(inv, options);
    if (!ReadFileIntoModeImage(inv, parsed.positionals[0], parsed.Has("--raw"), session.Workspace(),
                               status))
        return status;

    if (!session.Open()) return kExitDevice;
    if (!session.Synchronise()) return kExitDevice;
    protocol::BulkTransfers& transfers = session.Transfers();
    const int mode = session.Link().CurrentMode();
    if (!KeepSnapshots(inv, session, parsed, mode, true, status)) return status;
    session.View().SetTask("writing mode " + std::to_string(mode + 1));
    CommandStatus result = transfers.WriteModeToDevice(mode);
    if (result != CommandStatus::Ok) return session.Failed(result, "writing the mode");
    session.View().SetTask("reading back mode " + std::to_string(mode + 1));
    result = transfers.SyncFromDevice(mode, false, protocol::Command::ReadWorkingBlock);
    if (result != CommandStatus::Ok) return session.Failed(result, "reading back");
    inv.out << "pushed " << parsed.positionals[0] << " into mode " << mode + 1 << '\n';
    return kExitOk;
}

// ---- backup ----

constexpr std::string_view kBackupUsage =
    "Usage: vellora-cli backup DIR [--force] [--device ENDPOINT] [--password DIGITS]";
constexpr std::string_view kBackupText =
    "Downloads the device's modes 1..10 into mode files in DIR (made when missing), each\n"
    "named after the device's name of the mode with the extension \".vl\", as the mode\n"
    "manager's download does. Names are made safe as file names (path separators, control\n"
    "characters and the like become \"_\"; an empty name becomes \"模式N\"); equal names get\n"
    "\" (2)\", \" (3)\". Existing files are kept unless --force is given.\n";
constexpr std::string_view kBackupOptions =
    "  --force             overwrite mode files that already exist in DIR\n";

int RunBackup(Invocation& inv) {
    ParsedArgs parsed;
    DeviceOptions options;
    int status = kExitOk;
    if (!ParseDeviceArgs(inv, {{"--force", false}}, 1, "one DIR", parsed, options, status))
        return status;
    const QString folder = QString::fromStdString(parsed.positionals[0]);
    if (QFileInfo(folder).exists() && !QFileInfo(folder).isDir())
        return inv.Fail(parsed.positionals[0] + " is not a folder");
    if (!QDir().mkpath(folder)) return inv.Fail("cannot make the folder " + parsed.positionals[0]);

    DeviceSession session(inv, options);
    if (!session.Open()) return kExitDevice;
    if (!session.Synchronise()) return kExitDevice;
    protocol::BulkTransfers& transfers = session.Transfers();
    const CommandStatus named = transfers.ReadModeNames();
    if (named != CommandStatus::Ok) return session.Failed(named, "reading the mode names");
    const auto names = protocol::DecodeModeNames(session.Channel().Reply());

    // Every file name first: nothing is downloaded when one of them cannot be used.
    std::vector<QString> bases;
    std::vector<QString> paths;
    for (int mode = 0; mode < kManagedModes; ++mode) {
        const QString base = storage::UniqueBaseName(
            storage::ModeFileBaseName(names[static_cast<std::size_t>(mode)], mode), bases);
        const auto path = storage::ModeFilePath(folder, base);
        if (!path)
            return inv.Fail("the name of mode " + std::to_string(mode + 1) + " gives no file name");
        if (QFileInfo::exists(*path) && !parsed.Has("--force"))
            return inv.Fail(path->toStdString() + " exists (--force overwrites it)");
        if (const auto problem = OutputPathProblem(path->toStdString())) return inv.Fail(*problem);
        bases.push_back(base);
        paths.push_back(*path);
    }

    model::Workspace& ws = session.Workspace();
    for (int mode = 0; mode < kManagedModes; ++mode) {
        // The settings that belong to no mode come from the device's working settings.
        ws.ModeImage = ws.ParamStore;
        session.View().SetTask("reading mode " + std::to_string(mode + 1));
        const CommandStatus read = transfers.ReadModeFromDevice(mode);
        if (read != CommandStatus::Ok)
            return session.Failed(read, "reading mode " + std::to_string(mode + 1));
        const std::string path = paths[static_cast<std::size_t>(mode)].toStdString();
        if (!WriteSettingsOutput(inv, path, ws.ModeImage)) return kExitError;
        inv.out << "mode " << mode + 1 << " (" << Printable(names[static_cast<std::size_t>(mode)])
                << ") -> " << path << '\n';
    }
    return kExitOk;
}

// ---- restore ----

constexpr std::string_view kRestoreUsage =
    "Usage: vellora-cli restore --mode N FILE [--raw] [--snapshot-dir DIR | --no-snapshot]\n"
    "                         [--device ENDPOINT] [--password DIGITS]";
constexpr std::string_view kRestoreText =
    "Writes one mode file (or settings file) into the device's stored mode N (1..10), as the\n"
    "mode manager's batch upload does for one mode. The file is checked before the device\n"
    "is touched: its size, and every value against its range; a file with values outside\n"
    "their ranges is refused unless --raw is given. Before writing, mode N as the device\n"
    "holds it is kept as a snapshot file; when it cannot be read or kept, nothing is written.\n"
    "A snapshot is put back with this same command.\n";
constexpr std::string_view kRestoreOptions = "  --mode N            the mode to write, 1..10\n";

int RunRestore(Invocation& inv) {
    ParsedArgs parsed;
    DeviceOptions options;
    int status = kExitOk;
    if (!ParseDeviceArgs(inv, {{"--mode", true}, kRawOption, kSnapshotDirOption, kNoSnapshotOption},
                         1, "one FILE", parsed, options, status))
        return status;
    const auto modeText = parsed.Value("--mode");
    int mode = 0;
    if (!modeText) return inv.Fail("--mode N is required (1..10)");
    if (!ParseIntInRange(*modeText, 1, kManagedModes, mode))
        return inv.Fail("--mode must be 1..10, not '" + *modeText + "'");
    DeviceSession session(inv, options);
    if (!ReadFileIntoModeImage(inv, parsed.positionals[0], parsed.Has("--raw"), session.Workspace(),
                               status))
        return status;

    if (!session.Open()) return kExitDevice;
    if (!session.Synchronise()) return kExitDevice;
    if (!KeepSnapshots(inv, session, parsed, mode - 1, false, status)) return status;
    session.View().SetTask("writing mode " + std::to_string(mode));
    const CommandStatus written = session.Transfers().WriteModeToDevice(mode - 1);
    if (written != CommandStatus::Ok)
        return session.Failed(written, "writing mode " + std::to_string(mode));
    inv.out << "restored " << parsed.positionals[0] << " into mode " << mode << '\n';
    return kExitOk;
}

}  // namespace

void RegisterDeviceCommands(CommandRegistry& registry) {
    static const std::string info = DeviceHelp(kInfoUsage, kInfoText, kInfoOptions);
    static const std::string pull = DeviceHelp(kPullUsage, kPullText);
    static const std::string push =
        DeviceHelp(kPushUsage, kPushText, std::string(kRawHelp) + std::string(kSnapshotHelp));
    static const std::string backup = DeviceHelp(kBackupUsage, kBackupText, kBackupOptions);
    static const std::string restore = DeviceHelp(
        kRestoreUsage, kRestoreText,
        std::string(kRestoreOptions) + std::string(kRawHelp) + std::string(kSnapshotHelp));
    registry.Add({"info", "device: its tag, variant, current mode and mode names", info, RunInfo});
    registry.Add({"pull", "device: read the working settings into a settings file", pull, RunPull});
    registry.Add({"push", "device: load a settings file into the current mode", push, RunPush});
    registry.Add({"backup", "device: download modes 1..10 into mode files", backup, RunBackup});
    registry.Add(
        {"restore", "device: write a mode file into one stored mode", restore, RunRestore});
}

}  // namespace vellora::cli
