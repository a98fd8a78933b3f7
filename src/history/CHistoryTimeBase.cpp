#include "history/CHistoryTimeBase.h"

#include "history/CRangeStatistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr int64_t kMsPerDay = 86'400'000;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct Civil {
    int year, month, day, hour, minute, second, millisecond;
};

Civil CivilFromMs(int64_t ms) {
    int64_t days = ms / kMsPerDay;
    int64_t rest = ms % kMsPerDay;
    if (rest < 0) {
        rest += kMsPerDay;
        --days;
    }
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    const auto narrow = [](int64_t value) { return static_cast<int>(value); };
    return {narrow(year),
            narrow(month),
            narrow(day),
            narrow(rest / 3'600'000),
            narrow(rest / 60'000 % 60),
            narrow(rest / 1000 % 60),
            narrow(rest % 1000)};
}
} // namespace

std::optional<CHistoryTimeBase> CHistoryTimeBase::Of(const HistoryHeader& header) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const std::string start = header.Text(HistoryText::StartTime);
    if (std::sscanf(start.c_str(), "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute, &second) != 6 ||
        year < 1 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 ||
        second > 60 || hour < 0 || minute < 0 || second < 0)
        return std::nullopt;
    const std::optional<double> seconds =
        CRangeStatistics::SecondsPerSample(header.Text(HistoryText::Interval));
    // A zero interval (every sample within one second) tells no time between the rows.
    if (!seconds || *seconds <= 0.0)
        return std::nullopt;
    const int64_t startMs =
        DaysFromCivil(year, month, day) * kMsPerDay + ((hour * 60LL + minute) * 60LL + second) * 1000LL;
    return CHistoryTimeBase(startMs, std::llround(*seconds * 1000.0));
}

int64_t CHistoryTimeBase::MillisecondsAt(double row) const {
    return m_startMs + std::llround(row * static_cast<double>(m_intervalMs));
}

std::string CHistoryTimeBase::TextAt(double row) const {
    const Civil time = CivilFromMs(MillisecondsAt(row));
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second);
    return text;
}

std::string CHistoryTimeBase::IsoAt(int64_t row) const {
    const Civil time = CivilFromMs(MillisecondsAt(static_cast<double>(row)));
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second, time.millisecond);
    return text;
}

CHistoryData CHistoryTimeBase::Slice(const CHistoryData& data, int first, int count) {
    const int rows = data.RowCount();
    first = std::clamp(first, 0, rows);
    count = std::clamp(count, 0, rows - first);
    const auto perRow = static_cast<std::ptrdiff_t>(data.ValuesPerRow());
    const auto begin = data.Values().begin() + first * perRow;
    CHistoryData slice(data.Header(), std::vector<int32_t>(begin, begin + count * perRow));
    if (const std::optional<CHistoryTimeBase> times = Of(data.Header())) {
        slice.Header().SetText(HistoryText::StartTime, times->TextAt(first));
        slice.Header().SetText(HistoryText::StopTime, times->TextAt(first + count));
    }
    return slice;
}
