// Test helper: golden wire bytes written as hex text ("FE 0B 03").
#pragma once

#include <cstdint>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace vellora::protocol::testing {

inline std::vector<uint8_t> Hex(std::string_view text) {
    std::vector<uint8_t> out;
    std::istringstream in{std::string(text)};
    std::string token;
    while (in >> token) out.push_back(static_cast<uint8_t>(std::stoul(token, nullptr, 16)));
    return out;
}

inline std::vector<uint8_t> Text(std::string_view text) {
    return {text.begin(), text.end()};
}

inline std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

inline std::vector<uint8_t> Take(std::span<const uint8_t> bytes, std::size_t n) {
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n)};
}

}  // namespace vellora::protocol::testing
