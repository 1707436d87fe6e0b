// Prompts answered from a script instead of a person: every message is recorded, questions
// take the next scripted answer, and the password window is fed the scripted entries in
// order. The test double of the link's Prompts.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/password_window.h"
#include "protocol/prompts.h"

namespace vellora::protocol::testing {

class ScriptedPrompts : public Prompts {
public:
    enum class Kind { Warning, Error, Question };
    struct Message {
        Kind kind;
        std::string text;
        friend bool operator==(const Message&, const Message&) = default;
    };
    /// One showing of the password window: its input type and what each entry became.
    struct PasswordSession {
        PasswordInputType type;
        std::vector<PasswordEntry> entries;
    };

    void Warning(std::string_view text) override;
    void Error(std::string_view text) override;
    /// Takes the next scripted answer; without one, the default answer.
    bool Question(std::string_view text) override;
    /// Submits the scripted entries in order until one is accepted or none is left; then the
    /// window closes.
    void AskPassword(PasswordWindow& window) override;

    void AddAnswer(bool yes) { answers_.push_back(yes); }
    void SetDefaultAnswer(bool yes) { default_answer_ = yes; }
    void AddPasswordEntry(std::string entry) { entries_.push_back(std::move(entry)); }

    [[nodiscard]] const std::vector<Message>& Messages() const { return messages_; }
    [[nodiscard]] std::vector<std::string> Texts(Kind kind) const;
    [[nodiscard]] const std::vector<PasswordSession>& PasswordSessions() const { return sessions_; }
    void ClearRecord() {
        messages_.clear();
        sessions_.clear();
    }

private:
    std::deque<bool> answers_;
    bool default_answer_ = false;
    std::deque<std::string> entries_;
    std::vector<Message> messages_;
    std::vector<PasswordSession> sessions_;
};

}  // namespace vellora::protocol::testing
