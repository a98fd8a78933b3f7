#pragma once

#include "appcore/CCommandState.h"
#include "gui/kit/CChildFrame.h"

// The main frame's update rules for the commands that depend on the connected sensor, and the
// mapping of the mode commands to the screen that serves them.
class CMainFrameRules {
public:
    // Screen modes kept by the main frame.
    static constexpr int kModeAvgPeak = 0;
    static constexpr int kModePulse = 3;
    static constexpr int kModeCcdf = 4;

    // Fills the state and returns true for the sensor-dependent commands; false for others.
    static bool Evaluate(int command, int model, bool connected, CCommandState& state);

    static bool IsModeCommand(int command);
    // 0, 3 or 4 for the mode commands; -1 for any other command.
    static int ModeOf(int command);
    static ChildKind ScreenOfMode(int mode);
    // Whether a sensor of the model can be measured on a screen of the kind.
    static bool ModelHasScreen(int model, ChildKind kind);

private:
    static bool ModelEnables(int command, int model);
};
