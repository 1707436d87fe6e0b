// The editor window's geometry rules.
#include "editor/window_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace vellora::editor {

namespace {
constexpr int kLeftTwips = 1000;
constexpr int kTopTwipsSmallScreen = 50;
constexpr int kTallScreen = 800;
constexpr int kTitleWidthMargin = 13;

// Two thirds of the room beyond the minimum, in whole pixels.
int Grown(int minimum, int screen) {
    return minimum + std::max(0, screen - minimum) * 2 / 3;
}
}  // namespace

Rect InitialWindowRect(int screenW, int screenH, int twipsPerPixel) {
    const int tpp = std::max(1, twipsPerPixel);
    const int topTwips = screenH > kTallScreen ? 2 * (screenH - kTallScreen) : kTopTwipsSmallScreen;
    return {kLeftTwips / tpp, topTwips / tpp, Grown(kMinWidth, screenW),
            Grown(kMinHeight, screenH)};
}

Rect ClampToMinimum(Rect r) {
    r.W = std::max(r.W, kMinWidth);
    r.H = std::max(r.H, kMinHeight);
    return r;
}

EditorLayout LayoutFor(int innerW, int innerH) {
    const int w = std::max(innerW, kMinWidth);
    const int h = std::max(innerH, kMinHeight);
    EditorLayout l;
    l.Title = {0, 0, w - kTitleWidthMargin, kTitleHeight};
    const int margin = kGraphWidthMargin / 2;
    l.Graph = {margin, kTitleHeight, w - kGraphWidthMargin, h - kGraphHeightMargin};
    l.Strip = {margin, l.Graph.Y + l.Graph.H, l.Graph.W, kStripHeight};
    l.Pages = {margin, l.Strip.Y + l.Strip.H, l.Graph.W, h - (l.Strip.Y + l.Strip.H)};
    return l;
}

SceneButtonLefts SceneButtons(int stripW) {
    return {stripW - 78, stripW - 40, stripW - 154, stripW - 116, stripW - 225, stripW - 296};
}

Edge EdgeAt(const Rect& window, int x, int y) {
    const int left = window.X;
    const int right = window.X + window.W - 1;
    const int top = window.Y;
    const int bottom = window.Y + window.H - 1;
    const bool nearLeft = std::abs(x - left) <= kEdgeGrip;
    const bool nearRight = std::abs(x - right) <= kEdgeGrip;
    const bool nearTop = std::abs(y - top) <= kEdgeGrip;
    const bool nearBottom = std::abs(y - bottom) <= kEdgeGrip;
    const bool withinX = x >= left - kEdgeGrip && x <= right + kEdgeGrip;
    const bool withinY = y >= top - kEdgeGrip && y <= bottom + kEdgeGrip;
    if (nearLeft && nearTop) return Edge::LeftUp;
    if (nearRight && nearBottom) return Edge::RightDown;
    if (nearRight && nearTop) return Edge::RightUp;
    if (nearLeft && nearBottom) return Edge::LeftDown;
    if (nearLeft && withinY) return Edge::Left;
    if (nearRight && withinY) return Edge::Right;
    if (nearTop && withinX) return Edge::Up;
    if (nearBottom && withinX) return Edge::Down;
    return Edge::Move;
}

std::string_view EdgeName(Edge edge) {
    switch (edge) {
        case Edge::Left: return "Left";
        case Edge::Right: return "Right";
        case Edge::Up: return "Up";
        case Edge::Down: return "Down";
        case Edge::LeftUp: return "LeftUp";
        case Edge::RightUp: return "RightUp";
        case Edge::LeftDown: return "LeftDown";
        case Edge::RightDown: return "RightDown";
        case Edge::Move: break;
    }
    return "Move";
}

}  // namespace vellora::editor
