// The editor window's geometry rules: opening place and size, the parts following the size,
// the scene buttons' distances from the right edge and the sizing edges.
#include "editor/window_geometry.h"

#include <gtest/gtest.h>

namespace vellora::editor {
namespace {

TEST(WindowGeometry, OpensAtTheDesignPlaceWithTwoThirdsOfTheRoomBeyondTheMinimum) {
    // 1920 x 1080 at 15 twips per pixel: 970 + 633 by 520 + 373, Top 560 twips.
    EXPECT_EQ(InitialWindowRect(1920, 1080), (Rect{66, 37, 1603, 893}));
    // A screen no taller than 800 pixels opens at Top 50 twips; no room beyond: the minimum.
    EXPECT_EQ(InitialWindowRect(800, 600), (Rect{66, 3, 970, 573}));
    EXPECT_EQ(InitialWindowRect(640, 480), (Rect{66, 3, 970, 520}));
    // 20 twips per pixel converts the twips with the screen's own density.
    EXPECT_EQ(InitialWindowRect(1920, 1080, 20).Y, 28);
    EXPECT_EQ(ClampToMinimum({5, 6, 900, 700}), (Rect{5, 6, 970, 700}));
}

TEST(WindowGeometry, PartsFollowTheInnerSizeAndSceneButtonsTheRightEdge) {
    const EditorLayout l = LayoutFor(1900, 1000);
    EXPECT_EQ(l.Graph.W, 1900 - 15);
    EXPECT_EQ(l.Graph.H, 1000 - 355);
    EXPECT_EQ(l.Strip.Y, l.Graph.Y + l.Graph.H);
    EXPECT_EQ(l.Strip.W, l.Graph.W);
    EXPECT_EQ(l.Title.W, 1900 - 13);
    EXPECT_EQ(l.Pages.Y + l.Pages.H, 1000);
    EXPECT_EQ(LayoutFor(100, 100).Graph.H, 520 - 355);  // never below the minimum

    const SceneButtonLefts b = SceneButtons(1000);
    EXPECT_EQ(b.BassAutoOff, 922);
    EXPECT_EQ(b.BassAutoOn, 960);
    EXPECT_EQ(b.Singing, 846);
    EXPECT_EQ(b.Dance, 884);
    EXPECT_EQ(b.ModeCopy, 775);
    EXPECT_EQ(b.MicCopy, 704);
}

TEST(WindowGeometry, TheEdgeUnderThePointerPicksTheSizing) {
    const Rect w{100, 200, 970, 520};  // right edge x 1069, bottom edge y 719
    const struct {
        int x, y;
        std::string_view name;
    } cases[] = {
        {100, 200, "LeftUp"},   {104, 204, "LeftUp"},    {1069, 719, "RightDown"},
        {1065, 202, "RightUp"}, {98, 717, "LeftDown"},   {103, 400, "Left"},
        {1074, 400, "Right"},   {500, 195, "Up"},        {500, 724, "Down"},
        {106, 400, "Move"},     {500, 206, "Move"},      {1075, 400, "Move"},
        {500, 725, "Move"},     {40, 400, "Move"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EdgeName(EdgeAt(w, c.x, c.y)), c.name) << c.x << "," << c.y;
}

}  // namespace
}  // namespace vellora::editor
