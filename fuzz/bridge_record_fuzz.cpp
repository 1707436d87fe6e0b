// Fuzzes the socket bridge's record reader: a byte stream appended in pieces of any size, with
// reports taken between the pieces, must give exactly the reports a plain walk over the whole
// stream finds, and stop for good at the first malformed record. Reports built by the encoder
// come back as they went in.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "link/bridge_record.h"

namespace {

using namespace vellora;
using link::RecordReader;

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

constexpr std::size_t kRecordBytes = link::kRecordReportLength + 1;

// The records of a whole stream, one after the other: L must be 65 and the count byte (the
// third byte of a record) at most 60; a record cut short by the end of the stream is pending.
struct Walk {
    std::vector<std::vector<uint8_t>> reports;
    bool bad = false;
    bool partial = false;
};

Walk WalkStream(std::span<const uint8_t> stream) {
    Walk walk;
    std::size_t at = 0;
    while (at < stream.size()) {
        const std::size_t left = stream.size() - at;
        if (stream[at] != link::kRecordReportLength ||
            (left >= 3 && stream[at + 2] > link::kRecordMaxCount)) {
            walk.bad = true;
            return walk;
        }
        if (left < kRecordBytes) {
            walk.partial = true;
            return walk;
        }
        walk.reports.emplace_back(stream.begin() + static_cast<std::ptrdiff_t>(at + 1),
                                  stream.begin() + static_cast<std::ptrdiff_t>(at + kRecordBytes));
        at += kRecordBytes;
    }
    return walk;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // Byte 0: how the stream is cut into pieces; byte 1: how many reports are taken after each
    // piece (0 = all there are). The rest is the stream; a byte 0x41 standing where a record
    // starts may be followed by only the count and data (bit 7 of byte 0): the encoder then
    // builds the whole record.
    const std::size_t piece = 1 + data[0] % 97;
    const int takes = data[1] % 4;
    const bool encode = (data[0] & 0x80) != 0;

    std::vector<uint8_t> stream;
    std::vector<std::vector<uint8_t>> encoded;
    for (std::size_t at = 2; at < size;) {
        if (encode && data[at] == link::kRecordReportLength && at + 2 < size) {
            const uint8_t id = data[at + 1];
            const std::size_t count = std::min<std::size_t>(data[at + 2], size - at - 3);
            const std::span<const uint8_t> bytes(data + at + 3, count);
            const std::vector<uint8_t> record = link::EncodeDataRecord(id, bytes);
            Check(record.size() == kRecordBytes && record[0] == link::kRecordReportLength);
            Check(record[1] == id && record[2] == std::min(count, link::kRecordMaxCount));
            Check(std::equal(record.begin() + 3, record.begin() + 3 + record[2], bytes.begin()));
            Check(std::all_of(record.begin() + 3 + record[2], record.end(),
                              [](uint8_t b) { return b == 0; }));
            const std::vector<uint8_t> whole = link::EncodeRecord(std::span(record).subspan(1));
            Check(whole == record);
            stream.insert(stream.end(), record.begin(), record.end());
            at += 3 + count;
        } else {
            stream.push_back(data[at++]);
        }
    }
    const Walk walk = WalkStream(stream);

    RecordReader reader;
    std::vector<std::vector<uint8_t>> got;
    std::vector<uint8_t> report;
    bool bad = false;
    auto take = [&](int limit) {
        for (int n = 0; limit == 0 || n < limit; ++n) {
            const RecordReader::Status status = reader.Next(report);
            if (status == RecordReader::Status::Report) {
                Check(report.size() == link::kRecordReportLength);
                got.push_back(report);
                continue;
            }
            if (status == RecordReader::Status::Bad) bad = true;
            // Bad stays bad, whatever arrives.
            if (bad) Check(reader.Next(report) == RecordReader::Status::Bad);
            return;
        }
    };
    for (std::size_t at = 0; at < stream.size(); at += piece) {
        reader.Append(std::span(stream).subspan(at, std::min(piece, stream.size() - at)));
        take(takes);
    }
    take(0);

    Check(bad == walk.bad);
    Check(got.size() <= walk.reports.size());
    Check(std::equal(got.begin(), got.end(), walk.reports.begin()));
    if (!walk.bad) {
        Check(got.size() == walk.reports.size());
        Check(reader.HasPartial() == walk.partial);
    } else {
        Check(!reader.HasPartial());
    }

    // After Clear the reader starts afresh.
    reader.Clear();
    Check(!reader.HasPartial() && reader.Next(report) == RecordReader::Status::NeedMore);
    return 0;
}
