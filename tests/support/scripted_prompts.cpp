// Scripted answers for the link's prompts.
#include "support/scripted_prompts.h"

namespace vellora::protocol::testing {

void ScriptedPrompts::Warning(std::string_view text) {
    messages_.push_back({Kind::Warning, std::string(text)});
}

void ScriptedPrompts::Error(std::string_view text) {
    messages_.push_back({Kind::Error, std::string(text)});
}

bool ScriptedPrompts::Question(std::string_view text) {
    messages_.push_back({Kind::Question, std::string(text)});
    if (answers_.empty()) return default_answer_;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void ScriptedPrompts::AskPassword(PasswordWindow& window) {
    PasswordSession session{window.InputType(), {}};
    while (!window.OK() && !entries_.empty()) {
        const std::string entry = std::move(entries_.front());
        entries_.pop_front();
        session.entries.push_back(window.Submit(entry));
    }
    sessions_.push_back(std::move(session));
}

std::vector<std::string> ScriptedPrompts::Texts(Kind kind) const {
    std::vector<std::string> out;
    for (const Message& m : messages_)
        if (m.kind == kind) out.push_back(m.text);
    return out;
}

}  // namespace vellora::protocol::testing
