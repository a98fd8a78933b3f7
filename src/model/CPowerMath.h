#pragma once

#include <cstdint>

// Conversions between sensor readings and the quantities the program shows.
class CPowerMath {
public:
    static constexpr float kMaxVswr = 65.0f;
    static constexpr float kMinReturnLoss = -60.0f;

    // A frequency (MHz) or offset (dB) in the hundredths the sensor and the history files take:
    // truncated toward zero, clamped to the int range, 0 for NaN.
    static int32_t Hundredths(double value);
    // A raw reading in hundredths of a dB plus the external offset, in dBm.
    static float ReadingToDbm(int32_t raw, float extOffset);
    static double DbmToMilliwatts(double dbm);
    static double DbmToWatts(double dbm);
    static double MilliwattsToDbm(double milliwatts);

    // Return loss (dB, -60..0) of a VSWR, in single precision.
    static float ReturnLoss(float vswr);
    // Watts for power channels, return loss for the VSWR channel, 0 for anything else.
    static float WattsOrReturnLoss(float value, int channel);

    // VSWR (1..65, rounded up half a hundredth for display) from forward minus reverse power.
    static float VswrFromReturnLoss(double returnLossDb);
    // Model 5 takes the difference of its raw readings (hundredths of a dB) before any offset
    // or correction; formed in double so that extreme readings cannot overflow.
    static float VswrFromRawPowers(int32_t forward, int32_t reverse);
    static float PeakToAverage(float peakDbm, float avgDbm);

    // Correction q (dB) that model 5 subtracts from a raw power for the technology and frequency.
    static double TechnologyCorrection(int technology, double frequencyMHz, double powerDbm);
    // Raw power of model 5 to stored dBm: raw / 100 - correction + offset.
    static float CorrectedReading(int32_t raw, int technology, double frequencyMHz, float extOffset);
};
