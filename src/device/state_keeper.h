// Keeps a simulated processor's state in its state folder: loads it once, saves it a short
// while after the device changed something, and once more when it goes away.
#pragma once

#include <QString>
#include <functional>

#include "device/device_error.h"
#include "device/simulated_processor.h"
#include "model/clock.h"

namespace vellora::device {

class StateKeeper {
public:
    /// Time from the first unsaved change to the save, in ms.
    static constexpr int kSaveDelayMs = 300;

    /// Takes over the processor's change handler. The processor and the clock must outlive
    /// the keeper.
    StateKeeper(SimulatedProcessor& processor, model::Clock& clock, QString folder);
    /// Saves when changes are still unsaved.
    ~StateKeeper();
    StateKeeper(const StateKeeper&) = delete;
    StateKeeper& operator=(const StateKeeper&) = delete;

    /// Loads the folder's state into the processor. Ok, or StateNotFound for a fresh folder
    /// (the processor keeps its state). For a damaged or unreadable file the processor goes
    /// back to the factory state, the file is kept aside (DamagedCopy) and the error returned;
    /// the next save writes a good file.
    [[nodiscard]] DeviceError Load();
    /// Writes the state now. Ok or StateWriteFailed.
    [[nodiscard]] DeviceError Save();
    /// For changes the owner made through the processor's State(): saved like the device's own.
    void MarkChanged();

    [[nodiscard]] bool HasUnsavedChanges() const { return dirty_; }
    [[nodiscard]] const QString& Folder() const { return folder_; }
    /// Where the last damaged file was kept; empty when none was.
    [[nodiscard]] const QString& DamagedCopy() const { return damaged_copy_; }
    /// Called when a save that the keeper started by itself fails.
    void SetSaveFailedHandler(std::function<void(DeviceError)> handler) {
        save_failed_ = std::move(handler);
    }

private:
    void SaveLater();

    SimulatedProcessor& processor_;
    model::Clock& clock_;
    QString folder_;
    QString damaged_copy_;
    bool dirty_ = false;
    bool save_scheduled_ = false;
    model::TimerId save_timer_ = 0;
    std::function<void(DeviceError)> save_failed_;
};

}  // namespace vellora::device
