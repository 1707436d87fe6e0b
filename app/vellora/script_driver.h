// Scripting the terminal: commands read line by line (a file or standard input) work the
// windows through the accessibility tree, as a person or a screen reader would; messages,
// questions, the password window and the file windows are written out as lines and answered
// by the script. Installers use it to repeat a set-up; the end-to-end tests use it to drive
// the real program.
#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "admin/file_chooser.h"
#include "admin/mode_manager_chooser.h"
#include "protocol/prompts.h"

class QEventLoop;
class QTimer;

namespace vellora::model {
class Workspace;
}

namespace vellora::app {

/// Splits a script line into words: blanks separate them, double quotes keep blanks inside
/// one word, a backslash keeps the next character as it is. False with `error` for an
/// unclosed quote.
bool SplitScriptLine(const QString& line, QStringList& words, QString& error);

/// The lines a script sends and the lines the terminal writes back. Lines arrive from a
/// reader (a file read at once, or standard input read by a thread of its own) and are taken
/// in order: by the command loop, or by a window that waits for its answer.
class ScriptLines : public QObject {
    Q_OBJECT
public:
    explicit ScriptLines(std::FILE* out);
    ~ScriptLines() override;

    /// Reads every line of `path` now; false with `error` when it cannot be read.
    bool ReadFile(const QString& path, QString& error);
    /// Starts reading standard input; every line reaches the event loop as it comes.
    void ReadStandardInput();
    /// True when the lines come from a file: a failed command then ends the script.
    [[nodiscard]] bool FromFile() const { return from_file_; }

    /// Writes one line (UTF-8) and flushes it.
    void Write(const QString& line);

    /// The next line for the command loop; false when none has come yet.
    bool TakeLine(QString& line);
    /// No line will come any more.
    [[nodiscard]] bool Ended() const { return ended_ && pending_.empty(); }
    /// A window waits for its answer: writes `prompt`, then takes lines until one starts with
    /// "answer"; other lines get a refusal. Runs the event loop meanwhile. Returns the text
    /// after "answer ", or nothing (cancel) when the script ended.
    QString Answer(const QString& prompt);
    [[nodiscard]] bool Answering() const { return answering_ > 0; }

    /// Called whenever a line came, or the input ended.
    void SetArrived(std::function<void()> arrived) { arrived_ = std::move(arrived); }

private:
    void Arrive(const QString& line, bool end);

    std::FILE* out_;
    std::deque<QString> pending_;
    bool ended_ = false;
    bool from_file_ = false;
    int answering_ = 0;
    QEventLoop* waiting_ = nullptr;
    std::function<void()> arrived_;
    struct Reader;
    std::unique_ptr<Reader> reader_;
};

/// Messages, questions and the password window as script lines. The passwords given on the
/// command line are tried first, as everywhere.
class ScriptPrompts : public protocol::Prompts {
public:
    ScriptPrompts(ScriptLines& lines, std::vector<std::string> passwords)
        : lines_(lines), passwords_(std::move(passwords)) {}

    void Warning(std::string_view text) override;  ///< "warning: TEXT", nothing to answer
    void Error(std::string_view text) override;    ///< "error: TEXT", nothing to answer
    /// "question: TEXT", answered "answer yes" or "answer no".
    bool Question(std::string_view text) override;
    /// "password: CAPTION (N digits)", answered "answer DIGITS" until accepted, or
    /// "answer cancel".
    void AskPassword(protocol::PasswordWindow& window) override;

private:
    ScriptLines& lines_;
    std::vector<std::string> passwords_;
};

/// The settings files' open and save windows, the mode manager's, and its folder opener:
/// "choose-open: EXTENSION" / "choose-save: EXTENSION", answered "answer PATH" or
/// "answer cancel"; "open-folder: PATH".
class ScriptFiles : public admin::FileChooser {
public:
    explicit ScriptFiles(ScriptLines& lines) : lines_(lines) {}
    QString ChooseOpenFile(const QString& extension) override;
    QString ChooseSaveFile(const QString& extension) override;

private:
    ScriptLines& lines_;
};

class ScriptModeFiles : public admin::ModeFileChooser, public admin::FolderOpener {
public:
    explicit ScriptModeFiles(ScriptLines& lines) : lines_(lines) {}
    QString ChooseOpenFile(std::string_view extension) override;
    QString ChooseSaveFile(std::string_view extension) override;
    bool OpenFolder(const QString& folder) override;

private:
    ScriptLines& lines_;
};

/// What the driver asks of the terminal beyond the windows.
struct ScriptHost {
    model::Workspace& ws;
    std::function<bool()> linkUp;  ///< the device answered and the link is up
    std::function<bool()> linked;  ///< linked up and synchronised since
    std::function<bool()> busy;    ///< a command or a transfer is waiting for the device
    std::function<void()> quit;    ///< closes the terminal as its exit does
};

/// Runs the script's commands one at a time; each ends with one line, "ok ..." or
/// "failed: ...". The commands are listed by `help`.
class ScriptDriver : public QObject {
    Q_OBJECT
public:
    ScriptDriver(ScriptLines& lines, ScriptHost host);
    ~ScriptDriver() override;

    /// Starts taking commands once the event loop runs.
    void Start();
    /// Commands that failed so far.
    [[nodiscard]] int Failures() const { return failures_; }
    /// Called with the exit status when the script ended (quit, or the end of its lines).
    void SetEnded(std::function<void(int)> ended) { ended_ = std::move(ended); }
    /// Events worth a line of their own ("link: up", "link: lost", "synchronised").
    void Event(const QString& line) { lines_.Write(line); }

private:
    void Next();
    void Run(const QString& line);
    void Finish(bool ok, const QString& text);
    void Poll();
    void EndScript();

    ScriptLines& lines_;
    ScriptHost host_;
    bool running_ = false;
    bool quitting_ = false;
    int failures_ = 0;
    std::function<void(int)> ended_;
    QTimer* poll_ = nullptr;
    std::function<bool()> waiting_for_;
    QDeadlineTimer deadline_;
    QString waiting_text_;
};

}  // namespace vellora::app
