#include "ccdf/CCcdfReference.h"

#include <cmath>

namespace {

// Percent of the time white Gaussian noise exceeds its average by 0, 0.5, ... 12 dB.
constexpr std::array<float, 25> kTablePercent = {
    37.3f,   32.2f,   28.5f,    23.9f,    20.2f,     16.7f,    13.3f,     10.5f, 7.91f,
    5.86f,   4.09f,   2.78f,    1.83f,    1.1f,      0.6f,     0.351f,    0.17f, 0.0797f,
    0.0324f, 0.0125f, 0.00429f, 0.00128f, 0.000324f, 0.00005f, 0.0000184f};

} // namespace

std::array<float, CCcdfReference::kPointCount> CCcdfReference::Curve() {
    std::array<float, 25> table;
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = std::log10(kTablePercent[i] / 100.0f);
    std::array<float, kPointCount> curve;
    const float tableStepsPerPoint = 25.0f / kPointCount;
    for (int i = 0; i < kPointCount; ++i)
        curve[static_cast<size_t>(i)] = Interpolate(table, static_cast<float>(i) * tableStepsPerPoint);
    return curve;
}

// Cubic Lagrange interpolation through the four table points around the position (in table
// index units); the ends use the first or last four points.
float CCcdfReference::Interpolate(const std::array<float, 25>& table, float position) {
    const int last = static_cast<int>(table.size()) - 1;
    const int k = static_cast<int>(position);
    int first = k - 1;
    if (k <= 0)
        first = 0;
    else if (k >= last - 1)
        first = last - 3;
    float value = 0.0f;
    for (int j = first; j < first + 4; ++j) {
        float weight = 1.0f;
        for (int m = first; m < first + 4; ++m) {
            if (m != j)
                weight *= (position - static_cast<float>(m)) / static_cast<float>(j - m);
        }
        value += table[static_cast<size_t>(j)] * weight;
    }
    return value;
}
