// The auxiliary windows' tables against the design: every control's parameter, the windows'
// captions and sizes, frmRec's slider places, and the list tags read as numbers.
#include "admin/aux_tables.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/workspace.h"

namespace vellora::admin {
namespace {

using editor::ControlArray;

std::vector<int> Entries(const AuxWindowDecl& w, ControlArray array) {
    std::vector<int> out;
    for (const editor::ControlDecl& d : w.Controls) {
        if (d.Array != array) continue;
        EXPECT_EQ(d.Index, static_cast<int>(out.size())) << w.Name << " in index order";
        out.push_back(array == ControlArray::MyComboBox ? TagNumber(d.Tag)
                                                        : model::ParseAddr(d.Tag));
    }
    return out;
}

TEST(AuxTablesTest, EveryControlEditsItsParameter) {
    struct Case {
        const AuxWindowDecl& window;
        const char* caption;
        int width, height;
        std::vector<int> sliders, lists;
    };
    const Case cases[] = {
        {FrmSetWindow(), "系统设置", 740, 239, {2568, 2569, 2570, 2565, 2566, 2567}, {2564, 2596}},
        {FrmRecWindow(),
         "录音调节",
         1040,
         630,
         {2048, 2049, 2050, 2051, 2052, 2053, 2054, 2304, 2305, 2306, 2307, 2308, 2309, 2310, 2055,
          2311, 2056, 2312},
         {}},
        {FrmEffectWindow(),
         "专业设置",
         750,
         239,
         {783, 786, 789, 792, 793, 790, 785, 787, 791},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window.Name);
        EXPECT_EQ(c.window.Caption, c.caption);
        EXPECT_EQ(c.window.Width, c.width);
        EXPECT_EQ(c.window.Height, c.height);
        EXPECT_EQ(Entries(c.window, ControlArray::MyScrollBar), c.sliders);
        EXPECT_EQ(Entries(c.window, ControlArray::MyComboBox), c.lists);
    }
    // The power-on mode list offers the ten modes, the on/off list OFF and ON.
    EXPECT_EQ(FrmSetWindow().Controls[6].Form, 2);
    EXPECT_EQ(FrmSetWindow().Controls[7].Form, 4);
}

TEST(AuxTablesTest, RecordingSlidersSitAtTheirDesignPlaces) {
    // Sliders 0..6 at top 1100 twips, 7..13 at 5400, left 1560 + 1243 x column.
    const AuxWindowDecl& w = FrmRecWindow();
    for (int i = 0; i < 14; ++i) {
        const editor::ControlDecl& d = w.Controls[static_cast<size_t>(i)];
        const editor::Rect at = AuxControlRect(w, d, 74, 180);
        EXPECT_EQ(at.X, (1560 + 1243 * (i % 7)) / 15) << i;
        EXPECT_EQ(at.Y, (i < 7 ? 1100 : 5400) / 15) << i;
    }
}

TEST(AuxTablesTest, ListTagsReadAsNumbers) {
    const struct {
        const char* tag;
        int entry;
    } cases[] = {{"&HA04", 2564}, {"&HA24", 2596}, {"&ha25", 2597}, {"2596", 2596},
                 {"", -1},        {"&H", -1},      {"&HXYZ", -1},   {"12a", -1}};
    for (const auto& c : cases) EXPECT_EQ(TagNumber(c.tag), c.entry) << c.tag;
}

}  // namespace
}  // namespace vellora::admin
