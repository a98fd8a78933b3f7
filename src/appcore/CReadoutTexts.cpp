#include "appcore/CReadoutTexts.h"

#include "appcore/CReadoutFormat.h"
#include "appcore/CStringTable.h"
#include "model/CModelTable.h"
#include "model/CPowerMath.h"
#include "model/CRecordStore.h"
#include "model/CSettingProfile.h"
#include "platform/CTextFormat.h"

#include <limits>
#include <optional>

std::string CReadoutTexts::General(const char* key) {
    return CStringTable::GetGeneralText(key);
}

bool CReadoutTexts::IsPar(int modelNumber, int quantity) {
    return quantity == ChannelVswr && CModelTable::ReportsPar(modelNumber);
}

bool CReadoutTexts::IsVswr(int modelNumber, int quantity) {
    return quantity == ChannelVswr && !CModelTable::ReportsPar(modelNumber);
}

std::string CReadoutTexts::GaugeCaption(int modelNumber, int quantity) {
    if (quantity != ChannelVswr)
        return "dBm";
    return General(IsPar(modelNumber, quantity) ? "S_MEASUREVIEW_PAR" : "S_MEASUREVIEW_VSWR");
}

std::string CReadoutTexts::SensorTypeText(const CSettingProfile& profile) {
    const SensorModel* model = profile.GetModel();
    if (model == nullptr)
        return "";
    if (model->type == SensorDirectional)
        return General("S_MEASUREVIEW_DIRECTIONAL");
    if (model->type == SensorTerminating)
        return General("S_MEASUREVIEW_TERMINATING");
    return "";
}

std::string CReadoutTexts::MeasurementModeText(const CSettingProfile& profile) {
    return General(profile.IsRelativeMode() ? "S_MEASUREVIEW_RELATIVEMODE" : "S_MEASUREVIEW_ABSOLUTEMODE");
}

std::string CReadoutTexts::QuantityLabel(int modelNumber, int quantity) {
    static const char* const kLabelKeys[kChannelCount] = {"S_MEASUREVIEW_AVG", "S_MEASUREVIEW_REV",
                                                          "S_MEASUREVIEW_VSWR", "S_MEASUREVIEW_PEAK",
                                                          "S_MEASUREVIEW_PULSE"};
    if (IsPar(modelNumber, quantity))
        return "PAR";
    if (quantity < 0 || quantity >= kChannelCount)
        return "";
    return General(kLabelKeys[quantity]);
}

void CReadoutTexts::SetIdentity(const CSettingProfile& profile, int quantity, Texts& texts) {
    const auto line = [](const char* key, const std::string& value) {
        return CTextFormat::Printf("%s %s", General(key).c_str(), value.c_str());
    };
    texts[ItemModel] = line("S_MEASUREVIEW_MODEL", profile.ModelName());
    texts[ItemSerial] = line("S_MEASUREVIEW_SN", profile.GetSerialText());
    texts[ItemType] = line("S_MEASUREVIEW_TYPE", SensorTypeText(profile));
    texts[ItemFrequency] = CTextFormat::Printf("%s %.2f MHz", General("S_MEASUREVIEW_FREQUENCY").c_str(),
                                               static_cast<double>(profile.GetFrequency()));
    texts[ItemExtOffset] = CTextFormat::Printf("%s %.2f dB", General("S_MEASUREVIEW_EXTOFFSET").c_str(),
                                               static_cast<double>(profile.GetExtOffset()));
    // Cleared for other models so that a previous sensor's technology does not linger.
    texts[ItemTechnology] =
        CModelTable::HasForwardReverse(profile.GetModelNumber()) // the model corrected by technology
            ? CTextFormat::Printf("%s %s", "Technology:", profile.TechnologyName().c_str())
            : std::string();
    texts[ItemLabel] = QuantityLabel(profile.GetModelNumber(), quantity);
    texts[ItemMode] = MeasurementModeText(profile);
}

void CReadoutTexts::SetLimits(const CSettingProfile& profile, int quantity, Texts& texts) {
    if (!profile.IsLimitEnabled(quantity))
        return;
    const int model = profile.GetModelNumber();
    const char* format = "%s %s dBm";
    if (IsPar(model, quantity))
        format = "%s %s dB";
    else if (IsVswr(model, quantity))
        format = "%s %s : 1";
    float low = 0.0f;
    float high = 0.0f;
    profile.GetLimits(quantity, low, high);
    const int places = profile.GetDecimalPlaces();
    texts[ItemLowLimit] = CTextFormat::Printf(format, General("S_MEASUREVIEW_LLIMIT").c_str(),
                                              CReadoutFormat::Number(low, places).c_str());
    texts[ItemHighLimit] = CTextFormat::Printf(format, General("S_MEASUREVIEW_HLIMIT").c_str(),
                                               CReadoutFormat::Number(high, places).c_str());
}

void CReadoutTexts::SetValues(const CSettingProfile& profile, const CRecordStore& records, int quantity,
                              Texts& texts) {
    const int model = profile.GetModelNumber();
    if (IsPar(model, quantity))
        SetRatioValues(profile, records, quantity, "dB", texts);
    else if (IsVswr(model, quantity))
        SetRatioValues(profile, records, quantity, ": 1", texts);
    else
        SetPowerValues(profile, records, quantity, texts);
    if (quantity == ChannelPulse) {
        // The last pulse's timing belongs to a live reading only.
        const bool live = records.Current(quantity).has_value();
        const float none = std::numeric_limits<float>::quiet_NaN();
        texts[ItemDutyCycle] =
            CReadoutFormat::DutyCycle(live ? records.DutyCycle() : none, profile.GetPulseDuty() != 0);
        texts[ItemBurstWidth] = CReadoutFormat::BurstWidth(live ? records.BurstWidth() : none);
    }
}

std::string CReadoutTexts::NoValueText() {
    return General("S_MEASUREVIEW_NOVALUE");
}

// Without a value since the last (re)start, reference and extremes would be invented zeros.
void CReadoutTexts::SetExtremes(const CSettingProfile& profile, const CRecordStore& records, int quantity,
                                const Extremes& extremes, Texts& texts) {
    const int places = profile.GetDecimalPlaces();
    const bool known = records.HasExtremes(quantity);
    const auto line = [&](const char* key, float value, const char* unit) {
        if (!known)
            return CTextFormat::Printf("%s %s", General(key).c_str(), NoValueText().c_str());
        return CTextFormat::Printf("%s %s %s", General(key).c_str(),
                                   CReadoutFormat::Number(value, places).c_str(), unit);
    };
    texts[ItemReference] = line("S_MEASUREVIEW_REF", records.Reference(quantity), extremes.referenceUnit);
    texts[ItemMinimum] = line("S_MEASUREVIEW_MIN", records.Minimum(quantity) - extremes.shift, extremes.unit);
    texts[ItemMaximum] = line("S_MEASUREVIEW_MAX", records.Maximum(quantity) - extremes.shift, extremes.unit);
}

void CReadoutTexts::SetRatioValues(const CSettingProfile& profile, const CRecordStore& records, int quantity,
                                   const char* unit, Texts& texts) {
    SetExtremes(profile, records, quantity, {unit, unit, 0.0f}, texts);
    const bool par = IsPar(profile.GetModelNumber(), quantity);
    const std::optional<float> value = records.Current(quantity);
    if (!value) {
        texts[ItemValue] = NoValueText();
        texts[ItemWatts] = par ? std::string() : General("S_MEASUREVIEW_NA");
        return;
    }
    const int places = profile.GetDecimalPlaces();
    texts[ItemValue] = CReadoutFormat::Number(*value, places) + " " + unit;
    if (par)
        texts[ItemWatts].clear();
    else if (*value <= 1.0f)
        texts[ItemWatts] = General("S_MEASUREVIEW_NA");
    else
        texts[ItemWatts] =
            "Return Loss: " + CReadoutFormat::Number(CPowerMath::ReturnLoss(*value), places) + " dB";
}

void CReadoutTexts::SetPowerValues(const CSettingProfile& profile, const CRecordStore& records, int quantity,
                                   Texts& texts) {
    const bool relative = profile.IsRelativeMode();
    const float shift = relative ? records.Reference(quantity) : 0.0f;
    const char* unit = relative ? "dB" : "dBm";
    SetExtremes(profile, records, quantity, {"dBm", unit, shift}, texts);
    const std::optional<float> value = records.Current(quantity);
    // Relative to no reference there is nothing to show either.
    if (!value || (relative && !records.HasExtremes(quantity))) {
        texts[ItemValue] = NoValueText();
        texts[ItemWatts] = NoValueText();
        return;
    }
    const int places = profile.GetDecimalPlaces();
    texts[ItemValue] = CReadoutFormat::Number(*value - shift, places) + " " + unit;
    texts[ItemWatts] = CReadoutFormat::Watts(*value, places);
}
