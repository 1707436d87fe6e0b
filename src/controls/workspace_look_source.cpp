// Reads locks, scenes and mutes from the Workspace.
#include "controls/workspace_look_source.h"

namespace vellora::controls {

bool WorkspaceLookSource::ParamLocked(int addr) const {
    return ws_.ParamLocked(addr) == 1;
}
bool WorkspaceLookSource::BassAutoControl() const {
    return ws_.BassAutoControl() == 1;
}
bool WorkspaceLookSource::IsPerScene(int addr) const {
    return ws_.IsPerScene(addr);
}
int WorkspaceLookSource::CurrentScene() const {
    return ws_.CurrentScene();
}
int32_t WorkspaceLookSource::MuteValue(int muteIndex) const {
    return ws_.ParamStore.ValueAt(muteIndex, 0);
}

}  // namespace vellora::controls
