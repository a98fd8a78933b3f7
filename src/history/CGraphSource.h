#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "history/CRangeStatistics.h"
#include "history/GraphSeries.h"
#include "history/HistoryHeader.h"

class CRecordStore;
class CSettingProfile;

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

// Looks a language key up. Labels are composed here from the caller's language table, which
// lives above the history layer.
using GraphTextLookup = std::function<std::string(const std::string& key)>;

// What a graph shows, owning its points: a copy that may be drawn elsewhere (another
// thread, another size) while the original changes.
struct GraphContent {
    GraphView view;
    std::vector<GraphPoint> points;
};

// What a narrowed view of a history shows beside its points: the statistics of the shown
// stretch and the times at its ends (empty when the history has no time base).
struct GraphRangeTexts {
    std::string subtitle;
    float average = 0.0f;
    std::string xStartLabel;
    std::string xEndLabel;
};

// Fills a graph's series from a saved history or from the live records.
class CGraphSource {
public:
    static constexpr int kDefaultWindowLength = 100;

    // Value-axis label of a channel: "Power (AVG)", "VSWR", "PAR", "Return Loss", ...
    static std::string AxisLabel(const GraphTextLookup& text, int modelNumber, int channel, bool returnLoss);

    // One channel of a history: points, subtitle with its statistics, unit, average line and
    // y ends. A channel the history lacks is replaced by its first one; the channel shown is
    // returned.
    static int FromHistory(const GraphTextLookup& text, int modelNumber, const HistoryHeader& header,
                           const int32_t* rows, int rowCount, int channel, bool returnLoss,
                           std::vector<GraphPoint>& points, GraphView& view);

    // The texts of the history's indices first .. last, with the statistics of the points there.
    static GraphRangeTexts RangeTexts(const GraphTextLookup& text, int modelNumber,
                                      const HistoryHeader& header, int channel, bool returnLoss,
                                      const RangeStatistics& statistics, float first, float last);

    // The newest windowLength samples of a live channel, one per plot pixel, with the profile's
    // range and limits. Until the first reading of a measurement the time axis shows the "no
    // value" text.
    static void FromLive(const GraphTextLookup& text, const CSettingProfile& profile,
                         const CRecordStore& records, int channel, int windowLength,
                         std::vector<GraphPoint>& points, GraphView& view);

private:
    static void SetHistoryStatistics(const GraphTextLookup& text, int modelNumber,
                                     const HistoryHeader& header, int channel, bool returnLoss,
                                     GraphView& view);
    // "[AVG] Max : 1.00 dBm, Min : 0.00 dBm, Average : 0.50 dBm"
    static std::string Subtitle(const GraphTextLookup& text, const std::string& channelLabel,
                                const char* valueUnit, const HistoryStatistics& statistics);
    static const char* ValueUnit(int modelNumber, int channel, bool returnLoss);
    static std::string ChannelLabel(const GraphTextLookup& text, int modelNumber, int channel,
                                    bool returnLoss);
};
