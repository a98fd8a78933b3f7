#include "screens/CReadoutFormat.h"

#include "model/CPowerMath.h"
#include "platform/CTextFormat.h"

#include <cmath>

namespace {

// A pulse reply with a zero count gives an infinite or NaN quotient: there was no pulse to measure.
bool IsMissing(float value) {
    return !std::isfinite(value);
}

} // namespace

std::string CReadoutFormat::Number(double value, int decimalPlaces) {
    switch (decimalPlaces) {
    case 2:
        return CTextFormat::Printf("%.2f", value);
    case 1:
        return CTextFormat::Printf("%.1f", value);
    case 0:
        return CTextFormat::Printf("%.0f", value);
    default:
        return {};
    }
}

std::string CReadoutFormat::Watts(float dbm, int decimalPlaces) {
    const double watts = CPowerMath::WattsOrReturnLoss(dbm, 0);
    const float magnitude = static_cast<float>(std::fabs(watts));
    if (magnitude > 1.0f)
        return Number(watts, decimalPlaces) + " W";
    if (magnitude > 0.0001f)
        return Number(watts * 1000.0, decimalPlaces) + " mW";
    return Number(watts * 1000000.0, decimalPlaces) + " uW";
}

std::string CReadoutFormat::DutyCycle(float percent) {
    if (IsMissing(percent))
        return "Duty Cycle [A] N/A";
    return CTextFormat::Printf("Duty Cycle [A] %.2f %%", static_cast<double>(percent));
}

std::string CReadoutFormat::BurstWidth(float microseconds) {
    if (IsMissing(microseconds))
        return "Burst Width   N/A";
    return CTextFormat::Printf("Burst Width   %.3f us", static_cast<double>(microseconds));
}
