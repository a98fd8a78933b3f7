#include "history/CHistoryChannelCommands.h"

#include <gtest/gtest.h>

using Commands = CHistoryChannelCommands;

TEST(HistoryChannelCommandsTest, FixedModelsEnableTheirChannelsWhenTheFileCarriesThem) {
    EXPECT_TRUE(Commands::IsEnabled(Commands::PowerAvg, 0, 0x13));
    EXPECT_TRUE(Commands::IsEnabled(Commands::Vswr, 2, 0x13));
    EXPECT_TRUE(Commands::IsEnabled(Commands::ReturnLoss, 0, 0x13));
    EXPECT_TRUE(Commands::IsEnabled(Commands::Par, 4, 0x13));
    EXPECT_FALSE(Commands::IsEnabled(Commands::Par, 0, 0x13));
    EXPECT_FALSE(Commands::IsEnabled(Commands::Vswr, 4, 0x13));
    EXPECT_FALSE(Commands::IsEnabled(Commands::PowerRev, 0, 0x1F));
    EXPECT_FALSE(Commands::IsEnabled(Commands::PowerPulse, 4, 0x1F));
    EXPECT_FALSE(Commands::IsEnabled(Commands::PowerPeak, 1, 0x13));
    EXPECT_FALSE(Commands::IsEnabled(Commands::PowerAvg, 7, 0x13));
}

TEST(HistoryChannelCommandsTest, ModelsRecordingAnyChannelFollowTheMask) {
    EXPECT_TRUE(Commands::IsEnabled(Commands::PowerRev, 5, 0x04));
    EXPECT_FALSE(Commands::IsEnabled(Commands::PowerRev, 5, 0x1B));
    EXPECT_FALSE(Commands::IsEnabled(Commands::PowerRev, 9, 0x1F));
    EXPECT_TRUE(Commands::IsEnabled(Commands::PowerPulse, 9, 0x08));
    EXPECT_TRUE(Commands::IsEnabled(Commands::Par, 9, 0x10));
    EXPECT_FALSE(Commands::IsEnabled(Commands::Vswr, 9, 0x10));
}

TEST(HistoryChannelCommandsTest, UnknownModelNeverOffersAColumnTheFileLacks) {
    // A file whose model name is not in the table loads as model 0.
    EXPECT_FALSE(Commands::IsEnabled(Commands::PowerPeak, 0, 0x01));
    EXPECT_FALSE(Commands::IsEnabled(Commands::Vswr, 0, 0x01));
    EXPECT_TRUE(Commands::IsEnabled(Commands::PowerAvg, 0, 0x01));
}

TEST(HistoryChannelCommandsTest, CheckMarks) {
    EXPECT_EQ(Commands::CheckMark(Commands::Vswr, 0, 2, false), true);
    EXPECT_EQ(Commands::CheckMark(Commands::ReturnLoss, 0, 2, false), false);
    EXPECT_EQ(Commands::CheckMark(Commands::ReturnLoss, 2, 2, true), true);
    EXPECT_EQ(Commands::CheckMark(Commands::Par, 9, 2, false), true);
    // AVG and PEAK keep their rule on every model; the others lose the mark where disabled.
    EXPECT_EQ(Commands::CheckMark(Commands::PowerPeak, 1, 3, false), true);
    EXPECT_EQ(Commands::CheckMark(Commands::PowerAvg, 3, 3, false), false);
    EXPECT_EQ(Commands::CheckMark(Commands::PowerPulse, 0, 4, false), std::nullopt);
    EXPECT_EQ(Commands::CheckMark(Commands::Par, 0, 2, false), std::nullopt);
}
