#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "sim/CVirtualSensor.h"

class CHistogramFormat;

// The measured signal: readings in hundredths of a dBm with noise, pulse timing and the
// instantaneous-power distribution behind the CCDF histograms. Every value comes from one
// seeded generator, so the same seed and the same commands give the same replies.
class CSignalModel {
public:
    static constexpr int kHistogramSamples = 10000;

    CSignalModel(const SignalSetting& signal, uint32_t seed);

    void SetSignal(const SignalSetting& signal) { m_signal = signal; }
    // Averaging count (1..10 and beyond) narrows the noise.
    void SetAveraging(int32_t count);

    int32_t Forward();
    int32_t Reverse();
    int32_t Peak();
    // Value 0 and ten further peaks of the recent past.
    std::array<int32_t, 11> PeakSeries();
    // Pulse power, on-time counts, period counts, pulses counted and the period code echoed:
    // duty = value1 / value2, burst width = value1 / value3 * (microseconds per count of the code).
    std::array<int32_t, 5> Pulse(int32_t periodCode);
    std::vector<uint16_t> HistogramCounts(const CHistogramFormat& format);

private:
    int32_t Noisy(double dbm);
    double PulsePowerDbm() const;

    SignalSetting m_signal;
    double m_noiseScale = 1.0;
    std::mt19937 m_random;
};
