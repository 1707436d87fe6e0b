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

/// The band strip's rows of text that open the entry box: 0 gain, 1 frequency, 2 Q.
/// Bounds are exclusive, as the strip's pointer tests are.
[[nodiscard]] std::optional<int> BandTextRow(double y, int eqNormalStyle);
/// Whether y lies on the band strip's on/off switch row.
[[nodiscard]] bool BandSwitchRow(double y, int eqNormalStyle);
/// The band shape chosen by a press on the strip's shape buttons, if any.
[[nodiscard]] std::optional<int> BandShapeAt(Pt p);
/// Whether a press hits the flag toggle button of a flagged form.
[[nodiscard]] bool FlagButtonHit(const SliderLayout& l, int hScrollSize, Pt p);

/// The entry box of the band strip for a row (0 gain, 1 frequency, 2 Q).
[[nodiscard]] IRect EntryBoxRect(int row, int eqNormalStyle);

/// Text anchors of the horizontal forms by HScrollSize.
struct Anchor {
    int x = 0, y = 0;
};
[[nodiscard]] Anchor HScrollTextAnchor(int hScrollSize);
/// Start x of a text with `chars` characters in a field of `width` characters (6 px each).
[[nodiscard]] int FieldStartX(int anchorX, int width, int chars);

}  // namespace vellora::controls
