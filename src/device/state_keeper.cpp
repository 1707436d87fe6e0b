// Loading, delayed saving and the final save of a processor's state folder.
#include "device/state_keeper.h"

#include <QFile>

#include "device/state_file.h"

namespace vellora::device {

StateKeeper::StateKeeper(SimulatedProcessor& processor, model::Clock& clock, QString folder)
    : processor_(processor), clock_(clock), folder_(std::move(folder)) {
    processor_.SetChangeHandler([this] { MarkChanged(); });
}

StateKeeper::~StateKeeper() {
    processor_.SetChangeHandler(nullptr);
    if (save_scheduled_) clock_.Cancel(save_timer_);
    if (dirty_) (void)Save();
}

DeviceError StateKeeper::Load() {
    const DeviceError error = LoadStateFile(folder_, processor_.State());
    if (error == DeviceError::Ok || error == DeviceError::StateNotFound) return error;
    processor_.State().ResetToFactory();
    // Each damaged file keeps its own name; an earlier one is never replaced.
    const QString path = StateFilePath(folder_);
    const QString aside = DamagedCopyName(path);
    if (QFile::rename(path, aside)) damaged_copy_ = aside;
    MarkChanged();
    return error;
}

DeviceError StateKeeper::Save() {
    if (save_scheduled_) {
        clock_.Cancel(save_timer_);
        save_scheduled_ = false;
    }
    const DeviceError error = SaveStateFile(folder_, processor_.State());
    if (error == DeviceError::Ok) dirty_ = false;
    return error;
}

void StateKeeper::MarkChanged() {
    dirty_ = true;
    SaveLater();
}

void StateKeeper::SaveLater() {
    if (save_scheduled_) return;
    save_scheduled_ = true;
    save_timer_ = clock_.CallAfter(kSaveDelayMs, [this] {
        save_scheduled_ = false;
        const DeviceError error = Save();
        if (error != DeviceError::Ok && save_failed_) save_failed_(error);
    });
}

}  // namespace vellora::device
