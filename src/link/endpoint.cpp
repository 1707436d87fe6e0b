// Parsing and printing of device endpoints.
#include "link/endpoint.h"

#include <QHostAddress>
#include <QString>

namespace vellora::link {

namespace {

constexpr std::string_view kForms = "expected auto, bridge, sim, unix:PATH or tcp:HOST:PORT";

EndpointParse Fail(EndpointError error, std::string message) {
    EndpointParse result;
    result.Error = error;
    result.Message = std::move(message);
    return result;
}

bool IsLoopbackHost(std::string_view host) {
    if (host == "localhost") return true;
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    QHostAddress address;
    if (!address.setAddress(QString::fromUtf8(host.data(), static_cast<qsizetype>(host.size())))) {
        return false;
    }
    return address.isLoopback();
}

}  // namespace

EndpointParse ParseEndpoint(std::string_view text) {
    if (text.empty())
        return Fail(EndpointError::Empty, "empty device endpoint; " + std::string(kForms));
    EndpointParse result;
    if (text == "auto") {
        result.Value.Kind = EndpointKind::Auto;
        return result;
    }
    if (text == "sim") {
        result.Value.Kind = EndpointKind::Sim;
        return result;
    }
    if (text == "bridge") {
        result.Value.Kind = EndpointKind::Bridge;
        return result;
    }
    if (text.substr(0, 5) == "unix:") {
        const std::string_view path = text.substr(5);
        if (path.empty())
            return Fail(EndpointError::EmptyPath,
                        "unix: needs a socket path, as in unix:/tmp/vellora.sock");
        result.Value.Kind = EndpointKind::Unix;
        result.Value.Path = std::string(path);
        return result;
    }
    if (text.substr(0, 4) == "tcp:") {
        const std::string_view rest = text.substr(4);
        const std::size_t colon = rest.rfind(':');
        if (colon == std::string_view::npos) {
            return Fail(EndpointError::BadPort,
                        "tcp: needs a host and a port, as in tcp:127.0.0.1:5000");
        }
        const std::string_view host = rest.substr(0, colon);
        const std::string_view port = rest.substr(colon + 1);
        if (host.empty() || !IsLoopbackHost(host)) {
            return Fail(
                EndpointError::BadHost,
                "tcp host must be this machine: a loopback address such as 127.0.0.1 or ::1, "
                "or localhost");
        }
        unsigned long value = 0;
        bool digits = !port.empty() && port.size() <= 5;
        for (const char c : port) {
            if (c < '0' || c > '9') {
                digits = false;
                break;
            }
            value = value * 10 + static_cast<unsigned long>(c - '0');
        }
        if (!digits || value < 1 || value > 65535) {
            return Fail(EndpointError::BadPort, "tcp port must be a number from 1 to 65535");
        }
        result.Value.Kind = EndpointKind::Tcp;
        result.Value.Host = std::string(host);
        result.Value.Port = static_cast<std::uint16_t>(value);
        return result;
    }
    return Fail(EndpointError::UnknownForm,
                "unknown device endpoint \"" + std::string(text) + "\"; " + std::string(kForms));
}

std::string EndpointText(const Endpoint& endpoint) {
    switch (endpoint.Kind) {
        case EndpointKind::Auto:
            return "auto";
        case EndpointKind::Sim:
            return "sim";
        case EndpointKind::Bridge:
            return "bridge";
        case EndpointKind::Unix:
            return "unix:" + endpoint.Path;
        case EndpointKind::Tcp:
            return "tcp:" + endpoint.Host + ":" + std::to_string(endpoint.Port);
    }
    return "auto";
}

}  // namespace vellora::link
