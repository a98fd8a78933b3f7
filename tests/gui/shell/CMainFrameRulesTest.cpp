#include "gui/shell/CMainFrameRules.h"
#include "appcore/CommandIds.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

bool Enabled(int command, int model, bool connected) {
    CCommandState state;
    EXPECT_TRUE(CMainFrameRules::Evaluate(command, model, connected, state));
    return state.enabled;
}

const int kModels[] = {0, 1, 2, 3, 4, 5, 6, 8, 9};

} // namespace

TEST(CMainFrameRules, NothingButConnectBeforeASensorIsConnected) {
    for (int model : kModels) {
        EXPECT_TRUE(Enabled(ID_DEVICE_CONNECT, model, false));
        for (int command : {ID_DEVICE_DISCONNECT, ID_DEVICE_SETTING, ID_LOGGING, ID_MODE_AVGPEAK, ID_MODE_AVG,
                            ID_MODE_PEAK, ID_MODE_PULSE, ID_MODE_CCDF})
            EXPECT_FALSE(Enabled(command, model, false)) << "command " << command << " model " << model;
    }
}

TEST(CMainFrameRules, ModeCommandsFollowTheConnectedModel) {
    const std::map<int, std::set<int>> enabledModels = {
        {ID_MODE_AVGPEAK, {0, 2, 4, 5, 9}},
        {ID_MODE_AVG, {1, 6}},
        {ID_MODE_PEAK, {3, 8}},
        {ID_MODE_PULSE, {5, 9}},
        {ID_MODE_CCDF, {5, 9}},
        {ID_LOGGING, {5}},
    };
    for (const auto& [command, models] : enabledModels) {
        for (int model : kModels)
            EXPECT_EQ(Enabled(command, model, true), models.count(model) == 1)
                << "command " << command << " model " << model;
        EXPECT_FALSE(Enabled(command, 7, true)) << "there is no model 7";
    }
}

TEST(CMainFrameRules, ConnectionCommandsWhileConnected) {
    EXPECT_FALSE(Enabled(ID_DEVICE_CONNECT, 5, true));
    EXPECT_TRUE(Enabled(ID_DEVICE_DISCONNECT, 5, true));
    EXPECT_TRUE(Enabled(ID_DEVICE_SETTING, 1, true));
    CCommandState state;
    EXPECT_FALSE(CMainFrameRules::Evaluate(ID_FILE_OPEN, 5, true, state));
}

TEST(CMainFrameRules, ModesMapToTheirScreens) {
    EXPECT_EQ(CMainFrameRules::ModeOf(ID_MODE_AVG), CMainFrameRules::kModeAvgPeak);
    EXPECT_EQ(CMainFrameRules::ModeOf(ID_MODE_PEAK), CMainFrameRules::kModeAvgPeak);
    EXPECT_EQ(CMainFrameRules::ModeOf(ID_MODE_PULSE), CMainFrameRules::kModePulse);
    EXPECT_EQ(CMainFrameRules::ModeOf(ID_MODE_CCDF), CMainFrameRules::kModeCcdf);
    EXPECT_EQ(CMainFrameRules::ModeOf(ID_DEVICE_SETTING), -1);
    EXPECT_EQ(CMainFrameRules::ScreenOfMode(CMainFrameRules::kModeAvgPeak), ChildKind::Measurement);
    EXPECT_EQ(CMainFrameRules::ScreenOfMode(CMainFrameRules::kModePulse), ChildKind::Pulse);
    EXPECT_EQ(CMainFrameRules::ScreenOfMode(CMainFrameRules::kModeCcdf), ChildKind::Ccdf);
}
