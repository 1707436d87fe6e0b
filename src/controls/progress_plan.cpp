// Progress bar rules.
#include "controls/progress_plan.h"

#include <algorithm>

#include "model/value_scales.h"

namespace vellora::controls {

int ProgressScale(int maxValue) {
    return maxValue > 0 ? maxValue : 1;
}

int ProgressFillWidth(int width, int value, int maxValue) {
    return model::RoundHalfEven(static_cast<double>(width) * value / ProgressScale(maxValue));
}

std::optional<Rgb> ProgressColumn(int x, int width, int value, int maxValue) {
    if (x < 1 || x > width - 2) return std::nullopt;
    if (value > ProgressScale(maxValue)) return kProgressRest;  // past full scale: no fill
    const int p = ProgressFillWidth(width, value, maxValue);
    const bool gradient = x <= p - 2;
    const bool rest = x >= p - 2 && x <= width - 3;
    if (rest || !gradient) return kProgressRest;
    const double span = std::max(1, width - 3);
    auto channel = [&](int from, int to) {
        return model::RoundHalfEven(from + (to - from) * (x - 1) / span);
    };
    return Rgb{channel(255, 0), 0, channel(0, 255)};
}

std::string ProgressText(int showContent, int value, int maxValue) {
    if (showContent == 0) return "正在同步数据, 请稍候...";
    return "执行保存, 完成" + std::to_string(value * 100 / ProgressScale(maxValue)) + "%";
}

}  // namespace vellora::controls
