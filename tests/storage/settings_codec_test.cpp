// The 252000-byte image: field offsets, the factory defaults as bytes, round trips, refusals.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "model/workspace.h"
#include "storage/settings_codec.h"

namespace vellora::storage {
namespace {

using model::SceneSlot;

int32_t I32At(const std::vector<uint8_t>& b, std::size_t at) {
    return static_cast<int32_t>(
        static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
        static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24);
}

// Last defined index of each menu kind in the factory defaults; the first is kind x 256.
constexpr std::array<int, 11> kLast = {17, 277, 532, 810, 1048, 1301, 1555, 1817, 2056, 2312, 2600};

// The equaliser sections of the defaults: first entry and band count.
constexpr std::array<std::pair<int, int>, 10> kEqSections = {{
    {0, 15},
    {257, 15},
    {513, 15},
    {776, 5},
    {794, 5},
    {799, 5},
    {1032, 10},
    {1288, 7},
    {1543, 7},
    {1803, 5},
}};

class DefaultsImage : public ::testing::Test {
protected:
    std::unique_ptr<model::Workspace> ws = std::make_unique<model::Workspace>();
    std::vector<uint8_t> bytes = EncodeTable(ws->ParamStore);
};

TEST(SlotLayout, EveryFieldAtItsOffsetLittleEndian) {
    SceneSlot slot;
    slot.FilterType = 0x03;
    slot.Value = 0x11223344;
    slot.QType = 0x02;
    slot.Freq = 0x55667788;
    slot.Gain = -2;
    slot.Q = 0x01020304;
    slot.ShelfQ = 0x0A0B0C0D;
    slot.Defined = true;
    slot.PerScene = false;
    slot.EQdisabled = true;
    std::array<uint8_t, 28> out{};
    EncodeSlot(slot, out);
    const std::array<uint8_t, 28> expected = {
        0x03,                    // FilterType
        0x44, 0x33, 0x22, 0x11,  // Value
        0x02,                    // QType
        0x88, 0x77, 0x66, 0x55,  // Freq
        0xFE, 0xFF, 0xFF, 0xFF,  // Gain -2
        0x04, 0x03, 0x02, 0x01,  // Q
        0x0D, 0x0C, 0x0B, 0x0A,  // ShelfQ
        0xFF, 0xFF,              // Defined true
        0x00, 0x00,              // PerScene false
        0xFF, 0xFF,              // EQdisabled true
    };
    EXPECT_EQ(out, expected);
    EXPECT_EQ(DecodeSlot(out), slot);
}

TEST(SlotLayout, OffsetsOfRecordsAndSlots) {
    EXPECT_EQ(kSettingsFileSize, 252000u);
    EXPECT_EQ(SlotOffset(0, 0), 0u);
    EXPECT_EQ(SlotOffset(0, 2), 56u);
    EXPECT_EQ(SlotOffset(1, 0), 84u);
    EXPECT_EQ(SlotOffset(7, 1), 616u);
    EXPECT_EQ(SlotOffset(2999, 2), 251972u);
}

TEST(SlotLayout, BooleanReadsTrueWhenNotZero) {
    std::array<uint8_t, 28> in{};
    in[22] = 0x01;  // Defined: 01 00
    in[25] = 0x80;  // PerScene: 00 80
    const SceneSlot slot = DecodeSlot(in);
    EXPECT_TRUE(slot.Defined);
    EXPECT_TRUE(slot.PerScene);
    EXPECT_FALSE(slot.EQdisabled);
}

TEST_F(DefaultsImage, SizeAndValueBytes) {
    ASSERT_EQ(bytes.size(), 252000u);
    // Value at 84k + 28s + 1, little-endian.
    EXPECT_EQ(I32At(bytes, 84 * 256 + 1), 74);       // microphones high-pass 80 Hz
    EXPECT_EQ(I32At(bytes, 84 * 16 + 28 + 1), 362);  // music low-pass 20220 Hz, dance scene
    EXPECT_EQ(bytes[84 * 16 + 1], 0x6A);
    EXPECT_EQ(bytes[84 * 16 + 2], 0x01);
    EXPECT_EQ(I32At(bytes, 84 * 771 + 1), 313);        // echo frequency 8000 Hz
    EXPECT_EQ(I32At(bytes, 84 * 1802 + 56 + 1), 146);  // subwoofer low-pass 320 Hz, factory slot
    EXPECT_EQ(I32At(bytes, 84 * 2598 + 1), 5);         // key shift
    EXPECT_EQ(I32At(bytes, 84 * 788 + 1), 500);        // reverb time
    EXPECT_EQ(bytes[84 * 1801], 3);                    // low-pass type entry: FilterType 3
    EXPECT_EQ(I32At(bytes, 84 * 1801 + 1), 0);
    EXPECT_EQ(bytes[84 * 1030 + 28], 2);  // high-pass type entry of the main output
}

TEST_F(DefaultsImage, DefinedFlagsCoverExactlyTheDefinedRanges) {
    for (int kind = 0; kind < 11; ++kind) {
        for (int address = 0; address < 256; ++address) {
            const int k = kind * 256 + address;
            if (k >= 3000) break;
            const bool defined = k <= kLast[static_cast<std::size_t>(kind)];
            for (int s = 0; s < 3; ++s) {
                const std::size_t at =
                    84u * static_cast<std::size_t>(k) + 28u * static_cast<std::size_t>(s) + 22;
                ASSERT_EQ(bytes[at], defined ? 0xFF : 0x00) << "entry " << k << " slot " << s;
                ASSERT_EQ(bytes[at + 1], defined ? 0xFF : 0x00) << "entry " << k << " slot " << s;
            }
        }
    }
}

TEST_F(DefaultsImage, BandGainsAndShape) {
    for (auto [first, count] : kEqSections) {
        for (int k = first; k < first + count; ++k) {
            for (int s = 0; s < 3; ++s) {
                const std::size_t base =
                    84u * static_cast<std::size_t>(k) + 28u * static_cast<std::size_t>(s);
                EXPECT_EQ(bytes[base], 1) << k;               // FilterType: band
                EXPECT_EQ(bytes[base + 5], 0) << k;           // peaking
                EXPECT_EQ(I32At(bytes, base + 14), 16) << k;  // Q 1.00
                EXPECT_EQ(I32At(bytes, base + 18), 10) << k;  // shelf Q 0.71
                EXPECT_EQ(bytes[base + 26], 0) << k;          // switched on
                if (s > 0 || k >= 15) {
                    EXPECT_EQ(I32At(bytes, base + 10), 250) << k << " slot " << s;
                }
            }
        }
    }
    // The shaped music curve of the singing scene.
    const std::array<std::pair<int, int>, 6> shaped = {
        {{0, 330}, {2, 350}, {7, 400}, {9, 60}, {11, 320}, {14, 300}}};
    for (auto [k, gain] : shaped)
        EXPECT_EQ(I32At(bytes, 84u * static_cast<std::size_t>(k) + 10), gain) << k;
    EXPECT_EQ(bytes[84 * 7 + 10], 0x90);
    EXPECT_EQ(bytes[84 * 7 + 11], 0x01);
    EXPECT_EQ(I32At(bytes, 84 * 7 + 28 + 10), 250);
    EXPECT_EQ(I32At(bytes, 84 * 1 + 10), 250);
    // 25 Hz lands on 25.3 Hz (index 14), the first centre of the 15-band list.
    EXPECT_EQ(I32At(bytes, 6), 14);
}

TEST(TableImage, RoundTripKeepsEveryValue) {
    auto table = std::make_unique<model::ParamTable>();
    int n = 0;
    for (int k = 0; k < model::kParamCount; k += 7) {
        for (int s = 0; s < 3; ++s) {
            SceneSlot& slot = *table->Slot(k, s);
            ++n;
            slot.FilterType = static_cast<uint8_t>(n * 37);
            slot.Value = n % 3 == 0 ? std::numeric_limits<int32_t>::min() : -n * 1001;
            slot.QType = static_cast<uint8_t>(255 - n);
            slot.Freq = n * 65537;
            slot.Gain = n % 5 == 0 ? std::numeric_limits<int32_t>::max() : 250 - n;
            slot.Q = -n;
            slot.ShelfQ = n * 3;
            slot.Defined = n % 2 == 0;
            slot.PerScene = n % 3 == 0;
            slot.EQdisabled = n % 4 == 0;
        }
    }
    const std::vector<uint8_t> bytes = EncodeTable(*table);
    auto back = std::make_unique<model::ParamTable>();
    ASSERT_EQ(DecodeTable(bytes, *back), StorageError::Ok);
    EXPECT_TRUE(*back == *table);
    EXPECT_EQ(EncodeTable(*back), bytes);
}

TEST(TableImage, WrongSizeIsRefusedAndLeavesTheTargetUntouched) {
    auto ws = std::make_unique<model::Workspace>();
    const auto before = std::make_unique<model::ParamTable>(ws->ModeImage);
    std::vector<uint8_t> other(kSettingsFileSize + 1, 0x5A);
    for (std::size_t size :
         {std::size_t{0}, std::size_t{28}, kSettingsFileSize - 1, kSettingsFileSize + 1}) {
        EXPECT_EQ(DecodeTable(std::span<const uint8_t>(other.data(), size), ws->ModeImage),
                  StorageError::WrongSize)
            << size;
        EXPECT_TRUE(ws->ModeImage == *before) << size;
    }
}

}  // namespace
}  // namespace vellora::storage
