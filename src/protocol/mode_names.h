// The device's mode names: 11 names of 12 GBK bytes in the ReadModeNames reply and the GBK
// conversion both ways.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vellora::protocol {

inline constexpr int kModeNameCount = 11;          ///< one name per stored mode 0..10
inline constexpr std::size_t kModeNameBytes = 12;  ///< GBK bytes, zero-padded
inline constexpr std::size_t kModeNamesReplyBytes = kModeNameBytes * kModeNameCount;  // 132

/// GBK bytes as UTF-8; bytes that are not GBK become U+FFFD. Without a GBK converter in this
/// Qt build, bytes below 0x80 (GBK's single bytes, which are ASCII) stay and every other byte
/// becomes U+FFFD.
[[nodiscard]] std::string DecodeGbk(std::span<const uint8_t> bytes);

/// Why text did not become GBK bytes.
enum class GbkEncodeError : uint8_t {
    Ok = 0,
    NoConverter,  ///< this Qt build has no GBK converter
    NotGbk,       ///< a character GBK cannot say (or text that is not UTF-8): never replaced
};

/// UTF-8 text as GBK bytes into `out` (replaced); on an error `out` is unchanged.
[[nodiscard]] GbkEncodeError EncodeGbk(std::string_view utf8, std::vector<uint8_t>& out);

/// Name i (0..10) from payload bytes 12 x i .. 12 x i + 11, up to its first zero byte, as
/// UTF-8. Names the payload does not reach (a short reply) are empty.
[[nodiscard]] std::array<std::string, kModeNameCount> DecodeModeNames(
    std::span<const uint8_t> payload);

}  // namespace vellora::protocol
