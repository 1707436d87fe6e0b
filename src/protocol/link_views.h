// What the link changes on the windows, split by role. Every call has a harmless default
// (nothing shown), so a front end without windows implements only the roles it shows.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vellora::protocol {

/// The bulk operations that take over the windows while they run.
enum class BulkOperation : uint8_t {
    Synchronise,  ///< the editor and the launcher disabled, the recording window (frmRec) closed
    ReadMode,     ///< the editor disabled, the recording window closed
    WriteMode,    ///< the editor disabled
};

/// Progress: the progress bars of the editor and, when it is open, the mode manager.
class BulkProgressView {
public:
    virtual ~BulkProgressView() = default;
    /// Disables the windows of `operation` and shows the progress bars.
    virtual void BeginBulk(BulkOperation /*operation*/) {}
    /// `done` of `total` frames of the running bulk operation are answered.
    virtual void BulkProgress(int /*done*/, int /*total*/) {}
    /// Hides the progress bars and enables the windows again.
    virtual void EndBulk(BulkOperation /*operation*/) {}
    /// Once a second while linked: the shown progress bars advance by one step.
    virtual void ProgressStep() {}
};

/// The link indicator (cmdConnectStatus) as the user sees it.
enum class ConnectStatus : uint8_t { NotLinked = 0, Linked = 1, SwitchedOff = 2 };

/// Link status: the link indicator and the caption of the link switch.
class LinkStatusView {
public:
    virtual ~LinkStatusView() = default;
    virtual void ShowConnectStatus(ConnectStatus /*status*/) {}
    /// The link switch button (Command1): "联机开启" (searching on) or "联机关闭".
    virtual void ShowSwitchCaption(std::string_view /*caption*/) {}
};

/// The windows follow what the device put into the store.
class StoreRefreshView {
public:
    virtual ~StoreRefreshView() = default;
    /// After the blocks of a synchronisation: the upper limits (MaxValue) of the three master
    /// sliders, from the Values of entries 2568, 2569, 2570.
    virtual void SetMasterSliderLimits(const std::array<int32_t, 3>& /*limits*/) {}
    /// The end of every synchronisation: CurrentScene and BassAutoControl are set already; the
    /// scene and bass buttons follow them and every control reloads from the store.
    virtual void ReloadAllControls() {}
    /// After every whole-mode write and every synchronisation: the undo history is emptied.
    virtual void ClearUndoHistory() {}
    /// The device reset its key shift (tone-key byte): the tone control shows 5 (no shift).
    virtual void ShowToneReset() {}
};

/// The life of the editor and of the program, as the link ends it.
class EditorLifecycle {
public:
    virtual ~EditorLifecycle() = default;
    /// Exit: stops the editor's own timers (the link supervision stops its own).
    virtual void StopEditorTimers() {}
    /// Exit: closes the editor window (at once, or 700 ms after a wait was interrupted).
    virtual void CloseEditor() {}
    /// The access check at link-up failed: closes the launcher, which ends the program.
    virtual void EndProgram() {}
};

}  // namespace vellora::protocol
