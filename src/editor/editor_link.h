// What the editor window needs of the device link, in the window's own terms: writing a
// parameter, the link switch, the indicator, exit, and what to show in the status line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/param_writer.h"

namespace vellora::editor {

class EditorLink : public storage::ParamWriter {
public:
    /// Command1: switches link searching on, or off (asking to save unsaved changes).
    virtual void SwitchClick() = 0;
    /// cmdConnectStatus: the indicator as a second switch.
    virtual void IndicatorClick() = 0;
    /// cmdExit: the link's exit sequence (the window closes through its lifecycle calls).
    virtual void Exit() = 0;
    /// Starts the link tick and the start-sync timer.
    virtual void StartTimers() = 0;
    /// A command or bulk run is in progress.
    [[nodiscard]] virtual bool Busy() const = 0;
    /// The device's current mode, 0-based.
    [[nodiscard]] virtual int CurrentMode() const = 0;
    /// The tag the device identified itself with; empty before.
    [[nodiscard]] virtual std::string DeviceTag() const = 0;
    /// The device identified itself with variant letter 'B'.
    [[nodiscard]] virtual bool VariantB() const = 0;
    /// The device is the simulated processor in this process.
    [[nodiscard]] virtual bool Simulated() const = 0;
    /// Sets the process's Modified flag (an edit since the last save into a mode).
    virtual void MarkModified() = 0;
};

}  // namespace vellora::editor
