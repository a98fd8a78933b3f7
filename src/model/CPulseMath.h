#pragma once

#include <cstdint>

// What the PULSE screen makes of one reply to the pulse query: the pulse power corrected for
// technology and frequency, the duty cycle and the burst width. The quotients are not guarded:
// a zero divisor gives an infinite or NaN result, which the readouts show as not available.
class CPulseMath {
public:
    // Microseconds per count of the reply's scale selector (1, 2, 4, 8; anything else the longest).
    static float ScaleFactor(int32_t selector);
    // Raw pulse power (hundredths of a dBm) in dBm, corrected for the technology at the frequency;
    // only LTE-TDD (0), WiMAX (3) and TDS-CDMA (4) are corrected. The external offset is not added.
    static float CorrectedPower(int32_t raw, int technology, float frequencyMHz);
    // Percent: the chosen duty (thousandths) when one is chosen (non-zero), else onCounts / periodCounts.
    static float DutyCyclePercent(int dutyChoice, int32_t onCounts, int32_t periodCounts);
    // Microseconds: onCounts / pulseCount times the selector's scale factor.
    static float BurstWidthUs(int32_t onCounts, int32_t pulseCount, int32_t selector);
};
