#pragma once

#include <string>

// Number texts of the readouts, by the profile's decimal places.
class CReadoutFormat {
public:
    // "%.2f", "%.1f" or "%.0f" for 2, 1 or 0 places; the empty text for any other count.
    static std::string Number(double value, int decimalPlaces);
    // A power in dBm as watts: "W" above 1 W, "mW" above 0.1 mW, "uW" below.
    static std::string Watts(float dbm, int decimalPlaces);
    // Duty cycle (percent) and burst width (microseconds) lines; "N/A" when not finite.
    // "[A]" for a measured duty cycle, "[M]" for the one entered by hand.
    static std::string DutyCycle(float percent, bool manual);
    static std::string BurstWidth(float microseconds);
};
