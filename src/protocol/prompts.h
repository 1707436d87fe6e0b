// The messages and questions of the device link, and the modal password window: the one
// place where the engine needs the user. The editor shows message boxes and the CmdPassword
// window; tests and the command line answer from a script.
#pragma once

#include <string_view>

namespace vellora::protocol {

class PasswordWindow;

class Prompts {
public:
    virtual ~Prompts() = default;
    /// A message with the exclamation icon; returns when the user has confirmed it. UTF-8,
    /// may hold line breaks.
    virtual void Warning(std::string_view text) = 0;
    /// A message with the critical icon (errors of reading and writing).
    virtual void Error(std::string_view text) = 0;
    /// A Yes/No question; true for Yes.
    virtual bool Question(std::string_view text) = 0;
    /// Shows the CmdPassword window modally for `window` (caption, digit count and slot come
    /// from it). Each entry the user confirms (the button or Enter) goes to window.Submit,
    /// which says whether to put the focus back or that the window closes; closing it any
    /// other way leaves window.OK() false. Returns when the window has closed.
    virtual void AskPassword(PasswordWindow& window) = 0;
};

}  // namespace vellora::protocol
