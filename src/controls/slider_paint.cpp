// The slider's pictures and texts by form, state and look.
#include "controls/slider_paint.h"

#include <QString>

#include <algorithm>

#include "controls/control_look_source.h"
#include "controls/control_pictures.h"
#include "controls/slider_machine.h"
#include "controls/slider_values.h"
#include "model/value_scales.h"

namespace vellora::controls {

namespace {

constexpr uint32_t kPlaceholderRed = 0xFFFF0000;

int Chars(const std::string& text) {
    return static_cast<int>(QString::fromStdString(text).size());
}

// A text in a field of `width` characters, centred at 6 pixels per character.
// A text that would run out of `within` (its columns) moves back into it.
PaintOp FieldText(const std::string& text, TextField field, uint32_t colour, IRect within) {
    return TextAt(text, FieldStartX(field.x, field.width, Chars(text)), field.y, colour, within);
}

// Percentages are the widest values; a plate holds "200%" where the control has room.
constexpr int kWidePlateWidth = 34;

int Round(double v) {
    return model::RoundHalfEven(v);
}

// The bed picture of each slider bed; a form's fill is drawn where its bed is.
int BedPicture(SliderBed bed) {
    switch (bed) {
        case SliderBed::Fader:
            return pic::kFaderBed;
        case SliderBed::Strip:
            return pic::kStripBed;
        case SliderBed::StripTall:
            return pic::kStripBedTall;
        case SliderBed::Bar:
            return pic::kBarBed;
        case SliderBed::BarLow:
            return pic::kBarBedLow;
        case SliderBed::Mute:
            return pic::kMuteBed;
    }
    return 0;
}

// The bed a form's fill pictures are drawn for: form 2, 3 and 7 by the HScrollSize row.
SliderBed FillBed(const SliderMachine& m) {
    switch (m.Layout().form) {
        case kFader:
            return SliderBed::Fader;
        case kBandStrip:
            return m.EQNormalStyle() == 1 ? SliderBed::StripTall : SliderBed::Strip;
        case kBarShort:
            return SliderBed::BarLow;
        case kBarMute:
            return SliderBed::Mute;
        default:
            return m.HScrollSize() <= 1 ? SliderBed::Bar : SliderBed::BarLow;
    }
}

PaintOp BedPictureAt(SliderBed bed, const SliderLayout& l) {
    const Pt at = BedOrigin(bed, l);
    return PictureAt(BedPicture(bed), at.x, at.y);
}

// The pictures of the HScrollSize rows: normal, locked and second-scene fill.
struct FillSet {
    int normal, locked, scene;
};
FillSet HScrollFills(int hScrollSize) {
    if (hScrollSize <= 1) return {pic::kBarFill, pic::kBarFillLocked, pic::kBarFillScene};
    return {pic::kBarLowFill, pic::kBarLowFillLocked, pic::kBarLowFillScene};
}

int FlagPicture(const SliderMachine& m) {
    if (m.Flag()) return m.FlagPressed() ? pic::kFlagSetPressed : pic::kFlagSet;
    return m.FlagPressed() ? pic::kFlagClearPressed : pic::kFlagClear;
}

// The fill drawn on the low side of the thumb: below it on vertical forms, left of it on
// horizontal ones.
void AddFill(PaintPlan& plan, const SliderMachine& m, int fill) {
    if (fill == 0) return;
    const PictureSizeWH size = ControlPictureSize(fill);
    const double centre = m.Centre();
    const Pt origin = BedOrigin(FillBed(m), m.Layout());
    const int x = Round(origin.x), y = Round(origin.y);
    if (m.Layout().Vertical()) {
        const int from = std::clamp(Round(centre) - y, 0, size.h);
        if (from >= size.h) return;
        plan.push_back(PicturePart(fill, {x, y + from, size.w, size.h - from},
                                   {0, from, size.w, size.h - from}));
    } else {
        const int to = std::clamp(Round(centre) - x, 0, size.w);
        if (to <= 0) return;
        plan.push_back(PicturePart(fill, {x, y, to, size.h}, {0, 0, to, size.h}));
    }
}

}  // namespace

ValuePlate SliderValuePlate(const SliderMachine& m) {
    const SliderLayout& l = m.Layout();
    switch (l.form) {
        case kFader:
            return {pic::kValuePlate, 22, 160, kWidePlateWidth};
        case kBar:
            switch (m.HScrollSize()) {
                case 0:
                    return {pic::kWidePlate2, 66, 0};
                case 1:
                    return {pic::kWidePlate2, 37, 0};
                case 2:
                    return {pic::kValuePlate, 138, 4};
                case 3:
                    return {pic::kValuePlate, 150, 4};
                default:  // two pixels narrower, to end with the control
                    return {pic::kWidePlate2, 138, 4, 32};
            }
        case kBarWide:
            return {pic::kWidePlate, 126, 5};
        case kBarShort:
            return {pic::kShortPlate, 57, 1.5};
        case kKnob:
            return {pic::kWidePlate2, 47, 140};
        case kBarMute:
            return {pic::kSmallPlate, 157, 7};
        case kBarNarrow:
            if (m.ValueType() == 0) return {pic::kSmallPlate, 135, 5};
            return {pic::kValuePlate, 135, 5, kWidePlateWidth};
        default:
            return {};
    }
}

IRect ValuePlate::Box() const {
    const PictureSizeWH size = ControlPictureSize(number);
    return {model::RoundHalfEven(x), model::RoundHalfEven(y), width > 0 ? width : size.w, size.h};
}

PaintPlan SliderBackgroundPlan(const SliderMachine& m) {
    PaintPlan plan;
    const SliderLayout& l = m.Layout();
    switch (l.form) {
        case kFader:
            plan.push_back(BedPictureAt(SliderBed::Fader, l));
            break;
        case kBandStrip:
            plan.push_back(BedPictureAt(FillBed(m), l));
            if (m.LabelID() != 0) plan.push_back(PictureAt(m.LabelID(), 15, 0));
            break;
        case kBar:
        case kBarShort:
        case kBarMute:
            plan.push_back(BedPictureAt(FillBed(m), l));
            break;
        case kBarWide:
        case kBarNarrow:
            plan.push_back(BedPictureAt(SliderBed::Bar, l));
            break;
        default:
            break;
    }
    const ValuePlate plate = SliderValuePlate(m);
    if (plate.width > 0)
        plan.push_back(PictureScaled(plate.number, plate.Box()));
    else if (plate.number != 0)
        plan.push_back(PictureAt(plate.number, plate.x, plate.y));
    return plan;
}

int SliderFillPicture(const SliderMachine& m, const ControlLookSource& look) {
    const bool locked = m.Locked();
    const bool perScene = look.IsPerScene(m.Addr());
    const bool second = look.CurrentScene() != 0;
    switch (m.Layout().form) {
        case kFader:
            return locked ? 0 : pic::kFaderFill;
        case kBandStrip: {
            const bool tall = m.EQNormalStyle() == 1;
            if (locked || m.EQdisabled())
                return tall ? pic::kStripFillLockedTall : pic::kStripFillLocked;
            if (perScene && second) return tall ? pic::kStripFillSceneTall : pic::kStripFillScene;
            return tall ? pic::kStripFillTall : pic::kStripFill;
        }
        case kBarShort:
            if (locked || (perScene && m.EQdisabled())) return pic::kBarLowFillLocked;
            if (perScene && second) return pic::kBarLowFillScene;
            return pic::kBarLowFill;
        case kBarMute: {
            if (m.MuteRAMindex() == 0) return pic::kMuteFill;
            const int32_t mute = look.MuteValue(m.MuteRAMindex());
            if (mute == 0) return pic::kMuteFill;
            return mute == 1 ? pic::kMuteFillMuted : 0;
        }
        case kKnob:
            return 0;
        default:
            break;
    }
    const FillSet set = HScrollFills(m.HScrollSize());
    if (perScene) {
        if (locked || m.EQdisabled()) return set.locked;
        return second ? set.scene : set.normal;
    }
    if (m.MuteRAMindex() == 0 || locked) return locked ? set.locked : set.normal;
    const int32_t mute = look.MuteValue(m.MuteRAMindex());
    if (mute == 1) return set.locked;  // the channel is muted
    return mute == 0 ? set.normal : 0;
}

int SliderThumbPicture(const SliderMachine& m, const ControlLookSource& look) {
    (void)look;
    const bool locked = m.Locked();
    switch (m.Layout().form) {
        case kFader:
            if (locked) return pic::kThumbLocked;
            return m.ForceShowFocus() ? pic::kThumbFocus : pic::kThumb;
        case kBandStrip:
            if (locked) return pic::kThumbLocked;
            return m.ForceShowFocus() && !m.EQdisabled() ? pic::kThumbFocus : pic::kThumb;
        case kKnob:
            return 0;
        case kBarMute:
            return pic::kBarThumb;
        default:
            return locked ? pic::kBarThumbLocked : pic::kBarThumb;
    }
}

PaintPlan SliderFacePlan(const SliderMachine& m, const ControlLookSource& look) {
    PaintPlan plan;
    const SliderLayout& l = m.Layout();
    if (!m.TVisible()) {
        plan.push_back(FillRect({0, 0, l.width, l.height}, kPlaceholderRed));
        return plan;
    }
    const bool locked = m.Locked();
    const int position = std::min(m.Position(), m.MaxValue());
    const double centre = m.Centre();
    const std::string text = ValueText(m.ValueType(), position);
    const int thumb = SliderThumbPicture(m, look);
    const uint32_t colour = locked ? kLockedTextColour : kTextColour;

    AddFill(plan, m, SliderFillPicture(m, look));
    if (l.form == kBandStrip) {
        const int c = m.EQNormalStyle();
        for (int s = 0; s < 3; ++s) {
            int number = pic::kShapeSelected0 + 2 * s + 1;
            if (m.QType() == s)
                number = locked ? pic::kShapeLocked0 + s : pic::kShapeSelected0 + 2 * s;
            const IRect r = BandShapeRect(s);
            plan.push_back(PictureAt(number, r.x, r.y));
        }
        const IRect sw = BandSwitchRect(c);
        plan.push_back(PictureAt(m.EQdisabled() ? pic::kSwitchOff : pic::kSwitchOn, sw.x, sw.y));
    }
    if (l.Vertical())
        plan.push_back(
            PictureScaled(thumb, {l.trackX, Round(centre - l.thumbH / 2.0), l.thumbW, l.thumbH}));
    else if (l.Horizontal())
        plan.push_back(
            PictureScaled(thumb, {Round(centre - l.thumbW / 2.0), l.trackTop, l.thumbW, l.thumbH}));
    else
        plan.push_back(PictureRotated(pic::kKnob, l.width / 2.0, l.width / 2.0,
                                      KnobAngle(position, m.MaxValue())));

    if (l.form == kBandStrip) {
        const int c = m.EQNormalStyle();
        const std::string rows[kBandRowCount] = {model::GainText(position + 10), FreqText(m.Freq()),
                                                 model::QText(m.QType() == 0 ? m.Q() : m.sQ())};
        for (int row = 0; row < kBandRowCount; ++row)
            plan.push_back(
                FieldText(rows[row], BandRowField(row, c), colour, {0, 0, l.width, l.height}));
    } else if (l.form == kBarWide || l.form == kBarNarrow) {
        plan.push_back(TextCentred(text, SliderValuePlate(m).Box(), colour));
    } else {
        plan.push_back(
            FieldText(text, ValueField(l, m.HScrollSize()), colour, SliderValuePlate(m).Box()));
    }
    if (m.Flagged() && (l.form == kFader || l.Horizontal())) {
        const IRect r = FlagButtonRect(l, m.FlagPressed());
        plan.push_back(PictureAt(FlagPicture(m), r.x, r.y));
    }
    return plan;
}

}  // namespace vellora::controls
