#pragma once

#include <cstdint>

// Calendar fields of a moment in local time.
struct LocalTimeFields {
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class CLocalTime {
public:
    // Seconds since 1970-01-01 UTC, now.
    static int64_t Now();
    // Local calendar fields of the given seconds since 1970-01-01 UTC.
    static LocalTimeFields Fields(int64_t secondsSinceEpoch);
    // Monotonic milliseconds, for time-outs (wraps like the 32-bit Windows timer).
    static uint32_t Milliseconds();
};
