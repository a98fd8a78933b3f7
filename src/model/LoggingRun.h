#pragma once

#include <cstdint>

// The logging run the program last set up on a sensor: when it began, on which sensor, how often
// it logs and which channels. The sensor's logged data carries no times, so these give them back.
struct LoggingRun {
    int32_t started = 0; // seconds since 1970, 0 when unknown
    int32_t serial = -1;
    int32_t intervalSeconds = 0;
    int32_t channels = 0; // logging mask: AVG 0x01, PEAK 0x02, REV 0x04, PULSE 0x08

    bool IsKnown() const { return started > 0 && intervalSeconds > 0; }
};
