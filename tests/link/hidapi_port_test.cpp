// The hidapi backend without any matching device on the machine: a clean "not found".
#include "link/hidapi_port.h"

#include <gtest/gtest.h>

namespace vellora::link {
namespace {

// Ids that no device carries (vendor 0xFFFF is reserved).
constexpr DeviceMatch kNobody{0xFFFF, 0xFFFE, true};

TEST(HidapiPort, NoMatchingDeviceIsNotFound) {
    model::VirtualClock clock;
    HidapiPort port(clock);
    EXPECT_EQ(port.Open(kNobody), LinkError::NotFound);
    EXPECT_FALSE(port.IsOpen());
    const std::vector<std::uint8_t> report(65, 0);
    EXPECT_EQ(port.WriteReport(report), LinkError::NotOpen);
    EXPECT_EQ(port.SendFeatureReport(report), LinkError::NotOpen);
    port.Close();                                        // harmless when closed
    EXPECT_EQ(port.Open(kNobody), LinkError::NotFound);  // too soon: the last answer again
    EXPECT_EQ(port.Enumerations(), 1);
    clock.AdvanceBy(HidapiPort::kMinScanIntervalMs);
    EXPECT_EQ(port.Open(kNobody), LinkError::NotFound);
    EXPECT_EQ(port.Enumerations(), 2);
    EXPECT_EQ(port.Open(DeviceMatch{0xFFFF, 0xFFFD, true}), LinkError::NotFound);  // other ids
    EXPECT_EQ(port.Enumerations(), 3);
}

TEST(HidapiPort, BridgeReportsReadWithoutTheirIdGetTheCommonLayout) {
    using Data = std::vector<std::uint8_t>;
    // The bridge has no numbered reports: hidapi hands the count byte first.
    EXPECT_EQ(HidapiPort::InputReportFromRead(Data{2, 0xAA, 0xBB, 0}, false),
              (Data{0, 2, 0xAA, 0xBB, 0}));
    // The processor's reports carry report id 1 in front already.
    EXPECT_EQ(HidapiPort::InputReportFromRead(Data{1, 2, 0xAA, 0xBB}, true),
              (Data{1, 2, 0xAA, 0xBB}));
}

}  // namespace
}  // namespace vellora::link
