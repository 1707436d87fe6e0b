// The device endpoint given on the command line (--device): "auto" (the processor on USB
// through hidapi), "bridge" (the processor behind its USB-HID bridge chip), "sim" (the
// in-process simulated processor), "unix:PATH" or "tcp:HOST:PORT" (socket bridge).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellora::link {

enum class EndpointKind { Auto, Sim, Unix, Tcp, Bridge };

struct Endpoint {
    EndpointKind Kind = EndpointKind::Auto;
    std::string Path;  ///< Unix: the socket path (a pipe name on Windows)
    std::string Host;  ///< Tcp: a loopback address as written ("127.0.0.1", "::1", "localhost")
    std::uint16_t Port = 0;  ///< Tcp: 1..65535 from the parser; 0 asks a server for a free port

    friend bool operator==(const Endpoint&, const Endpoint&) = default;
};

enum class EndpointError { None, Empty, UnknownForm, EmptyPath, BadHost, BadPort };

struct EndpointParse {
    Endpoint Value;
    EndpointError Error = EndpointError::None;
    /// English explanation naming the accepted forms; empty when Error is None.
    std::string Message;
    [[nodiscard]] bool Ok() const { return Error == EndpointError::None; }
};

/// Parses an endpoint text. The socket bridge reaches only this machine, so a tcp host must
/// be a loopback address or "localhost".
[[nodiscard]] EndpointParse ParseEndpoint(std::string_view text);

/// The text form of an endpoint ("tcp:127.0.0.1:5000"); ParseEndpoint reads it back.
[[nodiscard]] std::string EndpointText(const Endpoint& endpoint);

}  // namespace vellora::link
