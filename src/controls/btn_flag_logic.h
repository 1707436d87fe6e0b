// The flag button's rules without a window: its picture list, the locked and disabled
// picture substitutions, and what a press and a release do by ActionType.
#pragma once

#include <string>
#include <vector>

namespace vellora::controls {

/// ActionType values.
enum BtnAction : int {
    kOnOff = 0,      ///< toggles on press
    kMomentary = 1,  ///< 1 while held, Click on release
    kClickOnly = 2,  ///< Click on press; the host chooses the look through Value
    kTwoHalf = 3,    ///< the half pressed chooses 0 (left) or 1 (right)
    kTwoHalfInverted = 4,
};

/// Splits "142,143" into picture numbers; an entry that is not a whole number becomes 0
/// (draws nothing) so the entries keep their places.
[[nodiscard]] std::vector<int> ParsePictureList(const std::string& text);
/// The picture drawn for a stored value: the list entry, substituted while locked (142, 143,
/// 378, 379, 380, 381 -> 304, 305, 199, 198, 196, 197) or disabled (312 -> 317); 0 when the
/// stored value lies outside the list.
[[nodiscard]] int ButtonPicture(const std::vector<int>& list, int stored, bool locked,
                                bool enabled);

/// The stored value for a host Value: switches (0, 3, 4) keep 0..1, type 4 stores 1 - Value.
[[nodiscard]] int StoredFromValue(int actionType, int value);
/// The host Value of a stored value.
[[nodiscard]] int ValueFromStored(int actionType, int stored);

struct BtnStep {
    int stored = 0;
    bool click = false;  ///< raise Click after storing
};
/// A press at x on a button `width` pixels wide.
[[nodiscard]] BtnStep PressStep(int actionType, int stored, double x, int width);
/// A release.
[[nodiscard]] BtnStep ReleaseStep(int actionType, int stored);

}  // namespace vellora::controls
