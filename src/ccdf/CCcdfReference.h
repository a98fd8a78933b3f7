#pragma once

#include <array>

// The CCDF of white Gaussian noise, the curve a measured signal is compared with.
class CCcdfReference {
public:
    static constexpr int kPointCount = 800;
    // dB above average that one point stands for: 800 points cover 0 to 12.5 dB.
    static constexpr float kStepDb = 12.5f / kPointCount;

    // log10 of the probability (fraction) at i * kStepDb, resampled from a table every 0.5 dB.
    static std::array<float, kPointCount> Curve();

private:
    static float Interpolate(const std::array<float, 25>& table, float position);
};
