#pragma once

#include <array>
#include <cstdint>
#include <vector>

// One point of the CCDF curve: dB above the average power, log10 of the probability (fraction).
struct CcdfPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// What one acquisition window yields. An empty window is not a measurement: `measured` is
// false and every value is 0.
struct CCcdfResult {
    static constexpr int kLevelCount = 5;
    // Probabilities (percent) whose power level is looked up, in pane order.
    static constexpr std::array<double, kLevelCount> kProbabilities = {10.0, 1.0, 0.1, 0.01, 0.001};
    // Levels (dB above average) whose probability is looked up, in pane order.
    static constexpr std::array<double, kLevelCount> kLevels = {4.0, 8.0, 12.0, 16.0, 20.0};

    bool measured = false;
    double averagePower = 0.0;                // dBm, with the technology correction
    double peakPower = 0.0;                   // dBm
    double crestFactor = 0.0;                 // dB
    uint64_t total = 0;                       // samples in the window
    std::array<double, kLevelCount> levels{}; // dB above average at kProbabilities
    // A level no bin reaches (0.001 % needs 100,000 samples) is unknown rather than 0 dB.
    std::array<bool, kLevelCount> levelKnown{};
    std::array<double, kLevelCount> probabilities{}; // percent at kLevels
    std::vector<CcdfPoint> curve;                    // from the 0.01 % level down to the average
};
