// Flag button rules.
#include "controls/btn_flag_logic.h"

#include <QString>

#include <algorithm>

#include "model/comma_fields.h"

namespace vellora::controls {

std::vector<int> ParsePictureList(const std::string& text) {
    std::vector<int> out;
    for (const std::string_view part : model::SplitCommas(text)) {
        bool ok = false;
        const int number = QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size()))
                               .trimmed()
                               .toInt(&ok);
        out.push_back(ok ? number : 0);
    }
    return out;
}

int ButtonPicture(const std::vector<int>& list, int stored, bool locked, bool enabled) {
    if (stored < 0 || stored >= static_cast<int>(list.size())) return 0;
    int number = list[static_cast<size_t>(stored)];
    if (locked) {
        constexpr int kFrom[] = {142, 143, 378, 379, 380, 381};
        constexpr int kTo[] = {304, 305, 199, 198, 196, 197};
        for (size_t i = 0; i < std::size(kFrom); ++i)
            if (number == kFrom[i]) {
                number = kTo[i];
                break;
            }
    }
    if (!enabled && number == 312) number = 317;
    return number;
}

namespace {
bool IsSwitch(int actionType) {
    return actionType == kOnOff || actionType == kTwoHalf || actionType == kTwoHalfInverted;
}
}  // namespace

int StoredFromValue(int actionType, int value) {
    if (!IsSwitch(actionType)) return value;
    value = std::clamp(value, 0, 1);
    return actionType == kTwoHalfInverted ? 1 - value : value;
}

int ValueFromStored(int actionType, int stored) {
    return actionType == kTwoHalfInverted ? 1 - stored : stored;
}

BtnStep PressStep(int actionType, int stored, double x, int width) {
    switch (actionType) {
        case kOnOff:
            return {stored == 0 ? 1 : 0, true};
        case kMomentary:
            return {1, false};
        case kClickOnly:
            return {stored, true};
        case kTwoHalf:
        case kTwoHalfInverted:
            return {x >= width / 2.0 ? 1 : 0, true};
        default:
            return {stored, false};
    }
}

BtnStep ReleaseStep(int actionType, int stored) {
    if (actionType == kMomentary) return {0, true};
    return {stored, false};
}

}  // namespace vellora::controls
