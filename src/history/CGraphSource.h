#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/GraphSeries.h"

class CSettingProfile;
class HistoryHeader;

// Everything a graph shows besides its layout.
struct GraphView {
    GraphSeries series;
    std::string unit;
    bool averageShown = false;
    float average = 0.0f;
    std::string xStartLabel;
    std::string xEndLabel;
    bool limitEnabled = false;
    float lowLimit = 0.0f;
    float highLimit = 0.0f;
};

// Fills a graph's series from a saved history or from the live records.
class CGraphSource {
public:
    static constexpr int kDefaultWindowLength = 100;

    // Value-axis label of a channel: "Power (AVG)", "VSWR", "PAR", "Return Loss", ...
    static std::string AxisLabel(int modelNumber, int channel, bool returnLoss);

    // One channel of a history: points, subtitle with its statistics, unit, average line and
    // y ends. A channel the history lacks is replaced by its first one; the channel shown is
    // returned.
    static int FromHistory(int modelNumber, const HistoryHeader& header, const int32_t* rows, int rowCount,
                           int channel, bool returnLoss, std::vector<GraphPoint>& points, GraphView& view);

    // The newest windowLength samples of a live channel, one per plot pixel.
    static void FromLive(const CSettingProfile& profile, int channel, int windowLength,
                         std::vector<GraphPoint>& points, GraphView& view);

private:
    static void SetHistoryStatistics(int modelNumber, const HistoryHeader& header, int channel,
                                     bool returnLoss, GraphView& view);
    static std::string ChannelLabel(int modelNumber, int channel, bool returnLoss);
};
