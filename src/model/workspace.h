// The owning object of the process-wide parameter state: the live store, the mode image,
// the menu-kind ranges, the current scene and page, the bass auto control and the locks.
// One instance lives for the whole run and is passed by reference to whoever needs it.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "model/param_store.h"

namespace vellora::model {

/// Fixed entries of menu kind 10 (slot 0 is used for all of them).
namespace entry {
inline constexpr int kMasterSlider0 = 2560;   ///< 2560..2562 the three master sliders
inline constexpr int kPowerOnMode = 2564;
inline constexpr int kMasterLimit0 = 2568;    ///< 2568..2570 upper limits of the master sliders
inline constexpr int kOptionGroupPage2 = 2573;
inline constexpr int kPanelLock = 2574;       ///< automatic panel lock, non-zero = on
inline constexpr int kChannelMute0 = 2576;    ///< 2576..2581
inline constexpr int kBypass0 = 2582;         ///< 2582 + page
inline constexpr int kSceneSelect = 2590;
inline constexpr int kBassAuto = 2591;
inline constexpr int kAdminPassword = 2592;   ///< administrator password in force, non-zero = on
inline constexpr int kSingleMute0 = 2593;     ///< 2593..2595
inline constexpr int kOnOffSetting = 2596;
inline constexpr int kKeyShift = 2598;        ///< 5 = no shift
inline constexpr int kEchoBypass = 2599;
inline constexpr int kReverbBypass = 2600;
}  // namespace entry

/// A field of a SceneSlot, for writes that follow the scene rule field by field.
enum class Field { FilterType, Value, QType, Freq, Gain, Q, ShelfQ, EQdisabled };

/// Reads or writes one field of a slot as a 32-bit value (booleans as 0 / 1).
int32_t GetField(const SceneSlot& slot, Field field);
void SetField(SceneSlot& slot, Field field, int32_t value);

class Workspace {
public:
    Workspace();

    ParamTable ParamStore;  ///< the live settings
    ParamTable ModeImage;   ///< whole-mode transfers and files

    /// Builds the tables and fills the store, the kind ranges and the mode image with the
    /// factory defaults. Everything else of the workspace returns to its start state too.
    void LoadDefaults();

    /// First and last defined ParamIndex of a menu kind; -1 for a kind outside 0..10.
    [[nodiscard]] int MenuKindFirst(int kind) const;
    [[nodiscard]] int MenuKindLast(int kind) const;
    void SetMenuKindLast(int kind, int last);
    /// Number of defined entries of a kind (0 for an unknown kind).
    [[nodiscard]] int MenuKindSize(int kind) const;

    [[nodiscard]] int CurrentScene() const { return current_scene_; }
    /// Selects the scene that is shown and edited (0 or 1; other values are refused).
    bool SetCurrentScene(int scene);
    [[nodiscard]] int CurrentPage() const { return current_page_; }
    bool SetCurrentPage(int page);  ///< 0..10
    /// The subwoofer auto control as the device or the user set it (the Value of entry 2591);
    /// only 1 blocks scene changes and locks the per-scene entries.
    [[nodiscard]] int32_t BassAutoControl() const { return bass_auto_control_; }
    void SetBassAutoControl(int32_t value) { bass_auto_control_ = value; }

    /// The lock byte of a parameter (1 = locked); 0 outside 0..2999.
    [[nodiscard]] uint8_t ParamLocked(int index) const;
    void SetParamLocked(int index, uint8_t locked);
    /// Locked for editing: its lock byte is 1, or the bass auto control is on and it is PerScene.
    [[nodiscard]] bool EditLocked(int index) const;

    /// Value of the current scene slot (0 for an index outside 0..2999).
    [[nodiscard]] int32_t GetValue(int index) const;
    /// Writes the Value of the current scene slot; false when refused.
    bool SetValue(int index, int32_t value);
    /// Writes the current scene slot and, when the entry is not PerScene, the other of slots 0, 1.
    bool SetValueBothScenes(int index, int32_t value);
    /// The same scene rule for any field.
    bool SetFieldBothScenes(int index, Field field, int32_t value);
    /// Writes Value of slots 0 and 1 together, whatever PerScene says.
    bool SetSceneValue(int index, int32_t value);
    [[nodiscard]] bool IsPerScene(int index) const { return ParamStore.IsPerScene(index); }

    /// Copies scene a to scene b in the store (all fields, all records).
    bool CopyScene(int from, int to) { return ParamStore.CopyScene(from, to); }
    /// Copies the microphone settings of menu kind `source` (1 or 2) to `target`, slot 0,
    /// then slot 0 into slot 1 in both kinds.
    bool CopyMicrophones(int source, int target);
    /// Slots 0 and 1 of every store entry into the mode image.
    void CopyStoreToModeImage();

private:
    std::array<int, kMenuKindCount> menu_kind_last_{};
    int current_scene_ = 0;
    int current_page_ = 0;
    int32_t bass_auto_control_ = 0;
    std::array<uint8_t, kParamCount> locked_{};
};

/// Resolves a control's address text ("EQ,1,1", "Group,1,&H15") to a ParamIndex:
/// field 2 x 256 + field 3 (decimal or "&H" hexadecimal); -1 unless there are exactly
/// three fields with numbers that form an index in 0..2999.
int ParseAddr(std::string_view text);

}  // namespace vellora::model
