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
};

enum SensorType : int { SensorDirectional = 0, SensorTerminating = 1 };

enum SensorCapability : int {
    CapabilityAvg = 0x01,
    CapabilityPeak = 0x02,
    CapabilityRev = 0x04,
    CapabilityPulse = 0x08,
    CapabilityVswr = 0x10,
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

    // Models 4 and 9 report peak-to-average ratio in the VSWR channel.
    static bool ReportsPar(int modelNumber);
};
