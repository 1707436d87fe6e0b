// Entry and block wire forms: sizes from the default tables, golden block bytes, the reading
// rule for bands, disabled bands and kinds 8..10, and replies of the wrong size.
#include "protocol/entry_codec.h"

#include <gtest/gtest.h>

#include <array>

#include "hex_bytes.h"

namespace vellora::protocol {
namespace {

using model::ParamTable;
using model::Workspace;
using testing::Concat;
using testing::Hex;

TEST(BlockSize, DefaultKindsAddEightPerBandAndTwoPerPlainEntry) {
    const Workspace ws;
    // bands x 8 + plain entries x 2, counted from the default layout of each kind
    const std::array<std::size_t, 11> expected{126, 134, 132, 176, 110, 86, 82, 82, 18, 18, 82};
    for (int kind = 0; kind < 11; ++kind) {
        const ByteResult size = BlockSize(ws.ParamStore, ws, kind);
        ASSERT_TRUE(size.Ok()) << kind;
        EXPECT_EQ(size.Bytes, expected[static_cast<std::size_t>(kind)]) << "kind " << kind;
    }
    EXPECT_EQ(BlockSize(ws.ParamStore, ws, 11).Error, ProtocolError::BadIndex);
    EXPECT_EQ(BlockSize(ws.ParamStore, ws, -1).Error, ProtocolError::BadIndex);
}

TEST(BlockSize, KindsEightToTenArePairsWhateverTheFilterType) {
    Workspace ws;
    ws.ParamStore.Slot(2560, 0)->FilterType = model::kEqBand;
    EXPECT_EQ(BlockSize(ws.ParamStore, ws, 10).Bytes, 82u);
    EXPECT_EQ(EntryWireSize(ws.ParamStore, 2560), 2u);
}

TEST(EncodeBlock, CentreOutputKindGoldenBytes) {
    const Workspace ws;
    std::array<uint8_t, 300> out{};
    const ByteResult r = EncodeBlock(ws.ModeImage, ws, 6, 1, out);
    ASSERT_TRUE(r.Ok());
    const auto band = [](const char* freqPair) {
        return Concat({Hex("00 0A"), Hex(freqPair), Hex("01 00 00 10")});
    };
    const auto expected = Concat({
        Hex("00 64 00 64 00 64 00 64 00 50"),  // four source levels 100, centre level 80
        Hex("00 00 00 01"),                    // high-pass type 0, frequency index 1 (19.7 Hz)
        band("00 39"), band("00 65"), band("00 9E"), band("00 CD"),  // 57, 134, 400, 1000 Hz
        band("01 03"), band("01 33"), band("01 63"),                 // 2500, 6300, 16000 Hz
        Hex("00 8C 00 28 00 5A 00 24 00 00 00 64"),                  // 140, 40, 90, 36, 0, 100
    });
    EXPECT_EQ(testing::Take(out, r.Bytes), expected);
}

TEST(EncodeBlock, RefusesSmallBuffersAndBadSlots) {
    const Workspace ws;
    std::array<uint8_t, 20> small{};
    EXPECT_EQ(EncodeBlock(ws.ModeImage, ws, 6, 0, small).Error, ProtocolError::BufferTooSmall);
    std::array<uint8_t, 300> out{};
    EXPECT_EQ(EncodeBlock(ws.ModeImage, ws, 6, 3, out).Error, ProtocolError::BadSlot);
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

    const model::SceneSlot& b0 = *ws.ParamStore.Slot(0, 1);
    EXPECT_EQ(b0.QType, 1);
    EXPECT_EQ(b0.ShelfQ, 12);
    EXPECT_EQ(b0.Freq, 5);
    EXPECT_TRUE(b0.EQdisabled);
    EXPECT_EQ(b0.Gain, 300);
    EXPECT_EQ(b0.Q, 20);
    const model::SceneSlot& b1 = *ws.ParamStore.Slot(1, 1);
    EXPECT_EQ(b1.QType, 2);
    EXPECT_EQ(b1.Freq, 181);
    EXPECT_FALSE(b1.EQdisabled);
    EXPECT_EQ(b1.Gain, 60);
    EXPECT_EQ(ws.ParamStore.ValueAt(2, 1), 7);
    EXPECT_EQ(ws.ParamStore.ValueAt(3, 1), 30362);
    EXPECT_EQ(ws.ParamStore.ValueAt(4, 1), 0);
    // slot 0 is untouched: its band 0 keeps the default shaped gain
    EXPECT_EQ(ws.ParamStore.Slot(0, 0)->Gain, 330);
}

TEST(DecodeBlock, WrongSizeIsReportedAndStoresNothing) {
    for (std::size_t size : {21u, 23u, 0u}) {
        Workspace ws = TwoBandsThreePlain();
        const ParamTable before = ws.ParamStore;
        std::vector<uint8_t> payload = kTwoBandsThreePlain;
        payload.resize(size, 0x11);
        const ByteResult r = DecodeBlock(payload, ws.ParamStore, ws, 0, 1);
        EXPECT_EQ(r.Error, size < 22 ? ProtocolError::ReplyTooShort : ProtocolError::ReplyTooLong);
        EXPECT_EQ(r.Bytes, 22u) << "the size the block needs";
        EXPECT_TRUE(ws.ParamStore == before) << size;
    }
}

TEST(DecodeBlock, FrequencyAtTheDisabledBoundary) {
    Workspace ws = TwoBandsThreePlain();
    std::vector<uint8_t> payload = kTwoBandsThreePlain;
    payload[2] = 0x77;  // 119 x 250 + 249 = 29999: still enabled
    payload[3] = 0xF9;
    payload[10] = 0x78;  // 30000: disabled, Freq 0
    payload[11] = 0x00;
    ASSERT_TRUE(DecodeBlock(payload, ws.ParamStore, ws, 0, 0).Ok());
    EXPECT_EQ(ws.ParamStore.Slot(0, 0)->Freq, 29999);
    EXPECT_FALSE(ws.ParamStore.Slot(0, 0)->EQdisabled);
    EXPECT_EQ(ws.ParamStore.Slot(1, 0)->Freq, 0);
    EXPECT_TRUE(ws.ParamStore.Slot(1, 0)->EQdisabled);
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

TEST(DecodeBlock, FormFollowsTheTargetTable) {
    Workspace ws = TwoBandsThreePlain();
    // The mode image still has five bands in kind 0 addresses 0..4: it needs 40 bytes.
    const ByteResult r = DecodeBlock(kTwoBandsThreePlain, ws.ModeImage, ws, 0, 0);
    EXPECT_EQ(r.Error, ProtocolError::ReplyTooShort);
    EXPECT_EQ(r.Bytes, 40u);
}

TEST(EntryCodec, EncodedBlockReadsBackIntoAnEqualTable) {
    Workspace source;
    source.ParamStore.Slot(1536 + 8, 1)->EQdisabled = true;
    source.ParamStore.Slot(1536 + 9, 1)->Gain = 61;
    source.ParamStore.Slot(1536 + 14, 1)->Value = 1234;
    Workspace target;
    for (int kind = 0; kind < 8; ++kind) {
        std::array<uint8_t, 255> buf{};
        const ByteResult enc = EncodeBlock(source.ParamStore, source, kind, 1, buf);
        ASSERT_TRUE(enc.Ok());
        const ByteResult dec = DecodeBlock(std::span<const uint8_t>(buf.data(), enc.Bytes),
                                           target.ParamStore, target, kind, 1);
        ASSERT_TRUE(dec.Ok()) << kind;
        EXPECT_EQ(dec.Bytes, enc.Bytes);
    }
    for (int i = 0; i < 2048; ++i)
        EXPECT_EQ(*target.ParamStore.Slot(i, 1), *source.ParamStore.Slot(i, 1)) << i;
}

// Values a file may carry that no frame byte can hold: each is clamped, never truncated into a
// reserved byte or a broken pair.
TEST(EncodeEntry, ClampsOutOfRangeValues) {
    Workspace ws;
    model::SceneSlot& band = *ws.ParamStore.Slot(7, 0);
    band.QType = 255;
    band.ShelfQ = 300;
    band.Freq = 5000;
    band.Gain = -7;
    band.Q = 900;
    std::array<uint8_t, 8> out{};
    ASSERT_TRUE(EncodeEntry(ws.ParamStore, 7, 0, false, out).Ok());
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.end()), Hex("F9 F9 14 00 00 00 03 96"));

    band.ShelfQ = -3;
    band.Freq = 40000;  // would read back as a disabled band
    band.Gain = 70000;
    band.Q = -1;
    ASSERT_TRUE(EncodeEntry(ws.ParamStore, 7, 0, false, out).Ok());
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.end()), Hex("F9 00 77 F9 F9 F9 00 00"));

    band.EQdisabled = true;  // 29999 + 30000 = 59999
    ASSERT_TRUE(EncodeEntry(ws.ParamStore, 7, 0, false, out).Ok());
    EXPECT_EQ(out[2], 0xEF);
    EXPECT_EQ(out[3], 0xF9);

    std::array<uint8_t, 2> pair{};
    ws.ParamStore.Slot(17, 0)->Value = -5;
    ASSERT_TRUE(EncodeEntry(ws.ParamStore, 17, 0, false, pair).Ok());
    EXPECT_EQ(std::vector<uint8_t>(pair.begin(), pair.end()), Hex("00 00"));
    ws.ParamStore.Slot(17, 0)->Value = 99999;
    ASSERT_TRUE(EncodeEntry(ws.ParamStore, 17, 0, false, pair).Ok());
    EXPECT_EQ(std::vector<uint8_t>(pair.begin(), pair.end()), Hex("F9 F9"));
}

TEST(EncodeEntry, RefusesBadIndexSlotAndRoom) {
    const Workspace ws;
    std::array<uint8_t, 8> out{};
    EXPECT_EQ(EncodeEntry(ws.ParamStore, 3000, 0, false, out).Error, ProtocolError::BadIndex);
    EXPECT_EQ(EncodeEntry(ws.ParamStore, -1, 0, false, out).Error, ProtocolError::BadIndex);
    EXPECT_EQ(EncodeEntry(ws.ParamStore, 7, 3, false, out).Error, ProtocolError::BadSlot);
    EXPECT_EQ(EncodeEntry(ws.ParamStore, 7, 0, false, std::span<uint8_t>(out.data(), 7)).Error,
              ProtocolError::BufferTooSmall);
}

}  // namespace
}  // namespace vellora::protocol
