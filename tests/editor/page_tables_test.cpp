// The page tables against the store: every defined entry of the pages' menu kinds has exactly
// one control, every control sits on the page of its entry, and the indices the window's
// handlers rely on are where they must be.
#include "editor/page_tables.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "model/workspace.h"

namespace vellora::editor {
namespace {

// The entry a row edits: address texts of three fields, or a bare number for the mutes.
int EntryOf(const ControlDecl& d) {
    if (d.Tag.empty()) return -1;
    if (d.Array == ControlArray::MyMute) {
        const std::string hex(d.Tag.substr(2));
        return std::stoi(hex, nullptr, 16);
    }
    return model::ParseAddr(d.Tag);
}

TEST(PageTables, EveryDefinedEntryOfThePagesHasExactlyOneControlOnItsPage) {
    model::Workspace ws;
    ws.LoadDefaults();
    std::map<int, int> bound;
    for (const ControlDecl& d : PageControls()) {
        const int entry = EntryOf(d);
        if (entry < 0) continue;
        ++bound[entry];
        const int kind = entry / 256;
        if (kind < kPageCount) {
            EXPECT_EQ(d.Page, kind) << d.Tag;
            EXPECT_TRUE(ws.ParamStore.Slot(entry, 0)->Defined) << d.Tag;
        }
    }
    for (int kind = 0; kind < kPageCount; ++kind)
        for (int e = ws.MenuKindFirst(kind); e <= ws.MenuKindLast(kind); ++e)
            EXPECT_EQ(bound[e], 1) << "entry " << e;
}

TEST(PageTables, ElementsAreUniqueAndTheHandlersIndicesHoldTheirEntries) {
    std::set<std::pair<int, int>> seen;  // (array, index) of the main window
    std::map<std::pair<ControlArray, int>, int> entryOf;
    for (const ControlDecl& d : PageControls()) {
        if (d.Where == Region::Dialog) continue;
        EXPECT_TRUE(seen.insert({static_cast<int>(d.Array), d.Index}).second)
            << "array " << static_cast<int>(d.Array) << " index " << d.Index;
        entryOf[{d.Array, d.Index}] = EntryOf(d);
    }
    const struct {
        ControlArray array;
        int index;
        int entry;
    } fixed[] = {
        {ControlArray::MyScrollBar, 0, 2560},   {ControlArray::MyScrollBar, 2, 2562},
        {ControlArray::MyScrollBar, 3, 0},      {ControlArray::MyScrollBar, 17, 14},
        {ControlArray::MyScrollBar, 18, 257},   {ControlArray::MyScrollBar, 32, 271},
        {ControlArray::MyScrollBar, 33, 256},   {ControlArray::MyScrollBar, 34, 512},
        {ControlArray::MyScrollBar, 35, 513},   {ControlArray::MyScrollBar, 49, 527},
        {ControlArray::MyScrollBar, 50, 1032},  {ControlArray::MyScrollBar, 59, 1041},
        {ControlArray::MyScrollBar, 72, 1288},  {ControlArray::MyScrollBar, 78, 1294},
        {ControlArray::MyScrollBar, 91, 1543},  {ControlArray::MyScrollBar, 97, 1549},
        {ControlArray::MyScrollBar, 108, 1803}, {ControlArray::MyScrollBar, 112, 1807},
        {ControlArray::MyScrollBar, 135, 781},  {ControlArray::MyScrollBar, 138, 788},
        {ControlArray::MyScrollBar, 139, 784},  {ControlArray::MyScrollBar, 140, 782},
        {ControlArray::MyScrollBar, 157, 776},  {ControlArray::MyScrollBar, 162, 794},
        {ControlArray::MyScrollBar, 167, 799},  {ControlArray::MyScrollBar, 171, 803},
        {ControlArray::MyComboBox, 5, 810},     {ControlArray::MyComboBox, 6, 17},
        {ControlArray::MyMute, 0, 2576},        {ControlArray::MyMute, 5, 2581},
        {ControlArray::SingleMute, 0, 2593},    {ControlArray::SingleMute, 2, 2595},
        {ControlArray::OptionFBX, 0, 277},      {ControlArray::OptionFBX2, 0, 2573},
    };
    for (const auto& f : fixed)
        EXPECT_EQ(entryOf.at({f.array, f.index}), f.entry)
            << "array " << static_cast<int>(f.array) << " index " << f.index;
    for (int i = 0; i < 8; ++i) EXPECT_TRUE(entryOf.contains({ControlArray::MyBTN, i}));
}

TEST(PageTables, BandStripsTakeTheirDesignRowsAndEffectGroups) {
    int strips = 0;
    for (const ControlDecl& d : PageControls()) {
        if (d.Where != Region::Strips) continue;
        ++strips;
        const StripRow* row = StripRowOf(d);
        ASSERT_NE(row, nullptr) << d.Index;
        EXPECT_EQ(d.Form, 1);
        if (d.Page == kEffectsPage) {
            EXPECT_EQ(d.EffectView, (d.Index - 157) / 5);
            EXPECT_EQ(d.Col, (d.Index - 157) % 5);
        } else {
            EXPECT_EQ(d.Col, d.Index - row->FirstIndex);
        }
    }
    EXPECT_EQ(strips, 15 + 15 + 15 + 15 + 10 + 7 + 7 + 5);
    const StripRow* music = nullptr;
    for (const StripRow& r : StripRows())
        if (r.Page == 0) music = &r;
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->Left + music->Pitch * 4, 760 * 4 + 460);  // strip 7 of the music row
    EXPECT_EQ(PageCaption(7), "超低输出");
    EXPECT_TRUE(PageCaption(8).empty());
}

}  // namespace
}  // namespace vellora::editor
