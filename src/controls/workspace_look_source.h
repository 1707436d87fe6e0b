// The controls' look source over the process's Workspace.
#pragma once

#include "controls/control_look_source.h"
#include "model/workspace.h"

namespace vellora::controls {

class WorkspaceLookSource final : public ControlLookSource {
public:
    /// `ws` outlives this object.
    explicit WorkspaceLookSource(const model::Workspace& ws) : ws_(ws) {}

    [[nodiscard]] bool ParamLocked(int addr) const override;
    [[nodiscard]] bool BassAutoControl() const override;
    [[nodiscard]] bool IsPerScene(int addr) const override;
    [[nodiscard]] int CurrentScene() const override;
    [[nodiscard]] int32_t MuteValue(int muteIndex) const override;
    [[nodiscard]] bool Closing() const override { return closing_; }

    /// Set by the host's exit command.
    void SetClosing(bool closing) { closing_ = closing; }

private:
    const model::Workspace& ws_;
    bool closing_ = false;
};

}  // namespace vellora::controls
