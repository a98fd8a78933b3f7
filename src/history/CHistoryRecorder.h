#pragma once

#include "history/CHistoryData.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

class CRecordStore;
class CSettingProfile;

// Turns the records of a measurement, with the settings it was made with, into a history.
class CHistoryRecorder {
public:
    // Header and rows of the channels in `mask`; the row count is that of the shortest of them.
    static CHistoryData BuildFromRecords(const CSettingProfile& profile, const CRecordStore& records,
                                         uint8_t mask, const std::string& title);
    using Series = std::array<std::span<const float>, 5>;
    // A history of the header's channels from whole series (each at least rowCount long): the
    // header's identity and ranges are kept, its times, interval and statistics are filled in.
    static CHistoryData BuildFromSeries(HistoryHeader header, const Series& series, int rowCount,
                                        int64_t startTime, int64_t stopTime);
    // Writes the history of the channels in `mask`; an existing file is replaced only on success.
    static bool SaveHistoryFromRecords(const std::string& path, const CSettingProfile& profile,
                                       const CRecordStore& records, uint8_t mask, const std::string& title,
                                       std::string* error = nullptr);

    // A value in hundredths, rounded half away from zero and kept within 32 bits; NaN (no
    // reading) gives CHistoryData::kNoValue.
    static int32_t EncodeValue(float value);
    // "%d ms" of the mean time between samples; "%d s" when the milliseconds do not fit the field.
    static std::string IntervalText(int64_t startTime, int64_t stopTime, int rowCount);
    // "%04d-%02d-%02d %02d:%02d:%02d" in local time.
    static std::string TimeText(int64_t secondsSinceEpoch);

private:
    static std::vector<int32_t> EncodeRows(const Series& series, uint8_t mask, int rowCount);
    static void SetTimes(HistoryHeader& header, int64_t startTime, int64_t stopTime, int rowCount);
    static void FillHeader(HistoryHeader& header, const CSettingProfile& profile, const CRecordStore& records,
                           int rowCount, const std::string& title);
    static int RowCount(const CRecordStore& records, uint8_t mask);
};
