#include "appcore/CSettingTabRules.h"

#include "model/CModelTable.h"
#include "model/HistoryChannel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> TabKeys(int model) {
    std::vector<std::string> keys;
    for (const SettingTab& tab : CSettingTabRules::Tabs(model))
        keys.push_back(tab.textKey);
    return keys;
}

} // namespace

TEST(CSettingTabRules, TabsPerModel) {
    using Keys = std::vector<std::string>;
    for (const SensorModel& row : CModelTable::Rows()) {
        if (CModelTable::HasPulseAndCcdf(row.number))
            continue; // below
        const char* tab = CModelTable::IsAvgOnly(row.number)    ? "TAB_AVG"
                          : CModelTable::IsPeakOnly(row.number) ? "TAB_PEAK"
                                                                : "TAB_AVGPEAK";
        EXPECT_EQ(TabKeys(row.number), Keys{tab}) << row.number;
    }
    EXPECT_EQ(TabKeys(5), (Keys{"TAB_AVGPEAK", "TAB_CCDF", "TAB_PULSE", "TAB_LOGGING"}));
    EXPECT_EQ(TabKeys(9), (Keys{"TAB_AVGPEAK", "TAB_CCDF", "TAB_PULSE"}));
    EXPECT_EQ(TabKeys(42), Keys{"TAB_AVGPEAK"});
}

TEST(CSettingTabRules, TabsShowTheirPagesInValidationOrder) {
    const std::vector<SettingTab> tabs = CSettingTabRules::Tabs(5);
    ASSERT_EQ(tabs.size(), 4u);
    EXPECT_EQ(tabs[0].page, SettingPageKind::Avg);
    EXPECT_EQ(tabs[1].page, SettingPageKind::Ccdf);
    EXPECT_EQ(tabs[2].page, SettingPageKind::Pulse);
    EXPECT_EQ(tabs[3].page, SettingPageKind::Logging);
    EXPECT_EQ(CSettingTabRules::Tabs(1).front().page, SettingPageKind::Avg);
}

TEST(CSettingTabRules, HiddenControlsPerModel) {
    for (const SensorModel& row : CModelTable::Rows()) {
        const int model = row.number;
        EXPECT_EQ(CSettingTabRules::HidesAvgTechnology(model), !CModelTable::HasForwardReverse(model))
            << model;
        EXPECT_EQ(CSettingTabRules::HidesAvgAveraging(model), !CModelTable::SetsAveragingOnStart(model))
            << model;
    }
    EXPECT_TRUE(CSettingTabRules::HidesCcdfTechnology(9));
    EXPECT_FALSE(CSettingTabRules::HidesCcdfTechnology(5));
}

TEST(CSettingTabRules, RangePagesFollowTheCapabilities) {
    using Channels = std::vector<int>;
    EXPECT_EQ(CSettingTabRules::AvgRangeChannels(5), (Channels{ChannelAvg, ChannelPeak, ChannelVswr}));
    EXPECT_EQ(CSettingTabRules::AvgRangeChannels(1), Channels{ChannelAvg});
    EXPECT_EQ(CSettingTabRules::AvgRangeChannels(8), Channels{ChannelPeak});
    EXPECT_TRUE(CSettingTabRules::AvgRangeChannels(7).empty());
    EXPECT_STREQ(CSettingTabRules::RangeTabKey(4, ChannelVswr), "S_MEASUREVIEW_PAR");
    EXPECT_STREQ(CSettingTabRules::RangeTabKey(9, ChannelVswr), "S_MEASUREVIEW_PAR");
    EXPECT_STREQ(CSettingTabRules::RangeTabKey(0, ChannelVswr), "S_MEASUREVIEW_VSWR");
}
