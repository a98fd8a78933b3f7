#include "protocol/CMeterCommand.h"

#include <gtest/gtest.h>

#include <cmath>

using Bytes = std::vector<uint8_t>;

static Bytes Of(const auto& frame) {
    return Bytes(frame.begin(), frame.end());
}

TEST(MeterCommand, FramesCarryTheArgumentLittleEndianAndNothingElse) {
    EXPECT_EQ(Of(CMeterCommand::Parameter("GA", CMeterCommand::Hundredths(2450.0))),
              (Bytes{0x5B, 0x47, 0x41, 0x08, 0xBD, 0x03, 0x00, 0x5D}));
    EXPECT_EQ(Of(CMeterCommand::Parameter("AE", CMeterCommand::Hundredths(-1.5))),
              (Bytes{'[', 'A', 'E', 0x6A, 0xFF, 0xFF, 0xFF, ']'}));
    EXPECT_EQ(Of(CMeterCommand::Plain("GK")), (Bytes{'[', 'G', 'K', ']'}));
    EXPECT_EQ(Of(CMeterCommand::StatusRequest()), (Bytes{'[', 'A', 'S', ']', '\\'}));
}

TEST(MeterCommand, ArgumentScalingTruncatesAndNeverOverflows) {
    EXPECT_EQ(CMeterCommand::Hundredths(1950.5), 195050);
    EXPECT_EQ(CMeterCommand::Hundredths(-0.019), -1);
    EXPECT_EQ(CMeterCommand::Hundredths(1e12), INT32_MAX);
    EXPECT_EQ(CMeterCommand::Hundredths(-1e12), INT32_MIN);
    EXPECT_EQ(CMeterCommand::Hundredths(std::nan("")), 0);
}

TEST(MeterCommand, SettingCodes) {
    const int32_t technology[] = {6, 2, 1, 5, 4, 7, 3, 0};
    for (int32_t index = 0; index < 8; ++index)
        EXPECT_EQ(CMeterCommand::TechnologyCode(index), technology[index]) << index;
    EXPECT_EQ(CMeterCommand::TechnologyCode(-1), 0);

    EXPECT_EQ(CMeterCommand::PeriodCode(0), 1);
    EXPECT_EQ(CMeterCommand::PeriodCode(3), 8);
    EXPECT_EQ(CMeterCommand::PeriodCode(4), 16);
    EXPECT_EQ(CMeterCommand::PeriodCode(-2), 16);

    EXPECT_EQ(CMeterCommand::ReferenceArgument(0), 600);
    EXPECT_EQ(CMeterCommand::ReferenceArgument(-300), 400);
    EXPECT_EQ(CMeterCommand::ReferenceArgument(-750), 750);
    EXPECT_EQ(CMeterCommand::ReferenceArgument(2000), 1000);
    EXPECT_EQ(CMeterCommand::ReferenceArgument(INT32_MIN), 1000);
}
