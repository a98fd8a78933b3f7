#pragma once

#include "ccdf/CCcdfResult.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CSettingProfile;

// The six text panes of the CCDF screen: their lines (labels from the language file) and the
// text each line shows for the current settings and result.
class CCcdfPaneTexts {
public:
    enum Pane { Device, Measurement, Alarm, Power, Levels, Probabilities, PaneCount };

    struct SLine {
        int x = 20;
        int y = 10;
        int fontPoints = 10;
        std::string label;
    };

    // What the lines show; the profile and result belong to the screen.
    struct SValues {
        const CSettingProfile* profile = nullptr;
        const CCcdfResult* result = nullptr;
        size_t windowSize = 0;
        int identificationCode = -1;
    };

    // The lines a reset fills the pane with, heading first.
    static std::vector<SLine> Lines(Pane pane);
    // The text of line `key`; nothing when the line is not shown.
    static std::optional<std::string> Text(Pane pane, int key, const std::string& label,
                                           const SValues& values);

    // Limit Check is on and the measured crest factor lies above the crest limit.
    static bool IsCrestAlarm(const SValues& values);
    // Colour of line `key` (0xRRGGBB): the crest factor's line turns red in alarm.
    static uint32_t Colour(Pane pane, int key, const SValues& values);

private:
    static std::optional<std::string> DeviceText(int key, const CSettingProfile& profile);
    static std::optional<std::string> MeasurementText(int key, const SValues& values);
    static std::string AlarmText(int key, const CSettingProfile& profile);
    static std::string PowerText(int key, const SValues& values);
    // A line of the level or the probability table.
    static std::string TableText(Pane pane, int key, const CCcdfResult& result);
};
