#include "model/CPowerMath.h"

#include <cmath>

#include "model/HistoryChannel.h"

// Correction constants of model 5 per technology; GSM (6) and "etc" (7) are not corrected.
struct TechnologyConstants {
    double p0;
    double s1;
    double s0;
    double a1;
    double a0;
    double aboveBand; // q above 1000 MHz
};

static constexpr TechnologyConstants kTechnologies[] = {
    {34, -0.029, 0.0597, 0.6349, 0.1991, 1.3},  // LTE-TDD
    {35, -0.026, 0.0532, 0.478, -0.8186, 0.2},  // WCDMA
    {33, -0.022, 0.0447, 0.4259, -0.8828, 0.0}, // CDMA
    {36, -0.031, 0.0655, 0.5383, -0.3433, 0.7}, // WiMAX
    {34, -0.015, 0.0292, 0.271, -0.5422, 0.2},  // TDS-CDMA
    {33, -0.022, 0.0447, 0.4259, -0.8828, 0.0}, // EV-DO
};

static constexpr int kCorrectedTechnologies = sizeof(kTechnologies) / sizeof(kTechnologies[0]);

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
    if (technology < 0 || technology >= kCorrectedTechnologies || !(frequencyMHz >= 300.0))
        return 0.0;
    const TechnologyConstants& c = kTechnologies[technology];
    if (frequencyMHz > 1000.0)
        return c.aboveBand;
    const double l = std::log(frequencyMHz / 100.0 - 2.0);
    const double slope = l * c.s1 + c.s0;
    return l * c.a1 + c.a0 + std::fabs(powerDbm - c.p0) * slope;
}

float CPowerMath::CorrectedReading(int32_t raw, int technology, double frequencyMHz, float extOffset) {
    const double power = raw / 100.0;
    return static_cast<float>(power - TechnologyCorrection(technology, frequencyMHz, power) + extOffset);
}
