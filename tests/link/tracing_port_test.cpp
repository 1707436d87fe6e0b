// The HID trace over a scripted device in virtual time: one line per report and event, in the
// order they happened, the report layout read here and the data handed to the decoder; and
// the trace file, which must name itself when it cannot be written.
#include "link/tracing_port.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "link/link_test_support.h"

namespace vellora::link {
namespace {

using testing::Bytes;
using testing::Data;
using testing::RecordingComm;
using testing::ScriptedPort;
using Lines = std::vector<std::string>;

struct RecordingSink : TraceSink {
    Lines lines;
    void WriteLine(std::string_view line) override { lines.emplace_back(line); }
};

struct Decoded {
    bool toDevice;
    Data data;
    friend bool operator==(const Decoded&, const Decoded&) = default;
};

class TracingPortTest : public ::testing::Test {
protected:
    model::VirtualClock clock;
    bool started_late = (clock.AdvanceBy(1000), true);  // trace times count from the trace's start
    ScriptedPort device;
    RecordingSink sink;
    std::vector<Decoded> decoded;
    TracingPort port{device, clock, sink, [this](bool toDevice, std::span<const std::uint8_t> d) {
                         decoded.push_back({toDevice, Data(d.begin(), d.end())});
                         return std::to_string(d.size()) + " data bytes";
                     }};
    testing::RecordingComm rec{port, clock};
};

TEST_F(TracingPortTest, EveryReportAndEventInOrderWithItsTime) {
    device.present = false;
    EXPECT_FALSE(rec.comm.Connect());
    EXPECT_FALSE(rec.comm.Connect());  // the same answer again: no second line
    device.present = true;
    clock.AdvanceBy(7);
    ASSERT_TRUE(rec.comm.Connect());
    device.on_write = [this](std::span<const std::uint8_t>) { device.SendData({0xFE, 0x05}); };
    clock.AdvanceBy(5);
    ASSERT_TRUE(rec.comm.SendData(Bytes(70, 1)));
    device.on_write = nullptr;
    clock.AdvanceBy(1988);
    device.Send({1, 4, 0xAA, 0xBB, 0xCC});  // count beyond the report
    device.Send({1});
    device.Send({1, 0, 0, 0});
    device.fail_write_at = 2;
    clock.AdvanceBy(60000);
    EXPECT_FALSE(rec.comm.SendData(Bytes(1, 0xFF)));
    device.present = false;
    EXPECT_FALSE(rec.comm.Connect());
    device.present = true;
    device.device = {0x1A86, 0xE010, false};
    rec.comm.SetDeviceType(1);
    ASSERT_TRUE(rec.comm.Connect());
    device.Unplug(LinkError::ReadFailed);
    clock.RunDue();

    EXPECT_EQ(sink.lines,
              (Lines{
                  "# Vellora HID trace: seconds since the start; -> terminal to device, <- "
                  "device to terminal",
                  "    0.000 open 0483:5750 failed: device not found",
                  "    0.007 open 0483:5750",
                  "    0.012 -> 01 3C | 60 data bytes",
                  "    0.012 <- 01 02 | 2 data bytes",
                  "    0.012 -> 01 0A | 10 data bytes",
                  "    0.012 <- 01 02 | 2 data bytes",
                  "    2.000 <- 01 04 | AA BB CC | truncated report: count 4, only 3 data bytes; "
                  "dropped",
                  "    2.000 <- 01 | malformed report of 1 byte, no count; dropped",
                  "    2.000 <- 01 00 | empty report",
                  "   62.000 -> 01 01 | 1 data bytes",
                  "   62.000 !! write failed: writing to the device failed",
                  "   62.000 close",
                  "   62.000 open 0483:5750 failed: device not found",
                  "   62.000 open 1A86:E010",
                  "   62.000 => feature report 00 FF C7 83 CC 30",
                  "   62.000 lost: reading from the device failed",
              }));
    // The decoder saw exactly the data bytes of the well-formed reports, in order.
    const Data first = Bytes(70, 1);
    EXPECT_EQ(decoded, (std::vector<Decoded>{{true, Data(first.begin(), first.begin() + 60)},
                                             {false, {0xFE, 0x05}},
                                             {true, Data(first.begin() + 60, first.end())},
                                             {false, {0xFE, 0x05}},
                                             {true, {0xFF}}}));
    // Everything passed through: the answers arrived, the loss was told.
    EXPECT_EQ(rec.arrived, (std::vector<Data>{{0xFE, 0x05}, {0xFE, 0x05}}));
    EXPECT_EQ(rec.plugs, (std::vector<bool>{true, false, true, false}));
}

TEST(AttachTrace, WritesTheFileOrSaysWhyNot) {
    model::VirtualClock clock;
    ScriptedPort device;
    const auto hex = [](bool, std::span<const std::uint8_t> d) {
        return std::to_string(d.size()) + " bytes";
    };

    const TraceAttachment missing =
        AttachTrace(device, "/nonexistent/vellora/trace.txt", clock, hex);
    EXPECT_EQ(missing.Port, nullptr);
    EXPECT_EQ(missing.Error,
              "cannot write the trace file /nonexistent/vellora/trace.txt: No such file or "
              "directory");

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("trace.txt").toStdString();
    std::ofstream(path) << "an earlier trace\n";
    {
        TraceAttachment traced = AttachTrace(device, path, clock, hex);
        ASSERT_NE(traced.Port, nullptr) << traced.Error;
        EXPECT_TRUE(traced.Error.empty());
        ASSERT_EQ(traced.Port->Open({0x0483, 0x5750, true}), LinkError::None);
        clock.AdvanceBy(1234);
        device.SendData({0xFF});
        // Flushed line by line: the file holds the lines while the trace is still open.
        std::ifstream in(path);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(text,
                  "# Vellora HID trace: seconds since the start; -> terminal to device, <- device "
                  "to terminal\n"
                  "    0.000 open 0483:5750\n"
                  "    1.234 <- 01 01 | 1 bytes\n");
    }
}

#if defined(Q_OS_UNIX)
// A pipe as the trace file: refused at once while no program reads it (opening it would wait
// for a reader for ever), written like a file while one does, and dropped quietly when that
// reader goes.
TEST(AttachTrace, PipesWithoutAReaderNeverStopTheProgram) {
    model::VirtualClock clock;
    ScriptedPort device;
    const auto hex = [](bool, std::span<const std::uint8_t>) { return std::string(); };
    QTemporaryDir dir;
    const std::string fifo = dir.filePath("trace.pipe").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const TraceAttachment refused = AttachTrace(device, fifo, clock, hex);
    EXPECT_EQ(refused.Port, nullptr);
    EXPECT_EQ(refused.Error,
              "cannot write the trace file " + fifo + ": a pipe that no program reads");

    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const TraceAttachment traced = AttachTrace(device, fifo, clock, hex);
    ASSERT_NE(traced.Port, nullptr) << traced.Error;
    char head[9] = {};
    EXPECT_EQ(::read(reader, head, 8), 8);
    EXPECT_STREQ(head, "# Vellor");

    // The reader goes (a pager closed): the trace ends, the program and the link go on.
    ::close(reader);
    RecordingComm rec{*traced.Port, clock};
    ASSERT_TRUE(rec.comm.Connect());
    device.SendData({0x42});
    EXPECT_EQ(rec.arrived, std::vector<Data>{{0x42}});
}
#endif

}  // namespace
}  // namespace vellora::link
