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
    int number = 0;
    const char* end = intervalText.data() + intervalText.size();
    const auto parsed = std::from_chars(intervalText.data(), end, number);
    const std::string unit(parsed.ptr, end);
    if (parsed.ec != std::errc() || number < 0 || (unit != " ms" && unit != " s"))
        return std::nullopt;
    // Intervals too long for milliseconds in the field are written in seconds.
    return unit == " s" ? number : number / 1000.0;
}
