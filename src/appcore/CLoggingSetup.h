#pragma once

#include "protocol/CLoggingSequence.h"

#include <cstdint>
#include <string>

class CSettingProfile;

// The rules of the sensor's stand-alone logging as the logging page and the command line set it
// up: which channels, how often, how long, and the checks that come before anything is sent.
class CLoggingSetup {
public:
    static constexpr int32_t kChannelBits = 0x0F; // AVG 0x01, PEAK 0x02, REV 0x04, PULSE 0x08
    static constexpr int64_t kMaxIntervalSeconds = 3600;
    static constexpr int64_t kMaxRunTimeMinutes = 96 * 60;
    static constexpr int64_t kMinRecordCount = 10;
    static constexpr const char* kNotConnectedKey = "S_MAINFRAME_ONDEVICECONNECT";

    enum class Refusal { None, Interval, RecordCount, RunTime, NotConnected };

    // Channels among the four logging bits of the mask.
    static int ChannelCount(int32_t mask);
    // The sensor needs 10 s per logged channel; an empty selection counts as one channel, so
    // that the interval is never 0 and the record count never divides by it.
    static int32_t MinimumInterval(int32_t mask);
    // The unit labels beside the interval and run-time fields.
    static std::string IntervalUnitText(int32_t mask);
    static std::string RunTimeUnitText();

    // larger x 60 + smaller (minutes and seconds, hours and minutes) in 64 bits, so that no
    // value typed into the fields overflows before it is judged.
    static int64_t Combine(int32_t larger, int32_t smaller);
    // Fields of a time: no negative minutes or hours, seconds and minutes below 60.
    static bool IsTimeInRange(int32_t larger, int32_t smaller);

    // The first check that fails, in the order the page makes them.
    static Refusal Check(int32_t mask, int64_t intervalSeconds, int64_t runTimeMinutes, bool connected);
    // The fixed text shown for a range refusal (empty for None and NotConnected, whose message is
    // the language text of kNotConnectedKey).
    static std::string RefusalText(Refusal refusal, int32_t mask);
    // How many records the sensor takes in the run time; only for values that passed Check.
    static int32_t RecordCount(int64_t intervalSeconds, int64_t runTimeMinutes);
    // What the set-up sends for the logging settings of a profile that passed Check: the
    // frequency in whole MHz, the page's period and reference, the profile's technology.
    static CLoggingSequence::StartValues StartValues(const CSettingProfile& profile);
};
