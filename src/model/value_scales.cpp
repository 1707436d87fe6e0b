// Value scales: the frequency and Q tables (built from their texts), conversions and clamps.
#include "model/value_scales.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "model/comma_fields.h"

namespace vellora::model {

const std::string_view kFreqTableText =
    "17,19.7,20.1,20.5,20.9,21.3,21.7,22.1,22.5,23.0,23.4,23.9,24.3,24.8,25.3,25.8,26.3,26.8,"
    "27.3,27.8,28.4,28.9,29.5,30.1,30.7,31.3,31.9,32.5,33.1,33.8,34.4,35.1,35.8,36.5,37.2,37.9,"
    "38.6,39.4,40.1,40.9,41.7,42.5,43.4,44.2,45.1,45.9,46.8,47.7,48.7,49.6,50.6,51.6,52.6,53.6,"
    "54.6,55.7,56.8,57.9,59.0,60.1,61.3,62.5,63.7,65.0,66.2,67.5,68.8,70.2,71.5,72.9,74.3,75.8,"
    "77.2,78.7,80.3,81.8,83.4,85.0,86.7,88.4,90.1,91.9,94,95,97,99,101,103,105,107,109,111,114,"
    "116,118,120,123,125,127,130,132,135,138,140,143,146,149,152,154,157,161,164,167,170,173,"
    "177,180,184,187,191,195,198,202,206,210,214,218,223,227,231,236,241,245,250,255,260,265,"
    "270,275,281,286,292,297,303,309,315,321,327,334,340,347,354,360,367,375,382,389,397,405,"
    "412,420,429,437,445,454,463,472,481,490,500,510,520,530,540,551,561,572,583,595,606,618,"
    "630,642,655,667,680,694,707,721,735,749,764,779,794,809,825,841,857,874,891,908,926,944,"
    "962,981,1000,1020,1040,1060,1080,1100,1120,1140,1170,1190,1210,1240,1260,1280,1310,1330,"
    "1360,1390,1410,1440,1470,1500,1530,1560,1590,1620,1650,1680,1710,1750,1780,1820,1850,1890,"
    "1920,1960,2000,2040,2080,2120,2160,2200,2240,2290,2330,2380,2420,2470,2520,2570,2620,2670,"
    "2720,2770,2830,2880,2940,3000,3050,3110,3170,3240,3300,3360,3430,3500,3560,3630,3700,3780,"
    "3850,3920,4000,4080,4160,4240,4320,4400,4490,4580,4670,4760,4850,4940,5040,5140,5240,5340,"
    "5440,5550,5660,5770,5880,5990,6110,6230,6350,6470,6600,6730,6860,6990,7130,7270,7410,7550,"
    "7700,7850,8000,8160,8310,8480,8640,8810,8980,9150,9330,9510,9700,9890,10100,10300,10500,"
    "10700,10900,11100,11300,11500,11800,12000,12200,12500,12700,12900,13200,13500,13700,14000,"
    "14300,14500,14800,15100,15400,15700,16000,16300,16600,17000,17300,17600,18000,18300,18700,"
    "19000,19400,19800,20200,20220";

const std::string_view kQTableText =
    "40,42,45,47,50,53,56,59,63,67,71,75,79,84,89,94,100,106,112,119,126,130,140,150,160,170,"
    "180,190,200,210,220,240,250,270,280,300,320,340,360,380,400,420,450,480,500,530,570,600,"
    "630,670,710,760,800,850,900,950,1010,1070,1130,1200,1270,1350,1400,1500,1600,1700,1800,"
    "1900,2000,2100,2300,2400,2500,2700,2900,3000,3200,3400,3600,3800,4000,4300,4500,4800,5100,"
    "5400,5700,6000,6400,6800,7200,7600,8100,8500,9100,9600,10200,10800,11400,12100,12800";

namespace {

float ParseFloat(std::string_view text) {
    float value = 0.0f;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

template <size_t N>
std::array<float, N> BuildTable(std::string_view text, float divisor) {
    std::array<float, N> table{};
    auto fields = SplitCommas(text);
    for (size_t i = 0; i < N && i < fields.size(); ++i) table[i] = ParseFloat(fields[i]) / divisor;
    return table;
}

constexpr int kCentres15[] = {25, 40, 63, 100, 160, 250, 400, 630, 1000, 1600, 2500, 4000, 6300, 10000, 16000};
constexpr int kCentres10[] = {32, 64, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
constexpr int kCentres7[] = {57, 134, 400, 1000, 2500, 6300, 16000};
constexpr int kCentres5[] = {60, 230, 910, 3000, 14000};
constexpr int kCentresSub[] = {25, 63, 100, 160, 250};

}  // namespace

const std::array<float, kFreqCount>& FreqTable() {
    static const auto table = BuildTable<kFreqCount>(kFreqTableText, 1.0f);
    return table;
}

const std::array<float, kQCount>& QTable() {
    static const auto table = BuildTable<kQCount>(kQTableText, 100.0f);
    return table;
}

float FreqAt(int index) { return FreqTable()[static_cast<size_t>(FreqIndexClamp(index))]; }
float QAt(int index) { return QTable()[static_cast<size_t>(QClamp(index))]; }

std::span<const int> BandCentres(CentreList list) {
    switch (list) {
        case CentreList::Bands15: return kCentres15;
        case CentreList::Bands10: return kCentres10;
        case CentreList::Bands7: return kCentres7;
        case CentreList::Bands5: return kCentres5;
        case CentreList::Subwoofer5: return kCentresSub;
    }
    return {};
}

int FreqIndex(double hz) {
    const float f = static_cast<float>(hz);
    const auto& table = FreqTable();
    for (int i = 0; i < kFreqCount; ++i)
        if (f <= table[static_cast<size_t>(i)]) return i;
    return kFreqMax;
}

int QIndex(double q) {
    const float f = static_cast<float>(q);
    const auto& table = QTable();
    for (int i = 0; i < kQCount; ++i)
        if (f <= table[static_cast<size_t>(i)]) return i;
    return kQMax;
}

int RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(std::nearbyint(value));  // default rounding mode: to nearest, ties even
}

std::string FormatFixed(double value, int decimals) {
    // to_chars is locale-independent: a decimal point whatever the user's locale says.
    char buf[400];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string text = ec == std::errc() ? std::string(buf, end) : std::string("0");
    // "-0.0" and the like read as zero to a person.
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

std::string GainText(int step) { return FormatFixed((static_cast<double>(step) - kGainZero) / 10.0, 1); }

bool ParseGainDb(std::string_view text, float& db) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    float value = 0.0f;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return false;
    db = value;
    return true;
}

int GainStep(std::string_view text) {
    float db = 0.0f;
    if (!ParseGainDb(text, db)) return kGainZero;
    return RoundHalfEven(static_cast<double>(db * 10.0f + 250.0f));
}

std::string QText(int index) { return FormatFixed(QAt(index), 2); }

int GainClamp(int step) { return std::clamp(step, kGainMin, kGainMax); }
int QClamp(int index) { return std::clamp(index, 0, kQMax); }
int ShelfQClamp(int index) { return std::clamp(index, 0, kShelfQMax); }
int StepUp(int step) { return step >= 100 ? 100 : step + 1; }
int StepDown(int step) { return step <= 0 ? 0 : step - 1; }
int FreqIndexClamp(int index) { return std::clamp(index, 0, kFreqMax); }

int FreqClamp(int index, bool limited, int filterKind, int page) {
    int low = FreqIndex(19.7);
    int high = FreqIndex(20200);
    if (limited) {
        if (filterKind == 2) {
            high = FreqIndex(303);
            low = page == 3 ? 1 : FreqIndex(10);
        } else if (filterKind == 3) {
            if (page == 7) {
                high = 143;
                low = 1;
            } else if (page == 1 || page == 2 || page == 3) {
                high = 361;
                low = FreqIndex(5990);
            } else if (page == 0) {
                low = FreqIndex(5900);
                high = FreqIndex(20220);
            }
        }
    }
    if (index < low) return low;
    return std::min(index, high);
}

}  // namespace vellora::model
