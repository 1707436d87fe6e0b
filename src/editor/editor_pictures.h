// The editor window's own pictures: page tabs, command keys, the key-shift looks, scene and
// window buttons, drawn in the controls' console style under numbers 401 and up.
#pragma once

namespace vellora::graph {
class PictureStore;
}

namespace vellora::editor {

namespace pic {
inline constexpr int kTab0 = 401;         ///< page p: kTab0 + 2p (off), + 1 (on); 56 x 32
inline constexpr int kUndo = 420;         ///< released, pressed
inline constexpr int kRedo = 422;
inline constexpr int kBypass = 424;       ///< off, on
inline constexpr int kReset = 426;        ///< released, pressed
inline constexpr int kTone0 = 430;        ///< "Key: -5" .. "Key: +5": kTone0 + key
inline constexpr int kRecord = 441;       ///< released, pressed
inline constexpr int kSinging = 445;      ///< off, on
inline constexpr int kDance = 447;
inline constexpr int kAutoOff = 449;
inline constexpr int kAutoOn = 451;
inline constexpr int kModeCopy = 453;     ///< released, pressed
inline constexpr int kMicCopy = 455;
inline constexpr int kMinimise = 457;
inline constexpr int kExit = 459;
inline constexpr int kSwitchOn = 461;     ///< "联机开启", "联机关闭"
inline constexpr int kEffectWindow = 464; ///< usable, greyed
inline constexpr int kMute = 466;         ///< a master's mute: off, on (muted)
inline constexpr int kOption0 = 470;      ///< option key n (0..3): kOption0 + 2n (off), + 1 (on)
inline constexpr int kView0 = 478;        ///< effect view v (0..2): kView0 + 2v (off), + 1 (on)
inline constexpr int kLast = 483;
}  // namespace pic

/// Registers the editor's pictures (once per store).
void RegisterEditorPictures(graph::PictureStore& store);

}  // namespace vellora::editor
