#include "settings/CSettingTabRules.h"

#include "model/CModelTable.h"

std::vector<SettingTab> CSettingTabRules::Tabs(int modelNumber) {
    switch (modelNumber) {
    case 1:
    case 6:
        return {{SettingPageKind::Avg, "TAB_AVG"}};
    case 3:
    case 8:
        return {{SettingPageKind::Avg, "TAB_PEAK"}};
    case 5:
        return {{SettingPageKind::Avg, "TAB_AVGPEAK"},
                {SettingPageKind::Ccdf, "TAB_CCDF"},
                {SettingPageKind::Pulse, "TAB_PULSE"},
                {SettingPageKind::Logging, "TAB_LOGGING"}};
    case 9:
        return {{SettingPageKind::Avg, "TAB_AVGPEAK"},
                {SettingPageKind::Ccdf, "TAB_CCDF"},
                {SettingPageKind::Pulse, "TAB_PULSE"}};
    default:
        return {{SettingPageKind::Avg, "TAB_AVGPEAK"}};
    }
}

bool CSettingTabRules::HidesAvgTechnology(int modelNumber) {
    return modelNumber != 5;
}

bool CSettingTabRules::HidesAvgAveraging(int modelNumber) {
    return modelNumber != 5 && modelNumber != 6 && modelNumber != 9;
}

bool CSettingTabRules::HidesCcdfTechnology(int modelNumber) {
    return modelNumber == 9;
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
