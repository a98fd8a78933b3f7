#pragma once

#include "history/CHistoryData.h"

#include <cstdint>
#include <optional>
#include <string>

// When each row of a history was taken, from the header's start time and sample interval. The
// times are the local times the header holds; no time zone is involved.
class CHistoryTimeBase {
public:
    // Nothing when the history has no start time or no interval to count from.
    static std::optional<CHistoryTimeBase> Of(const HistoryHeader& header);

    // "YYYY-MM-DD HH:MM:SS", as the header writes times; `row` may be fractional.
    std::string TextAt(double row) const;
    // ISO 8601 with milliseconds: "YYYY-MM-DDTHH:MM:SS.mmm".
    std::string IsoAt(int64_t row) const;

    // The rows first .. first + count - 1 as a history of their own: the header's start and
    // stop times become the stretch's when the time base is known.
    static CHistoryData Slice(const CHistoryData& data, int first, int count);

private:
    CHistoryTimeBase(int64_t startMs, int64_t intervalMs) : m_startMs(startMs), m_intervalMs(intervalMs) {}

    int64_t MillisecondsAt(double row) const;

    int64_t m_startMs;    // milliseconds since 1970-01-01 00:00:00 of the same (local) clock
    int64_t m_intervalMs; // between two rows
};
