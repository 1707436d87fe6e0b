// Socket-bridge records: encoding, and a reader that joins split records and refuses any
// stream that breaks the format.
#include "link/bridge_record.h"

#include <gtest/gtest.h>

namespace vellora::link {
namespace {

using Data = std::vector<std::uint8_t>;
using Status = RecordReader::Status;

TEST(BridgeRecord, DataRecordIsLengthThenTheFullReport) {
    Data expected = {65, 1, 3, 0xFA, 0x02, 0x03};
    expected.resize(66);
    EXPECT_EQ(EncodeDataRecord(1, Data{0xFA, 0x02, 0x03}), expected);
}

TEST(BridgeRecord, ReaderJoinsSplitRecordsAndTakesThemOneAtATime) {
    Data stream = EncodeDataRecord(1, Data{4, 5});
    const Data second = EncodeDataRecord(7, Data(60, 9));
    stream.insert(stream.end(), second.begin(), second.end());
    RecordReader reader;
    Data report;
    // Byte by byte up to the last byte of the first record.
    for (std::size_t i = 0; i < 65; ++i) {
        reader.Append(std::span(&stream[i], 1));
        ASSERT_EQ(reader.Next(report), Status::NeedMore) << i;
        EXPECT_TRUE(reader.HasPartial()) << i;
    }
    // Its last byte with half of the second record, then the rest of the second.
    reader.Append(std::span(stream).subspan(65, 34));
    ASSERT_EQ(reader.Next(report), Status::Report);
    EXPECT_EQ(report, Data(stream.begin() + 1, stream.begin() + 66));
    EXPECT_EQ(reader.Next(report), Status::NeedMore);
    EXPECT_TRUE(reader.HasPartial());
    reader.Append(std::span(stream).subspan(99));
    ASSERT_EQ(reader.Next(report), Status::Report);
    EXPECT_EQ(report, Data(stream.begin() + 67, stream.end()));
    EXPECT_EQ(reader.Next(report), Status::NeedMore);
    EXPECT_FALSE(reader.HasPartial());
    // A bad record after good ones: those already taken still count.
    reader.Append(Data{3});
    EXPECT_EQ(reader.Next(report), Status::Bad);
}

TEST(BridgeRecord, WrongLengthOrCountBreaksTheStreamForGood) {
    const std::pair<const char*, Data> cases[] = {
        {"length 0", {0}},
        {"length 64", {64, 1, 1}},
        {"length 255", {255}},
        {"count 61, seen before the rest of the record", {65, 1, 61}},
        {"count 255", {65, 1, 255, 0}},
    };
    for (const auto& [what, bytes] : cases) {
        RecordReader reader;
        reader.Append(bytes);
        Data report;
        EXPECT_EQ(reader.Next(report), Status::Bad) << what;
        reader.Append(EncodeDataRecord(1, Data{1}));
        EXPECT_EQ(reader.Next(report), Status::Bad) << what << " (stays bad)";
        EXPECT_FALSE(reader.HasPartial()) << what;
        reader.Clear();
        reader.Append(EncodeDataRecord(1, Data{1}));
        EXPECT_EQ(reader.Next(report), Status::Report) << what << " (after Clear)";
    }
}

}  // namespace
}  // namespace vellora::link
