#include "ccdf/CCcdfStatistics.h"

#include <cmath>

namespace {

// The curve starts where the distribution reaches this probability (percent).
constexpr double kCurveStart = 0.01;
// A level's probability is taken from the nearest bin within this distance (dB).
constexpr double kLevelReach = 1.0;

double Percent(uint64_t count, uint64_t total) {
    return static_cast<double>(count) / static_cast<double>(total) * 100.0;
}

float Log10Fraction(uint64_t count, uint64_t total) {
    return std::log10(static_cast<float>(count) / static_cast<float>(total));
}

} // namespace

double CCcdfStatistics::TechnologyCorrection(int technology) {
    switch (technology) {
    case 1: // WCDMA
        return -0.2;
    case 0: // LTE-TDD
    case 3: // WiMAX
        return -0.7;
    default:
        return 0.0;
    }
}

CCcdfResult CCcdfStatistics::Compute(const CCcdfWindow::MergedHistogram& merged, uint64_t total,
                                     int technology) {
    CCcdfResult result;
    if (merged.empty() || total == 0)
        return result;
    const float average = 10.0f * std::log10(static_cast<float>(LinearAverage(merged, total)));
    result.averagePower = static_cast<double>(average) + TechnologyCorrection(technology);
    // Keys far outside any sensor's range overflow the linear sum; such a window has no average.
    if (!std::isfinite(result.averagePower))
        return CCcdfResult{};
    result.measured = true;
    result.total = total;
    result.peakPower = merged.rbegin()->first / 100.0;
    WalkDown(merged, result);
    result.crestFactor = result.peakPower - result.averagePower;
    return result;
}

double CCcdfStatistics::LinearAverage(const CCcdfWindow::MergedHistogram& merged, uint64_t total) {
    double sum = 0.0;
    for (const auto& [key, count] : merged)
        sum += static_cast<double>(count) * std::pow(10.0, key / 100.0 / 10.0);
    return sum / static_cast<double>(total);
}

// Walks from the highest bin down to the average, with the share of samples above and
// including each bin: builds the curve from the 0.01 % level down, and reads off the levels
// and probabilities. "before" counts one sample of the bin, "after" all of it.
void CCcdfStatistics::WalkDown(const CCcdfWindow::MergedHistogram& merged, CCcdfResult& result) {
    const uint64_t total = result.total;
    std::array<double, CCcdfResult::kLevelCount> bestDistance;
    bestDistance.fill(kLevelReach);
    std::array<bool, CCcdfResult::kLevelCount>& levelFound = result.levelKnown;
    bool curveStarted = false;
    uint64_t above = 0;
    for (auto bin = merged.rbegin(); bin != merged.rend(); ++bin) {
        const double power = bin->first / 100.0;
        const double x = power - result.averagePower;
        if (x < 0.0)
            break;
        const uint64_t count = static_cast<uint64_t>(bin->second);
        const double before = Percent(above + 1, total);
        above += count;
        const double after = Percent(above, total);

        // The peak is the bin where the curve starts, that is where the 0.01 % level is read,
        // whether or not a bin crosses that probability exactly.
        if (after >= kCurveStart && !curveStarted) {
            result.peakPower = power;
            curveStarted = true;
        }
        if (before > kCurveStart && after > kCurveStart) {
            result.curve.push_back({static_cast<float>(x), Log10Fraction(above, total)});
        } else if (before <= kCurveStart && after >= kCurveStart) {
            const uint64_t reached = count == 1 ? above : above + 1 - count;
            result.curve.push_back({static_cast<float>(x), Log10Fraction(reached, total)});
        }

        for (size_t i = 0; i < CCcdfResult::kProbabilities.size(); ++i) {
            const double probability = CCcdfResult::kProbabilities[i];
            // The last probability is read from the deepest bin that starts at or below it;
            // the others from the first bin that reaches them, even when none crosses exactly.
            if (i + 1 == CCcdfResult::kProbabilities.size()) {
                if (before <= probability) {
                    result.levels[i] = x;
                    levelFound[i] = true;
                }
            } else if (!levelFound[i] && after >= probability) {
                result.levels[i] = x;
                levelFound[i] = true;
            }
            const double level = CCcdfResult::kLevels[i];
            const double distance = std::fabs(x - level);
            if (distance < bestDistance[i]) {
                bestDistance[i] = distance;
                result.probabilities[i] = x > level ? before : after;
            }
        }
    }
}
