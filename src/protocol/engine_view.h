// What the link engine changes on the windows: enabling them around bulk operations, the
// progress bars, the link indicator and switch caption, the full refresh after a
// synchronisation, the tone control, the blinking of the graph, closing and ending.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vellora::protocol {

/// The bulk operations that take over the windows while they run.
enum class BulkOperation : uint8_t {
    Synchronise,  ///< SyncFromDevice: the editor and the launcher disabled, frmRec unloaded
    ReadMode,     ///< ReadModeFromDevice: the editor disabled, frmRec unloaded
    WriteMode,    ///< WriteModeToDevice: the editor disabled
};

class EngineView {
public:
    virtual ~EngineView() = default;

    /// Disables the windows of `operation`, shows the editor's progress bar (and the mode
    /// manager's when it is open).
    virtual void BeginBulk(BulkOperation operation) = 0;
    /// Hides the progress bars and enables the windows again.
    virtual void EndBulk(BulkOperation operation) = 0;
    /// `done` of `total` frames of the running bulk operation are answered.
    virtual void BulkProgress(int done, int total) = 0;
    /// The keep-alive tick (once a second while linked): the shown progress bars advance by
    /// one step.
    virtual void ProgressStep() = 0;

    /// The link indicator cmdConnectStatus: 0 not linked, 1 linked, 2 linking switched off.
    virtual void SetConnectStatus(int value) = 0;
    /// The caption of the link switch Command1: "联机开启" or "联机关闭".
    virtual void SetSwitchCaption(std::string_view caption) = 0;

    /// After the blocks of a synchronisation: the upper limits (MaxValue) of the master
    /// sliders MyScrollBar 0, 1, 2, from the Values of 2568, 2569, 2570.
    virtual void SetMasterLimits(const std::array<int32_t, 3>& limits) = 0;
    /// The end of every synchronisation: CurrentScene and BassAutoControl are already set
    /// from 2590 and 2591; the scene and bass buttons follow them and every control reloads
    /// from the store.
    virtual void FullRefresh() = 0;
    /// Empties the undo history (after every bulk operation).
    virtual void ClearUndo() = 0;

    /// The device sent the tone-key byte: the tone control shows 5 (no shift).
    virtual void ToneKeyReset() = 0;
    /// The blink phase of the response graph flipped; the graph redraws its blinking element.
    virtual void BlinkToggled(bool phase) = 0;

    /// Exit: stops the editor's own timers (the engine stops the link tick itself).
    virtual void StopEditorTimers() = 0;
    /// Exit: closes the editor window (at once, or 700 ms after a wait was interrupted).
    virtual void CloseEditor() = 0;
    /// The access check at connect failed: closes the launcher, which ends the program.
    virtual void EndProgram() = 0;
};

}  // namespace vellora::protocol
