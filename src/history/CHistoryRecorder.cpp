#include "history/CHistoryRecorder.h"

#include "history/CHistoryChannels.h"
#include "history/CHistoryFile.h"
#include "model/CPowerMath.h"
#include "model/CRecordStore.h"
#include "model/CSettingProfile.h"
#include "platform/CLocalTime.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {
constexpr std::size_t kIntervalTextLength = 9;

int32_t TruncateToInt32(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(std::trunc(value), lowest, highest));
}
} // namespace

int32_t CHistoryRecorder::EncodeValue(float value) {
    if (std::isnan(value))
        return CHistoryData::kNoValue;
    const double wide = value;
    return TruncateToInt32(wide >= 0 ? (wide + 0.005) * 100 : (wide - 0.005) * 100);
}

std::string CHistoryRecorder::IntervalText(int64_t startTime, int64_t stopTime, int rowCount) {
    const double elapsed = static_cast<double>(stopTime) - static_cast<double>(startTime);
    const int32_t milliseconds = rowCount > 0 ? TruncateToInt32(elapsed / rowCount * 1000) : 0;
    std::string text = std::to_string(milliseconds) + " ms";
    if (text.size() > kIntervalTextLength)
        text = std::to_string(milliseconds / 1000) + " s";
    return text;
}

std::string CHistoryRecorder::TimeText(int64_t secondsSinceEpoch) {
    const LocalTimeFields fields = CLocalTime::Fields(secondsSinceEpoch);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", fields.year, fields.month, fields.day,
                  fields.hour, fields.minute, fields.second);
    return text;
}

CHistoryData CHistoryRecorder::BuildFromRecords(const CSettingProfile& profile, const CRecordStore& records,
                                                uint8_t mask, const std::string& title) {
    const int rowCount = RowCount(records, mask);
    HistoryHeader header;
    header.SetMask(mask);
    FillHeader(header, profile, records, rowCount, title);

    Series series;
    for (int channel = 0; channel < CHistoryChannels::Count; ++channel)
        series[static_cast<std::size_t>(channel)] = records.Series(channel);
    return CHistoryData(header, EncodeRows(series, mask, rowCount));
}

CHistoryData CHistoryRecorder::BuildFromSeries(HistoryHeader header, const Series& series, int rowCount,
                                               int64_t startTime, int64_t stopTime) {
    SetTimes(header, startTime, stopTime, rowCount);
    for (int channel = 0; channel < CHistoryChannels::Count; ++channel) {
        const std::span<const float> values = series[static_cast<std::size_t>(channel)].first(
            std::min(static_cast<std::size_t>(rowCount), series[static_cast<std::size_t>(channel)].size()));
        HistoryStatistics statistics;
        bool first = true;
        for (const float value : values) {
            if (std::isnan(value))
                continue;
            statistics.minimum = first ? value : std::min(statistics.minimum, value);
            statistics.maximum = first ? value : std::max(statistics.maximum, value);
            first = false;
        }
        statistics.average = first ? 0.0f : CChannelRecord::AverageOf(values, IsPowerChannel(channel));
        header.SetStatistics(channel, statistics);
    }
    return CHistoryData(header, EncodeRows(series, header.Mask(), rowCount));
}

std::vector<int32_t> CHistoryRecorder::EncodeRows(const Series& series, uint8_t mask, int rowCount) {
    std::vector<int32_t> values;
    values.reserve(static_cast<std::size_t>(rowCount) *
                   static_cast<std::size_t>(CHistoryChannels::CountInMask(mask)));
    for (int row = 0; row < rowCount; ++row) {
        for (int channel = 0; channel < CHistoryChannels::Count; ++channel) {
            if (mask & CHistoryChannels::MaskBit(channel))
                values.push_back(
                    EncodeValue(series[static_cast<std::size_t>(channel)][static_cast<std::size_t>(row)]));
        }
    }
    return values;
}

void CHistoryRecorder::SetTimes(HistoryHeader& header, int64_t startTime, int64_t stopTime, int rowCount) {
    header.SetText(HistoryText::StartTime, TimeText(startTime));
    header.SetText(HistoryText::StopTime, TimeText(stopTime));
    if (startTime != 0)
        header.SetText(HistoryText::Interval, IntervalText(startTime, stopTime, rowCount));
}

bool CHistoryRecorder::SaveHistoryFromRecords(const std::string& path, const CSettingProfile& profile,
                                              const CRecordStore& records, uint8_t mask,
                                              const std::string& title, std::string* error) {
    return CHistoryFile::SaveHistoryRaw(path, BuildFromRecords(profile, records, mask, title), error);
}

void CHistoryRecorder::FillHeader(HistoryHeader& header, const CSettingProfile& profile,
                                  const CRecordStore& records, int rowCount, const std::string& title) {
    const SensorModel* model = profile.GetModel();
    header.SetText(HistoryText::ModelName, model ? model->name : "");
    header.SetText(HistoryText::SerialNumber, profile.GetSerialText());
    header.SetSensorType(model && model->type == SensorTerminating ? 'B' : 'A');
    header.SetFrequencyX100(CPowerMath::Hundredths(profile.GetFrequency()));
    header.SetExternalOffset(profile.GetExtOffset());
    if (!title.empty())
        header.SetText(HistoryText::Title, title);

    SetTimes(header, records.StartTime(), records.LastSampleTime(), rowCount);

    for (int channel = 0; channel < CHistoryChannels::Count; ++channel) {
        header.SetStatistics(channel,
                             {records.Minimum(channel), records.Maximum(channel), records.Average(channel)});
        float lower = 0;
        float upper = 0;
        profile.GetDisplayRange(channel, lower, upper);
        header.SetDisplayRange(channel, {lower, upper});
    }
}

int CHistoryRecorder::RowCount(const CRecordStore& records, uint8_t mask) {
    // Channels of one recording hold equal counts; should one lag, rows stop where it ends.
    int rowCount = -1;
    for (int channel = 0; channel < CHistoryChannels::Count; ++channel) {
        if (mask & CHistoryChannels::MaskBit(channel)) {
            const int count = records.Count(channel);
            rowCount = rowCount < 0 ? count : std::min(rowCount, count);
        }
    }
    return std::max(rowCount, 0);
}
