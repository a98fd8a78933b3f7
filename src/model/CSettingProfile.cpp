#include "model/CSettingProfile.h"

#include <charconv>
#include <cmath>
#include <filesystem>

#include "platform/CAppPaths.h"
#include "platform/CFilePath.h"
#include "platform/CPrivateProfile.h"

// One INI value and the field it belongs to; exactly one pointer is set.
struct CSettingProfile::IniBinding {
    const char* section;
    const char* key;
    int* integer;
    bool* flag;
    float* real;
};

static const char* const kHeader = "HEADER";
static const char* const kItemSections[kItemCount] = {"AVG", "REV", "VSWR", "PEAK", "PULSE", "CCDF"};
static const char* const kTechnologyNames[] = {"LTE-TDD",  "WCDMA", "CDMA", "WiMAX",
                                               "TDS-CDMA", "EV-DO", "GSM",  "etc"};
static const RangeLimitItem kNoItem;

// Numbers are written and read with the C locale whatever locale the user interface set,
// so that a profile stays readable after a change of regional settings.
static std::string FormatFloat(float value) {
    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof(digits), static_cast<double>(value),
                                      std::chars_format::fixed, 8);
    std::string text(digits, result.ptr);
    if (text.size() < 16)
        text.insert(0, 16 - text.size(), ' ');
    return text;
}

static float ParseFloat(const std::string& text) {
    std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos)
        return 0.0f;
    if (text[start] == '+')
        ++start;
    double value = 0.0;
    const auto result = std::from_chars(text.data() + start, text.data() + text.size(), value);
    const float real = static_cast<float>(value);
    // A hand-edited "nan" or out-of-range value would break every scale that uses it.
    return result.ec == std::errc() && std::isfinite(real) ? real : 0.0f;
}

CSettingProfile::CSettingProfile() {
    ApplyModelRanges(*CModelTable::FindByNumber(kDefaultModel));
    m_items[kItemCcdf] = RangeLimitItem();
}

CSettingProfile::~CSettingProfile() {
    SaveOnExit();
}

bool CSettingProfile::SaveOnExit() {
    if (m_leftSaved)
        return true;
    m_leftSaved = true;
    return SaveAsOnExit();
}

bool CSettingProfile::SaveAsOnExit() {
    // A model number without a table row has no file name to save under.
    if (GetModel() == nullptr)
        return true;
    // Defaults of a session that never met a sensor of the model must not replace its settings.
    if (!m_settingsInUse && std::filesystem::exists(CFilePath::FromUtf8(FilePath(ModelName()))))
        return true;
    return Save(ModelName());
}

std::string CSettingProfile::ProfilePath(const std::string& modelName) {
    return CAppPaths::Join(CAppPaths::ProfileDirectory(), modelName + ".ini");
}

std::string CSettingProfile::FilePath(const std::string& modelName) const {
    // Before a sensor was met there is no serial number to name the file by.
    const bool own = m_ownFile && !m_serialText.empty();
    return ProfilePath(own ? modelName + " #" + m_serialText : modelName);
}

std::string CSettingProfile::FirmwareText(int firmwareNumber) {
    std::string text = std::to_string(firmwareNumber);
    if (text.size() > 2)
        text.insert(text.size() - 2, ".");
    return text;
}

void CSettingProfile::SetDevice(int modelNumber, int serialNumber, int firmwareNumber) {
    m_modelNumber = modelNumber;
    m_settingsInUse = true;
    m_serialText = std::to_string(serialNumber);
    m_firmwareText = FirmwareText(firmwareNumber);
    const SensorModel* model = GetModel();
    if (model == nullptr || Load(model->name))
        return;
    ApplyModelRanges(*model);
}

bool CSettingProfile::Load(const std::string& modelName) {
    std::string path = FilePath(modelName);
    if (!std::filesystem::exists(CFilePath::FromUtf8(path)))
        path = ProfilePath(modelName);
    const std::string device = CPrivateProfile::ReadString(kHeader, "DEVICE", "", path);
    if (device.empty() || device != modelName)
        return false;
    for (const IniBinding& binding : IniBindings()) {
        if (binding.real != nullptr)
            *binding.real = ParseFloat(CPrivateProfile::ReadString(binding.section, binding.key, "", path));
        else if (binding.flag != nullptr)
            *binding.flag = CPrivateProfile::ReadInt(binding.section, binding.key, 0, path) != 0;
        else
            *binding.integer = CPrivateProfile::ReadInt(binding.section, binding.key, 0, path);
    }
    m_settingsInUse = true;
    return true;
}

bool CSettingProfile::Save(const std::string& modelName) {
    std::vector<CPrivateProfile::Entry> entries = {{kHeader, "DEVICE", modelName}};
    for (const IniBinding& binding : IniBindings()) {
        std::string text;
        if (binding.real != nullptr)
            text = FormatFloat(*binding.real);
        else if (binding.flag != nullptr)
            text = *binding.flag ? "1" : "0";
        else
            text = std::to_string(*binding.integer);
        entries.push_back({binding.section, binding.key, std::move(text)});
    }
    const bool written = CPrivateProfile::WriteStrings(entries, FilePath(modelName));
    m_settingsInUse = m_settingsInUse || written;
    return written;
}

std::vector<CSettingProfile::IniBinding> CSettingProfile::IniBindings() {
    auto integer = [](const char* section, const char* key, int& field) {
        return IniBinding{section, key, &field, nullptr, nullptr};
    };
    auto flag = [](const char* section, const char* key, bool& field) {
        return IniBinding{section, key, nullptr, &field, nullptr};
    };
    auto real = [](const char* section, const char* key, float& field) {
        return IniBinding{section, key, nullptr, nullptr, &field};
    };
    std::vector<IniBinding> bindings = {
        real(kHeader, "FREQUENCY", m_frequency),      real(kHeader, "EXTOFFSET", m_extOffset),
        flag(kHeader, "RELATIVE", m_relativeMode),    flag(kHeader, "SWEEP", m_singleSweep),
        integer(kHeader, "DECIMAL", m_decimalPlaces), integer(kHeader, "TECH", m_technology),
    };
    for (int index = 0; index < kItemCount; ++index) {
        const char* section = kItemSections[index];
        switch (index) {
        case ChannelAvg:
            bindings.push_back(integer(section, "RATE", m_avgRate));
            bindings.push_back(integer(section, "REPEAT", m_avgRepeat));
            break;
        case ChannelPeak:
            bindings.push_back(integer(section, "RATE", m_peakRate));
            break;
        case ChannelPulse:
            bindings.push_back(integer(section, "RATE", m_pulseRate));
            bindings.push_back(integer(section, "DUTY", m_pulseDuty));
            bindings.push_back(integer(section, "REFERENCE", m_pulseReference));
            break;
        case kItemCcdf:
            bindings.push_back(integer(section, "RATE", m_ccdfRate));
            break;
        default:
            break;
        }
        RangeLimitItem& item = m_items[index];
        bindings.push_back(real(section, "MINDISP", item.displayMin));
        bindings.push_back(real(section, "MAXDISP", item.displayMax));
        bindings.push_back(real(section, "MINLIMIT", item.lowLimit));
        bindings.push_back(real(section, "MAXLIMIT", item.highLimit));
        bindings.push_back(flag(section, "ENABLELIMIT", item.limitEnabled));
        bindings.push_back(flag(section, "BEEPALARM", item.alarmOn));
        bindings.push_back(integer(section, "BEEP", item.beepSound));
    }
    bindings.push_back(integer("LOGGING", "ITEMS", m_loggingItems));
    bindings.push_back(integer("LOGGING", "INTERVAL", m_loggingInterval));
    bindings.push_back(integer("LOGGING", "RUNTIME", m_loggingRunTime));
    bindings.push_back(integer("LOGGING", "STARTED", m_loggingRun.started));
    bindings.push_back(integer("LOGGING", "STARTSERIAL", m_loggingRun.serial));
    bindings.push_back(integer("LOGGING", "STARTINTERVAL", m_loggingRun.intervalSeconds));
    bindings.push_back(integer("LOGGING", "STARTITEMS", m_loggingRun.channels));
    return bindings;
}

void CSettingProfile::ApplyModelRanges(const SensorModel& model) {
    for (int index = 0; index < kItemCount; ++index)
        m_items[index] = RangeLimitItem::FromRange(model.ranges[index].minimum, model.ranges[index].maximum);
}

const SensorModel* CSettingProfile::GetModel() const {
    return CModelTable::FindByNumber(m_modelNumber);
}

const RangeLimitItem& CSettingProfile::GetItem(int item) const {
    return item >= 0 && item < kItemCount ? m_items[item] : kNoItem;
}

RangeLimitItem* CSettingProfile::MutableItem(int item) {
    return item >= 0 && item < kItemCount ? &m_items[item] : nullptr;
}

void CSettingProfile::SetItem(int item, const RangeLimitItem& settings) {
    if (RangeLimitItem* target = MutableItem(item))
        *target = settings;
}

void CSettingProfile::GetDisplayRange(int item, float& minimum, float& maximum) const {
    minimum = GetItem(item).displayMin;
    maximum = GetItem(item).displayMax;
}

void CSettingProfile::SetDisplayRange(int item, float minimum, float maximum) {
    if (RangeLimitItem* target = MutableItem(item)) {
        target->displayMin = minimum;
        target->displayMax = maximum;
    }
}

void CSettingProfile::GetLimits(int item, float& low, float& high) const {
    low = GetItem(item).lowLimit;
    high = GetItem(item).highLimit;
}

void CSettingProfile::SetLimits(int item, float low, float high) {
    if (RangeLimitItem* target = MutableItem(item)) {
        target->lowLimit = low;
        target->highLimit = high;
    }
}

void CSettingProfile::SetLimitEnabled(int item, bool enabled) {
    if (RangeLimitItem* target = MutableItem(item))
        target->limitEnabled = enabled;
}

void CSettingProfile::SetAlarmOn(int item, bool on) {
    if (RangeLimitItem* target = MutableItem(item))
        target->alarmOn = on;
}

void CSettingProfile::SetBeepSound(int item, int sound) {
    if (RangeLimitItem* target = MutableItem(item))
        target->beepSound = sound;
}

std::string CSettingProfile::ModelName() const {
    const SensorModel* model = GetModel();
    return model != nullptr ? model->name : "";
}

std::string CSettingProfile::TechnologyName() const {
    return TechnologyName(m_technology);
}

std::string CSettingProfile::TechnologyName(int technology) {
    const int count = static_cast<int>(sizeof(kTechnologyNames) / sizeof(kTechnologyNames[0]));
    return technology >= 0 && technology < count ? kTechnologyNames[technology] : "";
}
