#pragma once

#include <string>
#include <vector>

#include "model/CModelTable.h"
#include "model/HistoryChannel.h"
#include "model/LoggingRun.h"
#include "model/RangeLimitItem.h"

// The settings of the connected sensor: its identity and how it is measured (what it measured
// belongs to the measurement). Settings persist per model in "<model name>.ini" beside the
// executable; the profile saves itself when destroyed.
class CSettingProfile {
public:
    CSettingProfile();
    ~CSettingProfile();
    CSettingProfile(const CSettingProfile&) = delete;
    CSettingProfile& operator=(const CSettingProfile&) = delete;

    static constexpr int kDefaultModel = 5;

    // Takes the identity of a newly connected sensor and loads its model's profile file;
    // without a file the range-and-limit items take the model's defaults.
    void SetDevice(int modelNumber, int serialNumber, int firmwareNumber);
    // False (and nothing changed) when the file is missing or written for another model.
    bool Load(const std::string& modelName);
    // False when a value could not be written.
    bool Save(const std::string& modelName);
    // Saves under the current model's name on the way out, except that settings which were never
    // loaded, saved or set up for a sensor (a session without one) leave an existing file alone.
    // Only the first call writes: the destructor does not write again what the window saved.
    bool SaveOnExit();
    // Writes as SaveOnExit does, but leaves the later save on the way out to be done: the
    // system's session is about to end, and its end may yet be cancelled.
    bool SaveAsOnExit();
    static std::string ProfilePath(const std::string& modelName);
    // Settings go to a file of this sensor's own, "<model name> #<serial>.ini", instead of the
    // model's, so that two sensors of one model connected at once keep their own settings; it
    // starts from the model's file while it has none. Set before SetDevice.
    void KeepOwnFile(bool own) { m_ownFile = own; }
    bool KeepsOwnFile() const { return m_ownFile; }
    static std::string FirmwareText(int firmwareNumber);

    // Identity.
    int GetModelNumber() const { return m_modelNumber; }
    void SetModelNumber(int number) { m_modelNumber = number; }
    const std::string& GetSerialText() const { return m_serialText; }
    void SetSerialText(const std::string& text) { m_serialText = text; }
    const std::string& GetFirmwareText() const { return m_firmwareText; }
    void SetFirmwareText(const std::string& text) { m_firmwareText = text; }
    // Row of the current model, or nullptr.
    const SensorModel* GetModel() const;

    // Measurement settings.
    float GetFrequency() const { return m_frequency; } // MHz
    void SetFrequency(float mhz) { m_frequency = mhz; }
    float GetExtOffset() const { return m_extOffset; } // dB
    void SetExtOffset(float db) { m_extOffset = db; }
    bool IsRelativeMode() const { return m_relativeMode; }
    void SetRelativeMode(bool relative) { m_relativeMode = relative; }
    bool IsSingleSweep() const { return m_singleSweep; }
    void SetSingleSweep(bool single) { m_singleSweep = single; }
    int GetDecimalPlaces() const { return m_decimalPlaces; }
    void SetDecimalPlaces(int places) { m_decimalPlaces = places; }
    int GetTechnology() const { return m_technology; }
    void SetTechnology(int technology) { m_technology = technology; }

    // Choices of the setting dialogs (entry indexes).
    int GetAvgRate() const { return m_avgRate; }
    void SetAvgRate(int choice) { m_avgRate = choice; }
    int GetAvgRepeat() const { return m_avgRepeat; } // entry index + 1
    void SetAvgRepeat(int repeat) { m_avgRepeat = repeat; }
    int GetPeakRate() const { return m_peakRate; }
    void SetPeakRate(int choice) { m_peakRate = choice; }
    int GetPulseRate() const { return m_pulseRate; }
    void SetPulseRate(int choice) { m_pulseRate = choice; }
    int GetPulseDuty() const { return m_pulseDuty; }
    void SetPulseDuty(int choice) { m_pulseDuty = choice; }
    int GetPulseReference() const { return m_pulseReference; }
    void SetPulseReference(int choice) { m_pulseReference = choice; }
    int GetCcdfRate() const { return m_ccdfRate; }
    void SetCcdfRate(int choice) { m_ccdfRate = choice; }

    // Logging set-up of the sensor.
    int GetLoggingItems() const { return m_loggingItems; }
    void SetLoggingItems(int mask) { m_loggingItems = mask; }
    int GetLoggingInterval() const { return m_loggingInterval; }
    void SetLoggingInterval(int interval) { m_loggingInterval = interval; }
    int GetLoggingRunTime() const { return m_loggingRunTime; }
    void SetLoggingRunTime(int runTime) { m_loggingRunTime = runTime; }
    const LoggingRun& GetLoggingRun() const { return m_loggingRun; }
    void SetLoggingRun(const LoggingRun& run) { m_loggingRun = run; }

    // Range-and-limit items 0..5 (channels plus CCDF); other indexes read as an all-zero
    // item and are not written.
    const RangeLimitItem& GetItem(int item) const;
    void SetItem(int item, const RangeLimitItem& settings);
    void GetDisplayRange(int item, float& minimum, float& maximum) const;
    void SetDisplayRange(int item, float minimum, float maximum);
    void GetLimits(int item, float& low, float& high) const;
    void SetLimits(int item, float low, float high);
    bool IsLimitEnabled(int item) const { return GetItem(item).limitEnabled; }
    void SetLimitEnabled(int item, bool enabled);
    bool IsAlarmOn(int item) const { return GetItem(item).alarmOn; }
    void SetAlarmOn(int item, bool on);
    int GetBeepSound(int item) const { return GetItem(item).beepSound; }
    void SetBeepSound(int item, int sound);
    bool CheckLimit(int item, float value) const { return GetItem(item).IsAlarm(value); }
    bool SoundAlarm(int item, float value) const { return GetItem(item).SoundAlarm(value); }
    void BuildLimitBands(int item, MeterThresholdCollection& bands) const { GetItem(item).BuildBands(bands); }

    // Names for readouts and dialogs.
    std::string ModelName() const;
    std::string TechnologyName() const;
    static std::string TechnologyName(int technology);

private:
    struct IniBinding;
    std::vector<IniBinding> IniBindings();
    // The profile file written for the model: the model's, or this sensor's own.
    std::string FilePath(const std::string& modelName) const;
    void ApplyModelRanges(const SensorModel& model);
    RangeLimitItem* MutableItem(int item);

    int m_loggingItems = 15;
    int m_loggingInterval = 40;
    int m_loggingRunTime = 150;
    LoggingRun m_loggingRun;
    int m_pulseDuty = 0;
    int m_pulseReference = 0;
    int m_avgRate = 0;
    int m_avgRepeat = 1;
    int m_technology = 7;
    int m_peakRate = 0;
    int m_pulseRate = 0;
    int m_ccdfRate = 2;
    bool m_singleSweep = false;
    int m_decimalPlaces = 2;
    int m_modelNumber = kDefaultModel;
    std::string m_serialText;
    std::string m_firmwareText;
    float m_frequency = 2400.0f;
    float m_extOffset = 0.0f;
    bool m_relativeMode = false;
    bool m_settingsInUse = false;
    bool m_leftSaved = false; // SaveOnExit has run
    bool m_ownFile = false;
    RangeLimitItem m_items[kItemCount];
};
