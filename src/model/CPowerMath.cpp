#include "model/CPowerMath.h"

#include <cmath>

#include "model/HistoryChannel.h"
#include "model/TechnologyCorrection.h"

#include <algorithm>
#include <limits>

// Correction constants of model 5 per technology; GSM (6) and "etc" (7) are not corrected.
static constexpr TechnologyCorrection kTechnologies[] = {
    {34, -0.029, 0.0597, 0.6349, 0.1991, 1.3},  // LTE-TDD
    {35, -0.026, 0.0532, 0.478, -0.8186, 0.2},  // WCDMA
    {33, -0.022, 0.0447, 0.4259, -0.8828, 0.0}, // CDMA
    {36, -0.031, 0.0655, 0.5383, -0.3433, 0.7}, // WiMAX
    {34, -0.015, 0.0292, 0.271, -0.5422, 0.2},  // TDS-CDMA
    {33, -0.022, 0.0447, 0.4259, -0.8828, 0.0}, // EV-DO
};

static constexpr int kCorrectedTechnologies = sizeof(kTechnologies) / sizeof(kTechnologies[0]);

int32_t CPowerMath::Hundredths(double value) {
    // A setting held as a float lies just below many decimal values (20.06 is 20.0599995...):
    // a thousandth of a hundredth away from zero keeps trunc() from dropping a hundredth.
    const double scaled = value * 100.0 + (value < 0.0 ? -0.001 : 0.001);
    // Out-of-range or NaN settings must not become undefined conversions.
    if (std::isnan(scaled))
        return 0;
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(std::trunc(scaled), lowest, highest));
}

float CPowerMath::ReadingToDbm(int32_t raw, float extOffset) {
    return static_cast<float>(raw / 100.0 + extOffset);
}

double CPowerMath::DbmToMilliwatts(double dbm) {
    return std::pow(10.0, dbm / 10.0);
}

double CPowerMath::DbmToWatts(double dbm) {
    return DbmToMilliwatts(dbm) / 1000.0;
}

double CPowerMath::MilliwattsToDbm(double milliwatts) {
    return 10.0 * std::log10(milliwatts);
}

float CPowerMath::ReturnLoss(float vswr) {
    const float returnLoss = -20.0f * std::log10((vswr + 1.0f) / (vswr - 1.0f));
    if (returnLoss > 0.0f)
        return 0.0f;
    if (returnLoss < kMinReturnLoss)
        return kMinReturnLoss;
    return returnLoss;
}

float CPowerMath::WattsOrReturnLoss(float value, int channel) {
    if (channel == ChannelVswr)
        return ReturnLoss(value);
    if (IsPowerChannel(channel))
        return static_cast<float>(DbmToWatts(value));
    return 0.0f;
}

float CPowerMath::VswrFromReturnLoss(double returnLossDb) {
    if (!(returnLossDb > 0.0)) // also a NaN difference
        return kMaxVswr;
    const double k = std::pow(10.0, returnLossDb / 20.0);
    // (k + 1) / (k - 1) written so that a huge return loss (infinite k) still gives 1.
    const double vswr = 1.0 + 2.0 / (k - 1.0) + 0.005;
    if (vswr < 1.0)
        return 1.0f;
    if (vswr > kMaxVswr)
        return kMaxVswr;
    return static_cast<float>(vswr);
}

float CPowerMath::VswrFromRawPowers(int32_t forward, int32_t reverse) {
    return VswrFromReturnLoss((static_cast<double>(forward) - reverse) / 100.0);
}

float CPowerMath::PeakToAverage(float peakDbm, float avgDbm) {
    return peakDbm - avgDbm;
}

double CPowerMath::TechnologyCorrection(int technology, double frequencyMHz, double powerDbm) {
    if (technology < 0 || technology >= kCorrectedTechnologies)
        return 0.0;
    return kTechnologies[technology].Q(frequencyMHz, powerDbm);
}

float CPowerMath::CorrectedReading(int32_t raw, int technology, double frequencyMHz, float extOffset) {
    const double power = raw / 100.0;
    return static_cast<float>(power - TechnologyCorrection(technology, frequencyMHz, power) + extOffset);
}
