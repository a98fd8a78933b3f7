#include "appcore/CSettingTabRules.h"

#include "model/CModelTable.h"

std::vector<SettingTab> CSettingTabRules::Tabs(int modelNumber) {
    if (CModelTable::IsAvgOnly(modelNumber))
        return {{SettingPageKind::Avg, "TAB_AVG"}};
    if (CModelTable::IsPeakOnly(modelNumber))
        return {{SettingPageKind::Avg, "TAB_PEAK"}};
    std::vector<SettingTab> tabs = {{SettingPageKind::Avg, "TAB_AVGPEAK"}};
    if (CModelTable::HasPulseAndCcdf(modelNumber)) {
        tabs.push_back({SettingPageKind::Ccdf, "TAB_CCDF"});
        tabs.push_back({SettingPageKind::Pulse, "TAB_PULSE"});
    }
    if (CModelTable::HasLogging(modelNumber))
        tabs.push_back({SettingPageKind::Logging, "TAB_LOGGING"});
    return tabs;
}

// The technology correction belongs to the sensor that measures forward and reverse together.
bool CSettingTabRules::HidesAvgTechnology(int modelNumber) {
    return !CModelTable::HasForwardReverse(modelNumber);
}

bool CSettingTabRules::HidesAvgAveraging(int modelNumber) {
    return !CModelTable::SetsAveragingOnStart(modelNumber);
}

bool CSettingTabRules::HidesCcdfTechnology(int modelNumber) {
    return CModelTable::HasPulseAndCcdf(modelNumber) && !CModelTable::HasForwardReverse(modelNumber);
}

std::vector<int> CSettingTabRules::AvgRangeChannels(int modelNumber) {
    const SensorModel* model = CModelTable::FindByNumber(modelNumber);
    const int capabilities = model != nullptr ? model->capabilities : 0;
    std::vector<int> channels;
    if (capabilities & CapabilityAvg)
        channels.push_back(ChannelAvg);
    if (capabilities & CapabilityPeak)
        channels.push_back(ChannelPeak);
    if (capabilities & CapabilityVswr)
        channels.push_back(ChannelVswr);
    return channels;
}

int CSettingTabRules::InitialTab(int screenMode) {
    switch (screenMode) {
    case 3:
        return 2;
    case 4:
        return 1;
    default:
        return 0;
    }
}

int CSettingTabRules::RangeTabOfQuantity(int quantity) {
    switch (quantity) {
    case ChannelPeak:
        return 1;
    case ChannelVswr:
        return 2;
    default:
        return 0;
    }
}

const char* CSettingTabRules::RangeTabKey(int modelNumber, int channel) {
    switch (channel) {
    case ChannelAvg:
        return "S_MEASUREVIEW_AVG";
    case ChannelPeak:
        return "S_MEASUREVIEW_PEAK";
    case ChannelVswr:
        return CModelTable::ReportsPar(modelNumber) ? "S_MEASUREVIEW_PAR" : "S_MEASUREVIEW_VSWR";
    case ChannelRev:
        return "S_MEASUREVIEW_REV";
    default:
        return "S_MEASUREVIEW_PULSE";
    }
}
