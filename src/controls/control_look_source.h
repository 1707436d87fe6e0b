// What the controls may read of the parameter store to choose their looks: locks, the scene
// rule, the current scene, a channel's mute and whether the program is closing. Read-only.
#pragma once

#include <cstdint>

namespace vellora::controls {

class ControlLookSource {
public:
    virtual ~ControlLookSource() = default;
    /// The lock byte of a ParamIndex is 1; false for indices outside 0..2999.
    [[nodiscard]] virtual bool ParamLocked(int addr) const = 0;
    /// The bass auto control is on (it locks every parameter kept per scene).
    [[nodiscard]] virtual bool BassAutoControl() const = 0;
    /// The parameter keeps separate values per scene; false outside 0..2999.
    [[nodiscard]] virtual bool IsPerScene(int addr) const = 0;
    /// 0 singing scene, 1 dance scene.
    [[nodiscard]] virtual int CurrentScene() const = 0;
    /// Slot-0 Value of a channel's mute parameter (0 open, 1 muted); 0 outside 0..2999.
    [[nodiscard]] virtual int32_t MuteValue(int muteIndex) const = 0;
    /// The program is shutting down: controls prepare no new backgrounds.
    [[nodiscard]] virtual bool Closing() const = 0;

    /// A slider is locked by its lock byte, or by the bass auto control when kept per scene.
    [[nodiscard]] bool SliderLocked(int addr) const {
        return ParamLocked(addr) || (BassAutoControl() && IsPerScene(addr));
    }
    /// A button or list is locked by its lock byte only, and never while unbound (-1).
    [[nodiscard]] bool ButtonLocked(int addr) const { return addr != -1 && ParamLocked(addr); }
};

}  // namespace vellora::controls
