// Entry and block wire forms: sizes from the default tables, the reading rule for bands,
// disabled bands and kinds 8..10, clamping, and replies of the wrong size. The golden bytes
// of a whole encoded block are in the frame builder's tests (command 2).
#include "protocol/entry_codec.h"

#include <gtest/gtest.h>

#include <array>

#include "hex_bytes.h"

namespace vellora::protocol {
namespace {

using model::Workspace;
using testing::Hex;
using Band = std::array<int32_t, 6>;  // QType, ShelfQ, Freq, Gain, Q, EQdisabled

Band BandOf(const model::SceneSlot& s) {
    return {s.QType, s.ShelfQ, s.Freq, s.Gain, s.Q, s.EQdisabled ? 1 : 0};
}

TEST(BlockSize, DefaultKindsAddEightPerBandAndTwoPerPlainEntry) {
    Workspace ws;
    // bands x 8 + plain entries x 2, counted from the default layout of each kind
    const std::array<std::size_t, 11> expected{126, 134, 132, 176, 110, 86, 82, 82, 18, 18, 82};
    for (int kind = 0; kind < 11; ++kind)
        EXPECT_EQ(BlockSize(ws.ParamStore, ws, kind).Bytes, expected.at(kind)) << "kind " << kind;
    // kinds 8..10 are pairs whatever the filter type says
    ws.ParamStore.Slot(2560, 0)->FilterType = model::kEqBand;
    EXPECT_EQ(BlockSize(ws.ParamStore, ws, 10).Bytes, 82u);
    EXPECT_EQ(EntryWireSize(ws.ParamStore, 2560), 2u);
}

// Menu kind 0 cut down to two bands (addresses 0, 1) and three plain entries (2, 3, 4).
Workspace TwoBandsThreePlain() {
    Workspace ws;
    ws.SetMenuKindLast(0, 4);
    for (int i = 2; i <= 4; ++i) ws.ParamStore.Slot(i, 0)->FilterType = model::kPlain;
    return ws;
}

const std::vector<uint8_t> kTwoBandsThreePlain = Hex(
    "01 0C 78 05 01 32 00 14 "  // low shelf, ShelfQ 12, Freq 30005 (disabled, 5), Gain 300, Q 20
    "02 0B 00 B5 00 3C 00 10 "  // high shelf, ShelfQ 11, Freq 181, Gain 60, Q 16
    "00 07 79 70 00 00");       // 7, 30362, 0

TEST(DecodeBlock, TwoBandsAndThreePlainEntriesTakeTwentyTwoBytes) {
    Workspace ws = TwoBandsThreePlain();
    const ByteResult r = DecodeBlock(kTwoBandsThreePlain, ws.ParamStore, ws, 0, 1);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.Bytes + 3, 25u);  // the reply frame that carries it is 25 bytes long
    EXPECT_EQ(BandOf(*ws.ParamStore.Slot(0, 1)), (Band{1, 12, 5, 300, 20, 1}));
    EXPECT_EQ(BandOf(*ws.ParamStore.Slot(1, 1)), (Band{2, 11, 181, 60, 16, 0}));
    const auto& store = ws.ParamStore;
    EXPECT_EQ((std::array{store.ValueAt(2, 1), store.ValueAt(3, 1), store.ValueAt(4, 1)}),
              (std::array{7, 30362, 0}));
    EXPECT_EQ(ws.ParamStore.Slot(0, 0)->Gain, 330) << "slot 0 keeps its default shaped gain";

    std::vector<uint8_t> edge = kTwoBandsThreePlain;
    edge[2] = 0x77;  // 119 x 250 + 249 = 29999: still enabled
    edge[3] = 0xF9;
    edge[10] = 0x78;  // 30000: disabled, Freq 0
    edge[11] = 0x00;
    ASSERT_TRUE(DecodeBlock(edge, ws.ParamStore, ws, 0, 0).Ok());
    EXPECT_EQ(BandOf(*ws.ParamStore.Slot(0, 0)), (Band{1, 12, 29999, 300, 20, 0}));
    EXPECT_EQ(BandOf(*ws.ParamStore.Slot(1, 0)), (Band{2, 11, 0, 60, 16, 1}));
}

TEST(DecodeBlock, WrongSizeIsReportedAndStoresNothing) {
    for (std::size_t size : {21u, 23u, 0u}) {
        Workspace ws = TwoBandsThreePlain();
        const model::ParamTable before = ws.ParamStore;
        std::vector<uint8_t> payload = kTwoBandsThreePlain;
        payload.resize(size, 0x11);
        const ByteResult r = DecodeBlock(payload, ws.ParamStore, ws, 0, 1);
        EXPECT_EQ(r.Error, size < 22 ? ProtocolError::ReplyTooShort : ProtocolError::ReplyTooLong);
        EXPECT_EQ(r.Bytes, 22u) << "the size the block needs";
        EXPECT_TRUE(ws.ParamStore == before) << size;
    }
    // The form follows the target table: the mode image still has five bands in kind 0.
    Workspace ws = TwoBandsThreePlain();
    const ByteResult r = DecodeBlock(kTwoBandsThreePlain, ws.ModeImage, ws, 0, 0);
    EXPECT_EQ(std::pair(r.Error, r.Bytes),
              std::pair(ProtocolError::ReplyTooShort, std::size_t{40}));
}

TEST(DecodeBlock, KindsEightToTenGoToSlotZeroAsPlainValues) {
    Workspace ws;
    ws.ParamStore.Slot(2048, 0)->FilterType = model::kEqBand;  // ignored for these kinds
    const auto payload = Hex("00 01 00 02 00 03 00 04 00 05 00 06 00 07 00 08 01 00");
    ASSERT_TRUE(DecodeBlock(payload, ws.ParamStore, ws, 8, 1).Ok());
    for (int i = 0; i < 8; ++i) EXPECT_EQ(ws.ParamStore.ValueAt(2048 + i, 0), i + 1);
    EXPECT_EQ(ws.ParamStore.ValueAt(2056, 0), 250);
    EXPECT_EQ(ws.ParamStore.ValueAt(2048, 1), 100) << "slot 1 keeps its default";
}

// Values a file may carry that no frame byte can hold: each is clamped, never truncated into a
// reserved byte or a broken pair, and a clamped Freq never reads back as a disabled band.
TEST(EncodeEntry, ClampsOutOfRangeValues) {
    using model::kEqBand;
    struct Case {
        int index;
        model::SceneSlot slot;
        const char* wire;
    };
    const Case cases[] = {
        {7,
         {.FilterType = kEqBand, .QType = 255, .Freq = 5000, .Gain = -7, .Q = 900, .ShelfQ = 300},
         "F9 F9 14 00 00 00 03 96"},
        {7,
         {.FilterType = kEqBand, .QType = 255, .Freq = 40000, .Gain = 70000, .Q = -1, .ShelfQ = -3},
         "F9 00 77 F9 F9 F9 00 00"},
        {7,
         {.FilterType = kEqBand, .Freq = 40000, .EQdisabled = true},  // 29999 + 30000
         "00 00 EF F9 00 00 00 00"},
        {17, {.Value = -5}, "00 00"},
        {17, {.Value = 99999}, "F9 F9"},
    };
    Workspace ws;
    std::array<uint8_t, 8> out{};
    for (const Case& c : cases) {
        *ws.ParamStore.Slot(c.index, 0) = c.slot;
        const ByteResult r = EncodeEntry(ws.ParamStore, c.index, 0, false, out);
        ASSERT_TRUE(r.Ok()) << c.wire;
        EXPECT_EQ(testing::Take(out, r.Bytes), Hex(c.wire));
    }
}

TEST(EntryCodec, RefusesBadIndexSlotKindAndRoom) {
    const Workspace ws;
    std::array<uint8_t, 300> out{};
    const auto room = [&out](std::size_t n) { return std::span<uint8_t>(out.data(), n); };
    EXPECT_EQ(EncodeEntry(ws.ParamStore, 3000, 0, false, out).Error, ProtocolError::BadIndex);
    EXPECT_EQ(EncodeEntry(ws.ParamStore, -1, 0, false, out).Error, ProtocolError::BadIndex);
    EXPECT_EQ(EncodeEntry(ws.ParamStore, 7, 3, false, out).Error, ProtocolError::BadSlot);
    EXPECT_EQ(EncodeEntry(ws.ParamStore, 7, 0, false, room(7)).Error,
              ProtocolError::BufferTooSmall);
    EXPECT_EQ(EncodeBlock(ws.ModeImage, ws, 6, 0, room(20)).Error, ProtocolError::BufferTooSmall);
    EXPECT_EQ(EncodeBlock(ws.ModeImage, ws, 6, 3, out).Error, ProtocolError::BadSlot);
    EXPECT_EQ(BlockSize(ws.ParamStore, ws, 11).Error, ProtocolError::BadIndex);
    EXPECT_EQ(BlockSize(ws.ParamStore, ws, -1).Error, ProtocolError::BadIndex);
}

}  // namespace
}  // namespace vellora::protocol
