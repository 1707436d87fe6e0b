// The editor window's geometry as plain functions: where it opens, how its parts follow its
// size, where the scene buttons sit, and which edge the pointer is on for sizing.
#pragma once

#include <string_view>

namespace vellora::editor {

struct Rect {
    int X = 0;
    int Y = 0;
    int W = 0;
    int H = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline constexpr int kMinWidth = 970;   ///< pixels
inline constexpr int kMinHeight = 520;  ///< pixels
inline constexpr int kTwipsPerPixel = 15;  ///< at the normal screen density

/// Where the window opens on a screen of `screenW` x `screenH` pixels: Left 1000 twips; Top
/// 2 x (h - 800) twips above 800 pixels of screen height, else 50 twips; the minimum size
/// plus two thirds of the screen beyond it. `twipsPerPixel` converts the twips.
[[nodiscard]] Rect InitialWindowRect(int screenW, int screenH,
                                     int twipsPerPixel = kTwipsPerPixel);

/// A size held to the minimum in each dimension.
[[nodiscard]] Rect ClampToMinimum(Rect r);

/// The parts that follow the window's inner size: the graph (Picture1) below the title
/// strip, the strip (Picture4) at the graph's bottom edge with the graph's width, the title
/// strip (Picture2), and the page area below the strip.
struct EditorLayout {
    Rect Title;
    Rect Graph;
    Rect Strip;
    Rect Pages;
};
inline constexpr int kTitleHeight = 28;
inline constexpr int kStripHeight = 32;
inline constexpr int kGraphWidthMargin = 15;   ///< the graph is the inner width less this
inline constexpr int kGraphHeightMargin = 355; ///< the graph is the inner height less this
[[nodiscard]] EditorLayout LayoutFor(int innerW, int innerH);

/// The command buttons that keep fixed distances from the right edge of the strip picture
/// (width `stripW`); their left edges.
struct SceneButtonLefts {
    int BassAutoOff;  ///< cmdBassAutoControl2(0): W - 78
    int BassAutoOn;   ///< cmdBassAutoControl2(1): W - 40
    int Singing;      ///< cmdBassMode(0): W - 154
    int Dance;        ///< cmdBassMode(1): W - 116
    int ModeCopy;     ///< cmdModeCopy: W - 225
    int MicCopy;      ///< MBtnFlag3: W - 296
};
[[nodiscard]] SceneButtonLefts SceneButtons(int stripW);

/// The window edge under the pointer, as tmrMoveWindow records it.
enum class Edge { Move, Left, Right, Up, Down, LeftUp, RightUp, LeftDown, RightDown };
inline constexpr int kEdgeGrip = 5;  ///< pixels from an edge line or corner
/// `x`, `y` in screen pixels; `window` the window's rectangle on the screen.
[[nodiscard]] Edge EdgeAt(const Rect& window, int x, int y);
/// "Left", "Right", "Up", "Down", "LeftUp", "RightUp", "LeftDown", "RightDown" or "Move".
[[nodiscard]] std::string_view EdgeName(Edge edge);

}  // namespace vellora::editor
