// Entry roles of the factory layout, value texts in the user's units, and the anomaly report,
// including files whose values lie far outside every table.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <memory>
#include <set>
#include <vector>

#include "model/workspace.h"
#include "storage/param_format.h"
#include "storage/param_layout.h"
#include "storage/settings_check.h"
#include "storage/settings_codec.h"

namespace vellora::storage {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(Layout, RolesOfTheFactoryEntries) {
    const ParamLayout& layout = FactoryLayout();
    struct Case {
        int index;
        EntryRole role;
        uint8_t filterType;
    };
    const std::array<Case, 22> cases = {{
        {0, EntryRole::EqBand, 1},
        {14, EntryRole::EqBand, 1},
        {15, EntryRole::FilterFrequency, 2},
        {16, EntryRole::FilterFrequency, 3},
        {17, EntryRole::Plain, 0},
        {18, EntryRole::Undefined, 0},
        {256, EntryRole::FilterFrequency, 2},
        {771, EntryRole::Frequency, 0},
        {783, EntryRole::Frequency, 0},
        {786, EntryRole::Frequency, 0},
        {789, EntryRole::Frequency, 0},
        {774, EntryRole::FilterFrequency, 2},
        {775, EntryRole::FilterFrequency, 3},
        {1030, EntryRole::FilterType, 2},
        {1031, EntryRole::FilterFrequency, 2},
        {1541, EntryRole::FilterType, 2},
        {1799, EntryRole::FilterType, 2},
        {1800, EntryRole::FilterFrequency, 2},
        {1801, EntryRole::FilterType, 3},
        {1802, EntryRole::FilterFrequency, 3},
        {2600, EntryRole::Plain, 0},
        {2601, EntryRole::Undefined, 0},
    }};
    for (const Case& c : cases) {
        EXPECT_EQ(layout.Entry(c.index).role, c.role) << c.index;
        EXPECT_EQ(layout.Entry(c.index).filterType, c.filterType) << c.index;
    }
    EXPECT_EQ(layout.Entry(-1).role, EntryRole::Undefined);
    EXPECT_EQ(layout.Entry(3000).role, EntryRole::Undefined);

    std::set<int> types;
    int defined = 0;
    for (int k = 0; k < model::kParamCount; ++k) {
        if (layout.Entry(k).role == EntryRole::FilterType) types.insert(k);
        defined += layout.Defines(k) ? 1 : 0;
    }
    EXPECT_EQ(types, (std::set<int>{1030, 1286, 1541, 1799, 1801}));
    EXPECT_EQ(defined, 256);
    EXPECT_TRUE(layout.Entry(1799).fullCrossoverList);
    EXPECT_TRUE(layout.Entry(1801).fullCrossoverList);
    EXPECT_FALSE(layout.Entry(1030).fullCrossoverList);
    EXPECT_TRUE(layout.Entry(1030).perScene);
    EXPECT_FALSE(layout.Entry(1028).perScene);
}

TEST(Layout, AFileCannotChangeWhatAnEntryIs) {
    // A slot whose FilterType claims something else still reads by the factory role.
    model::SceneSlot slot;
    slot.FilterType = 0;
    slot.Value = 3;
    EXPECT_EQ(SlotText(FactoryLayout().Entry(1801), slot), "Bessel 24dB");
    slot.FilterType = model::kEqBand;
    slot.Value = 313;
    EXPECT_EQ(SlotText(FactoryLayout().Entry(771), slot), "8000 Hz");
}

TEST(ValueText, Frequencies) {
    EXPECT_EQ(FrequencyText(0), "17 Hz");
    EXPECT_EQ(FrequencyText(1), "19.7 Hz");
    EXPECT_EQ(FrequencyText(74), "80.3 Hz");
    EXPECT_EQ(FrequencyText(143), "303 Hz");
    EXPECT_EQ(FrequencyText(313), "8000 Hz");
    EXPECT_EQ(FrequencyText(361), "20200 Hz");
    EXPECT_EQ(FrequencyText(362), "20220 Hz");
    EXPECT_EQ(FrequencyText(363), "index 363 (out of range)");
    EXPECT_EQ(FrequencyText(-1), "index -1 (out of range)");
    EXPECT_EQ(FrequencyText(kMin), "index -2147483648 (out of range)");
    EXPECT_DOUBLE_EQ(*FrequencyHz(1), 19.7);
    EXPECT_DOUBLE_EQ(*FrequencyHz(325), 10100.0);  // 10000 Hz lands on 10100
    EXPECT_DOUBLE_EQ(*FrequencyHz(313), 8000.0);
    EXPECT_FALSE(FrequencyHz(363).has_value());
    EXPECT_FALSE(FrequencyHz(kMax).has_value());
}

TEST(ValueText, GainsAndQ) {
    EXPECT_EQ(GainDbText(250), "0.0 dB");
    EXPECT_EQ(GainDbText(330), "8.0 dB");
    EXPECT_EQ(GainDbText(60), "-19.0 dB");
    EXPECT_EQ(GainDbText(10), "-24.0 dB");
    EXPECT_EQ(GainDbText(370), "12.0 dB");
    EXPECT_EQ(GainDbText(400), "15.0 dB");
    EXPECT_EQ(GainDbText(kMin), "-214748389.8 dB");
    EXPECT_EQ(GainDbText(kMax), "214748339.7 dB");
    EXPECT_DOUBLE_EQ(GainDb(60), -19.0);
    EXPECT_EQ(QFactorText(16), "1.00");
    EXPECT_EQ(QFactorText(10), "0.71");
    EXPECT_EQ(QFactorText(0), "0.40");
    EXPECT_EQ(QFactorText(100), "128.00");
    EXPECT_EQ(QFactorText(101), "index 101 (out of range)");
    EXPECT_EQ(QFactorText(-3), "index -3 (out of range)");
    EXPECT_DOUBLE_EQ(*QFactor(10), 0.71);
    EXPECT_FALSE(QFactor(kMax).has_value());
}

TEST(ValueText, CrossoverTypesAndShapes) {
    const std::array<std::string_view, 5> full = {"LinkWitz 48dB", "LinkWitz 24dB",
                                                  "ButterWorth 12dB", "Bessel 24dB", "Bessel 12dB"};
    for (int v = 0; v < 5; ++v)
        EXPECT_EQ(CrossoverTypeName(v, true), full[static_cast<std::size_t>(v)]);
    EXPECT_EQ(CrossoverTypeName(0, false), "ButterWorth 12dB");
    EXPECT_EQ(CrossoverTypeName(1, false), "ButterWorth 24dB");
    EXPECT_FALSE(CrossoverTypeName(2, false).has_value());
    EXPECT_FALSE(CrossoverTypeName(5, true).has_value());
    EXPECT_FALSE(CrossoverTypeName(-1, true).has_value());
    EXPECT_EQ(CrossoverTypeText(9, false), "unknown type 9");
    EXPECT_EQ(BandShapeText(0), "peaking");
    EXPECT_EQ(BandShapeText(1), "low shelf");
    EXPECT_EQ(BandShapeText(2), "high shelf");
    EXPECT_EQ(BandShapeText(3), "unknown shape 3");
}

TEST(ValueText, SlotsByRole) {
    auto ws = std::make_unique<model::Workspace>();
    const ParamLayout& layout = FactoryLayout();
    auto text = [&](int index, int slot) {
        return SlotText(layout.Entry(index), *ws->ParamStore.Slot(index, slot));
    };
    EXPECT_EQ(text(7, 0), "peaking       630 Hz   15.0 dB  Q 1.00    SQ 0.71  on");
    EXPECT_EQ(text(9, 0).find("-19.0 dB") != std::string::npos, true);
    EXPECT_EQ(text(256, 0), "80.3 Hz");
    EXPECT_EQ(text(15, 0), "off (17 Hz)");
    EXPECT_EQ(text(16, 1), "off (20220 Hz)");
    EXPECT_EQ(text(1802, 0), "321 Hz");
    EXPECT_EQ(text(1799, 0), "LinkWitz 48dB");
    EXPECT_EQ(text(1030, 0), "ButterWorth 12dB");
    EXPECT_EQ(text(771, 0), "8000 Hz");
    EXPECT_EQ(text(788, 0), "500");
    ws->ParamStore.Slot(0, 1)->QType = model::kHighShelf;
    ws->ParamStore.Slot(0, 1)->EQdisabled = true;
    EXPECT_EQ(text(0, 1), "high shelf   25.3 Hz    0.0 dB  Q 1.00    SQ 0.71  off");
}

TEST(ValueText, NamesOfEntries) {
    EXPECT_EQ(EntryName(788), "混响时间");
    EXPECT_EQ(EntryName(784), "混响预延时");
    EXPECT_EQ(EntryName(1813), "控制对象：音乐通道");
    EXPECT_EQ(EntryName(2590), "SceneSelect");
    EXPECT_EQ(EntryName(2598), "key shift (5 = none)");
    EXPECT_EQ(EntryName(2597), "");
    EXPECT_EQ(EntryName(-5), "");
    EXPECT_EQ(EntryName(5000), "");
    EXPECT_EQ(RoleText(FactoryLayout().Entry(1801)), "low-pass type");
}

TEST(Validate, TheFactoryDefaultsHaveNoAnomaly) {
    auto ws = std::make_unique<model::Workspace>();
    EXPECT_TRUE(Validate(ws->ParamStore).empty());
}

TEST(Validate, ReportsEachOutOfRangeField) {
    auto ws = std::make_unique<model::Workspace>();
    model::ParamTable& t = ws->ParamStore;
    t.Slot(1031, 0)->Value = 363;   // filter frequency beyond the table
    t.Slot(0, 1)->Q = 101;          // Q beyond the table
    t.Slot(0, 1)->Gain = -1;        // negative gain
    t.Slot(0, 2)->QType = 3;        // unknown shape
    t.Slot(1030, 0)->Value = 2;     // short list has two types
    t.Slot(1799, 0)->Value = 4;     // full list has five: fine
    t.Slot(17, 0)->FilterType = 9;  // unknown FilterType
    t.Slot(17, 1)->Value = 62500;   // cannot travel as a value pair
    t.Slot(18, 0)->Defined = true;  // no such entry in the layout
    t.Slot(18, 1)->Value = 12345;   // garbage in an undefined entry: not looked at
    t.Slot(2600, 2)->Defined = false;
    const std::vector<Anomaly> expected = {
        {0, 1, SlotField::Gain, -1, 10, 400},       {0, 1, SlotField::Q, 101, 0, 100},
        {0, 2, SlotField::QType, 3, 0, 2},          {17, 0, SlotField::FilterType, 9, 0, 0},
        {17, 1, SlotField::Value, 62500, 0, 62499}, {18, 0, SlotField::Defined, 1, 0, 0},
        {1030, 0, SlotField::Value, 2, 0, 1},       {1031, 0, SlotField::Value, 363, 0, 362},
        {2600, 2, SlotField::Defined, 0, 1, 1},
    };
    EXPECT_EQ(Validate(t), expected);
    EXPECT_EQ(AnomalyText(expected[7]),
              "entry 1031 (kind 4, address 7) slot 0: Value 363 outside 0..362");
    EXPECT_EQ(AnomalyText(expected[3]),
              "entry 17 (kind 0, address 17) slot 0: FilterType 9, expected 0");
}

// Every field of every slot at its extremes: loading, checking and formatting must not
// crash or read outside a table (run under the asan preset too).
TEST(Validate, ExtremeFilesLoadAndFormatSafely) {
    for (const int32_t extreme : {kMin, kMax, -1, 363, 101}) {
        std::vector<uint8_t> bytes(kSettingsFileSize);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const std::size_t at = i % kSlotBytes;
            const bool isI32Byte = (at >= 1 && at < 5) || (at >= 6 && at < 22);
            const std::size_t shift = 8 * ((at >= 6 ? at - 6 : at - 1) % 4);
            bytes[i] = isI32Byte ? static_cast<uint8_t>(static_cast<uint32_t>(extreme) >> shift)
                                 : static_cast<uint8_t>(0xA5 + at);
        }
        auto ws = std::make_unique<model::Workspace>();
        ASSERT_EQ(DecodeTable(bytes, ws->ModeImage), StorageError::Ok);
        EXPECT_EQ(ws->ModeImage.Slot(1031, 2)->Value, extreme);  // kept as it stands
        EXPECT_EQ(ws->ModeImage.Slot(0, 0)->Gain, extreme);
        const std::vector<Anomaly> anomalies = Validate(ws->ModeImage);
        EXPECT_FALSE(anomalies.empty());
        for (const Anomaly& a : anomalies) EXPECT_FALSE(AnomalyText(a).empty());
        for (int k = 0; k < model::kParamCount; ++k)
            for (int s = 0; s < model::kSlotCount; ++s)
                EXPECT_FALSE(SlotText(FactoryLayout().Entry(k), *ws->ModeImage.Slot(k, s)).empty());
        EXPECT_EQ(EncodeTable(ws->ModeImage).size(), kSettingsFileSize);
    }
}

}  // namespace
}  // namespace vellora::storage
