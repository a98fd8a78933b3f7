#include "history/CRangeStatistics.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<GraphPoint> Points(const std::vector<float>& values) {
    std::vector<GraphPoint> points;
    for (std::size_t i = 0; i < values.size(); ++i)
        points.push_back({static_cast<float>(i), values[i]});
    return points;
}
} // namespace

TEST(RangeStatisticsTest, PowersAverageInLinearPower) {
    // 0 dBm and 10 dBm are 1 mW and 10 mW: 5.5 mW is 7.404 dBm.
    const auto points = Points({-50.0f, 0.0f, 10.0f, -50.0f});
    const auto statistics = CRangeStatistics::Compute(points, 2.0, 1.0, true, 0.5);
    ASSERT_TRUE(statistics);
    EXPECT_EQ(statistics->firstIndex, 1);
    EXPECT_EQ(statistics->count, 2);
    EXPECT_DOUBLE_EQ(statistics->minimum, 0.0);
    EXPECT_DOUBLE_EQ(statistics->maximum, 10.0);
    EXPECT_NEAR(statistics->average, 7.4036, 1e-4);
    EXPECT_DOUBLE_EQ(*statistics->durationSeconds, 1.0);
}

TEST(RangeStatisticsTest, RatiosAverageArithmeticallyAndEmptyStretchesGiveNothing) {
    const auto points = Points({1.0f, 1.5f, 2.0f});
    const auto statistics = CRangeStatistics::Compute(points, -1.0, 10.0, false, std::nullopt);
    ASSERT_TRUE(statistics);
    EXPECT_DOUBLE_EQ(statistics->average, 1.5);
    EXPECT_FALSE(statistics->durationSeconds);
    EXPECT_FALSE(CRangeStatistics::Compute(points, 0.2, 0.8, false, std::nullopt));
}

TEST(RangeStatisticsTest, IntervalTextGivesTheSampleTime) {
    EXPECT_EQ(CRangeStatistics::SecondsPerSample("250 ms"), 0.25);
    EXPECT_EQ(CRangeStatistics::SecondsPerSample("0 ms"), 0.0);
    EXPECT_FALSE(CRangeStatistics::SecondsPerSample(""));
    EXPECT_FALSE(CRangeStatistics::SecondsPerSample("-5 ms"));
    // Intervals too long for milliseconds in the field are written in seconds.
    EXPECT_EQ(CRangeStatistics::SecondsPerSample("12 s"), 12.0);
    EXPECT_FALSE(CRangeStatistics::SecondsPerSample("12 h"));
}
