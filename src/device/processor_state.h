// What the simulated processor remembers: its working settings (both scenes, plus the one set
// of settings that belong to no mode), eleven stored modes with both scenes, the current mode,
// the mode names and the two passwords; and the block and entry transfers on these tables.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "device/device_error.h"
#include "device/mode_names.h"
#include "model/param_store.h"
#include "model/workspace.h"
#include "protocol/wire_format.h"

namespace vellora::device {

/// Digits 0..9 of the administrator and the panel-lock password.
using AdminPassword = std::array<std::uint8_t, protocol::kAdministratorDigits>;
using PanelPassword = std::array<std::uint8_t, protocol::kPanelLockDigits>;

/// Menu kinds kept per mode (0..7); kinds 8..10 belong to no mode.
inline constexpr int kModeKindCount = 8;
/// Source or target of a block transfer: a stored mode 0..10 or the working settings.
inline constexpr int kWorkingSettings = -1;

class ProcessorState {
public:
    /// The factory state on the factory layout.
    ProcessorState();
    /// The factory state on another layout: its store's slots 0 and 1 are the factory values
    /// and its kind ranges say which entries each block carries.
    explicit ProcessorState(const model::Workspace& layout);

    /// Back to the factory values, names and passwords ("000000", "0000"), current mode 0.
    void ResetToFactory();

    [[nodiscard]] const model::Workspace& Layout() const { return layout_; }

    /// The working settings: slot 0 singing, slot 1 dance scene for kinds 0..7; kinds 8..10
    /// (the settings of no mode) live in slot 0 only.
    [[nodiscard]] model::ParamTable& Working() { return working_; }
    [[nodiscard]] const model::ParamTable& Working() const { return working_; }
    /// Stored mode `mode` (0..10), slots 0 and 1 of kinds 0..7; nullptr for other numbers.
    [[nodiscard]] model::ParamTable* Mode(int mode);
    [[nodiscard]] const model::ParamTable* Mode(int mode) const;

    /// The current mode, 0-based.
    [[nodiscard]] int CurrentMode() const { return current_mode_; }
    [[nodiscard]] DeviceError SetCurrentMode(int mode);

    [[nodiscard]] const std::array<ModeName, kModeCount>& Names() const { return names_; }
    [[nodiscard]] DeviceError SetName(int mode, const ModeName& name);
    /// The 132 bytes of the names reply: 11 names of 12 bytes.
    [[nodiscard]] std::array<std::uint8_t, kModeNamesReplyBytes> NamesReply() const;

    [[nodiscard]] const AdminPassword& Administrator() const { return admin_; }
    [[nodiscard]] const PanelPassword& Panel() const { return panel_; }
    /// Exactly 6 (administrator) or 4 (panel) digits 0..9, else BadPassword and no change.
    [[nodiscard]] DeviceError SetAdministrator(std::span<const std::uint8_t> digits);
    [[nodiscard]] DeviceError SetPanel(std::span<const std::uint8_t> digits);

    /// Copies both working scenes of kinds 0..7 into `mode` and makes it the current mode.
    [[nodiscard]] DeviceError SaveWorkingToMode(int mode);
    /// Loads both scenes of kinds 0..7 of `mode` into the working settings and makes it the
    /// current mode (what selecting a mode on the panel does).
    [[nodiscard]] DeviceError RecallMode(int mode);

    /// Bytes of the block of `kind` in the factory layout (0 for a kind outside 0..10).
    [[nodiscard]] std::size_t BlockBytes(int kind) const;

    /// Writes the block of `kind` of scene `scene` (0, 1) of `source` (a mode or
    /// kWorkingSettings) at the start of `out`; kinds 8..10 always come from the working
    /// settings. Returns the bytes written, 0 when the kind, scene or source is refused or
    /// `out` is too small.
    [[nodiscard]] std::size_t ReadBlock(int source, int kind, int scene,
                                        std::span<std::uint8_t> out) const;

    /// Stores a block into scene `scene` of `target`; kinds 8..10 go into the working
    /// settings. An entry that is not kept per scene has one value: it is taken from the
    /// scene-0 block and copied into scene 1; a scene-1 block leaves it alone. False (nothing
    /// stored) for a refused kind, scene or target, or a block of the wrong size.
    [[nodiscard]] bool WriteBlock(int target, int kind, int scene,
                                  std::span<const std::uint8_t> block);

    /// Stores one entry (its 2- or 8-byte wire form) into working scene `scene`; kinds 8..10
    /// into the settings of no mode. An entry not kept per scene is written into both scenes.
    /// False (nothing stored) for an undefined index, a bad scene or a wrong entry size.
    [[nodiscard]] bool WriteEntry(int scene, int index, std::span<const std::uint8_t> entry);

private:
    [[nodiscard]] model::ParamTable* Table(int which);
    [[nodiscard]] const model::ParamTable* Table(int which) const;
    [[nodiscard]] bool ValidKind(int kind) const;

    model::Workspace layout_;  // its store holds the factory values
    model::ParamTable working_;
    std::vector<model::ParamTable> modes_;
    int current_mode_ = 0;
    std::array<ModeName, kModeCount> names_{};
    AdminPassword admin_{};
    PanelPassword panel_{};
};

}  // namespace vellora::device
