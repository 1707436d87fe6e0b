// The value-type rules of the slider: position from value, value from position, shown text.
#include "controls/slider_values.h"

#include <QString>

#include "model/value_scales.h"

namespace vellora::controls {

namespace {

using model::FormatFixed;
using model::RoundHalfEven;

// The fixed offset k of the types whose rule is p = v - k.
struct Shift {
    int type;
    int offset;
};
constexpr Shift kShifts[] = {{0, 0}, {1, 1},  {3, 10}, {4, 1},  {5, 1},  {6, 298}, {7, 1},
                             {8, 0}, {9, 25}, {11, 0}, {13, 0}, {14, 0}, {15, 10}, {16, 298}};

bool OffsetOf(int valueType, int& offset) {
    for (const Shift& s : kShifts)
        if (s.type == valueType) {
            offset = s.offset;
            return true;
        }
    return false;
}

std::string Whole(int n) {
    return std::to_string(n);
}

}  // namespace

int PositionFromValue(int valueType, double value) {
    switch (valueType) {
        case 2:
        case 12:
            return RoundHalfEven(400.0 - value);
        case 10: {
            if (value < 100.0) return RoundHalfEven(value);
            // Above 100 % one position covers two percent.
            return RoundHalfEven(value - 100.0) / 2 + 100;
        }
        default:
            break;
    }
    int offset = 0;
    if (!OffsetOf(valueType, offset)) return 0;
    return RoundHalfEven(value - offset);
}

double ValueFromPosition(int valueType, int position) {
    switch (valueType) {
        case 2:
        case 12:
            return 400.0 - position;
        case 10:
            return position < 100 ? position : 2.0 * position - 100.0;
        default:
            break;
    }
    int offset = 0;
    if (!OffsetOf(valueType, offset)) return 0.0;
    return static_cast<double>(position) + offset;
}

std::string FreqText(int index) {
    return QString::number(static_cast<double>(model::FreqAt(index)), 'g', 7).toStdString();
}

std::string ValueText(int valueType, int p) {
    switch (valueType) {
        case 0:
            return Whole(p);
        case 1:
            return FreqText(p + 1);
        case 2:
            return FormatFixed((p - 400) / 10.0, 1);
        case 3:
            return p < 90 ? FormatFixed(p / 10.0 + 1.0, 1) : Whole(p - 80);
        case 4:
            return FormatFixed((p + 1) * 0.5, 1);
        case 5:
            return Whole((p + 1) * 10);
        case 6:
            return FreqText(p + 298);
        case 7:
            return Whole(p + 1);
        case 8:
            return Whole(p - 50);
        case 9:
            return Whole(p + 25);
        case 10:
            return Whole(p <= 99 ? p : 2 * p - 100) + "%";
        case 11:
            return FormatFixed(p / 10.0, 1);
        case 12:
            return FormatFixed((p - 260) / 10.0, 1);
        case 13:
            return p == 0 ? std::string("OFF") : FreqText(p);
        case 14:
            return Whole(p * 10);
        case 15:
            return Whole(p + 10);
        case 16: {
            std::string text = FreqText(p + 298);
            return text == "20220" ? std::string("OFF") : text;
        }
        default:
            return Whole(p);
    }
}

FlaggedValue SplitFlag(double value) {
    if (value >= kFlagOffset) return {true, value - kFlagOffset};
    return {false, value};
}

double JoinFlag(bool flag, double value) {
    return flag ? value + kFlagOffset : value;
}

}  // namespace vellora::controls
