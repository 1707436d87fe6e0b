// Records of the socket bridge: each HID report travels as one byte L followed by the L bytes
// of the report exactly as on USB (L = 65: report id, count n <= 60, n data bytes, padding).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vellora::link {

inline constexpr std::size_t kRecordReportLength = 65;  ///< L of every record
inline constexpr std::size_t kRecordMaxCount = 60;      ///< largest count byte of a record

/// Builds the record of one report (L = report size, which must be 1..255).
[[nodiscard]] std::vector<std::uint8_t> EncodeRecord(std::span<const std::uint8_t> report);

/// Builds the record of a report carrying `data` (at most 60 bytes; longer data is cut).
[[nodiscard]] std::vector<std::uint8_t> EncodeDataRecord(std::uint8_t report_id,
                                                         std::span<const std::uint8_t> data);

/// Splits a received byte stream into reports. A record is well formed when L is 65 and its
/// count byte is at most 60; anything else breaks the stream for good (it cannot be
/// resynchronised), and the connection must be dropped.
class RecordReader {
public:
    enum class Status { NeedMore, Report, Bad };

    /// Appends received bytes; nothing is parsed until Next.
    void Append(std::span<const std::uint8_t> bytes);
    /// Takes the next complete report into `report` (Report), says that more bytes are needed
    /// (NeedMore), or that the stream is malformed (Bad, and stays Bad until Clear).
    [[nodiscard]] Status Next(std::vector<std::uint8_t>& report);
    /// True while bytes of an unfinished record are held.
    [[nodiscard]] bool HasPartial() const { return !bad_ && start_ < buffer_.size(); }
    void Clear();

private:
    std::vector<std::uint8_t> buffer_;
    std::size_t start_ = 0;
    bool bad_ = false;
};

}  // namespace vellora::link
