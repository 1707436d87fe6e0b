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
PaintOp FieldText(const std::string& text, int x, int y, int width, bool locked) {
    return TextAt(text, FieldStartX(x, width, Chars(text)), y,
                  locked ? kLockedTextColour : kTextColour);
}

int Round(double v) {
    return model::RoundHalfEven(v);
}

// The two bar beds are drawn for one track position each; on the forms that share a bed but
// place their track elsewhere, the bed moves with the track so its groove lies under the thumb.
struct BedOrigin {
    int x, y;
};
BedOrigin BedAt(const SliderLayout& l, int bed) {
    if (bed == pic::kBarBed) return {l.trackX - 12, l.trackTop - 15};
    if (bed == pic::kBarBedLow) return {l.trackX - 7, l.trackTop - 2};
    return {0, 0};
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
void AddFill(PaintPlan& plan, const SliderMachine& m, int fill, BedOrigin at) {
    if (fill == 0) return;
    const PictureSizeWH size = ControlPictureSize(fill);
    const double centre = m.Centre();
    if (m.Layout().Vertical()) {
        const int from = std::clamp(Round(centre) - at.y, 0, size.h);
        if (from >= size.h) return;
        plan.push_back(PicturePart(fill, {at.x, at.y + from, size.w, size.h - from},
                                   {0, from, size.w, size.h - from}));
    } else {
        const int to = std::clamp(Round(centre) - at.x, 0, size.w);
        if (to <= 0) return;
        plan.push_back(PicturePart(fill, {at.x, at.y, to, size.h}, {0, 0, to, size.h}));
    }
}

}  // namespace

PaintPlan SliderBackgroundPlan(const SliderMachine& m) {
    PaintPlan plan;
    const SliderLayout& l = m.Layout();
    auto bed = [&](int number) {
        const BedOrigin at = BedAt(l, number);
        plan.push_back(PictureAt(number, at.x, at.y));
    };
    switch (l.form) {
        case kFader:
            plan.push_back(PictureAt(pic::kFaderBed, 0, 2));
            plan.push_back(PictureAt(pic::kValuePlate, 22, 160));
            break;
        case kBandStrip:
            plan.push_back(
                PictureAt(m.EQNormalStyle() == 1 ? pic::kStripBedTall : pic::kStripBed, 0, 0));
            if (m.LabelID() != 0) plan.push_back(PictureAt(m.LabelID(), 15, 0));
            break;
        case kBar:
            switch (m.HScrollSize()) {
                case 0:
                    bed(pic::kBarBed);
                    plan.push_back(PictureAt(pic::kWidePlate2, 66, 0));
                    break;
                case 1:
                    bed(pic::kBarBed);
                    plan.push_back(PictureAt(pic::kWidePlate2, 37, 0));
                    break;
                case 2:
                    bed(pic::kBarBedLow);
                    plan.push_back(PictureAt(pic::kValuePlate, 138, 4));
                    break;
                case 3:
                    bed(pic::kBarBedLow);
                    plan.push_back(PictureAt(pic::kValuePlate, 150, 4));
                    break;
                default:
                    bed(pic::kBarBedLow);
                    plan.push_back(PictureAt(pic::kWidePlate2, 138, 4));
                    break;
            }
            break;
        case kBarWide:
            bed(pic::kBarBed);
            plan.push_back(PictureAt(pic::kWidePlate, 126, 5));
            break;
        case kBarShort:
            bed(pic::kBarBedLow);
            plan.push_back(PictureAt(pic::kShortPlate, 57, 1.5));
            break;
        case kKnob:
            plan.push_back(PictureAt(pic::kWidePlate2, 47, 140));
            break;
        case kBarMute:
            plan.push_back(PictureAt(pic::kMuteBed, 0, 0));
            plan.push_back(PictureAt(pic::kSmallPlate, 157, 7));
            break;
        case kBarNarrow:
            bed(pic::kBarBed);
            plan.push_back(
                PictureAt(m.ValueType() != 0 ? pic::kValuePlate : pic::kSmallPlate, 135, 5));
            break;
        default:
            break;
    }
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
    const int fill = SliderFillPicture(m, look);
    const int thumb = SliderThumbPicture(m, look);

    switch (l.form) {
        case kFader:
            AddFill(plan, m, fill, {0, 2});
            plan.push_back(PictureScaled(
                thumb, {l.trackX, Round(centre - l.thumbH / 2.0), l.thumbW, l.thumbH}));
            plan.push_back(FieldText(text, 30, 160, 2, locked));
            plan.push_back(PictureAt(FlagPicture(m), 13, 161));
            break;
        case kBandStrip: {
            const int c = m.EQNormalStyle();
            AddFill(plan, m, fill, {0, 0});
            for (int s = 0; s < 3; ++s) {
                int number = pic::kShapeSelected0 + 2 * s + 1;
                if (m.QType() == s)
                    number = locked ? pic::kShapeLocked0 + s : pic::kShapeSelected0 + 2 * s;
                plan.push_back(PictureAt(number, 0, 60 + 18 * s));
            }
            plan.push_back(
                PictureAt(m.EQdisabled() ? pic::kSwitchOff : pic::kSwitchOn, 17, 166 + 42 * c));
            plan.push_back(PictureScaled(
                thumb, {l.trackX, Round(centre - l.thumbH / 2.0), l.thumbW, l.thumbH}));
            plan.push_back(FieldText(model::GainText(position + 10), 8, 125 + 33 * c, 4, locked));
            plan.push_back(FieldText(FreqText(m.Freq()), 9, 138 + 36 * c, 4, locked));
            plan.push_back(FieldText(model::QText(m.QType() == 0 ? m.Q() : m.sQ()), 5, 151 + 39 * c,
                                     5, locked));
            break;
        }
        case kKnob:
            plan.push_back(PictureRotated(pic::kKnob, l.width / 2.0, l.width / 2.0,
                                          KnobAngle(position, m.MaxValue())));
            plan.push_back(FieldText(text, 58, 140, 2, locked));
            break;
        default: {
            if (l.form == kBarShort) {
                AddFill(plan, m, fill, BedAt(l, pic::kBarBedLow));
            } else if (l.form == kBarMute) {
                AddFill(plan, m, fill, {0, 0});
            } else {
                const int bed = m.HScrollSize() <= 1 ? pic::kBarBed : pic::kBarBedLow;
                AddFill(plan, m, fill, BedAt(l, bed));
            }
            plan.push_back(PictureScaled(
                thumb, {Round(centre - l.thumbW / 2.0), l.trackTop, l.thumbW, l.thumbH}));
            if (l.form == kBarShort) {
                plan.push_back(FieldText(text, 64, 2, 3, locked));
            } else if (l.form == kBarMute) {
                plan.push_back(FieldText(text, 159, 8, 2, locked));
            } else {
                const Anchor a = HScrollTextAnchor(m.HScrollSize());
                plan.push_back(FieldText(text, a.x, a.y, l.form == kBar ? 3 : 6, locked));
                if (m.HScrollSize() == 3)
                    plan.push_back(PictureAt(FlagPicture(m), 140, m.FlagPressed() ? 6 : 5));
            }
            break;
        }
    }
    return plan;
}

}  // namespace vellora::controls
