// Socket-bridge records: encoding, and a reader that joins split records and refuses any
// stream that breaks the format.
#include "link/bridge_record.h"

#include <gtest/gtest.h>

namespace vellora::link {
namespace {

using Data = std::vector<std::uint8_t>;
using Status = RecordReader::Status;

TEST(BridgeRecord, DataRecordIsLengthThenTheFullReport) {
    const Data record = EncodeDataRecord(1, Data{0xFA, 0x02, 0x03});
    ASSERT_EQ(record.size(), 66u);
    EXPECT_EQ(record[0], 65);
    EXPECT_EQ(record[1], 1);
    EXPECT_EQ(record[2], 3);
    EXPECT_EQ(record[3], 0xFA);
    EXPECT_EQ(record[5], 0x03);
    for (std::size_t i = 6; i < record.size(); ++i) EXPECT_EQ(record[i], 0) << i;
}

TEST(BridgeRecord, ReaderTakesRecordsOneAtATime) {
    RecordReader reader;
    Data stream = EncodeDataRecord(1, Data{1});
    const Data second = EncodeDataRecord(7, Data(60, 9));
    stream.insert(stream.end(), second.begin(), second.end());
    reader.Append(stream);
    Data report;
    ASSERT_EQ(reader.Next(report), Status::Report);
    EXPECT_EQ(report, Data(stream.begin() + 1, stream.begin() + 66));
    ASSERT_EQ(reader.Next(report), Status::Report);
    EXPECT_EQ(report[0], 7);
    EXPECT_EQ(report[1], 60);
    EXPECT_EQ(reader.Next(report), Status::NeedMore);
    EXPECT_FALSE(reader.HasPartial());
}

TEST(BridgeRecord, ReaderWaitsForTheRestOfASplitRecord) {
    RecordReader reader;
    const Data record = EncodeDataRecord(1, Data{4, 5});
    Data report;
    for (std::size_t i = 0; i + 1 < record.size(); ++i) {
        reader.Append(std::span(&record[i], 1));
        ASSERT_EQ(reader.Next(report), Status::NeedMore) << i;
        EXPECT_TRUE(reader.HasPartial());
    }
    reader.Append(std::span(&record.back(), 1));
    ASSERT_EQ(reader.Next(report), Status::Report);
    EXPECT_EQ(report[1], 2);
    EXPECT_FALSE(reader.HasPartial());
}

TEST(BridgeRecord, WrongLengthOrCountBreaksTheStreamForGood) {
    struct Case {
        const char* what;
        Data bytes;
    };
    const Case cases[] = {
        {"length 0", {0}},
        {"length 64", {64, 1, 1}},
        {"length 255", {255}},
        {"count 61, seen before the rest of the record", {65, 1, 61}},
        {"count 255", {65, 1, 255, 0}},
    };
    for (const Case& c : cases) {
        RecordReader reader;
        reader.Append(c.bytes);
        Data report;
        EXPECT_EQ(reader.Next(report), Status::Bad) << c.what;
        reader.Append(EncodeDataRecord(1, Data{1}));
        EXPECT_EQ(reader.Next(report), Status::Bad) << c.what << " (stays bad)";
        EXPECT_FALSE(reader.HasPartial());
        reader.Clear();
        reader.Append(EncodeDataRecord(1, Data{1}));
        EXPECT_EQ(reader.Next(report), Status::Report) << c.what << " (after Clear)";
    }
}

TEST(BridgeRecord, GoodRecordBeforeABadOneIsStillTaken) {
    RecordReader reader;
    Data stream = EncodeDataRecord(1, Data{8});
    stream.push_back(3);
    reader.Append(stream);
    Data report;
    EXPECT_EQ(reader.Next(report), Status::Report);
    EXPECT_EQ(reader.Next(report), Status::Bad);
}

}  // namespace
}  // namespace vellora::link
