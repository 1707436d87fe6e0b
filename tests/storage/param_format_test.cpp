// Entry roles of the factory layout, value texts in the user's units, and the anomaly report,
// including files whose values lie far outside every table.
#include <gtest/gtest.h>

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
    // The other roles show in the value texts and the checks below.
    const Case cases[] = {
        {771, EntryRole::Frequency, 0},   {783, EntryRole::Frequency, 0},
        {786, EntryRole::Frequency, 0},   {789, EntryRole::Frequency, 0},
        {1801, EntryRole::FilterType, 3}, {1802, EntryRole::FilterFrequency, 3},
        {-1, EntryRole::Undefined, 0},    {3000, EntryRole::Undefined, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(layout.Entry(c.index).role, c.role) << c.index;
        EXPECT_EQ(layout.Entry(c.index).filterType, c.filterType) << c.index;
    }
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

TEST(ValueText, TextsForAnyValueAFileMayHold) {
    const std::pair<std::string, std::string_view> cases[] = {
        {FrequencyText(0), "17 Hz"},
        {FrequencyText(1), "19.7 Hz"},
        {FrequencyText(362), "20220 Hz"},
        {FrequencyText(363), "index 363 (out of range)"},
        {FrequencyText(kMin), "index -2147483648 (out of range)"},
        {GainDbText(250), "0.0 dB"},
        {GainDbText(60), "-19.0 dB"},
        {GainDbText(kMin), "-214748389.8 dB"},
        {GainDbText(kMin + 1), "-214748389.7 dB"},
        {GainDbText(kMax), "214748339.7 dB"},
        {QFactorText(0), "0.40"},
        {QFactorText(100), "128.00"},
        {QFactorText(101), "index 101 (out of range)"},
        {QFactorText(-3), "index -3 (out of range)"},
        {CrossoverTypeText(0, true), "LinkWitz 48dB"},
        {CrossoverTypeText(1, true), "LinkWitz 24dB"},
        {CrossoverTypeText(2, true), "ButterWorth 12dB"},
        {CrossoverTypeText(3, true), "Bessel 24dB"},
        {CrossoverTypeText(4, true), "Bessel 12dB"},
        {CrossoverTypeText(5, true), "unknown type 5"},
        {CrossoverTypeText(-1, true), "unknown type -1"},
        {CrossoverTypeText(0, false), "ButterWorth 12dB"},
        {CrossoverTypeText(1, false), "ButterWorth 24dB"},
        {CrossoverTypeText(2, false), "unknown type 2"},
        {BandShapeText(0), "peaking"},
        {BandShapeText(1), "low shelf"},
        {BandShapeText(2), "high shelf"},
        {BandShapeText(3), "unknown shape 3"},
    };
    for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
    EXPECT_DOUBLE_EQ(*FrequencyHz(1), 19.7);
    EXPECT_DOUBLE_EQ(*FrequencyHz(325), 10100.0);  // 10000 Hz lands on 10100
    EXPECT_FALSE(FrequencyHz(363).has_value());
    EXPECT_FALSE(FrequencyHz(kMax).has_value());
    EXPECT_DOUBLE_EQ(GainDb(60), -19.0);
    EXPECT_DOUBLE_EQ(*QFactor(10), 0.71);
    EXPECT_FALSE(QFactor(kMax).has_value());
}

TEST(ValueText, SlotsByRoleAndNamesOfEntries) {
    auto ws = std::make_unique<model::Workspace>();
    auto text = [&](int index, int slot) {
        return SlotText(FactoryLayout().Entry(index), *ws->ParamStore.Slot(index, slot));
    };
    EXPECT_EQ(text(7, 0), "peaking       630 Hz   15.0 dB  Q 1.00    SQ 0.71  on");
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

    EXPECT_EQ(EntryName(788), "混响时间");
    EXPECT_EQ(EntryName(1813), "控制对象：音乐通道");
    EXPECT_EQ(EntryName(2590), "SceneSelect");
    EXPECT_EQ(EntryName(2598), "key shift (5 = none)");
    EXPECT_EQ(EntryName(2597), "");
    EXPECT_EQ(EntryName(-5), "");
    EXPECT_EQ(EntryName(5000), "");
    EXPECT_EQ(RoleText(FactoryLayout().Entry(1801)), "low-pass type");
}

TEST(Validate, ReportsEachOutOfRangeFieldAndNothingInTheDefaults) {
    auto ws = std::make_unique<model::Workspace>();
    model::ParamTable& t = ws->ParamStore;
    EXPECT_TRUE(Validate(t).empty());
    t.Slot(1031, 0)->Value = 363;   // filter frequency beyond the table
    t.Slot(0, 1)->Q = 101;          // Q beyond the table
    t.Slot(0, 1)->Gain = -1;        // negative gain
    t.Slot(0, 2)->QType = 3;        // unknown shape
    t.Slot(0, 2)->Freq = 363;       // band frequency beyond the table
    t.Slot(0, 2)->ShelfQ = -1;      // shelf Q below the table
    t.Slot(1030, 0)->Value = 2;     // short list has two types
    t.Slot(1799, 0)->Value = 4;     // full list has five: fine
    t.Slot(17, 0)->FilterType = 9;  // unknown FilterType
    t.Slot(17, 1)->Value = 62500;   // cannot travel as a value pair
    t.Slot(18, 0)->Defined = true;  // no such entry in the layout
    t.Slot(18, 1)->Value = 12345;   // garbage in an undefined entry: not looked at
    t.Slot(2600, 2)->Defined = false;
    const std::vector<Anomaly> expected = {
        {0, 1, SlotField::Gain, -1, 10, 400},       {0, 1, SlotField::Q, 101, 0, 100},
        {0, 2, SlotField::QType, 3, 0, 2},          {0, 2, SlotField::Freq, 363, 0, 362},
        {0, 2, SlotField::ShelfQ, -1, 0, 100},      {17, 0, SlotField::FilterType, 9, 0, 0},
        {17, 1, SlotField::Value, 62500, 0, 62499}, {18, 0, SlotField::Defined, 1, 0, 0},
        {1030, 0, SlotField::Value, 2, 0, 1},       {1031, 0, SlotField::Value, 363, 0, 362},
        {2600, 2, SlotField::Defined, 0, 1, 1},
    };
    EXPECT_EQ(Validate(t), expected);
    EXPECT_EQ(AnomalyText(expected[9]),
              "entry 1031 (kind 4, address 7) slot 0: Value 363 outside 0..362");
    EXPECT_EQ(AnomalyText(expected[5]),
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
    }
}

}  // namespace
}  // namespace vellora::storage
