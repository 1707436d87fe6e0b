// The geometry of the slider's eight forms: control size, thumb, track, the band strip's rows
// and buttons, and the mapping between positions and pointer coordinates. Pure functions.
#pragma once

#include <optional>

namespace vellora::controls {

/// ScrollBarType values.
enum SliderForm : int {
    kFader = 0,      ///< vertical fader with flag button
    kBandStrip = 1,  ///< equaliser band strip
    kBar = 2,        ///< horizontal bar sized by HScrollSize
    kBarWide = 3,
    kBarShort = 4,
    kKnob = 5,     ///< rotary knob, pointer movement in twips
    kBarMute = 6,  ///< horizontal bar shaded by a channel mute
    kBarNarrow = 7,
};
inline constexpr int kFormCount = 8;
/// The fader and the band strip force their value type and MaxValue.
inline constexpr int kFaderValueType = 10;
inline constexpr int kFaderMaxValue = 150;
inline constexpr int kBandStripValueType = 15;
inline constexpr int kBandStripMaxValue = 360;
inline constexpr int kHScrollSizeCount = 5;
inline constexpr double kTwipsPerPixel = 15.0;
inline constexpr double kKnobSweepDegrees = 266.0;

/// A point in the control's logical pixels.
struct Pt {
    double x = 0.0;
    double y = 0.0;
};
struct IRect {
    int x = 0, y = 0, w = 0, h = 0;
    [[nodiscard]] bool Contains(double px, double py) const {
        return px >= x && px < x + w && py >= y && py < y + h;
    }
};

struct SliderLayout {
    int form = 0;
    int width = 0, height = 0;     ///< the control's size
    int thumbW = 0, thumbH = 0;    ///< 0 on the knob
    int trackX = 0, trackTop = 0;  ///< left end (horizontal) or top end (vertical) of the track
    int trackLength = 0;           ///< 0 on the knob
    [[nodiscard]] bool Vertical() const { return form == kFader || form == kBandStrip; }
    [[nodiscard]] bool Knob() const { return form == kKnob; }
    [[nodiscard]] bool Horizontal() const { return !Vertical() && !Knob(); }
};

/// The layout of a form; out-of-range forms and sizes are pulled into their ranges.
/// `eqNormalStyle` (0 short, 1 tall) matters only to the band strip.
[[nodiscard]] SliderLayout ComputeLayout(int form, int hScrollSize, int eqNormalStyle);

/// Whether a form carries the flag bit and its toggle button.
[[nodiscard]] bool HasFlagBit(int form, int hScrollSize);

/// Thumb centre along the track (y on vertical forms, x on horizontal ones). `maxValue` >= 1.
[[nodiscard]] double ThumbCentre(const SliderLayout& l, int position, int maxValue);
/// Clockwise rotation of the knob picture in degrees for a position, 0 = pointer straight up.
[[nodiscard]] double KnobAngle(int position, int maxValue);

/// The position under a pointer coordinate (y on vertical forms, x on horizontal ones),
/// rounded half to even and clamped into 0..maxValue.
[[nodiscard]] int PositionAt(const SliderLayout& l, double coordinate, int maxValue);
/// Whether (x, y) hits the thumb drawn for `centre`.
[[nodiscard]] bool ThumbHit(const SliderLayout& l, double centre, Pt p);

/// The line the thumb centre travels, from position 0 (`low`) to MaxValue (`high`): down the
/// middle of a vertical thumb's column, along the middle of a horizontal thumb's row.
struct Travel {
    Pt low, high;
};
[[nodiscard]] Travel ThumbTravel(const SliderLayout& l);

/// The bed pictures of the sliders (groove and scale). Each is drawn for one layout, so that
/// its groove lies under that layout's thumb travel when its top-left sits at BedOrigin.
enum class SliderBed { Fader, Strip, StripTall, Bar, BarLow, Mute };
/// The layout a bed is drawn for: the fader, the short or tall band strip, form 2 with
/// HScrollSize 0 or 2, form 6.
[[nodiscard]] SliderLayout BedLayout(SliderBed bed);
/// Top-left of a bed in a control of layout `l`: the fader's bed sits 2 pixels down, and a bar
/// bed moves with the track of a form that places its track elsewhere.
[[nodiscard]] Pt BedOrigin(SliderBed bed, const SliderLayout& l);

/// A text's anchor (top-left, or the field's left end) and its field width in characters;
/// width 0 starts the text at the anchor.
struct TextField {
    int x = 0, y = 0, width = 0;
};
/// Start x of a text with `chars` characters in a field of `width` characters (6 px each).
[[nodiscard]] int FieldStartX(int anchorX, int width, int chars);

/// The band strip's three rows of text: 0 gain, 1 frequency, 2 Q. A row is the band of
/// kBandRowHeight pixels below its field's y; the entry box opens over it.
inline constexpr int kBandRowCount = 3;
inline constexpr int kBandRowHeight = 14;
[[nodiscard]] TextField BandRowField(int row, int eqNormalStyle);
/// The row under y; bounds are exclusive, as the strip's pointer tests are.
[[nodiscard]] std::optional<int> BandTextRow(double y, int eqNormalStyle);
/// The entry box of the band strip for a row (0 gain, 1 frequency, 2 Q).
[[nodiscard]] IRect EntryBoxRect(int row, int eqNormalStyle);
/// The band strip's on/off switch and its three shape buttons (peak, low and high shelf).
[[nodiscard]] IRect BandSwitchRect(int eqNormalStyle);
[[nodiscard]] IRect BandShapeRect(int shape);
/// Whether y lies on the band strip's on/off switch row.
[[nodiscard]] bool BandSwitchRow(double y, int eqNormalStyle);
/// The band shape chosen by a press on the strip's shape buttons, if any.
[[nodiscard]] std::optional<int> BandShapeAt(Pt p);

/// The flag toggle button of a flagged form: the fader's below its track, HScrollSize 3's
/// beside its value plate (one pixel lower while pressed).
[[nodiscard]] IRect FlagButtonRect(const SliderLayout& l, bool pressed);
/// Whether a press hits the flag toggle button of a flagged form.
[[nodiscard]] bool FlagButtonHit(const SliderLayout& l, int hScrollSize, Pt p);

/// Text anchors of the horizontal forms by HScrollSize.
struct Anchor {
    int x = 0, y = 0;
};
[[nodiscard]] Anchor HScrollTextAnchor(int hScrollSize);
/// The value text's field on the fader, form 2 (by HScrollSize), form 4, the knob and form 6.
/// Forms 3 and 7 centre their text on their value plate instead (see the slider's paint).
[[nodiscard]] TextField ValueField(const SliderLayout& l, int hScrollSize);

}  // namespace vellora::controls
