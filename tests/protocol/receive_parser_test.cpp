// The receive parser against device byte streams: control bytes inside frames, restarts,
// checksums, identification, replies, and streams that try to overrun the frame buffer.
#include "protocol/receive_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "hex_bytes.h"
#include "protocol/entry_codec.h"

namespace vellora::protocol {
namespace {

using testing::Concat;
using testing::Hex;
using testing::Text;

// T tone key, I + letter an identification while down; while linked R a frame, i a frame in
// the identification's form.
class Recorder : public ParserObserver {
public:
    void OnToneKey() override { events += "T"; }
    void OnIdentified(char variantLetter) override { events += std::string("I") + variantLetter; }
    void OnFrame(std::span<const uint8_t>, bool identification) override {
        events += identification ? "i" : "R";
    }
    std::string events;
};

// FE 0B "TR-W48" letter "_" and the checksum, written out by hand.
const std::vector<uint8_t> kIdentB = Concat({Hex("FE 0B"), Text("TR-W48B_"), Hex("40")});
const std::vector<uint8_t> kIdentA = Concat({Hex("FE 0B"), Text("TR-W48A_"), Hex("3F")});
// A short reply whose byte sum is 0xFE: its checksum byte must be 0x00.
const std::vector<uint8_t> kSumFE = Hex("FE 05 FA 01 00");

class ReceiveParserTest : public ::testing::Test {
protected:
    void Feed(const std::vector<uint8_t>& bytes) { parser_.OnDeviceBytes(bytes); }
    void LinkUp() { link_.Identified(Text("TR-W48A_")); }

    model::Workspace ws_;
    LinkState link_;
    Recorder observer_;
    ReceiveParser parser_{ws_, link_, &observer_};
};

TEST_F(ReceiveParserTest, IdentificationBringsTheLinkUpWithItsVariant) {
    link_.Identified(Text("TR-W48B_"));
    link_.Lose(LinkLoss::NoReply);
    Feed(kIdentA);
    EXPECT_TRUE(link_.LinkUp());
    EXPECT_FALSE(link_.VariantB());
    link_.Lose(LinkLoss::NoReply);
    link_.ClearStartSyncRequest();
    Feed(kIdentB);
    EXPECT_TRUE(link_.LinkUp());
    EXPECT_TRUE(link_.VariantB());
    EXPECT_TRUE(link_.StartSyncRequested());
    EXPECT_EQ(link_.DeviceTag(), "TR-W48B_");
    EXPECT_EQ(observer_.events, "IAIB") << "an identification is no reply";
    EXPECT_EQ(parser_.ReplyLength(), 11);
    Feed(kIdentA);
    EXPECT_EQ(observer_.events, "IAIBi") << "while linked it is marked as one";
    EXPECT_TRUE(link_.VariantB());
}

TEST_F(ReceiveParserTest, WhileDownOnlyATagInsideTheFrameIdentifies) {
    // "TR-W49B_" and "TR-W48B-" with their own correct checksums, then a plain reply
    Feed(Concat({Hex("FE 0B"), Text("TR-W49B_"), Hex("41")}));
    Feed(Concat({Hex("FE 0B"), Text("TR-W48B-"), Hex("0E")}));
    Feed(kSumFE);
    EXPECT_FALSE(link_.LinkUp());
    EXPECT_EQ(parser_.Drops().Unasked, 3u);
    EXPECT_EQ(observer_.events, "") << "frames while the link is down answer nothing";

    Feed(kIdentB);  // the payload store now holds "TR-W48B_"
    link_.Lose(LinkLoss::NoReply);
    link_.ClearStartSyncRequest();
    Feed(Hex("FE 04 54 56"));  // payload "T" only; 254 + 4 + 84 = 342 -> 0x56
    EXPECT_FALSE(link_.LinkUp()) << "stale tag bytes never identify a short frame";
    EXPECT_FALSE(link_.StartSyncRequested());
    EXPECT_EQ(parser_.LastPayload().size(), 1u);
}

TEST_F(ReceiveParserTest, AReplyNeedsItsChecksumWithReservedSumsAsZero) {
    LinkUp();
    Feed(Hex("FE 05 FA 01 01"));           // checksum 0x01 is wrong for a sum of 0xFE
    Feed(Hex("FE 05 00 53 57 00 53 56"));  // wrong sum, then bytes that are no frame
    EXPECT_EQ(observer_.events, "");
    EXPECT_EQ(parser_.Drops().BadChecksum, 2u);
    EXPECT_EQ(parser_.ReplyLength(), 0) << "a dropped frame is no reply";
    Feed(kSumFE);
    EXPECT_EQ(observer_.events, "R");
    Feed(Hex("FE 05 00 53 56"));  // password reply: byte 1 'S'
    EXPECT_EQ(observer_.events, "RR");
    EXPECT_EQ(parser_.ReplyLength(), 5);
    EXPECT_EQ(parser_.PayloadByte(1), 'S');
    EXPECT_EQ(parser_.PayloadByte(2, 0x99), 0x99) << "beyond the reply";
}

// A keep-alive only resets the silence count, a tone key resets slot 0 of the key shift, and a
// start byte drops the partial frame before it; none of them breaks the frame they sit in.
TEST_F(ReceiveParserTest, ControlBytesInsideAFrame) {
    for (int i = 0; i < 57; ++i) link_.CountSilentTick();
    ws_.ParamStore.SetValueAt(2598, 0, 8);
    ws_.ParamStore.SetValueAt(2598, 1, 8);
    std::vector<uint8_t> bytes = kIdentB;
    bytes.insert(bytes.begin() + 4, 0xFF);
    bytes.insert(bytes.begin() + 6, 0xFD);
    Feed(Hex("FE 0B 54 52 2D"));
    Feed(bytes);
    EXPECT_TRUE(link_.LinkUp());
    EXPECT_EQ(parser_.Drops().BadChecksum, 0u);
    EXPECT_EQ(link_.SilenceTicks(), 0);
    EXPECT_EQ(ws_.ParamStore.ValueAt(2598, 0), 5);
    EXPECT_EQ(ws_.ParamStore.ValueAt(2598, 1), 8) << "only slot 0";
    EXPECT_EQ(observer_.events, "TIB");
}

TEST_F(ReceiveParserTest, FramesSpanArrivalsUntilThePositionIsReset) {
    Feed(Hex("FE 0B 54 52"));
    parser_.ResetPosition();
    Feed(Concat({Text("-W48B_"), Hex("40")}));
    EXPECT_FALSE(link_.LinkUp());
    EXPECT_EQ(parser_.Position(), 0u);
    for (uint8_t b : kIdentB) parser_.OnDeviceBytes(std::span<const uint8_t>(&b, 1));
    EXPECT_TRUE(link_.LinkUp());
}

// Length bytes outside 3..252 and streams far longer than any frame never make the frame
// buffer grow or overrun; the next start byte recovers, and the longest reply still fits.
TEST_F(ReceiveParserTest, BadLengthsAndLongStreamsNeverOverrunTheBuffer) {
    for (const char* bad : {"FE 00", "FE 01", "FE 02"}) {
        // without the check "FE 02" would never complete and everything after it would pile up
        Feed(Concat({Hex(bad), Text("TR-W48B_"), Hex("40")}));
        EXPECT_EQ(parser_.Position(), 0u) << bad;
    }
    EXPECT_EQ(parser_.Drops().BadLength, 3u);
    EXPECT_FALSE(link_.LinkUp());
    std::vector<uint8_t> junk(5000);
    for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<uint8_t>(i % 253);
    Feed(junk);  // no start byte at all
    EXPECT_LT(parser_.Position(), kFrameBufferSize);
    Feed(Concat({Hex("FE FC"), junk}));  // the longest length byte, then far more bytes
    EXPECT_LT(parser_.Position(), kFrameBufferSize);
    EXPECT_GE(parser_.Drops().BadChecksum, 1u);

    LinkUp();
    std::vector<uint8_t> frame = Hex("FE FC");
    frame.resize(251, 0x01);  // 249 payload bytes of 1
    frame.push_back(0xF3);    // 254 + 252 + 249 = 755; 755 mod 256 = 243
    Feed(frame);
    EXPECT_EQ(observer_.events, "R") << "the next start byte recovers";
    EXPECT_EQ(parser_.ReplyLength(), 252);
    EXPECT_EQ(parser_.LastPayload().size(), 249u);
}

// Two bands and three plain entries travel in a 25-byte reply.
TEST_F(ReceiveParserTest, BlockReplyOfTwoBandsAndThreeEntriesIs25Bytes) {
    ws_.SetMenuKindLast(0, 4);
    for (int i = 2; i <= 4; ++i) ws_.ParamStore.Slot(i, 0)->FilterType = model::kPlain;
    LinkUp();
    // 254 + 25 = 279; payload 10+120+5+1+16 + 10+181+1+16 + 7+8+9 = 384; 663 mod 256 = 151
    Feed(Hex("FE 19 00 0A 78 05 01 00 00 10 00 0A 00 B5 01 00 00 10 00 07 00 08 00 09 97"));
    EXPECT_EQ(observer_.events, "R");
    EXPECT_EQ(parser_.ReplyLength(), 25);
    ASSERT_TRUE(DecodeBlock(parser_.LastPayload(), ws_.ParamStore, ws_, 0, 0).Ok());
    EXPECT_EQ(ws_.ParamStore.ValueAt(4, 0), 9);
}

TEST_F(ReceiveParserTest, WorksWithoutAnObserver) {
    ReceiveParser bare(ws_, link_);
    bare.OnDeviceBytes(Hex("FD"));
    bare.OnDeviceBytes(kIdentB);
    EXPECT_TRUE(link_.LinkUp());
    EXPECT_EQ(ws_.ParamStore.ValueAt(2598, 0), 5);
}

}  // namespace
}  // namespace vellora::protocol
