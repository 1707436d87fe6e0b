// Trace texts of the link's bytes: golden texts per command and reply, frames joined across
// reports, password digits hidden, and malformed input shown as such without harm.
#include "protocol/frame_description.h"

#include <gtest/gtest.h>

#include <sstream>

#include "protocol/hex_bytes.h"

namespace vellora::protocol {
namespace {

using testing::Hex;
constexpr auto kTo = FrameDirection::ToDevice;
constexpr auto kFrom = FrameDirection::FromDevice;

struct Report {
    FrameDirection Direction;
    const char* Data;      ///< the report's data bytes in hex
    const char* Expected;  ///< what the describer gives for them
};

// Each scenario runs on a fresh describer, report by report. The search, identification,
// parameter write, reply and bad checksum are among the golden lines of hid_trace_test.cpp.
const std::vector<std::vector<Report>> kScenarios = {
    // An EQ band of the dance scene, switched off: Freq 120 + 30000 travels as 78 78.
    {{kTo, "FE 00 01 00 05 0F 01 03 78 78 01 00 00 28 30",
      "FE 00 01 00 05 0F 01 03 78 78 01 00 00 28 30 | WriteParam(0) mode 1 index 0,5 (5): "
      "QType 1, ShelfQ 3, Freq 120 disabled, Gain 250, Q 40; checksum ok"}},
    {{kTo, "FE 08 00 02 00 0D 01 02 03 04 05 06 2A",
      "FE 08 00 02 00 0D ** ** ** ** ** ** 2A | PasswordCommand(8) slot 2 (administrator) "
      "check: 6 digits; checksum ok"}},
    {{kTo, "FE 0B 00 01 00 09 23 23 59",
      "FE 0B 00 01 00 09 23 23 59 | ReadWorkingBlock(11) mode 0 index 1,0 (256); checksum ok"},
     {kTo, "FE 03 03 00 00 09 23 23 53",
      "FE 03 03 00 00 09 23 23 53 | SaveToMode(3) mode 3; checksum ok"},
     {kTo, "FE 09 23 23 23 09 23 23 BF FF",
      "FE 09 23 23 23 09 23 23 BF FF | ReadCurrentMode(9); checksum ok; keep-alive"},
     {kTo, "FE 07 23 23 23 09 23 23 BD",
      "FE 07 23 23 23 09 23 23 BD | unknown command 7, 9 bytes; checksum ok"}},
    // Control bytes inside a frame are taken out of it; a start byte cuts the frame short.
    {{kFrom, "FE 05 FF 00 53 56",
      "FE 05 FF 00 53 56 | keep-alive; reply, length 5, 2 payload bytes; checksum ok"},
     {kFrom, "12 34 FE 0B 54 FE 05 00 53 56 FD",
      "12 34 FE 0B 54 FE 05 00 53 56 FD | 2 stray bytes outside a frame; frame cut short after "
      "3 of 11 bytes; reply, length 5, 2 payload bytes; checksum ok; tone key"},
     {kFrom, "FE 02 00",
      "FE 02 00 | bad length byte 2, frame dropped; 1 stray byte outside a frame"},
     {kFrom, "FE FD", "FE FD | tone key; frame starts, 1 byte"}},
    // A block write of 70 bytes in reports of 60 and 10; a frame whose header is split.
    {{kTo,
      "FE 02 03 01 00 46 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 "
      "17 18 19 1A 1B 1C 1D 1E 1F 20 21 22 23 24 25 26 27 28 29 2A 2B 2C 2D 2E 2F 30 31 32 33 "
      "34 35",
      nullptr},
     {kTo, "36 37 38 39 3A 3B 3C 3D 3E EB",
      "36 37 38 39 3A 3B 3C 3D 3E EB | end of frame: WriteModeBlock(2) mode 3 index 1,0 (256): "
      "block of 63 bytes; checksum ok"},
     {kTo, "FE 0B 00", "FE 0B 00 | frame starts, 3 bytes"},
     {kTo, "01", "01 | frame continues, 4 bytes"},
     {kTo, "00 09", "00 09 | frame continues, 6 of 9 bytes"},
     {kTo, "23 23 59 FE 00",
      "23 23 59 FE 00 | end of frame: ReadWorkingBlock(11) mode 0 index 1,0 "
      "(256); checksum ok; frame starts, 2 bytes"}},
};

TEST(ReportDescriber, GoldenTextsReportByReport) {
    for (std::size_t s = 0; s < kScenarios.size(); ++s) {
        ReportDescriber describer;
        for (std::size_t r = 0; r < kScenarios[s].size(); ++r) {
            const Report& report = kScenarios[s][r];
            const std::string text = describer.Describe(report.Direction, Hex(report.Data));
            if (report.Expected == nullptr) {
                EXPECT_NE(text.find("| frame starts, 60 of 70 bytes"), std::string::npos) << text;
            } else {
                EXPECT_EQ(text, report.Expected) << "scenario " << s << ", report " << r;
            }
        }
    }
}

TEST(ReportDescriber, DirectionsKeepTheirOwnPartialFrames) {
    ReportDescriber describer;
    EXPECT_EQ(describer(true, Hex("FE 00 00 0A")), "FE 00 00 0A | frame starts, 4 bytes");
    EXPECT_EQ(describer(false, Hex("FE 05 00 53 56")),
              "FE 05 00 53 56 | reply, length 5, 2 payload bytes; checksum ok");
    EXPECT_EQ(describer(true, Hex("00 09 01 00 12")),
              "00 09 01 00 12 | end of frame: WriteParam(0) mode 0 index 10,0 (2560): value 250; "
              "checksum ok");
}

TEST(DescribeFrame, MalformedFramesSaySo) {
    struct Case {
        FrameDirection direction;
        const char* frame;
        const char* expected;
    };
    const Case cases[] = {
        {kTo, "", "not a frame"},
        {kTo, "23 FA", "not a frame"},
        {kTo, "FE 00 00 0A", "frame cut short after 4 bytes"},
        {kTo, "FE 00 00 0A 00 05 00", "bad length byte 5"},
        {kTo, "FE 00 00 0A 00 09 01 00", "frame of 8 bytes, its length byte says 9"},
        {kTo, "FE 00 00 0A 00 08 01 11",
         "WriteParam(0) mode 0 index 10,0 (2560): 1 payload byte, "
         "not an entry; checksum ok"},
        {kFrom, "FE", "frame cut short after 1 byte"},
        {kFrom, "FE FD 00", "bad length byte 253"},
        {kFrom, "FE 03 01", "reply, length 3, 0 payload bytes; checksum ok"},
        {kFrom, "FE 0A 54 52 2D 57 34 38 41 DF", "reply, length 10, 7 payload bytes; checksum ok"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DescribeFrame(Hex(c.frame), c.direction), c.expected) << c.frame;
}

// Any byte sequence in reports of any size: every byte shows up once in the hex, and the
// text always says something about it.
TEST(ReportDescriber, ArbitraryBytesAreDescribedByteForByte) {
    ReportDescriber describer;
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<std::uint8_t>(seed >> 24);
    };
    for (int i = 0; i < 5000; ++i) {
        std::vector<std::uint8_t> data(next() % 64 + 1);
        // Mostly frame-like bytes: starts, small lengths and command codes are common.
        for (auto& b : data) b = next() % 4 == 0 ? 0xFE : static_cast<std::uint8_t>(next() % 16);
        if (i % 7 == 0) data[0] = next();
        const bool toDevice = i % 2 == 0;
        const std::string text = describer(toDevice, data);
        const std::size_t bar = text.find(" | ");
        ASSERT_NE(bar, std::string::npos) << text;
        ASSERT_LT(bar + 3, text.size()) << text;
        std::istringstream hex(text.substr(0, bar));
        std::size_t tokens = 0;
        for (std::string token; hex >> token;) ++tokens;
        ASSERT_EQ(tokens, data.size()) << text;
    }
}

}  // namespace
}  // namespace vellora::protocol
