// Message boxes and the password window.
#include "editor/qt_prompts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellora::editor {

namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

// Entries of the password window show one "*" per character, whatever the platform's style.
class StarEchoStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_LineEdit_PasswordCharacter) return '*';
        if (hint == QStyle::SH_LineEdit_PasswordMaskDelay) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

const QString kTitle = QStringLiteral("Vellora");

}  // namespace

CmdPassword::CmdPassword(protocol::PasswordWindow& logic, QWidget* parent)
    : QDialog(parent), logic_(logic) {
    setWindowTitle(Utf8(logic.Caption()));
    setModal(true);
    auto* label = new QLabel(Utf8(logic.Label()), this);
    entry_ = new QLineEdit(this);
    entry_->setEchoMode(QLineEdit::Password);
    auto* style = new StarEchoStyle;
    style->setParent(entry_);
    entry_->setStyle(style);
    entry_->setAccessibleName(Utf8(logic.Label()));
    button_ = new QPushButton(Utf8(logic.ButtonCaption()), this);
    button_->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addWidget(entry_, 1);
    row->addWidget(button_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(label);
    column->addLayout(row);
    // Enter presses the default button "确定".
    connect(button_, &QPushButton::clicked, this, &CmdPassword::Confirm);
}

void CmdPassword::Confirm() {
    const QByteArray text = entry_->text().toUtf8();
    const protocol::PasswordEntry result =
        logic_.Submit(std::string_view(text.constData(), static_cast<size_t>(text.size())));
    if (result == protocol::PasswordEntry::Accepted) {
        accept();
        return;
    }
    // Anything else keeps the window: the entry takes the focus back with its text selected.
    entry_->setFocus();
    entry_->selectAll();
}

void QtPrompts::Warning(std::string_view text) {
    QMessageBox::warning(parent_, kTitle, Utf8(text));
}

void QtPrompts::Error(std::string_view text) {
    QMessageBox::critical(parent_, kTitle, Utf8(text));
}

bool QtPrompts::Question(std::string_view text) {
    return QMessageBox::question(parent_, kTitle, Utf8(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void QtPrompts::AskPassword(protocol::PasswordWindow& window) {
    CmdPassword dialog(window, parent_);
    dialog.exec();
}

}  // namespace vellora::editor
