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

Travel ThumbTravel(const SliderLayout& l) {
    if (l.Vertical()) {
        const double x = l.trackX + l.thumbW / 2.0;
        return {{x, double(l.trackTop + l.trackLength)}, {x, double(l.trackTop)}};
    }
    if (l.Knob()) return {};
    const double y = l.trackTop + l.thumbH / 2.0;
    return {{double(l.trackX), y}, {double(l.trackX + l.trackLength), y}};
}

SliderLayout BedLayout(SliderBed bed) {
    switch (bed) {
        case SliderBed::Fader:
            return ComputeLayout(kFader, 0, 0);
        case SliderBed::Strip:
            return ComputeLayout(kBandStrip, 0, 0);
        case SliderBed::StripTall:
            return ComputeLayout(kBandStrip, 0, 1);
        case SliderBed::Bar:
            return ComputeLayout(kBar, 0, 0);
        case SliderBed::BarLow:
            return ComputeLayout(kBar, 2, 0);
        case SliderBed::Mute:
            return ComputeLayout(kBarMute, 0, 0);
    }
    return {};
}

Pt BedOrigin(SliderBed bed, const SliderLayout& l) {
    constexpr double kFaderBedDrop = 2.0;
    const SliderLayout b = BedLayout(bed);
    return {double(l.trackX - b.trackX),
            (bed == SliderBed::Fader ? kFaderBedDrop : 0.0) + l.trackTop - b.trackTop};
}

int FieldStartX(int anchorX, int width, int chars) {
    return width == 0 ? anchorX : anchorX + 3 * (width - chars);
}

TextField BandRowField(int row, int eqNormalStyle) {
    const int c = ClampStyle(eqNormalStyle);
    switch (row) {
        case 0:
            return {8, 125 + 33 * c, 4};
        case 1:
            return {9, 138 + 36 * c, 4};
        default:
            return {5, 151 + 39 * c, 5};
    }
}

std::optional<int> BandTextRow(double y, int eqNormalStyle) {
    for (int row = 0; row < kBandRowCount; ++row) {
        const int top = BandRowField(row, eqNormalStyle).y;
        if (y > top && y < top + kBandRowHeight) return row;
    }
    return std::nullopt;
}

IRect EntryBoxRect(int row, int eqNormalStyle) {
    // The box covers its row with a pixel to spare above and below the text.
    const int top = BandRowField(row, eqNormalStyle).y - 2;
    return row == 0 ? IRect{3, top, 37, 16} : IRect{4, top, 36, 16};
}

IRect BandSwitchRect(int eqNormalStyle) {
    return {17, 166 + 42 * ClampStyle(eqNormalStyle), 24, 11};
}

IRect BandShapeRect(int shape) {
    constexpr int kTop = 60, kW = 16, kH = 18;
    return {0, kTop + kH * std::clamp(shape, 0, 2), kW, kH};
}

bool BandSwitchRow(double y, int eqNormalStyle) {
    const IRect r = BandSwitchRect(eqNormalStyle);
    return y > r.y && y < r.y + r.h;
}

std::optional<int> BandShapeAt(Pt p) {
    for (int shape = 0; shape < 3; ++shape) {
        const IRect r = BandShapeRect(shape);
        if (p.x < r.x + r.w && p.y > r.y && p.y < r.y + r.h) return shape;
    }
    return std::nullopt;
}

IRect FlagButtonRect(const SliderLayout& l, bool pressed) {
    if (l.form == kFader) return {13, 161, 12, 10};
    return {140, pressed ? 6 : 5, 12, 10};
}

bool FlagButtonHit(const SliderLayout& l, int hScrollSize, Pt p) {
    const IRect r = FlagButtonRect(l, false);
    if (hScrollSize == 3 && p.x >= r.x && p.x <= r.x + r.w) return true;
    // The fader's button takes its right edge too, but not its bottom edge.
    return l.form == kFader && p.x >= r.x && p.x <= r.x + r.w && p.y >= r.y && p.y <= r.y + r.h - 1;
}

Anchor HScrollTextAnchor(int hScrollSize) {
    return kHScroll[ClampSize(hScrollSize)].text;
}

TextField ValueField(const SliderLayout& l, int hScrollSize) {
    switch (l.form) {
        case kFader:
            return {30, 160, 2};
        case kBarShort:
            return {64, 2, 3};
        case kKnob:
            return {58, 140, 2};
        case kBarMute:
            return {159, 8, 2};
        default: {
            const Anchor a = HScrollTextAnchor(hScrollSize);
            return {a.x, a.y, 3};
        }
    }
}

}  // namespace vellora::controls
