// The progress bar's drawing rules: fill width, the red-to-blue gradient columns, the grey
// rest and the texts. Pure functions over the inner width and the values.
#pragma once

#include <optional>
#include <string>

namespace vellora::controls {

struct Rgb {
    int r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kProgressBorder{255, 255, 0};
inline constexpr Rgb kProgressRest{192, 192, 192};

/// Full scale used for drawing: MaxValue, or 1 when it is 0 or less.
[[nodiscard]] int ProgressScale(int maxValue);
/// P = W x Value / MaxValue, rounded half to even.
[[nodiscard]] int ProgressFillWidth(int width, int value, int maxValue);
/// Colour of inner column x (1 .. W-2): gradient up to P-3, grey from P-2 to W-3; the last
/// inner column W-2 is gradient only when the bar is full; a value past full scale draws no
/// gradient at all. nullopt outside 1..W-2.
[[nodiscard]] std::optional<Rgb> ProgressColumn(int x, int width, int value, int maxValue);
/// "正在同步数据, 请稍候..." or "执行保存, 完成" + percent + "%".
[[nodiscard]] std::string ProgressText(int showContent, int value, int maxValue);

}  // namespace vellora::controls
