#include "ccdf/CCcdfTexts.h"

#include <cmath>
#include <cstdio>

namespace {

// The sensor whose histogram keys sit 35 dB above the power it measures.
constexpr int kHighKeySensor = 14;
constexpr double kHighKeyOffset = 35.0;

template <typename... Args> std::string Format(const char* format, Args... args) {
    char text[128];
    const int length = std::snprintf(text, sizeof(text), format, args...);
    return length > 0 ? std::string(text) : std::string();
}

} // namespace

std::string CCcdfTexts::SampleProgress(size_t windowSize, int rateChoice) {
    static const char* const kTargets[] = {"%s / 100,000", "%s / 200,000", "%s / 500,000", "%s / 1,000,000"};
    if (rateChoice < 0 || rateChoice > 3)
        return {};
    std::string current = "0";
    if (windowSize >= 100)
        current = "1,000,000";
    else if (windowSize > 0)
        current = Format("%d0,000", static_cast<int>(windowSize));
    return Format(kTargets[rateChoice], current.c_str());
}

std::string CCcdfTexts::Decimal(double value, int decimalPlaces) {
    switch (decimalPlaces) {
    case 0:
        return Format("%.0f", value);
    case 1:
        return Format("%.1f", value);
    case 2:
        return Format("%.2f", value);
    default:
        return {};
    }
}

std::string CCcdfTexts::MarkerSubtitle(const CcdfPoint& point) {
    const float percent = std::pow(10.0f, point.y) * 100.0f;
    return Format("Marker : %.2f dB, %.3f %%", static_cast<double>(point.x), static_cast<double>(percent));
}

double CCcdfTexts::DisplayedAverage(const CCcdfResult& result, int identificationCode) {
    return identificationCode == kHighKeySensor ? result.averagePower - kHighKeyOffset : result.averagePower;
}
