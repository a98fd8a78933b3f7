#include "history/CHistoryCsvWriter.h"
#include "history/CHistoryTimeBase.h"

#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

namespace {
CHistoryData SmallHistory(uint8_t mask, std::vector<int32_t> values) {
    HistoryHeader header;
    header.SetMask(mask);
    header.SetText(HistoryText::ModelName, "VL-D030");
    header.SetText(HistoryText::SerialNumber, "1234");
    header.SetSensorType('A');
    header.SetFrequencyX100(245050);
    header.SetText(HistoryText::StartTime, "2024-03-01 10:00:00");
    header.SetText(HistoryText::StopTime, "2024-03-01 10:00:01");
    return CHistoryData(header, std::move(values));
}

const std::string kHeaderLines = "Model, VL-D030\r\n"
                                 "SN, 1234\r\n"
                                 "Type, Directional\r\n"
                                 "Frequency, 2450.50\r\n"
                                 "StartTime, 2024-03-01 10:00:00\r\n"
                                 "StopTime, 2024-03-01 10:00:01\r\n"
                                 "Title, \r\n";

std::string HeadingOf(int model, uint8_t mask) {
    const std::string csv = CHistoryCsvWriter::Format(SmallHistory(mask, {}), model);
    return csv.substr(kHeaderLines.size());
}
} // namespace

TEST(HistoryCsvWriterTest, SmallHistoryGivesExactBytes) {
    const CHistoryData data = SmallHistory(0x13, {1235, 125, -1, 0, 100, -123456});
    EXPECT_EQ(CHistoryCsvWriter::Format(data, 0), kHeaderLines + "AVG, VSWR, PEAK\r\n"
                                                                 "12.35,1.25,-0.01\r\n"
                                                                 "0.00,1.00,-1234.56\r\n");
}

// Rows 500 ms apart from 23:59:59 run into the next day; a slice starts at its own time.
TEST(HistoryCsvWriterTest, TimeBaseLayoutAddsConditionsAndEachRowsTime) {
    CHistoryData data = SmallHistory(0x01, {100, 200, 300});
    data.Header().SetText(HistoryText::StartTime, "2024-12-31 23:59:59");
    data.Header().SetText(HistoryText::Interval, "500 ms");
    data.Header().SetExternalOffset(-1.5f);
    const std::string csv = CHistoryCsvWriter::Format(data, 1, CHistoryCsvWriter::Layout::WithTimeBase);
    EXPECT_NE(csv.find("Offset, -1.50\r\nInterval, 500 ms\r\nRows, 3\r\nTime, AVG\r\n"
                       "2024-12-31T23:59:59.000,1.00\r\n2024-12-31T23:59:59.500,2.00\r\n"
                       "2025-01-01T00:00:00.000,3.00\r\n"),
              std::string::npos)
        << csv;
    const CHistoryData slice = CHistoryTimeBase::Slice(data, 1, 2);
    EXPECT_EQ(slice.RowCount(), 2);
    EXPECT_EQ(slice.Header().Text(HistoryText::StartTime), "2024-12-31 23:59:59");
    EXPECT_EQ(slice.Header().Text(HistoryText::StopTime), "2025-01-01 00:00:00");
    EXPECT_NE(CHistoryCsvWriter::Format(data, 1, CHistoryCsvWriter::Layout::WithTimeBase, {1, 2})
                  .find("StartTime, 2024-12-31 23:59:59\r\nStopTime, 2025-01-01 00:00:00\r\n"
                        "Title, \r\nOffset, -1.50\r\nInterval, 500 ms\r\nRows, 2\r\nTime, AVG\r\n"
                        "2024-12-31T23:59:59.500,2.00\r\n2025-01-01T00:00:00.000,3.00\r\n"),
              std::string::npos);

    // Without an interval the time column stays empty rather than repeating one time.
    data.Header().SetText(HistoryText::Interval, "");
    EXPECT_NE(
        CHistoryCsvWriter::Format(data, 1, CHistoryCsvWriter::Layout::WithTimeBase).find("\r\n,1.00\r\n"),
        std::string::npos);
}

TEST(HistoryCsvWriterTest, ValuesAreWhatPrintfGivesForEveryMagnitude) {
    std::vector<int32_t> values = {INT32_MIN + 1, INT32_MAX, -99,  -100,  -101,    0,       -1, 5, 10,
                                   999,           1000,      9999, 10000, 1000000, -7000000};
    std::string expected = kHeaderLines + "AVG\r\n";
    for (const int32_t value : values) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f\r\n", value / 100.0);
        expected += text;
    }
    values.push_back(CHistoryData::kNoValue);
    expected += "\r\n"; // a row without a reading has an empty field
    EXPECT_EQ(CHistoryCsvWriter::Format(SmallHistory(0x01, values), 1), expected);
}

TEST(HistoryCsvWriterTest, HeadingFollowsTheModelAndForSomeModelsTheMask) {
    EXPECT_EQ(HeadingOf(0, 0x01), "AVG, VSWR, PEAK\r\n");
    EXPECT_EQ(HeadingOf(2, 0x13), "AVG, VSWR, PEAK\r\n");
    EXPECT_EQ(HeadingOf(1, 0x01), "AVG\r\n");
    EXPECT_EQ(HeadingOf(6, 0x01), "AVG\r\n");
    EXPECT_EQ(HeadingOf(3, 0x02), "PEAK\r\n");
    EXPECT_EQ(HeadingOf(8, 0x02), "PEAK\r\n");
    EXPECT_EQ(HeadingOf(4, 0x13), "AVG, PAR, PEAK\r\n");
    EXPECT_EQ(HeadingOf(5, 0x1F), "AVG,REV,VSWR,PEAK,PULSE,\r\n");
    EXPECT_EQ(HeadingOf(5, 0x03), "AVG,PEAK,\r\n");
    EXPECT_EQ(HeadingOf(9, 0x12), "PAR,PEAK,\r\n");
    EXPECT_EQ(HeadingOf(7, 0x11), "AVG,VSWR,\r\n") << "an unknown model names what the file carries";
}

TEST(HistoryCsvWriterTest, TerminatingSensorAndEightBitTitle) {
    CHistoryData data = SmallHistory(0x08, {3000});
    data.Header().SetSensorType('B');
    data.Header().SetText(HistoryText::Title, "Mesure \xC3\xA0 2 GHz"); // "Mesure à 2 GHz"
    const std::string csv = CHistoryCsvWriter::Format(data, 5);
    EXPECT_NE(csv.find("Type, Terminating\r\n"), std::string::npos);
    EXPECT_NE(csv.find("Title, Mesure \xE0 2 GHz\r\n"), std::string::npos);
    EXPECT_EQ(csv.substr(csv.size() - 15), "PULSE,\r\n30.00\r\n");
}

TEST(HistoryCsvWriterTest, WritesTheFormattedBytes) {
    CTempDirectory dir;
    const CHistoryData data = SmallHistory(0x01, {1, 2, 3});
    const std::string path = dir.File("out.csv");
    ASSERT_TRUE(CHistoryCsvWriter::Write(path, data, 1));
    const std::vector<uint8_t> bytes = CTempDirectory::ReadBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), CHistoryCsvWriter::Format(data, 1));

    std::string error;
    EXPECT_FALSE(CHistoryCsvWriter::Write(dir.File("missing/out.csv"), data, 1, &error));
    EXPECT_FALSE(error.empty());
}
