// The link's messages, questions and the CmdPassword window as the user sees them: Qt message
// boxes with the exclamation or critical icon, and a small modal window for the password.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include "protocol/password_window.h"
#include "protocol/prompts.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vellora::editor {

/// CmdPassword: the caption, a label, an entry showing "*" for each character and the "确定"
/// button; the button or Enter submits the entry to the password logic, which keeps the window
/// open (focus back in the entry, its text selected) until the device accepts a password.
class CmdPassword : public QDialog {
    Q_OBJECT
public:
    CmdPassword(protocol::PasswordWindow& logic, QWidget* parent);
    [[nodiscard]] QLineEdit* Entry() const { return entry_; }
    [[nodiscard]] QPushButton* Button() const { return button_; }
    /// The button or Enter.
    void Confirm();

private:
    protocol::PasswordWindow& logic_;
    QLineEdit* entry_ = nullptr;
    QPushButton* button_ = nullptr;
};

class QtPrompts : public protocol::Prompts {
public:
    /// Message boxes are shown over `parent` (may be null, or change later).
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    void Warning(std::string_view text) override;
    void Error(std::string_view text) override;
    bool Question(std::string_view text) override;
    void AskPassword(protocol::PasswordWindow& window) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace vellora::editor
