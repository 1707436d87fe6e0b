// Scripting the terminal: the script's lines, its answers to the windows, and its commands
// worked through the accessibility tree.
#include "vellora/script_driver.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleEditableTextInterface>
#include <QAccessibleInterface>
#include <QAccessibleTableInterface>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMetaEnum>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

#include "model/param_store.h"
#include "model/workspace.h"
#include "protocol/password_window.h"

namespace vellora::app {

namespace {

constexpr int kPumpMs = 10;
constexpr int kPollMs = 20;
constexpr int kDefaultWaitSeconds = 15;
constexpr int kMaxWaitSeconds = 3600;
constexpr int kMaxLineBytes = 64 * 1024;
constexpr int kMaxDepth = 64;
constexpr int kDragSteps = 8;

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A line written back stays one line whatever the text holds.
QString OneLine(QString text) {
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return text;
}

const char* const kHelp[] = {
    "commands (NAME is an accessible name; A::B finds B inside A; a final * matches the rest):",
    "  list [NAME]                 the accessible objects shown, with role, name and value",
    "  value NAME                  the object's value",
    "  describe NAME               its role and description (a parameter's address)",
    "  set NAME VALUE              sets a slider, list or text box as the user would",
    "  press NAME                  presses a button, key or list entry",
    "  select NAME [add]           selects a list entry alone, or adds it to the selection",
    "  type NAME TEXT              replaces the text of a text box",
    "  key NAME KEY [COUNT]        presses and releases KEY (Up, Home, Q, Ctrl+Z ...) on NAME",
    "  click NAME [right]          clicks the middle of NAME",
    "  drag NAME DX DY [right]     drags from the middle of NAME by DX, DY pixels",
    "  menu MENU/ENTRY             chooses a menu entry of the main window",
    "  wait linked|unlinked|idle [SECONDS]",
    "                              waits for the link and synchronisation, its loss, or the end",
    "                              of the device's work (15 s unless given)",
    "  entry INDEX [SLOT]          a parameter entry as the terminal holds it",
    "  screenshot PNG [NAME]       the picture of NAME's window (the main window by default)",
    "  sleep MS                    lets the terminal run for MS milliseconds",
    "  help, quit",
    "windows answer with: answer yes|no, answer DIGITS|cancel, answer PATH|cancel",
};

// ---- the accessibility tree ----

bool NameMatches(const QString& name, const QString& pattern) {
    if (pattern.endsWith(QLatin1Char('*'))) return name.startsWith(pattern.chopped(1));
    return name == pattern;
}

// By the name the tree gives, or the name the program set (Qt's list boxes on Linux give
// their current item as their name and leave the set name to a label relation).
bool Matches(QAccessibleInterface* i, const QString& pattern) {
    if (NameMatches(i->text(QAccessible::Name), pattern)) return true;
    const auto* w = qobject_cast<const QWidget*>(i->object());
    return w && !w->accessibleName().isEmpty() && NameMatches(w->accessibleName(), pattern);
}

bool Shown(QAccessibleInterface* i) {
    return i && i->isValid() && !i->state().invisible;
}

// The windows to search: a modal one alone when there is one, else the newest windows first.
QList<QAccessibleInterface*> Roots() {
    QList<QAccessibleInterface*> roots;
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (QAccessibleInterface* i = QAccessible::queryAccessibleInterface(modal)) roots << i;
        return roots;
    }
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget* w = *it;
        if (!w->isVisible() || qobject_cast<QMenu*>(w)) continue;
        if (QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w)) roots << i;
    }
    return roots;
}

QAccessibleInterface* FindBelow(QAccessibleInterface* root, const QString& pattern, int depth) {
    if (depth > kMaxDepth) return nullptr;
    const int count = root->childCount();
    for (int k = 0; k < count; ++k) {
        QAccessibleInterface* child = root->child(k);
        if (!Shown(child)) continue;
        if (Matches(child, pattern)) return child;
        if (QAccessibleInterface* found = FindBelow(child, pattern, depth + 1)) return found;
    }
    return nullptr;
}

QAccessibleInterface* Find(const QString& path, QString& problem) {
    const QStringList parts = path.split(QStringLiteral("::"));
    QAccessibleInterface* at = nullptr;
    for (const QString& part : parts) {
        if (part.isEmpty()) {
            problem = QStringLiteral("an empty name in \"%1\"").arg(path);
            return nullptr;
        }
        QAccessibleInterface* found = nullptr;
        if (!at) {
            for (QAccessibleInterface* root : Roots()) {
                found = Matches(root, part) ? root : FindBelow(root, part, 0);
                if (found) break;
            }
        } else {
            found = FindBelow(at, part, 0);
        }
        if (!found) {
            problem = QStringLiteral("nothing shown is named \"%1\"").arg(part);
            return nullptr;
        }
        at = found;
    }
    return at;
}

// The widget an object belongs to (a list entry or a graph handle belongs to its view).
QWidget* WidgetOf(QAccessibleInterface* i) {
    for (QAccessibleInterface* a = i; a; a = a->parent()) {
        if (auto* w = qobject_cast<QWidget*>(a->object())) return w;
        if (!a->parent() || a->parent() == a) break;
    }
    return nullptr;
}

QString RoleName(QAccessible::Role role) {
    const char* key = QMetaEnum::fromType<QAccessible::Role>().valueToKey(role);
    return key ? QString::fromLatin1(key) : QString::number(role);
}

QString ValueOf(QAccessibleInterface* i) {
    if (QAccessibleValueInterface* v = i->valueInterface()) return v->currentValue().toString();
    return i->text(QAccessible::Value);
}

void ListBelow(QAccessibleInterface* root, int depth, QStringList& out) {
    if (depth > kMaxDepth) return;
    const int count = root->childCount();
    for (int k = 0; k < count; ++k) {
        QAccessibleInterface* child = root->child(k);
        if (!Shown(child)) continue;
        const QString name = child->text(QAccessible::Name);
        const QString value = ValueOf(child);
        if (!name.isEmpty() || !value.isEmpty()) {
            QString line = QString(depth * 2 + 2, QLatin1Char(' ')) + RoleName(child->role()) +
                           QStringLiteral(" \"") + name + QLatin1Char('"');
            if (!value.isEmpty()) line += QStringLiteral(" = ") + value;
            if (child->state().disabled) line += QStringLiteral(" (disabled)");
            if (child->state().selected) line += QStringLiteral(" (selected)");
            out << OneLine(line);
        }
        ListBelow(child, name.isEmpty() && value.isEmpty() ? depth : depth + 1, out);
    }
}

// ---- mouse and keys ----

void SendMouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

bool ReadInt(const QString& text, int low, int high, int& out) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high) return false;
    out = v;
    return true;
}

QString SlotText(const model::SceneSlot& s) {
    if (s.FilterType == model::kEqBand)
        return QStringLiteral("band shape %1 freq %2 gain %3 q %4 shelfq %5")
            .arg(s.QType)
            .arg(s.Freq)
            .arg(s.Gain)
            .arg(s.Q)
            .arg(s.ShelfQ);
    return QStringLiteral("value %1").arg(s.Value);
}

}  // namespace

bool SplitScriptLine(const QString& line, QStringList& words, QString& error) {
    words.clear();
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('\\') && i + 1 < line.size()) {
            word += line[++i];
            inWord = true;
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && c.isSpace()) {
            if (inWord) words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) {
        error = QStringLiteral("a quote is not closed");
        return false;
    }
    if (inWord) words << word;
    return true;
}

// ---- the lines ----

// Standard input is read by a thread of its own; the event loop collects what it read.
struct ScriptLines::Reader {
    struct Shared {
        std::mutex lock;
        std::deque<std::string> lines;
        bool ended = false;
    };
    std::shared_ptr<Shared> shared = std::make_shared<Shared>();
    std::thread thread;
    QTimer* pump = nullptr;
};

ScriptLines::ScriptLines(std::FILE* out) : out_(out) {}

ScriptLines::~ScriptLines() {
    // The reader may be blocked in a read that only the end of the input ends; the process
    // ends without it.
    if (reader_ && reader_->thread.joinable()) reader_->thread.detach();
}

bool ScriptLines::ReadFile(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read the script %1: %2").arg(path, file.errorString());
        return false;
    }
    from_file_ = true;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(kMaxLineBytes);
        pending_.push_back(QString::fromUtf8(line).trimmed());
    }
    ended_ = true;
    return true;
}

void ScriptLines::ReadStandardInput() {
    reader_ = std::make_unique<Reader>();
    std::shared_ptr<Reader::Shared> shared = reader_->shared;
    reader_->thread = std::thread([shared] {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (line.size() > static_cast<std::size_t>(kMaxLineBytes)) line.resize(kMaxLineBytes);
            const std::lock_guard<std::mutex> hold(shared->lock);
            shared->lines.push_back(line);
        }
        const std::lock_guard<std::mutex> hold(shared->lock);
        shared->ended = true;
    });
    reader_->pump = new QTimer(this);
    connect(reader_->pump, &QTimer::timeout, this, [this] {
        std::deque<std::string> taken;
        bool end = false;
        {
            const std::lock_guard<std::mutex> hold(reader_->shared->lock);
            taken.swap(reader_->shared->lines);
            end = reader_->shared->ended;
        }
        for (const std::string& line : taken) Arrive(QString::fromStdString(line).trimmed(), false);
        if (end && !ended_) {
            reader_->pump->stop();
            Arrive(QString(), true);
        }
    });
    reader_->pump->start(kPumpMs);
}

void ScriptLines::Write(const QString& line) {
    const QByteArray bytes = OneLine(line).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

void ScriptLines::Arrive(const QString& line, bool end) {
    if (end)
        ended_ = true;
    else
        pending_.push_back(line);
    if (waiting_) waiting_->quit();
    if (arrived_) arrived_();
}

bool ScriptLines::TakeLine(QString& line) {
    while (!pending_.empty()) {
        line = pending_.front();
        pending_.pop_front();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#'))) return true;
    }
    return false;
}

QString ScriptLines::Answer(const QString& prompt) {
    Write(prompt);
    ++answering_;
    QString answer;
    for (;;) {
        QString line;
        if (TakeLine(line)) {
            if (line == QLatin1String("answer") || line.startsWith(QLatin1String("answer "))) {
                answer = line.mid(7).trimmed();
                break;
            }
            Write(QStringLiteral("failed: a window waits for its answer: ") + prompt);
            continue;
        }
        if (ended_) break;
        QEventLoop loop;
        QEventLoop* outer = waiting_;
        waiting_ = &loop;
        loop.exec();
        waiting_ = outer;
    }
    --answering_;
    return answer;
}

// ---- the windows ----

void ScriptPrompts::Warning(std::string_view text) {
    lines_.Write(QStringLiteral("warning: ") + Utf8(text));
}

void ScriptPrompts::Error(std::string_view text) {
    lines_.Write(QStringLiteral("error: ") + Utf8(text));
}

bool ScriptPrompts::Question(std::string_view text) {
    for (;;) {
        const QString answer = lines_.Answer(QStringLiteral("question: ") + Utf8(text));
        if (answer == QLatin1String("yes")) return true;
        if (answer == QLatin1String("no") || lines_.Ended()) return false;
        lines_.Write(QStringLiteral("failed: answer yes or no"));
    }
}

void ScriptPrompts::AskPassword(protocol::PasswordWindow& window) {
    for (const std::string& p : passwords_)
        if (p.size() == window.DigitCount() &&
            window.Submit(p) == protocol::PasswordEntry::Accepted)
            return;
    const QString prompt = QStringLiteral("password: %1 (%2 digits)")
                               .arg(Utf8(window.Caption()))
                               .arg(window.DigitCount());
    for (;;) {
        const QString answer = lines_.Answer(prompt);
        if (answer.isEmpty() || answer == QLatin1String("cancel")) return;
        const QByteArray digits = answer.toUtf8();
        const protocol::PasswordEntry result = window.Submit(
            std::string_view(digits.constData(), static_cast<std::size_t>(digits.size())));
        if (result == protocol::PasswordEntry::Accepted) return;
    }
}

namespace {

QString ChosenPath(ScriptLines& lines, const QString& prompt) {
    const QString answer = lines.Answer(prompt);
    return answer == QLatin1String("cancel") ? QString() : answer;
}

}  // namespace

QString ScriptFiles::ChooseOpenFile(const QString& extension) {
    return ChosenPath(lines_, QStringLiteral("choose-open: ") + extension);
}

QString ScriptFiles::ChooseSaveFile(const QString& extension) {
    return ChosenPath(lines_, QStringLiteral("choose-save: ") + extension);
}

QString ScriptModeFiles::ChooseOpenFile(std::string_view extension) {
    return ChosenPath(lines_, QStringLiteral("choose-open: ") + Utf8(extension));
}

QString ScriptModeFiles::ChooseSaveFile(std::string_view extension) {
    return ChosenPath(lines_, QStringLiteral("choose-save: ") + Utf8(extension));
}

bool ScriptModeFiles::OpenFolder(const QString& folder) {
    lines_.Write(QStringLiteral("open-folder: ") + folder);
    return true;
}

// ---- the commands ----

ScriptDriver::ScriptDriver(ScriptLines& lines, ScriptHost host)
    : lines_(lines), host_(std::move(host)) {
    poll_ = new QTimer(this);
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, &ScriptDriver::Poll);
    lines_.SetArrived([this] { QTimer::singleShot(0, this, &ScriptDriver::Next); });
}

ScriptDriver::~ScriptDriver() {
    lines_.SetArrived({});
}

void ScriptDriver::Start() {
    QTimer::singleShot(0, this, &ScriptDriver::Next);
}

void ScriptDriver::Next() {
    if (running_ || quitting_ || lines_.Answering()) return;
    QString line;
    if (lines_.TakeLine(line)) {
        running_ = true;
        Run(line);
        return;
    }
    if (lines_.Ended()) EndScript();
}

void ScriptDriver::Finish(bool ok, const QString& text) {
    running_ = false;
    if (ok) {
        lines_.Write(text.isEmpty() ? QStringLiteral("ok") : QStringLiteral("ok ") + text);
    } else {
        ++failures_;
        lines_.Write(QStringLiteral("failed: ") + text);
        if (lines_.FromFile()) {
            EndScript();
            return;
        }
    }
    QTimer::singleShot(0, this, &ScriptDriver::Next);
}

void ScriptDriver::EndScript() {
    if (quitting_) return;
    quitting_ = true;
    poll_->stop();
    const int status = failures_ > 0 ? 1 : 0;
    if (ended_) ended_(status);
    if (host_.quit) host_.quit();
}

void ScriptDriver::Poll() {
    if (lines_.Answering() || !waiting_for_) return;
    if (waiting_for_()) {
        poll_->stop();
        waiting_for_ = {};
        Finish(true, QString());
    } else if (deadline_.hasExpired()) {
        poll_->stop();
        waiting_for_ = {};
        Finish(false, waiting_text_);
    }
}

void ScriptDriver::Run(const QString& line) {
    QStringList w;
    QString problem;
    if (!SplitScriptLine(line, w, problem)) return Finish(false, problem);
    const QString command = w.value(0);
    const qsizetype n = w.size();
    auto usage = [&](const char* form) { Finish(false, QStringLiteral("usage: ") + form); };
    auto find = [&](const QString& path) {
        QAccessibleInterface* i = Find(path, problem);
        if (!i) Finish(false, problem);
        return i;
    };

    if (command == QLatin1String("help")) {
        for (const char* text : kHelp) lines_.Write(QString::fromUtf8(text));
        return Finish(true, QString());
    }
    if (command == QLatin1String("quit")) {
        if (n != 1) return usage("quit");
        lines_.Write(QStringLiteral("ok"));
        running_ = false;
        return EndScript();
    }
    if (command == QLatin1String("list")) {
        if (n > 2) return usage("list [NAME]");
        QStringList out;
        if (n == 2) {
            QAccessibleInterface* i = find(w[1]);
            if (!i) return;
            ListBelow(i, 0, out);
        } else {
            for (QAccessibleInterface* root : Roots()) {
                out << OneLine(RoleName(root->role()) + QStringLiteral(" \"") +
                               root->text(QAccessible::Name) + QLatin1Char('"'));
                ListBelow(root, 0, out);
            }
        }
        for (const QString& l : out) lines_.Write(l);
        return Finish(true, QString::number(out.size()));
    }
    if (command == QLatin1String("value")) {
        if (n != 2) return usage("value NAME");
        QAccessibleInterface* i = find(w[1]);
        if (!i) return;
        return Finish(true, ValueOf(i));
    }
    if (command == QLatin1String("describe")) {
        if (n != 2) return usage("describe NAME");
        QAccessibleInterface* i = find(w[1]);
        if (!i) return;
        return Finish(
            true, RoleName(i->role()) + QStringLiteral(" | ") + i->text(QAccessible::Description));
    }
    if (command == QLatin1String("set")) {
        if (n != 3) return usage("set NAME VALUE");
        QAccessibleInterface* i = find(w[1]);
        if (!i) return;
        if (i->state().disabled) return Finish(false, w[1] + QStringLiteral(" is disabled"));
        if (QAccessibleValueInterface* v = i->valueInterface()) {
            bool ok = false;
            const double wanted = w[2].toDouble(&ok);
            if (!ok) return Finish(false, QStringLiteral("\"%1\" is not a number").arg(w[2]));
            const double low = v->minimumValue().toDouble();
            const double high = v->maximumValue().toDouble();
            if (wanted < low || wanted > high)
                return Finish(false,
                              QStringLiteral("%1 is outside %2..%3").arg(w[2]).arg(low).arg(high));
            const bool whole = v->currentValue().typeId() == QMetaType::Int;
            v->setCurrentValue(whole ? QVariant(qRound(wanted)) : QVariant(wanted));
            return Finish(true, v->currentValue().toString());
        }
        if (auto* combo = qobject_cast<QComboBox*>(i->object())) {
            const int at = combo->findText(w[2]);
            if (at < 0) return Finish(false, QStringLiteral("%1 offers no \"%2\"").arg(w[1], w[2]));
            combo->setCurrentIndex(at);
            return Finish(true, combo->currentText());
        }
        return Finish(false, w[1] + QStringLiteral(" has no value to set"));
    }
    if (command == QLatin1String("type")) {
        if (n != 3) return usage("type NAME TEXT");
        QAccessibleInterface* i = find(w[1]);
        if (!i) return;
        if (auto* edit = qobject_cast<QLineEdit*>(i->object())) {
            if (!edit->isEnabled() || edit->isReadOnly())
                return Finish(false, w[1] + QStringLiteral(" takes no text now"));
            edit->setText(w[2]);
            return Finish(true, QString());
        }
        if (QAccessibleEditableTextInterface* e = i->editableTextInterface()) {
            const int length = i->textInterface() ? i->textInterface()->characterCount() : 0;
            e->replaceText(0, length, w[2]);
            return Finish(true, QString());
        }
        return Finish(false, w[1] + QStringLiteral(" takes no text"));
    }
    if (command == QLatin1String("press") || command == QLatin1String("select")) {
        const bool adding =
            command == QLatin1String("select") && n == 3 && w[2] == QLatin1String("add");
        if (n != 2 && !adding)
            return usage(command == QLatin1String("press") ? "press NAME" : "select NAME [add]");
        QAccessibleInterface* i = find(w[1]);
        if (!i) return;
        if (i->state().disabled) return Finish(false, w[1] + QStringLiteral(" is disabled"));
        QAccessibleActionInterface* a = i->actionInterface();
        const QStringList actions = a ? a->actionNames() : QStringList();
        if (command == QLatin1String("select")) {
            // As a click on the entry: it alone is selected afterwards (with "add", as a
            // Ctrl+click, the others stay).
            if (!actions.contains(QAccessibleActionInterface::toggleAction()))
                return Finish(false, w[1] + QStringLiteral(" cannot be selected"));
            QAccessibleInterface* list = i->parent();
            if (!adding && list && list->tableInterface()) {
                for (QAccessibleInterface* other : list->tableInterface()->selectedCells()) {
                    if (other == i || !other->actionInterface()) continue;
                    other->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
                }
            }
            if (!i->state().selected) a->doAction(QAccessibleActionInterface::toggleAction());
            return Finish(true, QString());
        }
        // Qt's buttons answer the press action with an animated click that lands 100 ms
        // later; the script's next command must find it done.
        if (auto* button = qobject_cast<QAbstractButton*>(i->object())) {
            const QPointer<QObject> guard(this);
            button->click();
            if (guard) Finish(true, QString());
            return;
        }
        for (const QString& action :
             {QAccessibleActionInterface::pressAction(), QAccessibleActionInterface::toggleAction(),
              QAccessibleActionInterface::showMenuAction()})
            if (actions.contains(action)) {
                const QPointer<QObject> guard(this);
                a->doAction(action);
                if (guard) Finish(true, QString());
                return;
            }
        return Finish(false, w[1] + QStringLiteral(" cannot be pressed"));
    }
    if (command == QLatin1String("key")) {
        if (n != 3 && n != 4) return usage("key NAME KEY [COUNT]");
        int count = 1;
        if (n == 4 && !ReadInt(w[3], 1, 1000, count))
            return Finish(false, QStringLiteral("COUNT is a whole number from 1 to 1000"));
        const QKeySequence sequence = QKeySequence::fromString(w[2]);
        if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown)
            return Finish(false, QStringLiteral("\"%1\" is not one key").arg(w[2]));
        QAccessibleInterface* i = find(w[1]);
        if (!i) return;
        QWidget* target = WidgetOf(i);
        if (!target) return Finish(false, w[1] + QStringLiteral(" takes no keys"));
        target->setFocus(Qt::OtherFocusReason);
        const QKeyCombination key = sequence[0];
        const QString text = key.keyboardModifiers() == Qt::NoModifier && w[2].size() == 1
                                 ? w[2].toLower()
                                 : QString();
        const QPointer<QWidget> guard(target);
        for (int k = 0; k < count && guard; ++k) {
            QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers(), text);
            QCoreApplication::sendEvent(target, &press);
            if (!guard) break;
            QKeyEvent release(QEvent::KeyRelease, key.key(), key.keyboardModifiers(), text);
            QCoreApplication::sendEvent(target, &release);
        }
        return Finish(true, QString());
    }
    if (command == QLatin1String("click") || command == QLatin1String("drag")) {
        const bool drag = command == QLatin1String("drag");
        const qsizetype plain = drag ? 4 : 2;
        if (n != plain && !(n == plain + 1 && w[plain] == QLatin1String("right")))
            return usage(drag ? "drag NAME DX DY [right]" : "click NAME [right]");
        int dx = 0;
        int dy = 0;
        if (drag && (!ReadInt(w[2], -10000, 10000, dx) || !ReadInt(w[3], -10000, 10000, dy)))
            return Finish(false, QStringLiteral("DX and DY are whole numbers of pixels"));
        QAccessibleInterface* i = find(w[1]);
        if (!i) return;
        QWidget* target = WidgetOf(i);
        const QRect rect = i->rect();
        if (!target || rect.isEmpty())
            return Finish(false, w[1] + QStringLiteral(" has no place on the screen"));
        const Qt::MouseButton button = n == plain + 1 ? Qt::RightButton : Qt::LeftButton;
        const QPointF from = target->mapFromGlobal(QPointF(rect.center()));
        const QPointer<QWidget> guard(target);
        SendMouse(target, QEvent::MouseButtonPress, from, button, button);
        for (int k = 1; drag && guard && k <= kDragSteps; ++k)
            SendMouse(target, QEvent::MouseMove,
                      from + QPointF(dx * k / double(kDragSteps), dy * k / double(kDragSteps)),
                      Qt::NoButton, button);
        if (guard)
            SendMouse(target, QEvent::MouseButtonRelease, from + QPointF(dx, dy), button,
                      Qt::NoButton);
        return Finish(true, QString());
    }
    if (command == QLatin1String("menu")) {
        const QStringList path = n == 2 ? w[1].split(QLatin1Char('/')) : QStringList();
        if (path.size() != 2) return usage("menu MENU/ENTRY");
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* main = qobject_cast<QMainWindow*>(top);
            if (!main || !main->isVisible()) continue;
            for (QAction* m : main->menuBar()->actions()) {
                if (!m->menu() || m->text().remove(QLatin1Char('&')) != path[0]) continue;
                for (QAction* entry : m->menu()->actions()) {
                    if (entry->text().remove(QLatin1Char('&')) != path[1]) continue;
                    if (!entry->isEnabled())
                        return Finish(false, w[1] + QStringLiteral(" is disabled"));
                    const QPointer<QObject> guard(this);
                    entry->trigger();
                    if (guard) Finish(true, QString());
                    return;
                }
            }
        }
        return Finish(false, QStringLiteral("no menu entry %1").arg(w[1]));
    }
    if (command == QLatin1String("wait")) {
        int seconds = kDefaultWaitSeconds;
        if ((n != 2 && n != 3) || (n == 3 && !ReadInt(w[2], 0, kMaxWaitSeconds, seconds)))
            return usage("wait linked|unlinked|idle [SECONDS]");
        if (w[1] == QLatin1String("linked")) {
            waiting_for_ = host_.linked;
            waiting_text_ = QStringLiteral("the device did not link up and synchronise");
        } else if (w[1] == QLatin1String("unlinked")) {
            waiting_for_ = [this] { return !host_.linkUp(); };
            waiting_text_ = QStringLiteral("the link is still up");
        } else if (w[1] == QLatin1String("idle")) {
            waiting_for_ = [this] { return !host_.busy(); };
            waiting_text_ = QStringLiteral("the device is still busy");
        } else {
            return usage("wait linked|unlinked|idle [SECONDS]");
        }
        waiting_text_ += QStringLiteral(" within %1 s").arg(seconds);
        deadline_ = QDeadlineTimer(qint64(seconds) * 1000);
        poll_->start();
        return Poll();
    }
    if (command == QLatin1String("sleep")) {
        int ms = 0;
        if (n != 2 || !ReadInt(w[1], 0, kMaxWaitSeconds * 1000, ms)) return usage("sleep MS");
        QTimer::singleShot(ms, this, [this] { Finish(true, QString()); });
        return;
    }
    if (command == QLatin1String("entry")) {
        int index = 0;
        int slot = 0;
        if (n < 2 || n > 3 || !ReadInt(w[1], 0, model::kParamCount - 1, index) ||
            (n == 3 && !ReadInt(w[2], 0, model::kSlotCount - 1, slot)))
            return usage("entry 0..2999 [0..2]");
        const model::SceneSlot* s = host_.ws.ParamStore.Slot(index, slot);
        if (!s || !s->Defined)
            return Finish(false, QStringLiteral("entry %1 is not defined").arg(index));
        return Finish(true, SlotText(*s));
    }
    if (command == QLatin1String("screenshot")) {
        if (n != 2 && n != 3) return usage("screenshot PNG [NAME]");
        QWidget* shown = nullptr;
        if (n == 3) {
            QAccessibleInterface* i = find(w[2]);
            if (!i) return;
            shown = WidgetOf(i);
            if (shown) shown = shown->window();
        } else {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (qobject_cast<QMainWindow*>(top) && top->isVisible()) shown = top;
        }
        if (!shown) return Finish(false, QStringLiteral("no window to take"));
        if (!shown->grab().save(w[1], "PNG"))
            return Finish(false, QStringLiteral("cannot write the picture %1").arg(w[1]));
        return Finish(true, QString());
    }
    Finish(false, QStringLiteral("unknown command \"%1\"; help lists them").arg(command));
}

}  // namespace vellora::app
