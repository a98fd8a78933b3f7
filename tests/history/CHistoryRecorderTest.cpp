#include "history/CHistoryRecorder.h"

#include "history/CHistoryFile.h"
#include "model/CRecordStore.h"
#include "model/CSettingProfile.h"
#include "platform/CAppPaths.h"

#include "support/CTempDirectory.h"
#include "support/HistoryBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace {
class HistoryRecorderTest : public ::testing::Test {
protected:
    // The profile saves its settings beside the executable when destroyed.
    void SetUp() override {
        CAppPaths::OverrideExecutableDirectory(m_dir.File(""));
        m_profile.emplace();
    }
    void TearDown() override {
        m_profile.reset();
        CAppPaths::OverrideExecutableDirectory("");
    }

    CSettingProfile& Profile() { return *m_profile; }
    CRecordStore& Records() { return m_records; }

    CTempDirectory m_dir;
    std::optional<CSettingProfile> m_profile;
    CRecordStore m_records;
};
} // namespace

TEST(HistoryRecorderEncodingTest, ValuesRoundHalfAwayFromZero) {
    EXPECT_EQ(CHistoryRecorder::EncodeValue(-0.004f), 0);
    EXPECT_EQ(CHistoryRecorder::EncodeValue(12.345f), 1235);
    EXPECT_EQ(CHistoryRecorder::EncodeValue(-12.345f), -1235);
    EXPECT_EQ(CHistoryRecorder::EncodeValue(1.0f), 100);
    EXPECT_EQ(CHistoryRecorder::EncodeValue(std::numeric_limits<float>::quiet_NaN()), CHistoryData::kNoValue);
    EXPECT_EQ(CHistoryRecorder::EncodeValue(1e30f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(CHistoryRecorder::EncodeValue(-1e30f), std::numeric_limits<int32_t>::min());
}

TEST(HistoryRecorderEncodingTest, IntervalTextFitsItsField) {
    EXPECT_EQ(CHistoryRecorder::IntervalText(1000, 1000, 10), "0 ms");
    EXPECT_EQ(CHistoryRecorder::IntervalText(1000, 1010, 4), "2500 ms");
    EXPECT_EQ(CHistoryRecorder::IntervalText(1000, 1010, 0), "0 ms");
    EXPECT_EQ(CHistoryRecorder::IntervalText(1000, 1999, 1), "999000 ms");
    EXPECT_EQ(CHistoryRecorder::IntervalText(1000, 2000, 1), "1000 s");
    EXPECT_EQ(CHistoryRecorder::IntervalText(0, std::numeric_limits<int64_t>::max(), 1), "2147483 s");
}

TEST_F(HistoryRecorderTest, AvgPeakRecordingKeepsRowAndHeaderOrders) {
    Profile().SetModelNumber(0);
    Profile().SetSerialText("4711");
    Profile().SetFrequency(2450.999f);
    Profile().SetExtOffset(0.5f);
    Profile().SetDisplayRange(ChannelPeak, 15, 45);
    CRecordStore& records = Records();
    records.StartRecording(true);
    const float samples[2][3] = {{10.0f, 1.25f, 13.0f}, {20.0f, 1.5f, 23.0f}}; // AVG, VSWR, PEAK
    for (const auto& sample : samples) {
        records.AddValue(ChannelAvg, sample[0]);
        records.AddValue(ChannelVswr, sample[1]);
        records.AddValue(ChannelPeak, sample[2]);
    }
    records.MarkStop();

    const CHistoryData data = CHistoryRecorder::BuildFromRecords(Profile(), Records(), 0x13, "");
    EXPECT_EQ(data.Values(), (std::vector<int32_t>{1000, 125, 1300, 2000, 150, 2300}));
    const HistoryHeader& header = data.Header();
    EXPECT_EQ(header.Mask(), 0x13);
    EXPECT_EQ(header.Text(HistoryText::ModelName), "VL-D030");
    EXPECT_EQ(header.Text(HistoryText::SerialNumber), "4711");
    EXPECT_EQ(header.SensorType(), 'A');
    EXPECT_EQ(header.FrequencyX100(), 245099);
    EXPECT_FLOAT_EQ(header.ExternalOffset(), 0.5f);
    EXPECT_EQ(header.Text(HistoryText::Title), "");
    EXPECT_EQ(header.Text(HistoryText::StartTime), CHistoryRecorder::TimeText(records.StartTime()));
    EXPECT_EQ(header.Text(HistoryText::StopTime), CHistoryRecorder::TimeText(records.LastSampleTime()));
    EXPECT_EQ(header.Text(HistoryText::Interval),
              CHistoryRecorder::IntervalText(records.StartTime(), records.LastSampleTime(), 2));
    EXPECT_FLOAT_EQ(header.Statistics(ChannelPeak).maximum, 23.0f);
    EXPECT_FLOAT_EQ(header.Statistics(ChannelVswr).average, 1.375f);
    // Powers average in linear scale: 10 and 20 dBm give 17.40 dBm, not 15.
    EXPECT_NEAR(header.Statistics(ChannelAvg).average, 17.4036f, 1e-3);
    EXPECT_FLOAT_EQ(header.DisplayRange(ChannelPeak).lower, 15);
    EXPECT_FLOAT_EQ(header.DisplayRange(ChannelPeak).upper, 45);
    // Header block order: the PEAK triple sits at offset 108, VSWR at 120.
    const std::vector<uint8_t> image(header.Image().begin(), header.Image().end());
    EXPECT_FLOAT_EQ(HistoryBytes::FloatAt(image, 108 + 4), 23.0f);
    EXPECT_FLOAT_EQ(HistoryBytes::FloatAt(image, 120 + 8), 1.375f);
    EXPECT_FLOAT_EQ(HistoryBytes::FloatAt(image, 160), 15.0f);
}

TEST_F(HistoryRecorderTest, PeakOnlyRecordingOfATerminatingSensor) {
    Profile().SetModelNumber(3);
    Records().StartRecording(true);
    Records().AddValue(ChannelPeak, -3.456f);
    Records().AddValue(ChannelAvg, 99.0f); // not in the mask

    const CHistoryData data = CHistoryRecorder::BuildFromRecords(Profile(), Records(), 0x02, "Übung");
    EXPECT_EQ(data.ValuesPerRow(), 1);
    EXPECT_EQ(data.Values(), (std::vector<int32_t>{-346}));
    EXPECT_EQ(data.Header().SensorType(), 'B');
    EXPECT_EQ(data.Header().Image()[184], 0xDC); // Windows-1252 'Ü'
    EXPECT_EQ(data.Header().Text(HistoryText::Title), "Übung");
}

TEST_F(HistoryRecorderTest, RowsEndWithTheShortestChannelAndNoStartMeansNoInterval) {
    CRecordStore& records = Records();
    records.AddValue(ChannelAvg, 1.0f);
    records.AddValue(ChannelAvg, 2.0f);
    records.AddValue(ChannelPeak, 3.0f);

    const CHistoryData data = CHistoryRecorder::BuildFromRecords(Profile(), Records(), 0x03, "");
    EXPECT_EQ(data.RowCount(), 1);
    EXPECT_EQ(data.Values(), (std::vector<int32_t>{100, 300}));
    for (std::size_t offset = 72; offset < 82; ++offset)
        EXPECT_EQ(data.Header().Image()[offset], 0);
}

TEST_F(HistoryRecorderTest, SavedRecordingReadsBack) {
    Records().StartRecording(true);
    for (int i = 0; i < 10; ++i)
        Records().AddValue(ChannelPulse, 30.0f + static_cast<float>(i) / 8.0f);
    const std::string path = m_dir.File("pulse.psh");
    ASSERT_TRUE(CHistoryRecorder::SaveHistoryFromRecords(path, Profile(), Records(), 0x08, "pulse"));

    CHistoryData read;
    ASSERT_TRUE(CHistoryFile::LoadHistory(path, read).ok);
    EXPECT_EQ(read.Header().Image(),
              CHistoryRecorder::BuildFromRecords(Profile(), Records(), 0x08, "pulse").Header().Image());
    EXPECT_EQ(read.RowCount(), 10);
    EXPECT_EQ(read.StoredValue(9, ChannelPulse), 3113);
    EXPECT_FALSE(
        CHistoryRecorder::SaveHistoryFromRecords(m_dir.File("none.psh"), Profile(), Records(), 0x00, ""));
}
