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
    // Tab the dialog opens on for the main frame's screen mode (0 AVG & PEAK, 3 PULSE, 4 CCDF).
    static int InitialTab(int screenMode);
    // Range tab that follows the quantity of a screen's main readout: AVG 0, PEAK 1, VSWR/PAR 2.
    static int RangeTabOfQuantity(int quantity);
    // Language key of a range tab's text (general section).
    static const char* RangeTabKey(int modelNumber, int channel);
};
