#include "model/CPulseMath.h"

#include "model/TechnologyCorrection.h"

namespace {

struct PulseTechnology {
    int technology;
    TechnologyCorrection correction;
    float adjustment; // added after q is subtracted, at every frequency
};

constexpr PulseTechnology kPulseTechnologies[] = {
    {0, {34, -0.029, 0.0597, 0.6349, 0.1991, 1.5}, -0.45f}, // LTE-TDD
    {3, {36, -0.031, 0.0655, 0.5383, -0.3433, 0.7}, 2.2f},  // WiMAX
    {4, {34, -0.015, 0.0292, 0.271, -0.5422, 0.2}, -0.5f},  // TDS-CDMA
};

} // namespace

float CPulseMath::ScaleFactor(int32_t selector) {
    switch (selector) {
    case 1:
        return 1.207f;
    case 2:
        return 2.622f;
    case 4:
        return 5.557f;
    case 8:
        return 10.82f;
    default:
        return 21.6450216450216f;
    }
}

float CPulseMath::CorrectedPower(int32_t raw, int technology, float frequencyMHz) {
    const float power = static_cast<float>(raw) / 100.0f;
    for (const PulseTechnology& entry : kPulseTechnologies) {
        if (entry.technology == technology) {
            const double q = entry.correction.Q(frequencyMHz, power);
            return static_cast<float>(power - q) + entry.adjustment;
        }
    }
    return power;
}

float CPulseMath::DutyCyclePercent(int dutyChoice, int32_t onCounts, int32_t periodCounts) {
    const float duty = dutyChoice != 0 ? static_cast<float>(dutyChoice) / 1000.0f
                                       : static_cast<float>(onCounts) / static_cast<float>(periodCounts);
    return duty * 100.0f;
}

float CPulseMath::BurstWidthUs(int32_t onCounts, int32_t pulseCount, int32_t selector) {
    return static_cast<float>(onCounts) / static_cast<float>(pulseCount) * ScaleFactor(selector);
}
