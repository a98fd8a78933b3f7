#include "gui/shell/CMainFrameRules.h"
#include "appcore/CommandIds.h"
#include "model/CModelTable.h"

#include <gtest/gtest.h>

#include <map>

namespace {

bool Enabled(int command, int model, bool connected) {
    CCommandState state;
    EXPECT_TRUE(CMainFrameRules::Evaluate(command, model, connected, state));
    return state.enabled;
}

} // namespace

TEST(CMainFrameRules, NothingButConnectBeforeASensorIsConnected) {
    for (const SensorModel& row : CModelTable::Rows()) {
        const int model = row.number;
        EXPECT_TRUE(Enabled(ID_DEVICE_CONNECT, model, false));
        for (int command : {ID_DEVICE_DISCONNECT, ID_DEVICE_SETTING, ID_LOGGING, ID_MODE_AVGPEAK, ID_MODE_AVG,
                            ID_MODE_PEAK, ID_MODE_PULSE, ID_MODE_CCDF})
            EXPECT_FALSE(Enabled(command, model, false)) << "command " << command << " model " << model;
    }
}

TEST(CMainFrameRules, ModeCommandsFollowTheConnectedModel) {
    const std::map<int, bool (*)(int)> enabledFor = {
        {ID_MODE_AVGPEAK, &CModelTable::MeasuresAll},  {ID_MODE_AVG, &CModelTable::IsAvgOnly},
        {ID_MODE_PEAK, &CModelTable::IsPeakOnly},      {ID_MODE_PULSE, &CModelTable::HasPulseAndCcdf},
        {ID_MODE_CCDF, &CModelTable::HasPulseAndCcdf}, {ID_LOGGING, &CModelTable::HasLogging},
    };
    for (const auto& [command, modelHas] : enabledFor) {
        int enabledCount = 0;
        for (const SensorModel& row : CModelTable::Rows()) {
            EXPECT_EQ(Enabled(command, row.number, true), modelHas(row.number))
                << "command " << command << " model " << row.number;
            enabledCount += modelHas(row.number) ? 1 : 0;
        }
        EXPECT_GT(enabledCount, 0) << "some model offers command " << command;
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
