#pragma once

#include <span>
#include <string>

#include "model/HistoryChannel.h"

struct DisplayRange {
    float minimum;
    float maximum;
};

// One row of the fixed table of supported sensor models.
struct SensorModel {
    int number;
    const char* name; // at most 9 ASCII characters: it must fit a history-file header field
    int code;         // identification code the sensor reports
    int type;         // 0 directional (forward and reverse), 1 terminating
    int capabilities; // CapabilityAvg | ...
    int minFrequencyMHz;
    int maxFrequencyMHz;
    DisplayRange ranges[kItemCount]; // indexed like the range-and-limit items
    int features;                    // FeatureForwardReverse | ...
};

enum SensorType : int { SensorDirectional = 0, SensorTerminating = 1 };

enum SensorCapability : int {
    CapabilityAvg = 0x01,
    CapabilityPeak = 0x02,
    CapabilityRev = 0x04,
    CapabilityPulse = 0x08,
    CapabilityVswr = 0x10,
};

// What a model does beyond the quantities it measures.
enum SensorFeature : int {
    FeatureForwardReverse = 0x01, // forward and reverse power in one exchange, peak by selection
    FeaturePar = 0x02,            // peak-to-average ratio where others report VSWR
    FeatureAveragingSetup = 0x04, // takes its averaging setting at the start of a measurement
    FeaturePulseCcdf = 0x08,      // PULSE and CCDF measurements
    FeatureLogging = 0x10,        // logs on its own and hands the logged data over
};

// Look-ups walk the rows in order and give nullptr when nothing matches.
class CModelTable {
public:
    static constexpr int kRowCount = 9;

    static const SensorModel* FindByNumber(int number);
    static const SensorModel* FindByCode(int code);
    // Exact, case-sensitive comparison.
    static const SensorModel* FindByName(const std::string& name);
    static std::span<const SensorModel> Rows();

    // The rules every window asks instead of keeping model numbers of its own. An unknown
    // model number has no capabilities and no features.
    static bool HasCapability(int modelNumber, SensorCapability capability);
    static bool ReportsPar(int modelNumber);
    static bool HasForwardReverse(int modelNumber);
    static bool SetsAveragingOnStart(int modelNumber);
    static bool HasPulseAndCcdf(int modelNumber);
    static bool HasLogging(int modelNumber);
    // Sensors that measure one quantity only: AVG, or PEAK.
    static bool IsAvgOnly(int modelNumber);
    static bool IsPeakOnly(int modelNumber);
    // Sensors that measure AVG, PEAK and VSWR or PAR together.
    static bool MeasuresAll(int modelNumber);
    // A code that a sensor did report (0 and -1 stand for none read) and that no row has.
    static bool IsUnsupportedCode(int code);
    // Why such a sensor cannot be used, naming the code (command-line tool).
    static std::string UnsupportedCodeText(int code);
};
