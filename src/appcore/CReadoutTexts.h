#pragma once

#include <array>
#include <string>

#include "appcore/ReadoutItem.h"

class CRecordStore;
class CSettingProfile;

// The texts a readout shows for one quantity, filled from the settings profile and the
// measurement's records.
class CReadoutTexts {
public:
    using Texts = std::array<std::string, kReadoutItemCount>;

    // Sensor and setting lines, the quantity label and the mode text.
    static void SetIdentity(const CSettingProfile& profile, int quantity, Texts& texts);
    // Low and high limit lines; left alone while the quantity's limit is off.
    static void SetLimits(const CSettingProfile& profile, int quantity, Texts& texts);
    // Reference, minimum, maximum, current value and the watts or return-loss line.
    static void SetValues(const CSettingProfile& profile, const CRecordStore& records, int quantity,
                          Texts& texts);

    // "Directional" or "Terminating"; empty for an unknown model.
    static std::string SensorTypeText(const CSettingProfile& profile);
    static std::string MeasurementModeText(const CSettingProfile& profile);
    // The label over a quantity's readout: "AVG", "REV", "VSWR" (or "PAR"), "PEAK", "PULSE".
    static std::string QuantityLabel(int modelNumber, int quantity);
    // Unit under the gauge's centre.
    static std::string GaugeCaption(int modelNumber, int quantity);
    // The quantity shows peak-to-average ratio rather than VSWR.
    static bool IsPar(int modelNumber, int quantity);
    static bool IsVswr(int modelNumber, int quantity);

    // What a line shows in place of a value that is not there.
    static std::string NoValueText();

private:
    // Units of the reference and of the extremes, and what relative mode subtracts from them.
    struct Extremes {
        const char* referenceUnit;
        const char* unit;
        float shift;
    };

    static std::string General(const char* key);
    static void SetExtremes(const CSettingProfile& profile, const CRecordStore& records, int quantity,
                            const Extremes& extremes, Texts& texts);
    static void SetRatioValues(const CSettingProfile& profile, const CRecordStore& records, int quantity,
                               const char* unit, Texts& texts);
    static void SetPowerValues(const CSettingProfile& profile, const CRecordStore& records, int quantity,
                               Texts& texts);
};
