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

class Recorder : public ParserObserver {
public:
    void OnToneKey() override { events += "T"; }
    void OnIdentified(char variantLetter) override { events += std::string("I") + variantLetter; }
    void OnReplyComplete() override { events += "R"; }
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
    void LinkUpWaiting() {
        link_.LinkUp = true;
        link_.ReplyPending = true;
        link_.ReplyOk = false;
    }

    model::Workspace ws_;
    LinkState link_;
    Recorder observer_;
    ReceiveParser parser_{ws_, link_, &observer_};
};

TEST_F(ReceiveParserTest, IdentificationWithVariantB) {
    Feed(kIdentB);
    EXPECT_TRUE(link_.LinkUp);
    EXPECT_TRUE(link_.VariantB);
    EXPECT_TRUE(link_.StartSyncRequest);
    EXPECT_EQ(observer_.events, "IB");
    EXPECT_EQ(parser_.ReplyLength(), 11);
    EXPECT_EQ(parser_.Position(), 0u);
    EXPECT_FALSE(link_.ReplyOk) << "an identification is no reply";
}

TEST_F(ReceiveParserTest, IdentificationWithOtherVariantClearsB) {
    link_.VariantB = true;
    Feed(kIdentA);
    EXPECT_TRUE(link_.LinkUp);
    EXPECT_FALSE(link_.VariantB);
    EXPECT_EQ(observer_.events, "IA");
}

TEST_F(ReceiveParserTest, IdentificationNeedsTheTagAndTheUnderscore) {
    // "TR-W49B_" and "TR-W48B-" with their own correct checksums
    Feed(Concat({Hex("FE 0B"), Text("TR-W49B_"), Hex("41")}));
    Feed(Concat({Hex("FE 0B"), Text("TR-W48B-"), Hex("0E")}));
    EXPECT_FALSE(link_.LinkUp);
    EXPECT_EQ(parser_.Drops().Unasked, 2u);
    EXPECT_EQ(observer_.events, "");
}

TEST_F(ReceiveParserTest, FramesWhileTheLinkIsDownAreIgnored) {
    link_.ReplyPending = true;
    Feed(kSumFE);
    EXPECT_FALSE(link_.LinkUp);
    EXPECT_TRUE(link_.ReplyPending);
    EXPECT_FALSE(link_.ReplyOk);
    EXPECT_EQ(observer_.events, "");
    EXPECT_EQ(parser_.Drops().Unasked, 1u);
}

TEST_F(ReceiveParserTest, StaleTagBytesNeverIdentifyAShortFrame) {
    Feed(kIdentB);  // the payload store now holds "TR-W48B_"
    link_.LinkUp = false;
    link_.StartSyncRequest = false;
    Feed(Hex("FE 04 54 56"));  // payload "T" only; 254 + 4 + 84 = 342 -> 0x56
    EXPECT_FALSE(link_.LinkUp);
    EXPECT_FALSE(link_.StartSyncRequest);
    EXPECT_EQ(parser_.LastPayload().size(), 1u);
}

TEST_F(ReceiveParserTest, GoodFrameCompletesTheReplyWhenLinked) {
    LinkUpWaiting();
    Feed(Hex("FE 05 00 53 56"));  // password reply: byte 1 'S'
    EXPECT_FALSE(link_.ReplyPending);
    EXPECT_TRUE(link_.ReplyOk);
    EXPECT_EQ(observer_.events, "R");
    EXPECT_EQ(parser_.ReplyLength(), 5);
    EXPECT_EQ(parser_.PayloadByte(1), 'S');
    EXPECT_EQ(parser_.PayloadByte(2, 0x99), 0x99) << "beyond the reply";
}

TEST_F(ReceiveParserTest, ChecksumZeroForSumFE) {
    LinkUpWaiting();
    Feed(Hex("FE 05 FA 01 01"));
    EXPECT_TRUE(link_.ReplyPending) << "checksum 0x01 is wrong for a sum of 0xFE";
    EXPECT_EQ(parser_.Drops().BadChecksum, 1u);
    Feed(kSumFE);
    EXPECT_FALSE(link_.ReplyPending);
    EXPECT_TRUE(link_.ReplyOk);
}

TEST_F(ReceiveParserTest, BadChecksumDropsTheFrameUntilTheNextStart) {
    LinkUpWaiting();
    Feed(Hex("FE 05 00 53 57 00 53 56"));  // wrong sum, then bytes that are no frame
    EXPECT_TRUE(link_.ReplyPending);
    EXPECT_EQ(observer_.events, "");
    EXPECT_EQ(parser_.ReplyLength(), 0) << "a dropped frame is no reply";
    Feed(Hex("FE 05 00 53 56"));
    EXPECT_EQ(observer_.events, "R");
}

TEST_F(ReceiveParserTest, KeepAliveInsideAFrameOnlyResetsSilence) {
    link_.SilenceTicks = 57;
    std::vector<uint8_t> bytes = kIdentB;
    bytes.insert(bytes.begin() + 4, 0xFF);
    Feed(bytes);
    EXPECT_EQ(link_.SilenceTicks, 0);
    EXPECT_TRUE(link_.LinkUp) << "the frame still completes";
}

TEST_F(ReceiveParserTest, StartByteInsideAFrameRestartsIt) {
    Feed(Hex("FE 0B 54 52 2D"));  // a partial frame
    Feed(kIdentB);
    EXPECT_TRUE(link_.LinkUp);
    EXPECT_EQ(parser_.Drops().BadChecksum, 0u);
}

TEST_F(ReceiveParserTest, ToneKeyByte) {
    ws_.ParamStore.SetValueAt(2598, 0, 8);
    ws_.ParamStore.SetValueAt(2598, 1, 8);
    std::vector<uint8_t> bytes = kIdentB;
    bytes.insert(bytes.begin() + 6, 0xFD);  // also inside a frame
    Feed(bytes);
    EXPECT_EQ(ws_.ParamStore.ValueAt(2598, 0), 5);
    EXPECT_EQ(ws_.ParamStore.ValueAt(2598, 1), 8) << "only slot 0";
    EXPECT_EQ(observer_.events, "TIB");
}

TEST_F(ReceiveParserTest, FrameSplitAcrossArrivals) {
    for (uint8_t b : kIdentB) parser_.OnDeviceBytes(std::span<const uint8_t>(&b, 1));
    EXPECT_TRUE(link_.LinkUp);
}

TEST_F(ReceiveParserTest, ResetPositionDropsAHalfFrame) {
    Feed(Hex("FE 0B 54 52"));
    parser_.ResetPosition();
    Feed(Concat({Text("-W48B_"), Hex("40")}));
    EXPECT_FALSE(link_.LinkUp);
    EXPECT_EQ(parser_.Position(), 0u);
}

TEST_F(ReceiveParserTest, LengthBytesBelowThreeAreDiscarded) {
    for (const char* bad : {"FE 00", "FE 01", "FE 02"}) {
        // without the check "FE 02" would never complete and everything after it would pile up
        Feed(Concat({Hex(bad), Text("TR-W48B_"), Hex("40")}));
        EXPECT_EQ(parser_.Position(), 0u) << bad;
    }
    EXPECT_EQ(parser_.Drops().BadLength, 3u);
    EXPECT_FALSE(link_.LinkUp);
    Feed(kIdentB);
    EXPECT_TRUE(link_.LinkUp);
}

TEST_F(ReceiveParserTest, LongStreamsNeverOverrunTheBuffer) {
    std::vector<uint8_t> junk(5000);
    for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<uint8_t>(i % 253);
    Feed(junk);  // no start byte at all
    EXPECT_LT(parser_.Position(), kFrameBufferSize);
    Feed(Concat({Hex("FE FC"), junk}));  // the longest length byte, then far more bytes
    EXPECT_LT(parser_.Position(), kFrameBufferSize);
    EXPECT_GE(parser_.Drops().BadChecksum, 1u);
    Feed(kIdentB);
    EXPECT_TRUE(link_.LinkUp) << "the next start byte recovers";
}

TEST_F(ReceiveParserTest, LongestReplyIsAccepted) {
    LinkUpWaiting();
    std::vector<uint8_t> frame = Hex("FE FC");
    frame.resize(251, 0x01);  // 249 payload bytes of 1
    frame.push_back(0xF3);    // 254 + 252 + 249 = 755; 755 mod 256 = 243
    Feed(frame);
    EXPECT_TRUE(link_.ReplyOk);
    EXPECT_EQ(parser_.ReplyLength(), 252);
    EXPECT_EQ(parser_.LastPayload().size(), 249u);
}

TEST_F(ReceiveParserTest, BlockReplyOfTwoBandsAndThreeEntriesIs25Bytes) {
    ws_.SetMenuKindLast(0, 4);
    for (int i = 2; i <= 4; ++i) ws_.ParamStore.Slot(i, 0)->FilterType = model::kPlain;
    LinkUpWaiting();
    const auto payload = Hex("00 0A 78 05 01 00 00 10 00 0A 00 B5 01 00 00 10 00 07 00 08 00 09");
    // 254 + 25 = 279; payload 10+120+5+1+16 + 10+181+1+16 + 7+8+9 = 384; 663 mod 256 = 151
    const auto frame = Concat({Hex("FE 19"), payload, Hex("97")});
    ASSERT_EQ(frame.size(), 25u);
    Feed(frame);
    ASSERT_TRUE(link_.ReplyOk);
    const ByteResult r = DecodeBlock(parser_.LastPayload(), ws_.ParamStore, ws_, 0, 0);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(static_cast<std::size_t>(parser_.ReplyLength()), r.Bytes + 3);
    EXPECT_EQ(ws_.ParamStore.Slot(0, 0)->Freq, 5);
    EXPECT_TRUE(ws_.ParamStore.Slot(0, 0)->EQdisabled);
    EXPECT_EQ(ws_.ParamStore.ValueAt(4, 0), 9);

    // 24- and 26-byte replies do not match the block
    for (const auto& wrong :
         {Concat({Hex("FE 18"),
                  Hex("00 0A 78 05 01 00 00 10 00 0A 00 B5 01 00 00 10 00 07 00 08 00"),
                  Hex("8D")}),
          Concat({Hex("FE 1A"), payload, Hex("00 98")})}) {
        link_.ReplyOk = false;
        Feed(wrong);
        ASSERT_TRUE(link_.ReplyOk) << "the frame itself is good";
        const ByteResult w = DecodeBlock(parser_.LastPayload(), ws_.ParamStore, ws_, 0, 0);
        EXPECT_FALSE(w.Ok());
        EXPECT_NE(static_cast<std::size_t>(parser_.ReplyLength()), w.Bytes + 3);
    }
}

TEST_F(ReceiveParserTest, WorksWithoutAnObserver) {
    ReceiveParser bare(ws_, link_);
    bare.OnDeviceBytes(Hex("FD"));
    bare.OnDeviceBytes(kIdentB);
    EXPECT_TRUE(link_.LinkUp);
    EXPECT_EQ(ws_.ParamStore.ValueAt(2598, 0), 5);
}

}  // namespace
}  // namespace vellora::protocol
