// Page geometry from the page tables.
#include "editor/page_layout.h"

#include <algorithm>

namespace vellora::editor {

namespace {

constexpr int kStripWidth = 43;
constexpr int kBandStripHeight = 178;
constexpr int kStripGap = 8;  // between the strips and the grid beside them
constexpr int kOptionTabPitch = 44;

bool IsButton(const ControlDecl& d) {
    return d.Array != ControlArray::MyScrollBar && d.Array != ControlArray::MyComboBox;
}

// Another (slider or list) row in the same cell: the button then rides on the caption line.
bool SharesCell(const ControlDecl& d) {
    for (const ControlDecl& o : PageControls())
        if (&o != &d && !IsButton(o) && o.Page == d.Page && o.Where == d.Where &&
            o.Col == d.Col && o.Row == d.Row)
            return true;
    return false;
}

Rect GridOrigin(const ControlDecl& d) {
    if (d.Where == Region::Side) {
        const StripExtent s = StripsOf(d.Page);
        return {s.Right + kStripGap, kGridMargin, 0, 0};
    }
    if (d.Where == Region::Bottom) {
        const StripExtent s = StripsOf(d.Page);
        return {kGridMargin, s.Bottom + 4, 0, 0};
    }
    return {kGridMargin, kGridMargin, 0, 0};
}

}  // namespace

StripExtent StripsOf(int page) {
    StripExtent e;
    for (const StripRow& row : StripRows()) {
        if (row.Page != page) continue;
        const int shown = page == kEffectsPage ? 5 : row.Count;
        e.Right = std::max(e.Right, (row.Left + row.Pitch * (shown - 1)) / kTwipsPerPixel +
                                        kStripWidth);
        e.Bottom = std::max(e.Bottom, row.Top / kTwipsPerPixel + kBandStripHeight);
    }
    return e;
}

Rect StripRect(const ControlDecl& decl, int w, int h) {
    const StripRow* row = StripRowOf(decl);
    if (!row) return {};
    return {(row->Left + row->Pitch * decl.Col) / kTwipsPerPixel, row->Top / kTwipsPerPixel, w, h};
}

Rect ControlRect(const ControlDecl& d, int w, int h) {
    if (d.Where == Region::Strips) return StripRect(d, w, h);
    if (d.Where == Region::Masters) {
        // The master bar, then its mute key, vertically centred in the strip.
        const int x = kGridMargin + d.Col * kMasterCellWidth;
        if (d.Array == ControlArray::SingleMute) return {x + 185, 5, w, h};
        return {x, 2, w, h};
    }
    const Rect o = GridOrigin(d);
    const int x = o.X + d.Col * kCellWidth;
    const int y = o.Y + d.Row * kCellHeight;
    if (d.Array == ControlArray::OptionFBX || d.Array == ControlArray::OptionFBX2)
        return {x + d.Index * kOptionTabPitch, y + kCaptionHeight, w, h};
    if (IsButton(d) && SharesCell(d)) return {x + kCellWidth - 10 - w, y - 2, w, h};
    if (IsButton(d)) return {x, y + kCaptionHeight, w, h};
    return {x, y + kCaptionHeight, w, h};
}

Rect CaptionRect(const ControlDecl& d) {
    if (d.Where == Region::Strips) return {};
    if (d.Where == Region::Masters) return {};
    const Rect o = GridOrigin(d);
    return {o.X + d.Col * kCellWidth, o.Y + d.Row * kCellHeight, kCellWidth - 10, kCaptionHeight};
}

Rect PageContentRect(int page) {
    int right = 0;
    int bottom = 0;
    for (const ControlDecl& d : PageControls()) {
        if (d.Page != page || d.Where == Region::Dialog) continue;
        if (d.Where == Region::Strips) {
            const StripExtent s = StripsOf(page);
            right = std::max(right, s.Right);
            bottom = std::max(bottom, s.Bottom);
            continue;
        }
        const Rect c = CaptionRect(d);
        right = std::max(right, c.X + kCellWidth - 10);
        bottom = std::max(bottom, c.Y + kCellHeight);
    }
    return {0, 0, right + kGridMargin, bottom};
}

}  // namespace vellora::editor
