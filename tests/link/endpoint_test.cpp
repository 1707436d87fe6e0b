// The --device endpoint texts.
#include "link/endpoint.h"

#include <gtest/gtest.h>

namespace vellora::link {
namespace {

TEST(Endpoint, AcceptedForms) {
    struct Case {
        const char* text;
        Endpoint value;
    };
    const Case cases[] = {
        {"auto", {EndpointKind::Auto, "", "", 0}},
        {"sim", {EndpointKind::Sim, "", "", 0}},
        {"unix:/tmp/vellora.sock", {EndpointKind::Unix, "/tmp/vellora.sock", "", 0}},
        {"unix:relative/dev.sock", {EndpointKind::Unix, "relative/dev.sock", "", 0}},
        {"tcp:127.0.0.1:5000", {EndpointKind::Tcp, "", "127.0.0.1", 5000}},
        {"tcp:localhost:1", {EndpointKind::Tcp, "", "localhost", 1}},
        {"tcp:127.1.2.3:65535", {EndpointKind::Tcp, "", "127.1.2.3", 65535}},
        {"tcp:::1:4000", {EndpointKind::Tcp, "", "::1", 4000}},
        {"tcp:[::1]:4000", {EndpointKind::Tcp, "", "[::1]", 4000}},
    };
    for (const Case& c : cases) {
        const EndpointParse parsed = ParseEndpoint(c.text);
        ASSERT_TRUE(parsed.Ok()) << c.text << ": " << parsed.Message;
        EXPECT_EQ(parsed.Value, c.value) << c.text;
        EXPECT_TRUE(parsed.Message.empty());
        EXPECT_EQ(ParseEndpoint(EndpointText(parsed.Value)).Value, c.value) << c.text;
    }
}

TEST(Endpoint, RefusedFormsSayWhy) {
    struct Case {
        const char* text;
        EndpointError error;
    };
    const Case cases[] = {
        {"", EndpointError::Empty},
        {"usb", EndpointError::UnknownForm},
        {"AUTO", EndpointError::UnknownForm},
        {"auto ", EndpointError::UnknownForm},
        {"unix", EndpointError::UnknownForm},
        {"pipe:/x", EndpointError::UnknownForm},
        {"unix:", EndpointError::EmptyPath},
        {"tcp:", EndpointError::BadPort},
        {"tcp:127.0.0.1", EndpointError::BadPort},
        {"tcp:127.0.0.1:", EndpointError::BadPort},
        {"tcp:127.0.0.1:0", EndpointError::BadPort},
        {"tcp:127.0.0.1:65536", EndpointError::BadPort},
        {"tcp:127.0.0.1:99999999999", EndpointError::BadPort},
        {"tcp:127.0.0.1:-5", EndpointError::BadPort},
        {"tcp:127.0.0.1:50a", EndpointError::BadPort},
        {"tcp:127.0.0.1: 50", EndpointError::BadPort},
        {"tcp::5000", EndpointError::BadHost},
        {"tcp:0.0.0.0:5000", EndpointError::BadHost},
        {"tcp:192.168.1.10:5000", EndpointError::BadHost},
        {"tcp:example.com:5000", EndpointError::BadHost},
        {"tcp:127.0.0.256:5000", EndpointError::BadHost},
    };
    for (const Case& c : cases) {
        const EndpointParse parsed = ParseEndpoint(c.text);
        EXPECT_FALSE(parsed.Ok()) << c.text;
        EXPECT_EQ(parsed.Error, c.error) << c.text << ": " << parsed.Message;
        EXPECT_FALSE(parsed.Message.empty()) << c.text;
    }
}

}  // namespace
}  // namespace vellora::link
