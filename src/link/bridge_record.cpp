// Encoding and incremental decoding of socket-bridge records.
#include "link/bridge_record.h"

#include <algorithm>

namespace vellora::link {

std::vector<std::uint8_t> EncodeRecord(std::span<const std::uint8_t> report) {
    const std::size_t length = std::min<std::size_t>(report.size(), 255);
    std::vector<std::uint8_t> record;
    record.reserve(length + 1);
    record.push_back(static_cast<std::uint8_t>(length));
    record.insert(record.end(), report.begin(),
                  report.begin() + static_cast<std::ptrdiff_t>(length));
    return record;
}

std::vector<std::uint8_t> EncodeDataRecord(std::uint8_t report_id,
                                           std::span<const std::uint8_t> data) {
    const std::size_t count = std::min(data.size(), kRecordMaxCount);
    std::vector<std::uint8_t> record(kRecordReportLength + 1, 0);
    record[0] = static_cast<std::uint8_t>(kRecordReportLength);
    record[1] = report_id;
    record[2] = static_cast<std::uint8_t>(count);
    std::copy_n(data.begin(), count, record.begin() + 3);
    return record;
}

void RecordReader::Append(std::span<const std::uint8_t> bytes) {
    if (bad_) return;
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

RecordReader::Status RecordReader::Next(std::vector<std::uint8_t>& report) {
    if (bad_) return Status::Bad;
    const std::size_t available = buffer_.size() - start_;
    if (available == 0) return Status::NeedMore;
    const std::size_t length = buffer_[start_];
    if (length != kRecordReportLength) {
        bad_ = true;
        return Status::Bad;
    }
    // The count byte can be checked as soon as it is here, before the rest arrives.
    if (available >= 3 && buffer_[start_ + 2] > kRecordMaxCount) {
        bad_ = true;
        return Status::Bad;
    }
    if (available < length + 1) return Status::NeedMore;
    const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(start_ + 1);
    report.assign(first, first + static_cast<std::ptrdiff_t>(length));
    start_ += length + 1;
    if (start_ == buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    }
    return Status::Report;
}

void RecordReader::Clear() {
    buffer_.clear();
    start_ = 0;
    bad_ = false;
}

}  // namespace vellora::link
