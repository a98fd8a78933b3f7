#include "history/CGraphSource.h"

#include "history/CHistoryChannels.h"
#include "history/CHistoryRecorder.h"
#include "history/CHistoryTimeBase.h"
#include "history/HistoryHeader.h"
#include "model/CModelTable.h"
#include "model/CPowerMath.h"
#include "model/CRecordStore.h"
#include "model/CSettingProfile.h"
#include "platform/CTextFormat.h"

#include <algorithm>

namespace {

const char* PowerLabelKey(int channel) {
    switch (channel) {
    case ChannelRev:
        return "S_MEASUREVIEW_REV";
    case ChannelPeak:
        return "S_MEASUREVIEW_PEAK";
    case ChannelPulse:
        return "S_MEASUREVIEW_PULSE";
    default:
        return "S_MEASUREVIEW_AVG";
    }
}

float ReturnLoss(float vswr) {
    return CPowerMath::ReturnLoss(vswr);
}

} // namespace

std::string CGraphSource::ChannelLabel(const GraphTextLookup& text, int modelNumber, int channel,
                                       bool returnLoss) {
    if (channel != ChannelVswr)
        return text(PowerLabelKey(channel));
    if (CModelTable::ReportsPar(modelNumber))
        return text("S_MEASUREVIEW_PAR");
    return text(returnLoss ? "S_MEASUREVIEW_RL" : "S_MEASUREVIEW_VSWR");
}

std::string CGraphSource::AxisLabel(const GraphTextLookup& text, int modelNumber, int channel,
                                    bool returnLoss) {
    if (channel == ChannelVswr)
        return ChannelLabel(text, modelNumber, channel, returnLoss);
    return CTextFormat::Printf("%s (%s)", text("S_GRAPH_POWER").c_str(),
                               ChannelLabel(text, modelNumber, channel, returnLoss).c_str());
}

void CGraphSource::SetHistoryStatistics(const GraphTextLookup& text, int modelNumber,
                                        const HistoryHeader& header, int channel, bool returnLoss,
                                        GraphView& view) {
    HistoryStatistics statistics = header.Statistics(channel);
    const HistoryRange range = header.DisplayRange(channel);
    const bool par = channel == ChannelVswr && CModelTable::ReportsPar(modelNumber);
    const bool lossView = channel == ChannelVswr && !par && returnLoss;
    const char* valueUnit = "";
    view.unit.clear();
    view.series.yFirst = range.lower;
    view.series.ySecond = range.upper;
    if (IsPowerChannel(channel)) {
        valueUnit = " dBm";
        view.unit = "dBm";
    } else if (lossView) {
        statistics = {ReturnLoss(statistics.minimum), ReturnLoss(statistics.maximum),
                      ReturnLoss(statistics.average)};
        valueUnit = " dB";
        view.unit = "dB";
        view.series.yFirst = 0.0f;
        view.series.ySecond = CPowerMath::kMinReturnLoss;
    }
    view.series.subtitle =
        Subtitle(text, ChannelLabel(text, modelNumber, channel, returnLoss), valueUnit, statistics);
    view.average = statistics.average;
    view.averageShown = true;
}

std::string CGraphSource::Subtitle(const GraphTextLookup& text, const std::string& channelLabel,
                                   const char* valueUnit, const HistoryStatistics& statistics) {
    const auto part = [&text, valueUnit](const char* key, float value) {
        return CTextFormat::Printf("%s : %.2f%s", text(key).c_str(), static_cast<double>(value), valueUnit);
    };
    return "[" + channelLabel + "] " + part("S_GRAPH_MAX", statistics.maximum) + ", " +
           part("S_GRAPH_MIN", statistics.minimum) + ", " + part("S_GRAPH_AVERAGE", statistics.average);
}

const char* CGraphSource::ValueUnit(int modelNumber, int channel, bool returnLoss) {
    if (IsPowerChannel(channel))
        return " dBm";
    const bool lossView = channel == ChannelVswr && !CModelTable::ReportsPar(modelNumber) && returnLoss;
    return lossView ? " dB" : "";
}

// The statistics come from the shown points, which are return losses already in that view.
GraphRangeTexts CGraphSource::RangeTexts(const GraphTextLookup& text, int modelNumber,
                                         const HistoryHeader& header, int channel, bool returnLoss,
                                         const RangeStatistics& statistics, float first, float last) {
    GraphRangeTexts texts;
    const HistoryStatistics shown{static_cast<float>(statistics.minimum),
                                  static_cast<float>(statistics.maximum),
                                  static_cast<float>(statistics.average)};
    texts.subtitle = Subtitle(text, ChannelLabel(text, modelNumber, channel, returnLoss),
                              ValueUnit(modelNumber, channel, returnLoss), shown);
    texts.average = shown.average;
    if (const std::optional<CHistoryTimeBase> times = CHistoryTimeBase::Of(header)) {
        texts.xStartLabel = times->TextAt(first);
        texts.xEndLabel = times->TextAt(last);
    }
    return texts;
}

int CGraphSource::FromHistory(const GraphTextLookup& text, int modelNumber, const HistoryHeader& header,
                              const int32_t* rows, int rowCount, int channel, bool returnLoss,
                              std::vector<GraphPoint>& points, GraphView& view) {
    const uint8_t mask = header.Mask();
    if (!CHistoryChannels::IsValid(channel))
        channel = ChannelAvg;
    if (CHistoryChannels::IndexInRow(mask, channel) < 0 && CHistoryChannels::FirstInMask(mask) >= 0)
        channel = CHistoryChannels::FirstInMask(mask);
    const int valuesPerRow = CHistoryChannels::CountInMask(mask);
    const int column = CHistoryChannels::IndexInRow(mask, channel);
    if (rows == nullptr || column < 0 || valuesPerRow <= 0)
        rowCount = 0;
    rowCount = std::max(rowCount, 0);

    SetHistoryStatistics(text, modelNumber, header, channel, returnLoss, view);
    const bool lossView = returnLoss && channel == ChannelVswr && !CModelTable::ReportsPar(modelNumber);
    points.resize(static_cast<std::size_t>(rowCount));
    for (int i = 0; i < rowCount; ++i) {
        const auto value = static_cast<float>(
            CHistoryData::Decode(rows[static_cast<std::size_t>(i) * static_cast<std::size_t>(valuesPerRow) +
                                      static_cast<std::size_t>(column)]));
        points[static_cast<std::size_t>(i)] = {static_cast<float>(i), lossView ? ReturnLoss(value) : value};
    }

    const std::string title = header.Text(HistoryText::Title);
    view.series.title = title.empty() ? text("S_GRAPH_HISTORYGRAPH") : title;
    view.series.kind = kSeriesKindSampled;
    view.series.style = kSeriesStyleLine;
    view.series.xMinimum = 0.0f;
    view.series.xMaximum = static_cast<float>(rowCount);
    view.series.points = points.data();
    view.series.pointCount = rowCount;
    view.limitEnabled = false;
    view.xStartLabel = header.Text(HistoryText::StartTime);
    view.xEndLabel = header.Text(HistoryText::StopTime);
    // Logged data of an unknown set-up has no times: say so rather than leave a bare number.
    if (view.xStartLabel.empty())
        view.xStartLabel = text("S_GRAPH_NO_TIMEBASE");
    return channel;
}

void CGraphSource::FromLive(const GraphTextLookup& text, const CSettingProfile& profile,
                            const CRecordStore& records, int channel, int windowLength,
                            std::vector<GraphPoint>& points, GraphView& view) {
    const std::span<const float> series = records.Series(channel);
    const int count = static_cast<int>(series.size());
    windowLength = std::max(windowLength, 1);
    const int first = count >= windowLength ? count - windowLength : 0;
    const int shown = std::min(count, windowLength);
    points.resize(static_cast<std::size_t>(shown));
    for (int i = 0; i < shown; ++i) {
        const int index = first + i;
        points[static_cast<std::size_t>(i)] = {static_cast<float>(index),
                                               series[static_cast<std::size_t>(index)]};
    }

    view.series.xMinimum = static_cast<float>(first);
    view.series.xMaximum = static_cast<float>(first + windowLength);
    profile.GetDisplayRange(channel, view.series.yFirst, view.series.ySecond);
    view.series.points = points.data();
    view.series.pointCount = shown;
    profile.GetLimits(channel, view.lowLimit, view.highLimit);
    view.limitEnabled = profile.IsLimitEnabled(channel);

    const int64_t start = records.StartTime();
    const int64_t latest = records.LastSampleTime();
    // Times belong to the samples shown: none after Reset, nor on a screen whose channel another
    // screen's run left empty.
    const bool known = start != 0 && latest != 0 && count > 0;
    view.xStartLabel = known ? CHistoryRecorder::TimeText(start) : text("S_MEASUREVIEW_NOVALUE");
    view.xEndLabel = known ? CHistoryRecorder::TimeText(latest) : view.xStartLabel;
    view.unit = IsPowerChannel(channel) ? "dBm" : "";
    view.averageShown = false;
}
