#include "appcore/CReadoutFormat.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <vector>

TEST(CReadoutFormat, NumberFollowsDecimalPlaces) {
    EXPECT_EQ(CReadoutFormat::Number(43.014, 2), "43.01");
    EXPECT_EQ(CReadoutFormat::Number(43.06, 1), "43.1");
    EXPECT_EQ(CReadoutFormat::Number(43.01, 0), "43");
    EXPECT_EQ(CReadoutFormat::Number(43.01, 3), "");
    EXPECT_EQ(CReadoutFormat::Number(43.01, -1), "");
}

// The readouts have always shown printf's digits; ties, negative zero and huge values included.
TEST(CReadoutFormat, NumbersAreThoseOfPrintf) {
    std::vector<double> values = {0.005,
                                  0.015,
                                  0.125,
                                  2.675,
                                  2.5,
                                  -2.5,
                                  0.5,
                                  1.5,
                                  -0.001,
                                  -0.0,
                                  1e20,
                                  -1e300,
                                  43.014999999,
                                  std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN()};
    for (int step = -3000; step <= 3000; ++step)
        values.push_back(static_cast<float>(step) * 0.005f);
    for (const double value : values) {
        for (int places = 0; places <= 2; ++places) {
            char expected[400];
            std::snprintf(expected, sizeof expected, "%.*f", places, value);
            EXPECT_EQ(CReadoutFormat::Number(value, places), expected) << value << " " << places;
        }
    }
}

TEST(CReadoutFormat, WattsPickTheirUnitByMagnitude) {
    // 43.01 dBm is 19.9986 W, which two decimals round up.
    EXPECT_EQ(CReadoutFormat::Watts(43.01f, 2), "20.00 W");
    EXPECT_EQ(CReadoutFormat::Watts(43.0f, 2), "19.95 W");
    EXPECT_EQ(CReadoutFormat::Watts(30.0f, 2), "1000.00 mW"); // exactly 1 W is not above 1
    EXPECT_EQ(CReadoutFormat::Watts(10.0f, 2), "10.00 mW");
    EXPECT_EQ(CReadoutFormat::Watts(-40.0f, 2), "0.10 uW");
    EXPECT_EQ(CReadoutFormat::Watts(43.01f, 0), "20 W");
}

TEST(CReadoutFormat, PulseLinesShowMissingValuesAsNotAvailable) {
    EXPECT_EQ(CReadoutFormat::DutyCycle(12.5f, false), "Duty Cycle [A] 12.50 %");
    EXPECT_EQ(CReadoutFormat::DutyCycle(50.0f, true), "Duty Cycle [M] 50.00 %"); // entered, not measured
    EXPECT_EQ(CReadoutFormat::BurstWidth(1.25f), "Burst Width   1.250 us");
    EXPECT_EQ(CReadoutFormat::DutyCycle(std::numeric_limits<float>::quiet_NaN(), false),
              "Duty Cycle [A] N/A");
    EXPECT_EQ(CReadoutFormat::BurstWidth(-std::numeric_limits<float>::infinity()), "Burst Width   N/A");
    // A zero divisor in the reply: never "inf".
    EXPECT_EQ(CReadoutFormat::DutyCycle(std::numeric_limits<float>::infinity(), false), "Duty Cycle [A] N/A");
    EXPECT_EQ(CReadoutFormat::BurstWidth(std::numeric_limits<float>::infinity()), "Burst Width   N/A");
}
