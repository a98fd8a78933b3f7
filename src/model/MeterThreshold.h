#pragma once

#include <cstdint>

// One coloured value band of a gauge.
struct MeterThreshold {
    uint32_t colour = 0xFF000000; // ARGB
    double low = 0.0;
    double high = 1.0;
};

constexpr uint32_t kBandRed = 0xFFFF0000;
constexpr uint32_t kBandGreen = 0xFF008000;
