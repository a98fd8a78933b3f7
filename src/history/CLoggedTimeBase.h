#pragma once

#include "history/HistoryHeader.h"
#include "model/LoggingRun.h"

class CSettingProfile;

// Times for the sensor's logged data, which carries none: the set-up that the program made is
// kept with the logging settings, and a download that fits it is stamped from it.
class CLoggedTimeBase {
public:
    // The run the profile's logging settings start now on the profile's sensor.
    static LoggingRun StartedNow(const CSettingProfile& profile);
    // The run made the data when the same sensor logged the same channels.
    static bool Fits(const LoggingRun& run, const std::string& serialText, uint8_t mask);
    // The first record is taken at the start, then one per interval. Without a fitting run the
    // header carries no times at all, never the moment of the download or a zero interval.
    static void Stamp(HistoryHeader& header, const LoggingRun& run, const std::string& serialText,
                      int rowCount);
};
