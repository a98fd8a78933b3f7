#include "appcore/CSettingValidation.h"

#include <gtest/gtest.h>

#include <climits>

TEST(CSettingValidation, ReadsNumbersWithBlanksAroundThem) {
    EXPECT_EQ(CSettingValidation::ParseNumber("2400"), 2400.0);
    EXPECT_EQ(CSettingValidation::ParseNumber("  -12.5\t"), -12.5);
    EXPECT_EQ(CSettingValidation::ParseNumber("+3"), 3.0);
    EXPECT_EQ(CSettingValidation::ParseNumber("1e2"), 100.0);
}

TEST(CSettingValidation, RefusesTextThatIsNotOneNumber) {
    for (const char* text :
         {"", "   ", "abc", "1,5", "12abc", "1 2", "+", "+-3", "--3", "0x10", "inf", "nan", "1e999"})
        EXPECT_FALSE(CSettingValidation::ParseNumber(text).has_value()) << '"' << text << '"';
}

TEST(CSettingValidation, FormatsNumbersShortAndLocaleFree) {
    EXPECT_EQ(CSettingValidation::FormatNumber(2450.7f), "2450.7");
    EXPECT_EQ(CSettingValidation::FormatNumber(-30.0f), "-30");
    EXPECT_EQ(CSettingValidation::FormatFixed(0.025, 3), "0.025");
    EXPECT_EQ(CSettingValidation::FormatFixed(-1.5, 2), "-1.50");
}

TEST(CSettingValidation, FrequencyLimitsFollowTheModelTableInclusively) {
    EXPECT_TRUE(CSettingValidation::IsFrequencyInRange(1, 20.0));
    EXPECT_FALSE(CSettingValidation::IsFrequencyInRange(1, 19.99));
    EXPECT_FALSE(CSettingValidation::IsFrequencyInRange(0, 299.9));
    EXPECT_TRUE(CSettingValidation::IsFrequencyInRange(0, 300.0));
    EXPECT_TRUE(CSettingValidation::IsFrequencyInRange(2, 150.0));
    EXPECT_TRUE(CSettingValidation::IsFrequencyInRange(5, 3800.0));
    EXPECT_FALSE(CSettingValidation::IsFrequencyInRange(5, 3800.01));
    EXPECT_FALSE(CSettingValidation::IsFrequencyInRange(7, 1000.0)); // there is no model 7
}

TEST(CSettingValidation, OffsetAndRangeLimits) {
    EXPECT_TRUE(CSettingValidation::IsOffsetInRange(100.0));
    EXPECT_TRUE(CSettingValidation::IsOffsetInRange(-100.0));
    EXPECT_FALSE(CSettingValidation::IsOffsetInRange(100.01));
    EXPECT_FALSE(CSettingValidation::IsOffsetInRange(-100.01));
    EXPECT_TRUE(CSettingValidation::IsAscending(20.0, 60.0));
    EXPECT_FALSE(CSettingValidation::IsAscending(60.0, 60.0));
    EXPECT_FALSE(CSettingValidation::IsAscending(60.0, 20.0));
}

TEST(CSettingValidation, ScaledValuesAreTruncatedButKeepWholeNumbersWhole) {
    EXPECT_EQ(CSettingValidation::TruncateScaled(0.0255, 1000), 25);
    EXPECT_EQ(CSettingValidation::TruncateScaled(1.001, 1000), 1001); // 1000.9999... in binary
    EXPECT_EQ(CSettingValidation::TruncateScaled(0.29, 100), 29);
    EXPECT_EQ(CSettingValidation::TruncateScaled(-1.239, 100), -123);
    EXPECT_EQ(CSettingValidation::TruncateScaled(1e12, 1000), INT_MAX);
    EXPECT_EQ(CSettingValidation::TruncateScaled(-1e12, 100), INT_MIN);
}

TEST(CSettingValidation, StoredChoicesOutsideTheListFallBack) {
    EXPECT_EQ(CSettingValidation::ChoiceIndex(3, 4, 0), 3);
    EXPECT_EQ(CSettingValidation::ChoiceIndex(4, 4, 0), 0);
    EXPECT_EQ(CSettingValidation::ChoiceIndex(-1, 8, 7), 7);
}
