// The 252000-byte image: field offsets, the factory defaults as bytes, round trips, refusals.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
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

/// File offset of slot s of record k, as the format defines it.
std::size_t At(int k, int s) {
    return 84u * static_cast<std::size_t>(k) + 28u * static_cast<std::size_t>(s);
}

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

    // A 16-bit boolean reads true when either byte is not zero.
    std::array<uint8_t, 28> in{};
    in[22] = 0x01;  // Defined: 01 00
    in[25] = 0x80;  // PerScene: 00 80
    const SceneSlot read = DecodeSlot(in);
    EXPECT_TRUE(read.Defined);
    EXPECT_TRUE(read.PerScene);
    EXPECT_FALSE(read.EQdisabled);
    EXPECT_EQ(SlotOffset(7, 1), 616u);
    EXPECT_EQ(SlotOffset(2999, 2), 251972u);
}

class DefaultsImage : public ::testing::Test {
protected:
    std::unique_ptr<model::Workspace> ws = std::make_unique<model::Workspace>();
    std::vector<uint8_t> bytes = EncodeTable(ws->ParamStore);
};

TEST_F(DefaultsImage, SizeAndValueBytes) {
    ASSERT_EQ(bytes.size(), 252000u);
    // Value at 84k + 28s + 1, little-endian.
    EXPECT_EQ(I32At(bytes, At(256, 0) + 1), 74);    // microphones high-pass 80 Hz
    EXPECT_EQ(I32At(bytes, At(1802, 2) + 1), 146);  // subwoofer low-pass 320 Hz, factory slot
    EXPECT_EQ(I32At(bytes, At(2598, 0) + 1), 5);    // key shift
    EXPECT_EQ(bytes[At(16, 1) + 1], 0x6A);          // music low-pass 20220 Hz, dance scene:
    EXPECT_EQ(bytes[At(16, 1) + 2], 0x01);          // 362 = 6A 01 00 00
    EXPECT_EQ(I32At(bytes, At(16, 1) + 1), 362);
}

TEST_F(DefaultsImage, DefinedFlagsCoverExactlyTheDefinedRanges) {
    // Last defined index of each menu kind; the first is kind x 256.
    const std::array<int, 11> last = {17, 277, 532, 810, 1048, 1301, 1555, 1817, 2056, 2312, 2600};
    for (int k = 0; k < model::kParamCount; ++k) {
        const auto kind = static_cast<std::size_t>(k / 256);
        const bool defined = kind < last.size() && k <= last[kind];
        for (int s = 0; s < 3; ++s) {
            const uint8_t flag = defined ? 0xFF : 0x00;
            ASSERT_EQ(bytes[At(k, s) + 22], flag) << "entry " << k << " slot " << s;
            ASSERT_EQ(bytes[At(k, s) + 23], flag) << "entry " << k << " slot " << s;
        }
    }
}

TEST_F(DefaultsImage, BandGainsAndShape) {
    // The equaliser sections of the defaults: first entry and band count.
    const std::pair<int, int> sections[] = {{0, 15},  {257, 15},  {513, 15}, {776, 5},  {794, 5},
                                            {799, 5}, {1032, 10}, {1288, 7}, {1543, 7}, {1803, 5}};
    for (auto [first, count] : sections) {
        for (int k = first; k < first + count; ++k) {
            for (int s = 0; s < 3; ++s) {
                const std::size_t base = At(k, s);
                EXPECT_EQ(bytes[base], 1) << k;               // FilterType: band
                EXPECT_EQ(bytes[base + 5], 0) << k;           // peaking
                EXPECT_EQ(I32At(bytes, base + 14), 16) << k;  // Q 1.00
                EXPECT_EQ(I32At(bytes, base + 18), 10) << k;  // shelf Q 0.71
                EXPECT_EQ(bytes[base + 26], 0) << k;          // switched on
                // The singing scene shapes the music curve; every other gain is 0 dB.
                if (s > 0 || k >= 15) {
                    EXPECT_EQ(I32At(bytes, base + 10), 250) << k << "/" << s;
                }
            }
        }
    }
}

TEST(TableImage, EveryByteOfAnImageSurvivesDecodingAndEncoding) {
    // Bytes of every kind in every field; a boolean is 00 00 or FF FF, alternating.
    std::vector<uint8_t> bytes(kSettingsFileSize);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::size_t at = i % kSlotBytes;
        const bool on = (i / kSlotBytes + at / 2) % 2 == 1;
        bytes[i] = at >= 22 ? (on ? 0xFF : 0x00) : static_cast<uint8_t>(i * 131 + i / 256);
    }
    auto table = std::make_unique<model::ParamTable>();
    ASSERT_EQ(DecodeTable(bytes, *table), StorageError::Ok);
    EXPECT_EQ(table->Slot(2999, 2)->Value, I32At(bytes, 251972 + 1));
    EXPECT_EQ(EncodeTable(*table), bytes);
}

TEST(TableImage, WrongSizeIsRefusedAndLeavesTheTargetUntouched) {
    auto ws = std::make_unique<model::Workspace>();
    const auto before = std::make_unique<model::ParamTable>(ws->ModeImage);
    const std::vector<uint8_t> other(kSettingsFileSize + 1, 0x5A);
    for (std::size_t size :
         {std::size_t{0}, std::size_t{28}, kSettingsFileSize - 1, kSettingsFileSize + 1}) {
        EXPECT_EQ(DecodeTable(std::span(other.data(), size), ws->ModeImage),
                  StorageError::WrongSize)
            << size;
        EXPECT_TRUE(ws->ModeImage == *before) << size;
    }
}

}  // namespace
}  // namespace vellora::storage
