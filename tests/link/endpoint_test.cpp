// The --device endpoint texts.
#include "link/endpoint.h"

#include <gtest/gtest.h>

namespace vellora::link {
namespace {

TEST(Endpoint, AcceptedFormsReadBackFromTheirText) {
    const std::pair<const char*, Endpoint> cases[] = {
        {"auto", {EndpointKind::Auto, "", "", 0}},
        {"sim", {EndpointKind::Sim, "", "", 0}},
        {"bridge", {EndpointKind::Bridge, "", "", 0}},
        {"unix:/tmp/vellora.sock", {EndpointKind::Unix, "/tmp/vellora.sock", "", 0}},
        {"tcp:127.0.0.1:5000", {EndpointKind::Tcp, "", "127.0.0.1", 5000}},
        {"tcp:localhost:1", {EndpointKind::Tcp, "", "localhost", 1}},
        {"tcp:127.1.2.3:65535", {EndpointKind::Tcp, "", "127.1.2.3", 65535}},
        {"tcp:::1:4000", {EndpointKind::Tcp, "", "::1", 4000}},
        {"tcp:[::1]:4000", {EndpointKind::Tcp, "", "[::1]", 4000}},
    };
    for (const auto& [text, value] : cases) {
        const EndpointParse parsed = ParseEndpoint(text);
        ASSERT_TRUE(parsed.Ok()) << text << ": " << parsed.Message;
        EXPECT_EQ(parsed.Value, value) << text;
        EXPECT_TRUE(parsed.Message.empty()) << text;
        EXPECT_EQ(ParseEndpoint(EndpointText(parsed.Value)).Value, value) << text;
    }
}

TEST(Endpoint, RefusedFormsSayWhy) {
    const std::pair<const char*, EndpointError> cases[] = {
        {"", EndpointError::Empty},
        {"usb", EndpointError::UnknownForm},
        {"AUTO", EndpointError::UnknownForm},
        {"auto ", EndpointError::UnknownForm},
        {"unix", EndpointError::UnknownForm},
        {"unix:", EndpointError::EmptyPath},
        {"tcp:127.0.0.1", EndpointError::BadPort},
        {"tcp:127.0.0.1:", EndpointError::BadPort},
        {"tcp:127.0.0.1:0", EndpointError::BadPort},
        {"tcp:127.0.0.1:65536", EndpointError::BadPort},
        {"tcp:127.0.0.1:18446744073709556616", EndpointError::BadPort},  // 2^64 + 5000
        {"tcp:127.0.0.1:50a", EndpointError::BadPort},
        {"tcp:127.0.0.1: 50", EndpointError::BadPort},
        {"tcp::5000", EndpointError::BadHost},
        {"tcp:0.0.0.0:5000", EndpointError::BadHost},
        {"tcp:192.168.1.10:5000", EndpointError::BadHost},
        {"tcp:example.com:5000", EndpointError::BadHost},
        {"tcp:127.0.0.256:5000", EndpointError::BadHost},
    };
    for (const auto& [text, error] : cases) {
        const EndpointParse parsed = ParseEndpoint(text);
        EXPECT_EQ(parsed.Error, error) << text << ": " << parsed.Message;
        EXPECT_FALSE(parsed.Message.empty()) << text;
    }
}

}  // namespace
}  // namespace vellora::link
