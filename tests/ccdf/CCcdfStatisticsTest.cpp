#include "ccdf/CCcdfStatistics.h"
#include "ccdf/CCcdfAcquisition.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kNoCorrection = 7;

CCcdfResult Compute(const CCcdfWindow::Histogram& histogram, int technology = kNoCorrection) {
    CCcdfWindow window;
    window.Add(histogram, 10);
    return CCcdfStatistics::Compute(window.Merged(), window.Total(), technology);
}

} // namespace

// 30 dBm x1, 20 dBm x2, 15 dBm x3997, 0 dBm x16000: 20,000 samples, the 0.01 % level is
// reached in the 20 dBm bin.
TEST(CCcdfStatisticsTest, HandComputedWindow) {
    const CCcdfResult result = Compute({{3000, 1}, {2000, 2}, {1500, 3997}, {0, 16000}});
    const double average =
        10.0 * std::log10((1000.0 + 200.0 + 3997.0 * std::pow(10.0, 1.5) + 16000.0) / 20000.0);
    ASSERT_TRUE(result.measured);
    EXPECT_EQ(result.total, 20000u);
    EXPECT_NEAR(result.averagePower, average, 1e-4);
    EXPECT_DOUBLE_EQ(result.peakPower, 20.0); // where the curve starts, not the highest bin
    EXPECT_NEAR(result.crestFactor, 20.0 - average, 1e-4);

    // The 30 dBm bin lies above 0.01 %; the crossing bin counts from its first sample.
    ASSERT_EQ(result.curve.size(), 2u);
    EXPECT_NEAR(result.curve[0].x, 20.0 - average, 1e-4);
    EXPECT_NEAR(result.curve[0].y, std::log10(2.0 / 20000.0), 1e-5);
    EXPECT_NEAR(result.curve[1].x, 15.0 - average, 1e-4);
    EXPECT_NEAR(result.curve[1].y, std::log10(0.2), 1e-5);

    EXPECT_NEAR(result.levels[0], 15.0 - average, 1e-4); // 10 %
    EXPECT_NEAR(result.levels[2], 15.0 - average, 1e-4); // 0.1 %
    EXPECT_NEAR(result.levels[3], 20.0 - average, 1e-4); // 0.01 %
    EXPECT_FALSE(result.levelKnown[4]);                  // 0.001 %: no bin starts that low
    EXPECT_TRUE(result.levelKnown[3]);
    // Only 12 dB has a bin within 1 dB (x = 11.44, below it: the share including the bin).
    EXPECT_NEAR(result.probabilities[2], 0.015, 1e-9);
    EXPECT_EQ(result.probabilities[0] + result.probabilities[1] + result.probabilities[3] +
                  result.probabilities[4],
              0.0);
}

TEST(CCcdfStatisticsTest, FewSamplesCurveStartsAtTheHighestBinAndABinAtTheAverageCounts) {
    // 10 dBm x1 and 0 dBm x9: average 10 log10(1.9); WCDMA reads 0.2 dB lower.
    const CCcdfResult plain = Compute({{1000, 1}, {0, 9}});
    EXPECT_NEAR(plain.averagePower, 10.0 * std::log10(1.9), 1e-5);
    EXPECT_DOUBLE_EQ(plain.peakPower, 10.0);
    ASSERT_EQ(plain.curve.size(), 1u);
    EXPECT_NEAR(plain.curve[0].y, -1.0, 1e-6);
    EXPECT_NEAR(Compute({{1000, 1}, {0, 9}}, 1).averagePower, plain.averagePower - 0.2, 1e-9);
    EXPECT_NEAR(Compute({{1000, 1}, {0, 9}}, 3).averagePower, plain.averagePower - 0.7, 1e-9);

    // All samples in one bin: the average is that bin, x = 0 is still walked.
    const CCcdfResult flat = Compute({{2000, 4}}, 5);
    ASSERT_EQ(flat.curve.size(), 1u);
    EXPECT_NEAR(flat.curve[0].x, 0.0, 1e-5);
    EXPECT_NEAR(flat.levels[0], 0.0, 1e-5);
}

TEST(CCcdfStatisticsTest, WeakSignalsGetTheirProbabilities) {
    // -6 dBm x1, -10 dBm x99: the -6 dBm bin sits 3.94 dB above the average.
    const CCcdfResult result = Compute({{-600, 1}, {-1000, 99}});
    EXPECT_NEAR(result.probabilities[0], 1.0, 1e-9);
}

TEST(CCcdfStatisticsTest, LevelBetweenTwoSingleSampleBinsIsTheFirstBinReachingIt) {
    // 15,000 samples: the top bin holds 0.0067 %, the next brings 0.0133 %; neither crosses
    // 0.01 % within itself.
    const CCcdfResult result = Compute({{3000, 1}, {2900, 1}, {1000, 14998}});
    EXPECT_NEAR(result.levels[3], 29.0 - result.averagePower, 1e-9);
    // The peak is that same bin, so the crest factor agrees with the 0.01 % level.
    EXPECT_DOUBLE_EQ(result.peakPower, 29.0);
    EXPECT_NEAR(result.crestFactor, result.levels[3], 1e-9);
}

TEST(CCcdfStatisticsTest, EmptyOrOverflowingWindowIsNoMeasurement) {
    EXPECT_FALSE(CCcdfStatistics::Compute({}, 0, kNoCorrection).measured);
    const CCcdfResult huge = Compute({{INT32_MAX, 1}});
    EXPECT_FALSE(huge.measured);
    EXPECT_TRUE(huge.curve.empty());
}

TEST(CCcdfAcquisitionTest, SingleSweepEndsWithAFullWindow) {
    CCcdfAcquisition acquisition;
    acquisition.Restart();
    const CCcdfAcquisition::SSettings single{0, true, kNoCorrection};
    for (int i = 0; i < 9; ++i) {
        ASSERT_TRUE(acquisition.Add(acquisition.Generation(), {{2500, 10}}, single));
        EXPECT_FALSE(acquisition.IsSweepComplete(single));
    }
    acquisition.Add(acquisition.Generation(), {{2500, 10}}, single);
    EXPECT_TRUE(acquisition.IsSweepComplete(single));
    EXPECT_EQ(acquisition.Window().Size(), 10u);
    EXPECT_FALSE(acquisition.IsSweepComplete({0, false, kNoCorrection}));
}

TEST(CCcdfAcquisitionTest, LateHistogramAndEmptyHistogramClearTheResult) {
    CCcdfAcquisition acquisition;
    const CCcdfAcquisition::SSettings settings{0, false, kNoCorrection};
    const uint64_t before = acquisition.Generation();
    acquisition.Restart();
    EXPECT_FALSE(acquisition.Add(before, {{2500, 10}}, settings));
    EXPECT_EQ(acquisition.Window().Size(), 0u);

    acquisition.Add(acquisition.Generation(), {{-600, 1}, {-1000, 99}}, settings);
    ASSERT_TRUE(acquisition.Result().measured);
    // No samples: no measurement shown and no value kept from before; the window stays.
    acquisition.Add(acquisition.Generation(), {{2500, 0}}, settings);
    EXPECT_FALSE(acquisition.Result().measured);
    EXPECT_EQ(acquisition.Result().probabilities[0], 0.0);
    EXPECT_EQ(acquisition.Window().Size(), 1u);
}
