// The terminal: one link session, the launcher frame with the editor on it, the settings
// files' dialogs, and the offscreen screenshot.
#include "vellora/terminal.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include <charconv>
#include <cstdio>
#include <functional>
#include <memory>

#include "admin/file_operation.h"
#include "admin/frm_effect.h"
#include "admin/frm_program2.h"
#include "admin/frm_program_manager.h"
#include "admin/mode_manager_chooser.h"
#include "admin/mode_manager_progress.h"
#include "admin/frm_rec.h"
#include "admin/frm_set.h"
#include "admin/mdi_main.h"
#include "admin/qt_file_chooser.h"
#include "controls/control_pictures.h"
#include "controls/workspace_look_source.h"
#include "device/device_port_factory.h"
#include "editor/frm_eq.h"
#include "editor/qt_prompts.h"
#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "link/device_state.h"
#include "link/qt_clock.h"
#include "link/tracing_port.h"
#include "model/comma_fields.h"
#include "model/workspace.h"
#include "protocol/frame_description.h"
#include "protocol/link_session.h"
#include "protocol/mode_snapshot.h"
#include "protocol/qt_event_wait.h"
#include "storage/mode_folder.h"
#include "storage/snapshot_store.h"
#include "vellora/script_driver.h"

namespace vellora::app {

namespace {

constexpr int kScreenshotLinkMs = 10000;
constexpr const char* kScreenshotWindows[] = {"editor", "main",    "set",   "rec",
                                             "effect", "manager", "rights"};

bool ReadInt(const std::string& text, int low, int high, int& out) {
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < low || v > high) return false;
    out = v;
    return true;
}

bool AllDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// The password window's answers given on the command line come first; a person is asked only
// when none of them is accepted (never offscreen, where nobody could answer).
class TerminalPrompts : public protocol::Prompts {
public:
    TerminalPrompts(std::vector<std::string> passwords, bool interactive)
        : passwords_(std::move(passwords)), interactive_(interactive) {}
    void SetParent(QWidget* parent) { qt_.SetParent(parent); }

    void Warning(std::string_view text) override {
        ++shown_;
        if (interactive_) qt_.Warning(text);
        else Print(text);
    }
    void Error(std::string_view text) override {
        ++shown_;
        if (interactive_) qt_.Error(text);
        else Print(text);
    }
    /// Warnings and errors so far (a link that failed, a reply of the wrong size ...).
    [[nodiscard]] int Shown() const { return shown_; }
    bool Question(std::string_view text) override {
        if (interactive_) return qt_.Question(text);
        Print(text);
        return false;
    }
    void AskPassword(protocol::PasswordWindow& window) override {
        for (const std::string& p : passwords_)
            if (p.size() == window.DigitCount() &&
                window.Submit(p) == protocol::PasswordEntry::Accepted)
                return;
        if (interactive_) qt_.AskPassword(window);
    }

private:
    static void Print(std::string_view text) {
        std::fprintf(stderr, "vellora: %.*s\n", static_cast<int>(text.size()), text.data());
    }
    editor::QtPrompts qt_;
    std::vector<std::string> passwords_;
    bool interactive_;
    int shown_ = 0;
};

// Tells of the link coming up and going down.
class LinkEvents : public protocol::LinkListener {
public:
    explicit LinkEvents(std::function<void(bool up)> changed) : changed_(std::move(changed)) {}
    void LinkCameUp() override { changed_(true); }
    void LinkLost(protocol::LinkLoss, bool wasUp) override {
        if (wasUp) changed_(false);
    }

private:
    std::function<void(bool)> changed_;
};

struct ListenerGuard {
    protocol::LinkState& state;
    protocol::LinkListener& listener;
    ~ListenerGuard() { state.RemoveListener(listener); }
};

}  // namespace

const char* TerminalUsage() {
    return "usage: vellora [--device auto|bridge|sim|unix:PATH|tcp:HOST:PORT] [--password DIGITS[,DIGITS]]\n"
           "               [--trace FILE] [--data-dir DIR] [--script FILE|-]\n"
           "       vellora --screenshot PNG [--page 0..7] [--view 0..2] [--scale 1..4]\n"
           "               [--size WxH] [--unlinked] [--window editor|main|set|rec|effect|manager|rights]\n"
           "               [--device ...] [--password ...]\n"
           "       vellora --gallery DIR\n"
           "       vellora --help | --version\n";
}

std::optional<TerminalOptions> ParseTerminalOptions(const std::vector<std::string>& args,
                                                    std::string& error) {
    TerminalOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // An empty value (--trace "") is no value: it would silently turn the option off.
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--device") {
            if (!value(v)) return std::nullopt;
            const link::EndpointParse parsed = link::ParseEndpoint(v);
            if (parsed.Error != link::EndpointError::None) {
                error = "--device: " + parsed.Message;
                return std::nullopt;
            }
            o.Device = parsed.Value;
        } else if (a == "--password") {
            if (!value(v)) return std::nullopt;
            for (std::string_view p : model::SplitCommas(v)) {
                const std::string digits(p);
                if (!AllDigits(digits) || (digits.size() != 4 && digits.size() != 6)) {
                    error = "--password takes 4 or 6 digits, two of them separated by a comma";
                    return std::nullopt;
                }
                o.Passwords.push_back(digits);
            }
        } else if (a == "--trace") {
            if (!value(v)) return std::nullopt;
            o.TracePath = QString::fromLocal8Bit(v.c_str());
        } else if (a == "--screenshot") {
            if (!value(v)) return std::nullopt;
            o.Screenshot = QString::fromLocal8Bit(v.c_str());
        } else if (a == "--window") {
            if (!value(v)) return std::nullopt;
            bool known = false;
            for (const char* w : kScreenshotWindows) known = known || v == w;
            if (!known) {
                error = "--window takes editor, main, set, rec, effect, manager or rights";
                return std::nullopt;
            }
            o.Window = v;
        } else if (a == "--gallery") {
            if (!value(v)) return std::nullopt;
            o.GalleryDir = QString::fromLocal8Bit(v.c_str());
        } else if (a == "--script") {
            if (!value(v)) return std::nullopt;
            o.Script = QString::fromLocal8Bit(v.c_str());
        } else if (a == "--data-dir") {
            if (!value(v)) return std::nullopt;
            if (v.empty()) {
                error = "--data-dir needs a folder";
                return std::nullopt;
            }
            o.DataDir = QString::fromLocal8Bit(v.c_str());
        } else if (a == "--unlinked") {
            o.Unlinked = true;
        } else if (a == "--page" || a == "--view" || a == "--scale") {
            if (!value(v)) return std::nullopt;
            int& out = a == "--page" ? o.Page : a == "--view" ? o.View : o.Scale;
            const int low = a == "--scale" ? 1 : 0;
            const int high = a == "--page" ? 7 : a == "--view" ? 2 : 4;
            if (!ReadInt(v, low, high, out)) {
                error = a + " takes a whole number from " + std::to_string(low) + " to " +
                        std::to_string(high);
                return std::nullopt;
            }
        } else if (a == "--size") {
            if (!value(v)) return std::nullopt;
            const size_t x = v.find('x');
            int w = 0;
            int h = 0;
            if (x == std::string::npos || !ReadInt(v.substr(0, x), 970, 7680, w) ||
                !ReadInt(v.substr(x + 1), 520, 4320, h)) {
                error = "--size takes WxH, from 970x520 to 7680x4320";
                return std::nullopt;
            }
            o.Size = QSize(w, h);
        } else {
            error = "unknown argument: " + a;
            return std::nullopt;
        }
    }
    const bool screenshotOnly = o.Page != 0 || o.View != 0 || o.Scale != 1 ||
                                o.Size != QSize(1900, 1000) || o.Unlinked || o.Window != "editor";
    if (screenshotOnly && o.Screenshot.isEmpty()) {
        error = "--page, --view, --scale, --size, --unlinked and --window go with --screenshot";
        return std::nullopt;
    }
    if (!o.Script.isEmpty() && (!o.Screenshot.isEmpty() || !o.GalleryDir.isEmpty())) {
        error = "--script runs the terminal; it does not go with --screenshot or --gallery";
        return std::nullopt;
    }
    return o;
}

int RunTerminal(const TerminalOptions& options) {
    const bool offscreen = !options.Screenshot.isEmpty();
    const bool scripted = !options.Script.isEmpty();
    model::Workspace ws;
    controls::WorkspaceLookSource look(ws);
    link::QtClock clock;
    graph::PictureStore pictures(qApp->devicePixelRatio());
    graph::RegisterGraphPictures(pictures);
    controls::RegisterControlPictures(pictures);

    // A script answers the windows itself; its lines come from a file or standard input.
    ScriptLines scriptLines(stdout);
    if (scripted) {
        QString error;
        if (options.Script == QLatin1String("-"))
            scriptLines.ReadStandardInput();
        else if (!scriptLines.ReadFile(options.Script, error)) {
            std::fprintf(stderr, "vellora: %s\n", qPrintable(error));
            return 2;
        }
    }
    TerminalPrompts terminalPrompts(options.Passwords, !offscreen);
    ScriptPrompts scriptPrompts(scriptLines, options.Passwords);
    protocol::Prompts& prompts = scripted ? static_cast<protocol::Prompts&>(scriptPrompts)
                                          : static_cast<protocol::Prompts&>(terminalPrompts);
    protocol::QtEventWait wait(clock);
    const bool simulated = options.Device.Kind == link::EndpointKind::Sim;
    std::string traceError;
    const std::string tracePath = options.TracePath.toStdString();
    protocol::LinkSession session(
        ws, wait, prompts, [&](const link::Endpoint& endpoint, model::Clock& c) {
            std::unique_ptr<link::HidPort> port = device::MakeDevicePort(endpoint, c).Port;
            if (!port || tracePath.empty()) return port;
            return link::TraceOwnedPort(std::move(port), tracePath, c, protocol::ReportDescriber{},
                                        traceError);
        });
    admin::MdiMain frame(
        admin::LauncherContext{ws, clock, pictures, look, session, prompts, simulated});
    terminalPrompts.SetParent(&frame);
    // The file windows open in the program's folder where the user may write there (a copy
    // unpacked for a site), else in the user's documents (an installed program); with
    // --data-dir, there.
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString dialogFolder =
        !options.DataDir.isEmpty()         ? options.DataDir
        : QFileInfo(programDir).isWritable() ? programDir
                                             : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    admin::QtFileChooser qtChooser(dialogFolder, &frame);
    ScriptFiles scriptChooser(scriptLines);
    admin::FileChooser& chooser = scripted ? static_cast<admin::FileChooser&>(scriptChooser)
                                           : static_cast<admin::FileChooser&>(qtChooser);
    admin::FileOperation files(ws, session, prompts, chooser);
    // The launcher's "打开文件" and "保存文件", which also clear the editor's history on a load.
    frame.SetFileOperation(&files);

    int status = 0;
    bool ended = false;
    bool synchronised = false;
    bool syncedSinceUp = false;
    std::unique_ptr<ScriptDriver> driver;
    frame.SetProgramEnd([&](int endStatus) {
        status = endStatus;
        ended = true;
        QApplication::exit(status);
    });
    session.SetViews(frame.Views());
    frame.SetSynchronised([&] {
        synchronised = true;
        syncedSinceUp = true;
        if (driver) driver->Event(QStringLiteral("synchronised"));
    });
    // Up and down as a script sees them.
    LinkEvents linkEvents([&](bool up) {
        syncedSinceUp = false;
        if (driver)
            driver->Event(up ? QStringLiteral("link: up ") + QString::fromStdString(session.Link().DeviceTag())
                             : QStringLiteral("link: lost"));
    });
    session.Link().AddListener(linkEvents);
    const ListenerGuard linkEventsGuard{session.Link(), linkEvents};
    // The graph's selected handle blinks at the pace of the link's tick.
    session.Supervisor().SetTickHandler([&frame] {
        if (frame.Editor()) frame.Editor()->LinkTick();
    });

    // What the port's scans find shows in the editor's status line (the frame keeps it).
    const auto opened = session.Open(options.Device);
    if (opened == protocol::LinkSession::OpenResult::NoPort) {
        std::fprintf(stderr, "vellora: %s\n",
                     traceError.empty() ? link::LinkErrorText(session.PortError()) : traceError.c_str());
        return 1;
    }

    // The mode folder beside the program, or the user's own when the program's is read-only;
    // --data-dir puts both elsewhere.
    const storage::ModeFolderChoice folder =
        options.DataDir.isEmpty()
            ? storage::ChooseModeFolder(programDir,
                                        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            : storage::ChooseModeFolder(options.DataDir, QString());
    if (folder.Path.isEmpty())
        std::fprintf(stderr, "vellora: no folder for mode files: %s\n", qPrintable(folder.Error));
    frame.SetEditorSetup(
        [&folder](editor::FrmEQ& editor) { editor.SetModeFolder(folder.Path, folder.Fallback); });

    // Before any whole write, what the device holds there is kept in the snapshot folder.
    storage::SnapshotStore snapshots(storage::SnapshotFolderBeside(folder.Path),
                                     [] { return QDateTime::currentDateTime(); });
    const protocol::SnapshotKeeper keep = [&](const model::ParamTable& image, int mode,
                                              protocol::SnapshotSource source) {
        const storage::SnapshotSaved saved = snapshots.Save(
            image, mode,
            source == protocol::SnapshotSource::WorkingSettings ? storage::SnapshotPart::WorkingSettings
                                                                : storage::SnapshotPart::StoredMode);
        return saved.Ok() ? std::string() : storage::SnapshotFailureText(saved);
    };
    files.SetSnapshotBeforeWrite([&](int mode, QString& error) {
        for (const auto source :
             {protocol::SnapshotSource::StoredMode, protocol::SnapshotSource::WorkingSettings}) {
            const protocol::SnapshotResult taken =
                protocol::TakeSnapshot(session.Transfers(), ws, mode, source, keep);
            if (!taken.Ok()) {
                error = QString::fromStdString(taken.Problem.empty() ? "the device did not answer"
                                                                     : taken.Problem);
                return false;
            }
        }
        return true;
    });

    // The mode manager and the rights window, from the launcher's menu.
    admin::QtModeFileChooser qtModeFiles(&frame, dialogFolder);
    admin::DesktopFolderOpener desktopFolders;
    ScriptModeFiles scriptModeFiles(scriptLines);
    admin::ModeFileChooser& modeFiles = scripted ? static_cast<admin::ModeFileChooser&>(scriptModeFiles)
                                                 : static_cast<admin::ModeFileChooser&>(qtModeFiles);
    admin::FolderOpener& folders = scripted ? static_cast<admin::FolderOpener&>(scriptModeFiles)
                                            : static_cast<admin::FolderOpener&>(desktopFolders);
    admin::BulkProgressTee managerProgress;
    frame.SetManagerProgress(&managerProgress);
    frame.SetProgramManagerOpener([&] {
        admin::ModeManagerContext context{ws,       session,   prompts,          modeFiles,
                                          folders,  snapshots, &managerProgress, folder.Path};
        context.files = &files;
        (void)admin::FrmProgramManager::Open(context, &frame);
    });
    frame.SetRightsWindowOpener([&] { (void)admin::FrmProgram2::Open(ws, session, prompts, &frame); });

    const QSize screen = offscreen ? options.Size * 3 / 2
                                   : QGuiApplication::primaryScreen()->availableGeometry().size();
    frame.Load(screen);
    if (offscreen) frame.resize(frame.size() - frame.Editor()->size() + options.Size);
    frame.show();
    if (scripted) {
        ScriptHost host{ws,
                        [&] { return session.Link().LinkUp(); },
                        [&] { return session.Link().LinkUp() && syncedSinceUp; },
                        [&] { return !session.Channel().Idle(); },
                        [&frame] { frame.close(); }};
        driver = std::make_unique<ScriptDriver>(scriptLines, std::move(host));
        int scriptStatus = 0;
        driver->SetEnded([&](int s) { scriptStatus = s; });
        driver->Start();
        const int exitStatus = QApplication::exec();
        driver.reset();
        return scriptStatus != 0 ? scriptStatus : exitStatus;
    }
    if (!offscreen) return QApplication::exec();

    // Offscreen: link up, synchronise, show the page, take the picture.
    QElapsedTimer waited;
    waited.start();
    while (!options.Unlinked && !synchronised && waited.elapsed() < kScreenshotLinkMs && !ended)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (!frame.EditorOpen() || (!synchronised && !options.Unlinked)) {
        const link::DeviceState lastState = frame.LastDeviceState();
        const bool found = lastState == link::DeviceState::Open || lastState == link::DeviceState::Searching;
        std::fprintf(stderr, "vellora: the device did not link up and synchronise within %d s%s%s\n",
                     kScreenshotLinkMs / 1000, found ? "" : ": ",
                     found ? "" : link::DeviceStateText(lastState));
        return 1;
    }
    // A synchronisation that stopped (the device went silent, a reply of the wrong size) has
    // said why on stderr; the page would show a half-read store, so no picture.
    if (!options.Unlinked && terminalPrompts.Shown() > 0) {
        std::fprintf(stderr, "vellora: the synchronisation did not complete; no picture written\n");
        return 1;
    }
    editor::FrmEQ& window = *frame.Editor();
    window.SelectPage(options.Page);
    if (options.Page == editor::kEffectsPage) window.SelectEffectView(options.View);
    QWidget* shown = &window;
    if (options.Window == "main") {
        shown = &frame;
    } else if (options.Window == "set") {
        frame.CmdStartupSettings();
        shown = frame.SettingsWindow();
    } else if (options.Window == "rec") {
        frame.OpenRecordWindow();
        shown = frame.RecordWindow();
    } else if (options.Window == "effect") {
        frame.OpenEffectWindow();
        shown = frame.EffectWindow();
    } else if (options.Window == "manager" || options.Window == "rights") {
        if (options.Window == "manager")
            frame.CmdProgramSetup();
        else
            frame.CmdPrePassManager();
        QCoreApplication::processEvents();
        shown = options.Window == "manager"
                    ? static_cast<QWidget*>(frame.findChild<admin::FrmProgramManager*>())
                    : static_cast<QWidget*>(frame.findChild<admin::FrmProgram2*>());
    }
    QCoreApplication::processEvents();
    const QPixmap picture = shown ? shown->grab() : QPixmap();
    // Only a plain file is written: a pipe nobody reads would hold the save for ever.
    const QFileInfo target(options.Screenshot);
    if (target.exists() && !target.isFile()) {
        std::fprintf(stderr, "vellora: cannot write the picture %s: not a regular file\n",
                     qPrintable(options.Screenshot));
        return 1;
    }
    if (picture.isNull() || !picture.save(options.Screenshot, "PNG")) {
        std::fprintf(stderr, "vellora: cannot write the picture %s\n",
                     qPrintable(options.Screenshot));
        return 1;
    }
    return 0;
}

}  // namespace vellora::app
