#pragma once

#include <cstdint>
#include <vector>

// The commands that set the sensor's stand-alone logging up, switch it off and erase what it
// logged, as mnemonic, argument and acknowledgement time-out.
class CLoggingSequence {
public:
    struct Step {
        char mnemonic[3];
        int32_t argument;
        uint32_t timeoutMs;
    };

    // Everything the set-up sends; frequency and offset in hundredths (MHz, dB).
    struct StartValues {
        int32_t offsetHundredths = 0;
        int32_t frequencyHundredths = 0;
        int32_t channelMask = 0; // 0x01 AVG, 0x02 PEAK, 0x04 REV, 0x08 PULSE
        int32_t intervalSeconds = 0;
        int32_t recordCount = 0;
        int32_t technologyIndex = 0;
        int32_t periodIndex = 0;
        int32_t reference = 0; // hundredths of a dB, 0 automatic
    };

    // The eleven set-up commands in the order the sensor expects them.
    static std::vector<Step> Start(const StartValues& values);
    // Logging mode off.
    static Step Stop();
    // Erases the logged data.
    static Step Erase();
};
