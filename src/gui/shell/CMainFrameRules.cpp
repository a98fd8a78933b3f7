#include "gui/shell/CMainFrameRules.h"

#include "appcore/CommandIds.h"
#include "model/CModelTable.h"

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

bool CMainFrameRules::ModelHasScreen(int model, ChildKind kind) {
    return kind == ChildKind::Measurement || CModelTable::HasPulseAndCcdf(model);
}

bool CMainFrameRules::ModelEnables(int command, int model) {
    switch (command) {
    case ID_LOGGING:
        return CModelTable::HasLogging(model);
    case ID_MODE_AVGPEAK:
        return CModelTable::MeasuresAll(model);
    case ID_MODE_AVG:
        return CModelTable::IsAvgOnly(model);
    case ID_MODE_PEAK:
        return CModelTable::IsPeakOnly(model);
    case ID_MODE_PULSE:
    case ID_MODE_CCDF:
        return CModelTable::HasPulseAndCcdf(model);
    default:
        return false;
    }
}
