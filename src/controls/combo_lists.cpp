// The list box's lists and faces.
#include "controls/combo_lists.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "controls/control_pictures.h"
#include "controls/slider_layout.h"

namespace vellora::controls {

namespace {

const std::array<std::vector<std::string>, kShowTypeCount>& Lists() {
    static const std::array<std::vector<std::string>, kShowTypeCount> lists{{
        {"LinkWitz 48dB", "LinkWitz 24dB", "ButterWorth 12dB", "Bessel 24dB", "Bessel 12dB"},
        {"ButterWorth 12dB", "ButterWorth 24dB"},
        {"模式1", "模式2", "模式3", "模式4", "模式5", "模式6", "模式7", "模式8", "模式9", "模式10"},
        {"用户定义", "房间", "小厅", "大厅", "人声"},
        {"OFF", "ON"},
        {"关", "1", "2", "3"},
        {"-6dB", "-3dB", "0dB", "+3dB"},
        {"AUX", "BGM", "OPT", "COAX"},
        {"AUX", "BGM", "OPT", "COAX", "BT"},
    }};
    return lists;
}

constexpr ComboFace Wide(int itemBase) {
    return {138,
            21,
            pic::kFaceWide,
            0,
            0,
            itemBase,
            6,
            6,
            112,
            11,
            pic::kDropWide,
            pic::kDropWidePressed,
            121,
            5,
            7};
}
constexpr ComboFace Full(int itemBase) {
    return {87,
            20,
            pic::kFaceWide,
            0,
            0,
            itemBase,
            0,
            0,
            72,
            20,
            pic::kDropNarrow,
            pic::kDropNarrowPressed,
            74,
            6,
            6};
}
constexpr ComboFace Framed(int itemBase) {
    return {87,
            20,
            pic::kFaceNarrow,
            5,
            0,
            itemBase,
            11,
            4,
            60,
            12,
            pic::kDropNarrow,
            pic::kDropNarrowPressed,
            74,
            6,
            6};
}

constexpr std::array<ComboFace, kShowTypeCount> kFaces{{
    Wide(153),
    Wide(224),
    Full(229),
    Framed(318),
    Full(363),
    Full(365),
    Full(369),
    Framed(251),
    Framed(251),
}};

int Clamp(int showType) {
    return showType >= 0 && showType < kShowTypeCount ? showType : 0;
}

}  // namespace

const std::vector<std::string>& ComboItems(int showType) {
    return Lists()[static_cast<size_t>(Clamp(showType))];
}

const ComboFace& ComboFaceOf(int showType) {
    return kFaces[static_cast<size_t>(Clamp(showType))];
}

DropPlacement PlaceDropList(int controlX, int controlY, int controlW, int controlH, int itemCount,
                            int screenBottom) {
    DropPlacement d;
    d.x = controlX + static_cast<int>(std::lround(30.0 / kTwipsPerPixel));
    d.width = std::max(1, controlW - static_cast<int>(std::lround(50.0 / kTwipsPerPixel)));
    d.height = std::max(1, (std::max(0, itemCount) + 1) * kComboItemHeight - 1);
    const int below = controlY + controlH;
    if (below + d.height <= screenBottom) {
        d.y = below;
    } else {
        d.y = controlY - d.height;
        d.above = true;
    }
    return d;
}

int HoverIndex(double y, int topItem, int itemCount) {
    if (y < 0) return -1;
    const int index = topItem + static_cast<int>(y) / kComboItemHeight;
    return index < itemCount ? index : -1;
}

PaintPlan ComboFacePlan(int showType, int selection, int itemCount, bool pressed, bool veiled) {
    const ComboFace& f = ComboFaceOf(showType);
    PaintPlan plan;
    if (f.background == pic::kFaceWide)
        plan.push_back(
            PictureScaled(f.background, {f.bgX, f.bgY, f.width - f.bgX, f.height - f.bgY}));
    else
        plan.push_back(PictureAt(f.background, f.bgX, f.bgY));
    if (selection >= 0 && selection < itemCount)
        plan.push_back(PictureAt(f.itemBase + selection, f.itemX, f.itemY));
    plan.push_back(pressed ? PictureAt(f.dropPressed, f.dropX, f.dropPressedY)
                           : PictureAt(f.drop, f.dropX, f.dropY));
    if (veiled) plan.push_back(PictureScaled(pic::kFaceVeil, {0, 0, f.width, f.height}));
    return plan;
}

}  // namespace vellora::controls
