// Slider geometry by form and HScrollSize.
#include "controls/slider_layout.h"

#include <algorithm>

#include "model/value_scales.h"

namespace vellora::controls {

namespace {

struct HScrollRow {
    int trackX, trackTop;
    int width, height;  ///< size of form 2
    Anchor text;
};
constexpr HScrollRow kHScroll[kHScrollSizeCount] = {
    {12, 15, 150, 40, {72, 1}}, {12, 15, 150, 40, {43, 1}}, {7, 2, 170, 30, {143, 4}},
    {7, 2, 180, 26, {154, 4}},  {7, 2, 170, 30, {143, 4}},
};

int ClampForm(int form) {
    return std::clamp(form, 0, kFormCount - 1);
}
int ClampSize(int size) {
    return std::clamp(size, 0, kHScrollSizeCount - 1);
}
int ClampStyle(int c) {
    return c == 1 ? 1 : 0;
}

}  // namespace

SliderLayout ComputeLayout(int form, int hScrollSize, int eqNormalStyle) {
    form = ClampForm(form);
    const HScrollRow& hs = kHScroll[ClampSize(hScrollSize)];
    const int c = ClampStyle(eqNormalStyle);
    SliderLayout l;
    l.form = form;
    switch (form) {
        case kFader:
            l = {form, 74, 180, 18, 22, 24, 26, 123};
            break;
        case kBandStrip:
            l = {form, 43, 178 + 46 * c, 24, 16, 16, 18, 95 + 27 * c};
            break;
        case kBar:
            l = {form, hs.width, hs.height, 15, 22, hs.trackX, hs.trackTop, 122};
            break;
        case kBarWide:
            l = {form, 184, 25, 15, 22, hs.trackX, hs.trackTop, 122};
            break;
        case kBarShort:
            l = {form, 124, 42, 15, 22, 8, 18, 110};
            break;
        case kKnob:
            l = {form, 127, 167, 0, 0, 0, 0, 0};
            break;
        case kBarMute:
            l = {form, 182, 28, 15, 22, 8, 4, 140};
            break;
        case kBarNarrow:
            l = {form, 174, 25, 15, 22, hs.trackX, hs.trackTop, 122};
            break;
        default:
            break;
    }
    return l;
}

bool HasFlagBit(int form, int hScrollSize) {
    return form == kFader || hScrollSize == 3;
}

double ThumbCentre(const SliderLayout& l, int position, int maxValue) {
    const double max = std::max(1, maxValue);
    if (l.Vertical()) return l.trackTop + (max - position) * l.trackLength / max;
    if (l.Knob()) return 0.0;
    return l.trackX + position * l.trackLength / max;
}

double KnobAngle(int position, int maxValue) {
    const double a = position * kKnobSweepDegrees / std::max(1, maxValue);
    return a - kKnobSweepDegrees / 2.0;
}

int PositionAt(const SliderLayout& l, double coordinate, int maxValue) {
    maxValue = std::max(1, maxValue);
    if (l.trackLength <= 0) return 0;
    double p = 0.0;
    if (l.Vertical())
        p = maxValue - maxValue * (coordinate - l.trackTop) / l.trackLength;
    else
        p = maxValue * (coordinate - l.trackX) / l.trackLength;
    return std::clamp(model::RoundHalfEven(p), 0, maxValue);
}

bool ThumbHit(const SliderLayout& l, double centre, Pt p) {
    if (l.Vertical())
        return p.x >= l.trackX && p.x <= l.trackX + l.thumbW && p.y >= centre - l.thumbH / 2.0 &&
               p.y <= centre + l.thumbH / 2.0;
    if (l.Horizontal())
        return p.y >= l.trackTop - 2 && p.y <= l.trackTop + l.thumbH + 2 &&
               p.x >= centre - l.thumbW / 2.0 && p.x <= centre + l.thumbW / 2.0;
    return false;
}

std::optional<int> BandTextRow(double y, int eqNormalStyle) {
    const int c = ClampStyle(eqNormalStyle);
    if (y > 125 + 33 * c && y < 139 + 33 * c) return 0;
    if (y > 138 + 36 * c && y < 152 + 36 * c) return 1;
    if (y > 151 + 39 * c && y < 165 + 39 * c) return 2;
    return std::nullopt;
}

bool BandSwitchRow(double y, int eqNormalStyle) {
    const int c = ClampStyle(eqNormalStyle);
    return y > 166 + 42 * c && y < 177 + 42 * c;
}

std::optional<int> BandShapeAt(Pt p) {
    if (p.x >= 16) return std::nullopt;
    if (p.y > 60 && p.y < 78) return 0;
    if (p.y > 78 && p.y < 96) return 1;
    if (p.y > 96 && p.y < 114) return 2;
    return std::nullopt;
}

bool FlagButtonHit(const SliderLayout& l, int hScrollSize, Pt p) {
    if (hScrollSize == 3 && p.x >= 140 && p.x <= 152) return true;
    return l.form == kFader && p.x >= 13 && p.x <= 25 && p.y >= 161 && p.y <= 170;
}

IRect EntryBoxRect(int row, int eqNormalStyle) {
    const int c = ClampStyle(eqNormalStyle);
    switch (row) {
        case 0:
            return {3, 123 + 33 * c, 37, 16};
        case 1:
            return {4, 136 + 36 * c, 36, 16};
        default:
            return {4, 149 + 39 * c, 36, 16};
    }
}

Anchor HScrollTextAnchor(int hScrollSize) {
    return kHScroll[ClampSize(hScrollSize)].text;
}

int FieldStartX(int anchorX, int width, int chars) {
    return width == 0 ? anchorX : anchorX + 3 * (width - chars);
}

}  // namespace vellora::controls
