#include "history/CRangeStatistics.h"

#include "model/CPowerMath.h"

#include <algorithm>
#include <charconv>
#include <cmath>

std::optional<RangeStatistics> CRangeStatistics::Compute(std::span<const GraphPoint> points, double from,
                                                         double to, bool powerInDbm,
                                                         std::optional<double> secondsPerSample) {
    if (from > to)
        std::swap(from, to);
    RangeStatistics result;
    double sum = 0.0;
    for (std::size_t index = 0; index < points.size(); ++index) {
        const GraphPoint& point = points[index];
        if (point.x < from || point.x > to || std::isnan(point.y))
            continue;
        const double value = point.y;
        if (result.count == 0) {
            result.firstIndex = static_cast<int>(index);
            result.minimum = result.maximum = value;
        }
        result.minimum = std::min(result.minimum, value);
        result.maximum = std::max(result.maximum, value);
        sum += powerInDbm ? CPowerMath::DbmToMilliwatts(value) : value;
        ++result.count;
    }
    if (result.count == 0)
        return std::nullopt;
    const double mean = sum / result.count;
    result.average = powerInDbm ? CPowerMath::MilliwattsToDbm(mean) : mean;
    if (secondsPerSample)
        result.durationSeconds = *secondsPerSample * result.count;
    return result;
}

std::optional<double> CRangeStatistics::SecondsPerSample(const std::string& intervalText) {
    int milliseconds = 0;
    const char* end = intervalText.data() + intervalText.size();
    const auto parsed = std::from_chars(intervalText.data(), end, milliseconds);
    if (parsed.ec != std::errc() || milliseconds < 0 || std::string(parsed.ptr, end) != " ms")
        return std::nullopt;
    return milliseconds / 1000.0;
}
