#include "app/CMainFrameRules.h"

#include "app/CommandIds.h"

#include <algorithm>
#include <initializer_list>

namespace {

bool IsOneOf(int model, std::initializer_list<int> models) {
    return std::find(models.begin(), models.end(), model) != models.end();
}

} // namespace

bool CMainFrameRules::Evaluate(int command, int model, bool connected, CCommandState& state) {
    switch (command) {
    case ID_DEVICE_CONNECT:
        state.Enable(!connected);
        return true;
    case ID_DEVICE_DISCONNECT:
    case ID_DEVICE_SETTING:
        state.Enable(connected);
        return true;
    case ID_LOGGING:
    case ID_MODE_AVGPEAK:
    case ID_MODE_AVG:
    case ID_MODE_PEAK:
    case ID_MODE_PULSE:
    case ID_MODE_CCDF:
        state.Enable(connected && ModelEnables(command, model));
        return true;
    default:
        return false;
    }
}

bool CMainFrameRules::IsModeCommand(int command) {
    return ModeOf(command) >= 0;
}

int CMainFrameRules::ModeOf(int command) {
    switch (command) {
    case ID_MODE_AVGPEAK:
    case ID_MODE_AVG:
    case ID_MODE_PEAK:
        return kModeAvgPeak;
    case ID_MODE_PULSE:
        return kModePulse;
    case ID_MODE_CCDF:
        return kModeCcdf;
    default:
        return -1;
    }
}

ChildKind CMainFrameRules::ScreenOfMode(int mode) {
    switch (mode) {
    case kModePulse:
        return ChildKind::Pulse;
    case kModeCcdf:
        return ChildKind::Ccdf;
    default:
        return ChildKind::Measurement;
    }
}

bool CMainFrameRules::ModelEnables(int command, int model) {
    switch (command) {
    case ID_LOGGING:
        return model == 5;
    case ID_MODE_AVGPEAK:
        return IsOneOf(model, {0, 2, 4, 5, 9});
    case ID_MODE_AVG:
        return IsOneOf(model, {1, 6});
    case ID_MODE_PEAK:
        return IsOneOf(model, {3, 8});
    case ID_MODE_PULSE:
    case ID_MODE_CCDF:
        return IsOneOf(model, {5, 9});
    default:
        return false;
    }
}
