#include "appcore/CCcdfPaneTexts.h"

#include "appcore/CStringTable.h"
#include "ccdf/CCcdfTexts.h"
#include "model/CModelTable.h"
#include "model/CSettingProfile.h"
#include "model/HistoryChannel.h"

#include <cstdio>

namespace {

// Only this model has a technology setting to show.
constexpr int kTechnologyModel = 5;

std::string General(const char* key) {
    return CStringTable::GetGeneralText(key);
}

std::string Printf(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof(text), format, value);
    return text;
}

std::string OnOff(bool on) {
    return General(on ? "S_CCDF_VIEW_ON" : "S_CCDF_VIEW_OFF");
}

} // namespace

std::vector<CCcdfPaneTexts::SLine> CCcdfPaneTexts::Lines(Pane pane) {
    static const std::vector<std::vector<const char*>> kLabels = {
        {"S_CCDF_FRAME_DEVICE", "S_CCDF_FRAME_MODEL", "S_CCDF_FRAME_TYPE", "S_CCDF_FRAME_SN",
         "S_CCDF_FRAME_FW_VER"},
        {"S_CCDF_FRAME_MEASURE", "S_CCDF_FRAME_FREQ", "S_CCDF_FRAME_EXT", "S_CCDF_FRAME_SAMPLE",
         "S_CCDF_FRAME_SWEEP", "S_CCDF_FRAME_TECH"},
        {"S_CCDF_FRAME_ALARM_SET", "S_CCDF_FRAME_CREAST", "S_CCDF_FRAME_ALARM", "S_CCDF_FRAME_SOUND"},
        {"S_CCDF_FRAME_AVG_PWR", "S_CCDF_FRAME_CREST"},
        {"S_CCDF_FRAME_PROBABILITY", "[10%]", "[1%]", "[0.1%]", "[0.01%]", "[0.001%]"},
        {"S_CCDF_FRAME_DISTRIBUTION", "[ 4dB]", "[ 8dB]", "[12dB]", "[16dB]", "[20dB]"}};
    std::vector<SLine> lines;
    if (pane < 0 || pane >= PaneCount)
        return lines;
    for (const char* label : kLabels[static_cast<size_t>(pane)]) {
        const bool literal = label[0] == '[';
        SLine line;
        line.label = literal ? label : General(label);
        if (lines.empty() || pane == Power) {
            line.x = 10;
            line.fontPoints = 12;
        }
        lines.push_back(line);
    }
    return lines;
}

std::optional<std::string> CCcdfPaneTexts::Text(Pane pane, int key, const std::string& label,
                                                const SValues& values) {
    if (values.profile == nullptr || values.result == nullptr)
        return std::nullopt;
    if (key == 0 && pane != Power)
        return label;
    switch (pane) {
    case Device: {
        const std::optional<std::string> value = DeviceText(key, *values.profile);
        return value ? std::optional(label + *value) : std::nullopt;
    }
    case Measurement: {
        const std::optional<std::string> value = MeasurementText(key, values);
        return value ? std::optional(label + *value) : std::nullopt;
    }
    case Alarm:
        return label + AlarmText(key, *values.profile);
    case Power:
        return label + PowerText(key, values);
    case Levels:
    case Probabilities:
        return key <= CCcdfResult::kLevelCount ? label + TableText(pane, key, *values.result) : label;
    default:
        return std::nullopt;
    }
}

std::optional<std::string> CCcdfPaneTexts::DeviceText(int key, const CSettingProfile& profile) {
    switch (key) {
    case 1:
        return profile.ModelName();
    case 2: {
        const SensorModel* model = profile.GetModel();
        return model != nullptr && model->type == SensorTerminating ? "Terminating" : "Directional";
    }
    case 3:
        return profile.GetSerialText();
    case 4:
        return profile.GetFirmwareText();
    default:
        return std::nullopt;
    }
}

std::optional<std::string> CCcdfPaneTexts::MeasurementText(int key, const SValues& values) {
    const CSettingProfile& profile = *values.profile;
    switch (key) {
    case 1:
        return Printf("%.2f MHz", static_cast<double>(profile.GetFrequency()));
    case 2:
        return Printf("%.2f", static_cast<double>(profile.GetExtOffset()));
    case 3:
        return CCcdfTexts::SampleProgress(values.windowSize, profile.GetCcdfRate());
    case 4:
        return General(profile.IsSingleSweep() ? "S_CCDF_VIEW_SINGLE" : "S_CCDF_VIEW_CONTINOUS");
    case 5:
        if (profile.GetModelNumber() == kTechnologyModel)
            return profile.TechnologyName();
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::string CCcdfPaneTexts::AlarmText(int key, const CSettingProfile& profile) {
    switch (key) {
    case 1: {
        float low = 0.0f;
        float high = 0.0f;
        profile.GetLimits(kItemCcdf, low, high);
        return Printf("%.2f", static_cast<double>(high));
    }
    case 2:
        return OnOff(profile.IsAlarmOn(kItemCcdf));
    case 3:
        return OnOff(profile.IsLimitEnabled(kItemCcdf));
    default:
        return {};
    }
}

std::string CCcdfPaneTexts::TableText(Pane pane, int key, const CCcdfResult& result) {
    const auto index = static_cast<size_t>(key - 1);
    if (!result.measured || (pane == Levels && !result.levelKnown[index]))
        return " " + General("S_CCDF_VIEW_NA");
    return pane == Levels ? Printf(" %.2f dB", result.levels[index])
                          : Printf(" %.2f %%", result.probabilities[index]);
}

bool CCcdfPaneTexts::IsCrestAlarm(const SValues& values) {
    if (values.profile == nullptr || values.result == nullptr || !values.result->measured)
        return false;
    const RangeLimitItem& item = values.profile->GetItem(kItemCcdf);
    return item.limitEnabled && values.result->crestFactor > static_cast<double>(item.highLimit);
}

uint32_t CCcdfPaneTexts::Colour(Pane pane, int key, const SValues& values) {
    constexpr uint32_t kGrey = 0xC0C0C0;
    constexpr uint32_t kAlarmRed = 0xFF0000;
    return pane == Power && key == 1 && IsCrestAlarm(values) ? kAlarmRed : kGrey;
}

// An empty window is no measurement: its values read N/A rather than 0.
std::string CCcdfPaneTexts::PowerText(int key, const SValues& values) {
    const CCcdfResult& result = *values.result;
    const int places = values.profile->GetDecimalPlaces();
    if (!result.measured)
        return General("S_CCDF_VIEW_NA");
    if (key == 0)
        return CCcdfTexts::Decimal(CCcdfTexts::DisplayedAverage(result, values.identificationCode), places) +
               " dBm";
    return CCcdfTexts::Decimal(result.crestFactor, places) + " dB";
}
