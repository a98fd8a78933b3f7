#include "appcore/CReadoutFormat.h"

#include "model/CPowerMath.h"
#include "platform/CTextFormat.h"

#include <charconv>
#include <cmath>

namespace {

// The largest double has 309 digits before the point.
constexpr int kMaxFixedLength = 320;

// A pulse reply with a zero count gives an infinite or NaN quotient: there was no pulse to measure.
bool IsMissing(float value) {
    return !std::isfinite(value);
}

} // namespace

// The digits of printf's "%.Nf" (both round the exact binary value), without parsing a
// format for every reading; printf still spells what is not a number, as it always has.
std::string CReadoutFormat::Number(double value, int decimalPlaces) {
    if (decimalPlaces < 0 || decimalPlaces > 2)
        return {};
    if (!std::isfinite(value))
        return CTextFormat::Printf("%.*f", decimalPlaces, value);
    char digits[kMaxFixedLength];
    const auto written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimalPlaces);
    return std::string(digits, written.ptr);
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

std::string CReadoutFormat::DutyCycle(float percent, bool manual) {
    const char* label = manual ? "Duty Cycle [M]" : "Duty Cycle [A]";
    if (IsMissing(percent))
        return std::string(label) + " N/A";
    return CTextFormat::Printf("%s %.2f %%", label, static_cast<double>(percent));
}

std::string CReadoutFormat::BurstWidth(float microseconds) {
    if (IsMissing(microseconds))
        return "Burst Width   N/A";
    return CTextFormat::Printf("Burst Width   %.3f us", static_cast<double>(microseconds));
}
