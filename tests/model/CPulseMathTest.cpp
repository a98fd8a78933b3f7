#include "model/CPulseMath.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {
constexpr int kLteTdd = 0;
constexpr int kWcdma = 1;
constexpr int kWimax = 3;
constexpr int kTdsCdma = 4;
constexpr int kGsm = 6;
} // namespace

TEST(CPulseMathTest, CorrectionByTechnologyAndBand) {
    // Above 1000 MHz: the table's constant, then the technology's own step.
    EXPECT_NEAR(CPulseMath::CorrectedPower(3000, kLteTdd, 2000.0f), 30.0 - 1.5 - 0.45, 1e-5);
    EXPECT_NEAR(CPulseMath::CorrectedPower(3000, kWimax, 2000.0f), 30.0 - 0.7 + 2.2, 1e-5);
    EXPECT_NEAR(CPulseMath::CorrectedPower(3000, kTdsCdma, 2000.0f), 30.0 - 0.2 - 0.5, 1e-5);
    // Below 300 MHz q is 0 but the step still applies.
    EXPECT_NEAR(CPulseMath::CorrectedPower(3000, kWimax, 100.0f), 30.0 + 2.2, 1e-5);
    // Between 300 and 1000 MHz the logarithmic model: TDS-CDMA at 500 MHz, 30 dBm.
    const double l = std::log(3.0);
    const double q = l * 0.271 - 0.5422 + 4.0 * (l * -0.015 + 0.0292);
    EXPECT_NEAR(CPulseMath::CorrectedPower(3000, kTdsCdma, 500.0f), 30.0 - q - 0.5, 1e-5);
    // Other technologies take the raw power at every frequency.
    for (const int technology : {kWcdma, 2, 5, kGsm, 7, -1})
        EXPECT_FLOAT_EQ(CPulseMath::CorrectedPower(-1234, technology, 700.0f), -12.34f);
}

TEST(CPulseMathTest, DutyAndBurstWidthAreRealQuotients) {
    EXPECT_FLOAT_EQ(CPulseMath::DutyCyclePercent(0, 1, 3), 100.0f / 3.0f);
    EXPECT_FLOAT_EQ(CPulseMath::DutyCyclePercent(500, 1, 3), 50.0f); // the chosen duty wins
    EXPECT_FLOAT_EQ(CPulseMath::DutyCyclePercent(1, 1, 3), 0.1f);
    EXPECT_NEAR(CPulseMath::BurstWidthUs(200, 100, 8), 21.64, 1e-4);
    EXPECT_NEAR(CPulseMath::BurstWidthUs(7, 2, 3), 3.5 * 21.6450216450216, 1e-4);
    EXPECT_FLOAT_EQ(CPulseMath::ScaleFactor(1), 1.207f);
    EXPECT_FLOAT_EQ(CPulseMath::ScaleFactor(16), CPulseMath::ScaleFactor(0));
}

TEST(CPulseMathTest, ZeroDivisorsGiveNonFiniteValues) {
    EXPECT_TRUE(std::isinf(CPulseMath::DutyCyclePercent(0, 5, 0)));
    EXPECT_TRUE(std::isnan(CPulseMath::DutyCyclePercent(0, 0, 0)));
    EXPECT_TRUE(std::isinf(CPulseMath::BurstWidthUs(5, 0, 1)));
}
