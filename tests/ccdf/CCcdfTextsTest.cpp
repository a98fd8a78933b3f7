#include "ccdf/CCcdfTexts.h"
#include "ccdf/CCcdfReference.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(CCcdfTextsTest, SampleProgress) {
    EXPECT_EQ(CCcdfTexts::SampleProgress(7, 1), "70,000 / 200,000");
    EXPECT_EQ(CCcdfTexts::SampleProgress(0, 0), "0 / 100,000");
    EXPECT_EQ(CCcdfTexts::SampleProgress(50, 2), "500,000 / 500,000");
    EXPECT_EQ(CCcdfTexts::SampleProgress(100, 3), "1,000,000 / 1,000,000");
    EXPECT_EQ(CCcdfTexts::SampleProgress(3, 4), "");
}

TEST(CCcdfTextsTest, NumbersMarkerAndShownAverage) {
    EXPECT_EQ(CCcdfTexts::Decimal(-3.456, 1), "-3.5");
    EXPECT_EQ(CCcdfTexts::Decimal(-3.456, 0), "-3");
    EXPECT_EQ(CCcdfTexts::Decimal(-3.456, 3), "");
    EXPECT_EQ(CCcdfTexts::MarkerSubtitle({3.254f, -2.0f}), "Marker : 3.25 dB, 1.000 %");

    CCcdfResult result;
    result.averagePower = 41.0;
    EXPECT_DOUBLE_EQ(CCcdfTexts::DisplayedAverage(result, 14), 6.0);
    EXPECT_DOUBLE_EQ(CCcdfTexts::DisplayedAverage(result, 13), 41.0);
}

TEST(CCcdfReferenceTest, PassesThroughTheTableAndFallsSmoothly) {
    const auto curve = CCcdfReference::Curve();
    // Every 32nd point is a table entry (0.5 dB apart).
    EXPECT_NEAR(curve[0], std::log10(0.373f), 1e-5);
    EXPECT_NEAR(curve[64], std::log10(0.285f), 1e-5);
    EXPECT_NEAR(curve[256], std::log10(0.0791f), 1e-5); // 4 dB
    EXPECT_NEAR(curve[768], std::log10(0.000000184f), 1e-4);
    // Between two entries the curve lies between them.
    EXPECT_LT(curve[272], curve[256]);
    EXPECT_GT(curve[272], curve[288]);
    // Up to the last entry (12 dB); beyond it the curve is extrapolated.
    for (size_t i = 1; i <= 768; ++i)
        ASSERT_LT(curve[i], curve[i - 1] + 0.01f) << "at point " << i;
}
