#pragma once

#include <optional>
#include <span>
#include <string>

#include "history/GraphSeries.h"

// Minimum, maximum, average and duration of a stretch of a shown series.
struct RangeStatistics {
    int firstIndex = 0;
    int count = 0;
    double minimum = 0.0;
    double maximum = 0.0;
    double average = 0.0;
    // Seconds the stretch spans; nothing when the sample interval is unknown.
    std::optional<double> durationSeconds;
};

class CRangeStatistics {
public:
    // Statistics of the points whose index lies in [from, to] (either order). Powers in dBm
    // average in linear power, as the recorded statistics do; other quantities arithmetically.
    // Nothing when no point lies in the stretch.
    static std::optional<RangeStatistics> Compute(std::span<const GraphPoint> points, double from, double to,
                                                  bool powerInDbm, std::optional<double> secondsPerSample);
    // Seconds per sample from a header's interval text ("%d ms", or "%d s" for long ones); nothing
    // when it is none.
    static std::optional<double> SecondsPerSample(const std::string& intervalText);
};
