// The HID trace as a support case reads it: the link's tracer with the protocol's texts, over
// the USB control and a scripted device, in virtual time; golden lines both ways.
#include <gtest/gtest.h>

#include "link/link_test_support.h"
#include "link/tracing_port.h"
#include "link/usb_comm.h"
#include "protocol/frame_description.h"
#include "protocol/hex_bytes.h"
#include "protocol/wire_format.h"

namespace vellora::protocol {
namespace {

using testing::Hex;
using Lines = std::vector<std::string>;

struct RecordingSink : link::TraceSink {
    Lines lines;
    void WriteLine(std::string_view line) override { lines.emplace_back(line); }
};

TEST(HidTrace, GoldenLinesOfASession) {
    model::VirtualClock clock;
    link::testing::ScriptedPort device;
    RecordingSink sink;
    link::TracingPort traced(device, clock, sink, ReportDescriber{});
    link::UsbComm usb(traced, clock);

    ASSERT_TRUE(usb.Connect());
    clock.AdvanceBy(12);
    ASSERT_TRUE(usb.SendData(LinkSearchFrame()));
    clock.AdvanceBy(8);
    device.SendData(Hex("FE 0B 54 52 2D 57 34 38 41 5F 3F"));  // identification
    clock.AdvanceBy(1980);
    ASSERT_TRUE(usb.SendData(Hex("FE 00 00 0A 00 09 01 00 12")));  // master slider 2560 = 250
    clock.AdvanceBy(3);
    device.SendData(Hex("FE 05 00 53 57"));  // the reply, one off in its checksum
    device.SendData(Hex("FE 05 00 53 56"));  // the reply again, good
    device.Send(Hex("01 14 FE 05 00"));      // count 20, three data bytes
    clock.AdvanceBy(997);
    device.SendData(Hex("FF"));
    ASSERT_TRUE(usb.SendData(Hex("FF")));

    EXPECT_EQ(sink.lines,
              (Lines{
                  "# Vellora HID trace: seconds since the start; -> terminal to device, <- "
                  "device to terminal",
                  "    0.000 open 0483:5750",
                  "    0.012 -> 01 0F | FE FA 23 23 23 0F 59 4F 50 5F 43 54 52 4C FC | "
                  "LinkSearch(250) \"YOP_CTRL\"; checksum ok",
                  "    0.020 <- 01 0B | FE 0B 54 52 2D 57 34 38 41 5F 3F | identification "
                  "\"TR-W48A_\" variant \"A\"; checksum ok",
                  "    2.000 -> 01 09 | FE 00 00 0A 00 09 01 00 12 | WriteParam(0) mode 0 index "
                  "10,0 (2560): value 250; checksum ok",
                  "    2.003 <- 01 05 | FE 05 00 53 57 | reply, length 5, 2 payload bytes; "
                  "checksum bad (56 expected)",
                  "    2.003 <- 01 05 | FE 05 00 53 56 | reply, length 5, 2 payload bytes; "
                  "checksum ok",
                  "    2.003 <- 01 14 | FE 05 00 | truncated report: count 20, only 3 data "
                  "bytes; dropped",
                  "    3.000 <- 01 01 | FF | keep-alive",
                  "    3.000 -> 01 01 | FF | keep-alive",
              }));
}

}  // namespace
}  // namespace vellora::protocol
