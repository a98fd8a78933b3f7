#include "model/CPowerMath.h"

#include <cmath>

#include <gtest/gtest.h>

#include "model/HistoryChannel.h"

TEST(CPowerMathTest, VswrFromForwardMinusReverse) {
    EXPECT_NEAR(CPowerMath::VswrFromReturnLoss(30.0 - 10.0), 1.2272, 1e-4);
    EXPECT_FLOAT_EQ(CPowerMath::VswrFromReturnLoss(0.0), 65.0f);
    EXPECT_FLOAT_EQ(CPowerMath::VswrFromReturnLoss(-3.0), 65.0f);
    EXPECT_FLOAT_EQ(CPowerMath::VswrFromReturnLoss(0.01), 65.0f); // clamped from a huge ratio
    EXPECT_NEAR(CPowerMath::VswrFromReturnLoss(200.0), 1.005, 1e-6);
    EXPECT_NEAR(CPowerMath::VswrFromRawPowers(3000, 1000), 1.2272, 1e-4);
    EXPECT_NEAR(CPowerMath::VswrFromRawPowers(INT32_MAX, INT32_MIN), 1.005, 1e-6);
    EXPECT_FLOAT_EQ(CPowerMath::VswrFromRawPowers(INT32_MIN, INT32_MAX), 65.0f);
}

TEST(CPowerMathTest, ReturnLossClampsToItsRange) {
    EXPECT_FLOAT_EQ(CPowerMath::ReturnLoss(1.0f), -60.0f);
    EXPECT_NEAR(CPowerMath::ReturnLoss(65.0f), -0.267, 1e-3);
    EXPECT_NEAR(CPowerMath::ReturnLoss(1.5f), -13.98, 1e-2);
}

TEST(CPowerMathTest, WattsOrReturnLossByChannel) {
    EXPECT_NEAR(CPowerMath::WattsOrReturnLoss(30.0f, ChannelAvg), 1.0, 1e-6);
    EXPECT_NEAR(CPowerMath::WattsOrReturnLoss(-30.0f, ChannelPulse), 1e-6, 1e-12);
    EXPECT_NEAR(CPowerMath::WattsOrReturnLoss(1.5f, ChannelVswr), -13.98, 1e-2);
    EXPECT_EQ(CPowerMath::WattsOrReturnLoss(30.0f, 5), 0.0f);
    EXPECT_EQ(CPowerMath::WattsOrReturnLoss(30.0f, -1), 0.0f);
}

TEST(CPowerMathTest, ReadingScaleAndPar) {
    EXPECT_NEAR(CPowerMath::ReadingToDbm(4301, 0.5f), 43.51, 1e-5);
    EXPECT_NEAR(CPowerMath::ReadingToDbm(-4000, 0.0f), -40.0, 1e-5);
    EXPECT_FLOAT_EQ(CPowerMath::PeakToAverage(33.0f, 30.0f), 3.0f);
}

TEST(CPowerMathTest, TechnologyCorrectionByBand) {
    // Above 1000 MHz the constant of the technology applies.
    EXPECT_NEAR(CPowerMath::CorrectedReading(4000, 0, 2400.0, 1.5f), 40.0 - 1.3 + 1.5, 1e-5);
    EXPECT_DOUBLE_EQ(CPowerMath::TechnologyCorrection(2, 2400.0, 40.0), 0.0);
    // Below 300 MHz and for GSM, "etc" and unknown technologies nothing is corrected.
    EXPECT_DOUBLE_EQ(CPowerMath::TechnologyCorrection(0, 299.0, 40.0), 0.0);
    EXPECT_DOUBLE_EQ(CPowerMath::TechnologyCorrection(6, 500.0, 40.0), 0.0);
    EXPECT_DOUBLE_EQ(CPowerMath::TechnologyCorrection(7, 2400.0, 40.0), 0.0);
    EXPECT_DOUBLE_EQ(CPowerMath::TechnologyCorrection(-1, 500.0, 40.0), 0.0);
    EXPECT_DOUBLE_EQ(CPowerMath::TechnologyCorrection(0, std::nan(""), 40.0), 0.0);
}

TEST(CPowerMathTest, TechnologyCorrectionInsideBand) {
    // At 300 MHz the logarithm vanishes: q = a0 + |P - P0| * s0.
    EXPECT_NEAR(CPowerMath::TechnologyCorrection(0, 300.0, 40.0), 0.1991 + 6 * 0.0597, 1e-9);
    // WCDMA at 500 MHz, P = P0: q = ln(3) * a1 + a0.
    EXPECT_NEAR(CPowerMath::TechnologyCorrection(1, 500.0, 35.0), std::log(3.0) * 0.478 - 0.8186, 1e-9);
    // The slope term uses the distance from P0 on either side.
    const double l = std::log(8.0);
    const double expected = l * 0.5383 - 0.3433 + 4 * (l * -0.031 + 0.0655);
    EXPECT_NEAR(CPowerMath::TechnologyCorrection(3, 1000.0, 32.0), expected, 1e-9);
    EXPECT_NEAR(CPowerMath::TechnologyCorrection(3, 1000.0, 40.0), expected, 1e-9);
}

TEST(CPowerMathTest, HundredthsOfFloatSettingsKeepTheirLastDigit) {
    // 20.06f is 20.0599995...: a plain truncation would send 2005.
    EXPECT_EQ(CPowerMath::Hundredths(20.06f), 2006);
    EXPECT_EQ(CPowerMath::Hundredths(2450.999f), 245099);
    EXPECT_EQ(CPowerMath::Hundredths(-0.07f), -7);
    EXPECT_EQ(CPowerMath::Hundredths(-1.5), -150);
    EXPECT_EQ(CPowerMath::Hundredths(1e12), INT32_MAX);
    EXPECT_EQ(CPowerMath::Hundredths(std::nan("")), 0);
}
