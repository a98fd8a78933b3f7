#pragma once

#include <vector>

// The pages of the setting dialog, in the order the host validates them.
enum class SettingPageKind { Avg, Ccdf, Pulse, Logging };

struct SettingTab {
    SettingPageKind page;
    const char* textKey; // key in section "IDD_SETTING_MAIN"
};

// What the setting dialog offers for a sensor model: its tabs, the controls it hides and the
// channels that get a range page.
class CSettingTabRules {
public:
    // Tabs in display order; tab i shows the page of entry i. Every model has at least one.
    static std::vector<SettingTab> Tabs(int modelNumber);
    static bool HidesAvgTechnology(int modelNumber);
    static bool HidesAvgAveraging(int modelNumber);
    static bool HidesCcdfTechnology(int modelNumber);
    // Channels with a range page on the AVG page, from the model's capabilities: AVG, PEAK,
    // then VSWR/PAR.
    static std::vector<int> AvgRangeChannels(int modelNumber);
    // Language key of a range tab's text (general section).
    static const char* RangeTabKey(int modelNumber, int channel);
};
