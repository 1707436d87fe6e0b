// The numbered pictures of the editing controls: slider beds, fills and thumbs, the band
// strip's parts, the knob, flag-button looks and the list box faces. Sizes in logical pixels.
#pragma once

namespace vellora::graph {
class PictureStore;
}

namespace vellora::controls {

namespace pic {
// Slider: fader (form 0).
inline constexpr int kFaderBed = 104;
inline constexpr int kFaderFill = 103;  ///< the lit part below the thumb
inline constexpr int kThumb = 102;      ///< also drawn into the fader's thumb size
inline constexpr int kThumbFocus = 270;
inline constexpr int kThumbLocked = 107;
inline constexpr int kValuePlate = 269;
inline constexpr int kFlagSet = 308;  ///< and 309 pressed
inline constexpr int kFlagSetPressed = 309;
inline constexpr int kFlagClear = 310;  ///< and 311 pressed
inline constexpr int kFlagClearPressed = 311;
// Slider: band strip (form 1), short (c = 0) and tall (c = 1).
inline constexpr int kStripBed = 113;
inline constexpr int kStripBedTall = 374;
inline constexpr int kStripFill = 112;
inline constexpr int kStripFillTall = 375;
inline constexpr int kStripFillScene = 276;
inline constexpr int kStripFillSceneTall = 376;
inline constexpr int kStripFillLocked = 272;
inline constexpr int kStripFillLockedTall = 377;
inline constexpr int kBandLabel = 105;       ///< the default label
inline constexpr int kShapeSelected0 = 129;  ///< 129, 131, 133: selected peak / low / high shelf
inline constexpr int kShapeLocked0 = 300;    ///< 300..302 selected while locked
inline constexpr int kSwitchOn = 294;
inline constexpr int kSwitchOff = 295;
// Slider: horizontal bars.
inline constexpr int kBarBed = 135;
inline constexpr int kBarFill = 136;  ///< with 271 locked, 275 second scene
inline constexpr int kBarFillLocked = 271;
inline constexpr int kBarFillScene = 275;
inline constexpr int kBarBedLow = 140;
inline constexpr int kBarLowFill = 141;  ///< with 273 locked, 277 second scene
inline constexpr int kBarLowFillLocked = 273;
inline constexpr int kBarLowFillScene = 277;
inline constexpr int kBarThumb = 137;
inline constexpr int kBarThumbLocked = 108;
inline constexpr int kWidePlate = 139;   ///< form 3
inline constexpr int kShortPlate = 138;  ///< form 4
inline constexpr int kSmallPlate = 101;
inline constexpr int kWidePlate2 = 382;  ///< value plate of bars and knob
inline constexpr int kMuteBed = 220;
inline constexpr int kMuteFill = 221;
inline constexpr int kMuteFillMuted = 274;
inline constexpr int kKnob = 182;  ///< turns about its centre
// Flag buttons.
inline constexpr int kOff = 142;  ///< and 143 on
inline constexpr int kOn = 143;
inline constexpr int kOffLocked = 304;
inline constexpr int kOnLocked = 305;
inline constexpr int kSwitchA0 = 378;  ///< two-half switch, left / right
inline constexpr int kSwitchA1 = 379;
inline constexpr int kSwitchB0 = 380;  ///< two-half switch, second style
inline constexpr int kSwitchB1 = 381;
inline constexpr int kSwitchA0Locked = 199;
inline constexpr int kSwitchA1Locked = 198;
inline constexpr int kSwitchB0Locked = 196;
inline constexpr int kSwitchB1Locked = 197;
inline constexpr int kTab0 = 218;  ///< option tabs, 218 off, 219 on
inline constexpr int kTab1 = 219;
inline constexpr int kLinkDown = 361;  ///< connection states 361, 362, 359
inline constexpr int kLinkSearching = 362;
inline constexpr int kLinkUp = 359;
inline constexpr int kSingleLook = 110;
inline constexpr int kCommand = 312;  ///< command button, 317 while disabled
inline constexpr int kCommandDisabled = 317;
// List box.
inline constexpr int kFaceWide = 150;  ///< also drawn at the narrow faces' size
inline constexpr int kFaceNarrow = 144;
inline constexpr int kDropWide = 151;  ///< 152 pressed
inline constexpr int kDropWidePressed = 152;
inline constexpr int kDropNarrow = 227;  ///< 228 pressed
inline constexpr int kDropNarrowPressed = 228;
inline constexpr int kFaceVeil = 316;  ///< also drawn at the narrow faces' size
}  // namespace pic

struct PictureSizeWH {
    int w = 0, h = 0;
};
/// The natural size of one of the controls' pictures; 0 x 0 for a number that is not theirs.
[[nodiscard]] PictureSizeWH ControlPictureSize(int number);

/// Adds the controls' pictures to the store (replacing any of the same numbers).
void RegisterControlPictures(graph::PictureStore& store);

}  // namespace vellora::controls
