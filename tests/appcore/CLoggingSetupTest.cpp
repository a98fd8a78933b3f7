#include "appcore/CLoggingSetup.h"
#include "model/CSettingProfile.h"

#include <gtest/gtest.h>

#include <climits>

using Refusal = CLoggingSetup::Refusal;

TEST(LoggingSetupTest, IntervalBoundsFollowTheTickedChannels) {
    constexpr int32_t kTwo = 0x05;
    EXPECT_EQ(CLoggingSetup::IntervalUnitText(kTwo), "Sec (Min 20 Sec)");
    EXPECT_EQ(CLoggingSetup::Check(kTwo, 19, 600, true), Refusal::Interval);
    EXPECT_EQ(CLoggingSetup::RefusalText(Refusal::Interval, kTwo),
              "Invalid Interval Range ( 20 <= sec <= 3600 )");
    EXPECT_EQ(CLoggingSetup::Check(kTwo, 20, 600, true), Refusal::None);
    EXPECT_EQ(CLoggingSetup::Check(kTwo, CLoggingSetup::Combine(60, 1), 5760, true), Refusal::Interval);
    EXPECT_EQ(CLoggingSetup::Check(kTwo, CLoggingSetup::Combine(60, 0), 5760, true), Refusal::None);
    // Bits beyond the four logging channels are not channels.
    EXPECT_EQ(CLoggingSetup::MinimumInterval(0xF0 | 0x08), 10);
}

TEST(LoggingSetupTest, NoChannelTickedStillNeedsTenSeconds) {
    EXPECT_EQ(CLoggingSetup::IntervalUnitText(0), "Sec (Min 10 Sec)");
    EXPECT_EQ(CLoggingSetup::Check(0, 0, 600, true), Refusal::Interval);
    EXPECT_EQ(CLoggingSetup::Check(0, 9, 600, true), Refusal::Interval);
    EXPECT_EQ(CLoggingSetup::Check(0, 10, 600, true), Refusal::None);
}

TEST(LoggingSetupTest, RunTimeChecksComeInOrderBeforeTheConnection) {
    EXPECT_EQ(CLoggingSetup::Check(0x01, 60, 9, false), Refusal::RecordCount);
    EXPECT_EQ(CLoggingSetup::RefusalText(Refusal::RecordCount, 1),
              "Invalid Logging Count Range ( 10 times <= RunTime/Interval)");
    EXPECT_EQ(CLoggingSetup::Check(0x01, 60, 10, true), Refusal::None);
    EXPECT_EQ(CLoggingSetup::RecordCount(60, 10), 10);
    EXPECT_EQ(CLoggingSetup::Check(0x01, 60, CLoggingSetup::Combine(96, 0), true), Refusal::None);
    EXPECT_EQ(CLoggingSetup::Check(0x01, 60, CLoggingSetup::Combine(96, 1), true), Refusal::RunTime);
    EXPECT_EQ(CLoggingSetup::RefusalText(Refusal::RunTime, 1), "Invalid Runtime Range ( Max : 96 hrs )");
    EXPECT_EQ(CLoggingSetup::Check(0x01, 60, 10, false), Refusal::NotConnected);
}

TEST(LoggingSetupTest, HugeFieldValuesAreRefusedInsteadOfWrapping) {
    // In 32 bits INT_MAX minutes x 60 wraps to a small negative run time or a valid interval.
    EXPECT_EQ(CLoggingSetup::Check(0x01, CLoggingSetup::Combine(INT_MAX, 59), 600, true), Refusal::Interval);
    EXPECT_EQ(CLoggingSetup::Check(0x01, CLoggingSetup::Combine(71582789, 16), 600, true), Refusal::Interval);
    EXPECT_EQ(CLoggingSetup::Check(0x01, 60, CLoggingSetup::Combine(INT_MAX, 59), true), Refusal::RunTime);
    EXPECT_EQ(CLoggingSetup::Check(0x01, 60, CLoggingSetup::Combine(INT_MIN, 0), true), Refusal::RecordCount);
}

TEST(LoggingSetupTest, StartValuesSendWholeMegahertz) {
    CSettingProfile profile;
    profile.SetModelNumber(-1); // a model without a row writes no profile file
    profile.SetFrequency(2450.7f);
    profile.SetExtOffset(-1.5f);
    profile.SetLoggingItems(0x13);
    profile.SetLoggingInterval(40);
    profile.SetLoggingRunTime(150);
    profile.SetPulseRate(2);
    profile.SetPulseReference(-300);
    profile.SetTechnology(1);
    const CLoggingSequence::StartValues values = CLoggingSetup::StartValues(profile);
    EXPECT_EQ(values.frequencyHundredths, 245000);
    EXPECT_EQ(values.offsetHundredths, -150);
    EXPECT_EQ(values.channelMask, 0x03);
    EXPECT_EQ(values.recordCount, 225);
    EXPECT_EQ(values.periodIndex, 2);
    EXPECT_EQ(values.reference, -300);
    EXPECT_EQ(values.technologyIndex, 1);
}
