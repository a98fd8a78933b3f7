#include "model/CModelTable.h"

constexpr int kAll = 0x1F;
constexpr DisplayRange kHigh{20.0f, 60.0f};
constexpr DisplayRange kLow{-30.0f, 20.0f};
constexpr DisplayRange kVswr{1.0f, 2.0f};
constexpr DisplayRange kPar{0.0f, 20.0f};

static const SensorModel kModels[CModelTable::kRowCount] = {
    {0, "VL-D030", 4, SensorDirectional, kAll, 300, 3800, {kHigh, kHigh, kVswr, kHigh, kHigh, kHigh}, 0},
    {1,
     "VL-T120",
     5,
     SensorTerminating,
     CapabilityAvg,
     20,
     3800,
     {kLow, kLow, kVswr, kHigh, kHigh, kHigh},
     0},
    {2, "VL-D215", 6, SensorDirectional, kAll, 150, 3800, {kHigh, kHigh, kVswr, kHigh, kHigh, kHigh}, 0},
    {3, "VL-T320", 7, SensorTerminating, CapabilityPeak, 20, 3800, {kLow, kLow, kVswr, kLow, kLow, kLow}, 0},
    {4, "VL-T420", 8, SensorTerminating, kAll, 20, 3800, {kLow, kLow, kPar, kLow, kLow, kLow}, FeaturePar},
    {5,
     "VL-D530",
     10,
     SensorDirectional,
     kAll,
     300,
     3800,
     {kHigh, kHigh, kVswr, kHigh, kHigh, kHigh},
     FeatureForwardReverse | FeatureAveragingSetup | FeaturePulseCcdf | FeatureLogging},
    {6,
     "VL-T620",
     11,
     SensorTerminating,
     CapabilityAvg,
     20,
     3800,
     {kLow, kLow, kVswr, kLow, kLow, kLow},
     FeatureAveragingSetup},
    {8, "VL-T820", 13, SensorTerminating, CapabilityPeak, 20, 3800, {kLow, kLow, kVswr, kLow, kLow, kLow}, 0},
    {9,
     "VL-T920",
     14,
     SensorTerminating,
     kAll,
     20,
     3800,
     {kLow, kLow, kPar, kLow, kLow, kLow},
     FeaturePar | FeatureAveragingSetup | FeaturePulseCcdf},
};

template <typename Match> static const SensorModel* FindFirst(Match matches) {
    for (const SensorModel& model : kModels) {
        if (matches(model))
            return &model;
    }
    return nullptr;
}

const SensorModel* CModelTable::FindByNumber(int number) {
    return FindFirst([number](const SensorModel& model) { return model.number == number; });
}

const SensorModel* CModelTable::FindByCode(int code) {
    return FindFirst([code](const SensorModel& model) { return model.code == code; });
}

const SensorModel* CModelTable::FindByName(const std::string& name) {
    return FindFirst([&name](const SensorModel& model) { return name == model.name; });
}

std::span<const SensorModel> CModelTable::Rows() {
    return kModels;
}

static int Capabilities(int modelNumber) {
    const SensorModel* model = CModelTable::FindByNumber(modelNumber);
    return model != nullptr ? model->capabilities : 0;
}

static bool HasFeature(int modelNumber, int feature) {
    const SensorModel* model = CModelTable::FindByNumber(modelNumber);
    return model != nullptr && (model->features & feature) != 0;
}

bool CModelTable::HasCapability(int modelNumber, SensorCapability capability) {
    return (Capabilities(modelNumber) & capability) != 0;
}

bool CModelTable::ReportsPar(int modelNumber) {
    return HasFeature(modelNumber, FeaturePar);
}

bool CModelTable::HasForwardReverse(int modelNumber) {
    return HasFeature(modelNumber, FeatureForwardReverse);
}

bool CModelTable::SetsAveragingOnStart(int modelNumber) {
    return HasFeature(modelNumber, FeatureAveragingSetup);
}

bool CModelTable::HasPulseAndCcdf(int modelNumber) {
    return HasFeature(modelNumber, FeaturePulseCcdf);
}

bool CModelTable::HasLogging(int modelNumber) {
    return HasFeature(modelNumber, FeatureLogging);
}

bool CModelTable::IsAvgOnly(int modelNumber) {
    return Capabilities(modelNumber) == CapabilityAvg;
}

bool CModelTable::IsPeakOnly(int modelNumber) {
    return Capabilities(modelNumber) == CapabilityPeak;
}

bool CModelTable::MeasuresAll(int modelNumber) {
    return Capabilities(modelNumber) == kAll;
}

bool CModelTable::IsUnsupportedCode(int code) {
    return code != 0 && code != -1 && FindByCode(code) == nullptr;
}

std::string CModelTable::UnsupportedCodeText(int code) {
    return "the sensor reports identification code " + std::to_string(code) +
           ", which no supported model has";
}
