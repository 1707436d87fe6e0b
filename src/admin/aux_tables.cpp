// The rows of frmSet and frmRec; frmEffect takes the editor's dialog rows. Captions of
// frmRec are the processor's own names of the recording sources (menu kinds 8 and 9).
#include "admin/aux_tables.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace vellora::admin {

namespace {

using editor::ControlArray;
using editor::ControlDecl;
using editor::Region;

constexpr int kBarForm = 2;     // horizontal bar with its value plate
constexpr int kBarSize = 2;     // HScrollSize 2: 170 x 30
constexpr int kFaderForm = 0;   // vertical fader with flag button, 74 x 180
constexpr int kPercent = 10;    // ValueType 10 with MaxValue 150: 0 .. 200 %
constexpr int kPlainSteps = 0;  // ValueType 0: the value itself
constexpr int kListModes = 2;   // ShowType 2: "模式1" .. "模式10"
constexpr int kListOnOff = 4;   // ShowType 4: "OFF", "ON"

constexpr ControlDecl SetBar(int index, std::string_view tag, int col, int row,
                             std::string_view caption) {
    ControlDecl d{ControlArray::MyScrollBar,
                  index,
                  editor::kEveryPage,
                  tag,
                  kBarForm,
                  kPlainSteps,
                  80,
                  kBarSize};
    d.Where = Region::Dialog;
    d.Col = col;
    d.Row = row;
    d.Caption = caption;
    return d;
}

constexpr ControlDecl SetList(int index, std::string_view tag, int showType, int col,
                              std::string_view caption) {
    ControlDecl d{ControlArray::MyComboBox, index, editor::kEveryPage, tag, showType};
    d.Where = Region::Dialog;
    d.Col = col;
    d.Row = 2;
    d.Caption = caption;
    return d;
}

constexpr ControlDecl RecFader(int index, std::string_view tag, int address, int kind,
                               std::string_view caption) {
    ControlDecl d{
        ControlArray::MyScrollBar, index, editor::kEveryPage, tag, kFaderForm, kPercent, 150};
    d.Where = Region::Dialog;
    d.Col = address;
    d.Row = kind - 8;
    d.Caption = caption;
    return d;
}

// The power-on settings: upper limits above, power-on values below, each under the master
// slider it belongs to; the lists in the bottom row. Lists 2 and 3 of the design, placed out
// of sight and one of them bound twice, are left out.
constexpr std::array kSetControls{
    SetBar(0, "Common,10,8", 0, 0, "1 上限"),       SetBar(1, "Common,10,9", 1, 0, "2 上限"),
    SetBar(2, "Common,10,10", 2, 0, "3 上限"),      SetBar(3, "Common,10,5", 0, 1, "1 开机值"),
    SetBar(4, "Common,10,6", 1, 1, "2 开机值"),     SetBar(5, "Common,10,7", 2, 1, "3 开机值"),
    SetList(0, "&HA04", kListModes, 0, "开机模式"), SetList(1, "&HA24", kListOnOff, 1, "10,&H24"),
};

// Addresses 0..6 of both recording channels in two rows, then addresses 7 and 8 of each.
constexpr std::array kRecControls{
    RecFader(0, "Group,8,0", 0, 8, "音乐音量L"),
    RecFader(1, "Group,8,1", 1, 8, "音乐音量R"),
    RecFader(2, "Group,8,2", 2, 8, "话筒音量"),
    RecFader(3, "Group,8,3", 3, 8, "回声音量L"),
    RecFader(4, "Group,8,4", 4, 8, "回声音量R"),
    RecFader(5, "Group,8,5", 5, 8, "混响音量L"),
    RecFader(6, "Group,8,6", 6, 8, "混响音量R"),
    RecFader(7, "Group,9,0", 0, 9, "音乐音量L"),
    RecFader(8, "Group,9,1", 1, 9, "音乐音量R"),
    RecFader(9, "Group,9,2", 2, 9, "话筒音量"),
    RecFader(10, "Group,9,3", 3, 9, "回声音量L"),
    RecFader(11, "Group,9,4", 4, 9, "回声音量R"),
    RecFader(12, "Group,9,5", 5, 9, "混响音量L"),
    RecFader(13, "Group,9,6", 6, 9, "混响音量R"),
    RecFader(14, "Group,8,7", 7, 8, "录音L通道音量"),
    RecFader(15, "Group,9,7", 7, 9, "录音R通道音量"),
    RecFader(16, "Group,8,8", 8, 8, {}),
    RecFader(17, "Group,9,8", 8, 9, {}),
};

constexpr std::array kRecRows{RowLabel{0, "录音L"}, RowLabel{1, "录音R"}};

std::span<const ControlDecl> EffectControls() {
    // The editor's table keeps the professional reverb window's rows together.
    const std::span<const ControlDecl> all = editor::PageControls();
    size_t first = 0;
    while (first < all.size() && all[first].Where != Region::Dialog) ++first;
    size_t last = first;
    while (last < all.size() && all[last].Where == Region::Dialog) ++last;
    return all.subspan(first, last - first);
}

}  // namespace

const AuxWindowDecl& FrmSetWindow() {
    static const AuxWindowDecl window{
        "frmSet",     "系统设置", 740, 239, {1440, 510, 3150, 990}, CaptionPlace::Above,
        kSetControls, {}};
    return window;
}

const AuxWindowDecl& FrmRecWindow() {
    static const AuxWindowDecl window{
        "frmRec",     "录音调节", 1040, 630, {1560, 1100, 1243, 4300}, CaptionPlace::Below,
        kRecControls, kRecRows};
    return window;
}

const AuxWindowDecl& FrmEffectWindow() {
    static const AuxWindowDecl window{
        "frmEffect",         "专业设置",       750, 239, {750, 450, 3600, 1020},
        CaptionPlace::Above, EffectControls(), {}};
    return window;
}

int TagNumber(std::string_view tag) {
    int base = 10;
    if (tag.size() > 2 && (tag.substr(0, 2) == "&H" || tag.substr(0, 2) == "&h")) {
        tag.remove_prefix(2);
        base = 16;
    }
    int value = -1;
    const auto [end, ec] = std::from_chars(tag.data(), tag.data() + tag.size(), value, base);
    if (tag.empty() || ec != std::errc() || end != tag.data() + tag.size() || value < 0) return -1;
    return value;
}

editor::Rect AuxControlRect(const AuxWindowDecl& window, const ControlDecl& decl, int w, int h) {
    const AuxGrid& g = window.Grid;
    return {(g.Left + g.PitchX * decl.Col) / editor::kTwipsPerPixel,
            (g.Top + g.PitchY * decl.Row) / editor::kTwipsPerPixel, w, h};
}

editor::Rect AuxCaptionRect(const AuxWindowDecl& window, const ControlDecl& decl, int w, int h) {
    const editor::Rect at = AuxControlRect(window, decl, w, h);
    const int pitch = window.Grid.PitchX / editor::kTwipsPerPixel;
    if (window.Captions == CaptionPlace::Above)
        return {at.X, at.Y - kAuxCaptionHeight - 2, std::min(pitch - 8, window.Width - 4 - at.X),
                kAuxCaptionHeight};
    return {at.X + w / 2 - pitch / 2, at.Y + h + 3, pitch, kAuxCaptionHeight};
}

editor::Rect AuxRowLabelRect(const AuxWindowDecl& window, int row, int h) {
    const AuxGrid& g = window.Grid;
    const int left = 8;
    return {left, (g.Top + g.PitchY * row) / editor::kTwipsPerPixel,
            g.Left / editor::kTwipsPerPixel - left - 8, h};
}

}  // namespace vellora::admin
