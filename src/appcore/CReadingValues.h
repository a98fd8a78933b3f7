#pragma once

#include <cstdint>

class CSettingProfile;

// The values a screen records for the raw values of a reading, under the settings it was
// measured with. The screens and the remote control both take them from here, so that a remote
// query tells exactly what the window would have recorded.
class CReadingValues {
public:
    struct SSettings {
        int technology = 0;
        float frequencyMHz = 0.0f;
        float extOffset = 0.0f;
        int pulseDuty = 0; // thousandths; 0 measures the duty cycle
    };
    struct SPulse {
        float powerDbm = 0.0f;
        float dutyPercent = 0.0f;
        float widthUs = 0.0f;
    };

    static SSettings Of(const CSettingProfile& profile);
    // An AVG, PEAK or REV reading in dBm.
    static float Power(int32_t raw, const SSettings& settings);
    // A forward or reverse power of the one exchange that reads both, corrected for the technology.
    static float ForwardReversePower(int32_t raw, const SSettings& settings);
    static SPulse Pulse(int32_t pulsePower, int32_t value1, int32_t value2, int32_t value3, int32_t value4,
                        const SSettings& settings);
};
