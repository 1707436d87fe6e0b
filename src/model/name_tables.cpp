// Menu item lists of the processor, split once from their texts.
#include "model/name_tables.h"

#include <array>
#include <charconv>
#include <vector>

#include "model/comma_fields.h"

namespace vellora::model {

namespace {

constexpr std::string_view kKind0 =
    "高通滤波器频点,&HF,EQ1,0,EQ2,1,EQ3,2,EQ4,3,EQ5,4,EQ6,5,EQ7,6,EQ8,7,EQ9,8,EQ10,9,EQ11,10,"
    "EQ12,11,EQ13,12,EQ14,13,EQ15,14";
constexpr std::string_view kKind1And2 =
    "话筒音量,0,高通滤波器,&H14,EQ1,1,EQ2,2,EQ3,3,EQ4,4,EQ5,5,EQ6,6,EQ7,7,EQ8,8,EQ9,9,EQ10,10,"
    "EQ11,11,EQ12,12,EQ13,13,EQ14,14,EQ15,15,启动电平,16,压缩比例,17,启动时间,18,释放时间,19";
constexpr std::string_view kKind3 =
    "回声效果音量,&H26,回声直达音量,&H27,回声预延时,0,回声延时,1,回声次数,2,回声高频阻尼,3,"
    "回声右预延时,4,回声右延时,5,回声低切,6,回声高切,7,Echo EQ1,8,Echo EQ2,9,Echo EQ3,&HA,"
    "Echo EQ4,&HB,Echo EQ5,&HC,混响模式,&H2A,混响效果音量,&H28,混响直达音量,&H29,混响低切,&HD,"
    "混响高切,&HE,混响预延时,&H10,混响时间,&H14,混响高频阻尼,&HF,早期反射延时,&H11,"
    "早期反射高频阻尼,&H12,后期反射延时,&H13,后期反射高频阻尼,&H15,混响空间,&H16,混响密度,&H17,"
    "早期反射音量,&H18,后期反射音量,&H19,Rev EQ1,&H1A,Rev EQ2,&H1B,Rev EQ3,&H1C,Rev EQ4,&H1D,"
    "Rev EQ5,&H1E,EFF EQ1,&H1F,EFF EQ2,&H20,EFF EQ3,&H21,EFF EQ4,&H22,EFF EQ5,&H23";
constexpr std::string_view kKind4 =
    "音乐音量,0,话筒音量,1,回声音量,2,混响音量,3,左通道音量,4,右通道音量,5,高通滤波器类型,6,"
    "高通滤波器频点,7,EQ1,8,EQ2,9,EQ3,&HA,EQ4,&HB,EQ5,&HC,EQ6,&HD,EQ7,&HE,EQ8,&HF,EQ9,&H10,"
    "EQ10,&H11,启动电平,&H12,压缩比例,&H13,启动时间,&H14,释放时间,&H15,左通道延时,&H16,"
    "右通道延时,&H17";
constexpr std::string_view kKind5 =
    "音乐音量,0,话筒音量,1,回声音量,2,混响音量,3,左通道音量,4,右通道音量,5,高通滤波器类型,6,"
    "高通滤波器频点,7,EQ1,8,EQ2,9,EQ3,&HA,EQ4,&HB,EQ5,&HC,EQ6,&HD,EQ7,&HE,启动电平,&HF,"
    "压缩比例,&H10,启动时间,&H11,释放时间,&H12,左通道延时,&H13,右通道延时,&H14";
constexpr std::string_view kKind6 =
    "音乐音量,0,话筒音量,1,回声音量,2,混响音量,3,中置通道音量,4,高通滤波器类型,5,"
    "高通滤波器频点,6,EQ1,7,EQ2,8,EQ3,9,EQ4,10,EQ5,11,EQ6,12,EQ7,13,启动电平,&HE,压缩比例,&HF,"
    "启动时间,&H10,释放时间,&H11,中置通道延时,&H12";
constexpr std::string_view kKind7 =
    "音乐音量,0,话筒音量,1,超低音音量,3,控制对象：音乐通道,&H15,控制对象：主输出通道,&H16,"
    "控制对象：辅助通道,&H17,控制对象：中置通道,&H18,控制对象：超低音通道,&H19,超低音相位,6,"
    "高通滤波器类型,7,高通滤波器频点,8,低通滤波器类型,9,低通滤波器频点,10,EQ1,11,EQ2,12,EQ3,13,"
    "EQ4,14,EQ5,15,启动电平,&H10,压缩比例,&H11,启动时间,&H12,释放时间,&H13,超低音通道延时,&H14";
constexpr std::string_view kKind8 =
    "音乐音量L,0,音乐音量R,1,话筒音量,2,回声音量L,3,回声音量R,4,混响音量L,5,混响音量R,6,"
    "录音L通道音量,7";
constexpr std::string_view kKind9 =
    "音乐音量L,0,音乐音量R,1,话筒音量,2,回声音量L,3,回声音量R,4,混响音量L,5,混响音量R,6,"
    "录音R通道音量,7";

constexpr std::array<std::string_view, 10> kListTexts = {
    kKind0, kKind1And2, kKind1And2, kKind3, kKind4, kKind5, kKind6, kKind7, kKind8, kKind9};

// Menu kinds 0..9; the tables give menu kind 10 no name.
constexpr std::array<std::string_view, 10> kKindNames = {
    "音乐",     "话筒1.2",  "话筒3.4",  "效果",  "主输出",
    "辅助输出", "中置输出", "超低输出", "录音L", "录音R"};

int ParseListAddress(std::string_view text) {
    int base = 10;
    if (text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
        text.remove_prefix(2);
        base = 16;
    }
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, base);
    return value;
}

const std::array<std::vector<MenuItemEntry>, 10>& Lists() {
    static const auto lists = [] {
        std::array<std::vector<MenuItemEntry>, 10> out;
        for (size_t k = 0; k < kListTexts.size(); ++k) {
            const std::vector<std::string_view> fields = SplitCommas(kListTexts[k]);
            for (size_t i = 0; i + 1 < fields.size(); i += 2)
                out[k].push_back({fields[i], ParseListAddress(fields[i + 1])});
        }
        return out;
    }();
    return lists;
}

}  // namespace

int MenuItemCount(int kind) {
    if (kind < 0 || kind >= 10) return 0;
    return static_cast<int>(Lists()[static_cast<size_t>(kind)].size());
}

std::optional<MenuItemEntry> MenuItem(int kind, int j) {
    if (j < 0 || j >= MenuItemCount(kind)) return std::nullopt;
    return Lists()[static_cast<size_t>(kind)][static_cast<size_t>(j)];
}

std::optional<std::string_view> ItemNameOf(int index) {
    if (index < 0) return std::nullopt;
    const int kind = index / 256;
    const int address = index % 256;
    for (int j = 0; j < MenuItemCount(kind); ++j)
        if (Lists()[static_cast<size_t>(kind)][static_cast<size_t>(j)].address == address)
            return Lists()[static_cast<size_t>(kind)][static_cast<size_t>(j)].name;
    return std::nullopt;
}

std::string_view MenuKindName(int kind) {
    return kind >= 0 && kind < static_cast<int>(kKindNames.size()) ? kKindNames[static_cast<size_t>(kind)]
                                                                   : std::string_view{};
}

}  // namespace vellora::model
