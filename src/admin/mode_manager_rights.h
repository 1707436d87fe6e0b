// The rights and password frames that frmProgramManager and frmProgram2 share: the user level
// and panel-lock options, the two password checks that enable them, the two password changes,
// and the close operations of both password slots when the window closes.
#pragma once

#include <QObject>
#include <cstdint>

#include "admin/mode_manager_layout.h"
#include "admin/mode_manager_passwords.h"
#include "model/workspace.h"
#include "protocol/command_channel.h"
#include "protocol/prompts.h"

namespace vellora::admin {

class RightsFrames : public QObject {
    Q_OBJECT
public:
    /// The controls come from `map` (fraRights, fraPanelLock, fraPasswords); every reference
    /// outlives this object.
    RightsFrames(const ControlMap& map, model::Workspace& ws, protocol::CommandChannel& channel,
                 protocol::Prompts& prompts, QObject* parent = nullptr);

    /// Loading: the options show entries 2574 and 2592 (nothing is sent), and the options and
    /// the password changes are disabled until a password check is accepted.
    void Load();

    /// Command4 (PasswordSlot 0, 4 digits, Text8) or Command5 (slot 2, 6 digits, Text9).
    void CheckPassword(int32_t slot);
    /// Command6 (slot 2, Text2..Text4) or Command7 (slot 0, Text5..Text7).
    void ChangePassword(int32_t slot);
    /// A click on option `index` (0, 1) of 2574 (Option1) or 2592 (Option2): the store's
    /// slot-0 value, written to the device at once when linked.
    void OptionClicked(int32_t entry, int index);

    /// Closing: the close operation for slot 0 and, once answered, for slot 2, when the link is
    /// up. True when both were answered or the link is down (nothing sent).
    bool CloseOperations();

private:
    void SetEnabled(const char* const* names, bool on);
    void Focus(const char* name);

    const ControlMap& map_;
    model::Workspace& ws_;
    protocol::CommandChannel& channel_;
    protocol::Prompts& prompts_;
    bool loaded_ = false;
};

}  // namespace vellora::admin
