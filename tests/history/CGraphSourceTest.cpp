#include "support/ProfileFixture.h"

#include "appcore/CStringTable.h"

#include <vector>

#include "history/CGraphSource.h"
#include "history/HistoryHeader.h"

using CGraphSourceTest = ProfileFixture;

namespace {

// Rows of AVG, VSWR and PEAK (mask 0x13) in hundredths.
std::vector<int32_t> Rows(std::initializer_list<std::array<int32_t, 3>> rows) {
    std::vector<int32_t> values;
    for (const auto& row : rows)
        values.insert(values.end(), row.begin(), row.end());
    return values;
}

HistoryHeader Header(uint8_t mask) {
    HistoryHeader header;
    header.SetMask(mask);
    header.SetText(HistoryText::StartTime, "2026-01-02 10:00:00");
    header.SetText(HistoryText::StopTime, "2026-01-02 11:00:00");
    header.SetStatistics(ChannelVswr, {1.0f, 3.0f, 2.0f});
    header.SetDisplayRange(ChannelPeak, {60.0f, 20.0f});
    return header;
}

} // namespace

TEST_F(CGraphSourceTest, LiveWindowStartsAtZeroUntilItIsFull) {
    for (int i = 0; i < 30; ++i)
        Records().AddValue(ChannelAvg, static_cast<float>(i));
    std::vector<GraphPoint> points;
    GraphView view;
    CGraphSource::FromLive(&CStringTable::GetGeneralText, Profile(), Records(), ChannelAvg, 400, points,
                           view);
    ASSERT_EQ(view.series.pointCount, 30);
    EXPECT_FLOAT_EQ(view.series.xMinimum, 0.0f);
    EXPECT_FLOAT_EQ(view.series.xMaximum, 400.0f);
    EXPECT_FLOAT_EQ(points[29].x, 29.0f);
    EXPECT_FLOAT_EQ(points[29].y, 29.0f);
    EXPECT_EQ(view.unit, "dBm");
    // Without a start time the axis tells that no time is known, never a zero date.
    EXPECT_EQ(view.xStartLabel, CStringTable::GetGeneralText("S_MEASUREVIEW_NOVALUE"));
    EXPECT_EQ(view.xEndLabel, view.xStartLabel);
}

// Times belong to the samples a channel shows: another screen's run or a reset leaves none.
TEST_F(CGraphSourceTest, LiveTimesOnlyForAChannelWithSamples) {
    Records().StartRecording(true);
    Records().AddValue(ChannelAvg, 1.0f);
    std::vector<GraphPoint> points;
    GraphView view;
    const std::string none = CStringTable::GetGeneralText("S_MEASUREVIEW_NOVALUE");
    CGraphSource::FromLive(&CStringTable::GetGeneralText, Profile(), Records(), ChannelAvg, 400, points,
                           view);
    EXPECT_NE(view.xStartLabel, none);
    CGraphSource::FromLive(&CStringTable::GetGeneralText, Profile(), Records(), ChannelPulse, 400, points,
                           view);
    EXPECT_EQ(view.xStartLabel, none);
    EXPECT_EQ(view.xEndLabel, none);
    Records().ResetAll();
    CGraphSource::FromLive(&CStringTable::GetGeneralText, Profile(), Records(), ChannelAvg, 400, points,
                           view);
    EXPECT_EQ(view.xStartLabel, none);
}

TEST_F(CGraphSourceTest, LiveWindowFollowsTheNewestSamples) {
    for (int i = 0; i < 1000; ++i)
        Records().AddValue(ChannelVswr, static_cast<float>(i));
    Profile().SetLimits(ChannelVswr, 1.1f, 1.9f);
    Profile().SetLimitEnabled(ChannelVswr, true);
    std::vector<GraphPoint> points;
    GraphView view;
    CGraphSource::FromLive(&CStringTable::GetGeneralText, Profile(), Records(), ChannelVswr, 400, points,
                           view);
    ASSERT_EQ(view.series.pointCount, 400);
    EXPECT_FLOAT_EQ(view.series.xMinimum, 600.0f);
    EXPECT_FLOAT_EQ(view.series.xMaximum, 1000.0f);
    EXPECT_FLOAT_EQ(points.front().y, 600.0f);
    EXPECT_FLOAT_EQ(points.back().y, 999.0f);
    EXPECT_TRUE(view.limitEnabled);
    EXPECT_FLOAT_EQ(view.highLimit, 1.9f);
    EXPECT_EQ(view.unit, "");
    EXPECT_FALSE(view.averageShown);
}

TEST_F(CGraphSourceTest, HistoryColumnsFollowTheMask) {
    const HistoryHeader header = Header(0x13);
    const std::vector<int32_t> rows = Rows({{4000, 150, 4500}, {4100, 160, 4600}});
    std::vector<GraphPoint> points;
    GraphView view;
    EXPECT_EQ(CGraphSource::FromHistory(&CStringTable::GetGeneralText, 0, header, rows.data(), 2, ChannelPeak,
                                        false, points, view),
              ChannelPeak);
    ASSERT_EQ(view.series.pointCount, 2);
    EXPECT_FLOAT_EQ(points[1].y, 46.0f);
    EXPECT_FLOAT_EQ(view.series.yFirst, 60.0f);
    EXPECT_FLOAT_EQ(view.series.xMaximum, 2.0f);
    EXPECT_EQ(view.xEndLabel, "2026-01-02 11:00:00");
    EXPECT_EQ(view.series.title, Text("S_GRAPH_HISTORYGRAPH"));
    EXPECT_TRUE(view.averageShown);
    EXPECT_EQ(view.series.subtitle.rfind("[" + Text("S_MEASUREVIEW_PEAK") + "] ", 0), 0u);
}

TEST_F(CGraphSourceTest, ReturnLossViewOfVswr) {
    HistoryHeader header = Header(0x13);
    header.SetText(HistoryText::Title, "Antenna A");
    const std::vector<int32_t> rows = Rows({{0, 100, 0}, {0, 300, 0}});
    std::vector<GraphPoint> points;
    GraphView view;
    CGraphSource::FromHistory(&CStringTable::GetGeneralText, 0, header, rows.data(), 2, ChannelVswr, true,
                              points, view);
    EXPECT_FLOAT_EQ(points[0].y, -60.0f);
    EXPECT_NEAR(points[1].y, -6.02f, 0.01f);
    EXPECT_FLOAT_EQ(view.series.yFirst, 0.0f);
    EXPECT_FLOAT_EQ(view.series.ySecond, -60.0f);
    EXPECT_EQ(view.unit, "dB");
    EXPECT_NEAR(view.average, -9.54f, 0.01f);
    EXPECT_EQ(view.series.title, "Antenna A");
    EXPECT_EQ(view.series.subtitle, "[" + Text("S_MEASUREVIEW_RL") + "] " + Text("S_GRAPH_MAX") +
                                        " : -6.02 dB, " + Text("S_GRAPH_MIN") + " : -60.00 dB, " +
                                        Text("S_GRAPH_AVERAGE") + " : -9.54 dB");
}

TEST_F(CGraphSourceTest, ChannelMissingFromTheHistoryFallsBackToItsFirst) {
    const HistoryHeader header = Header(0x02);
    const std::vector<int32_t> rows{4500, 4600, 4700};
    std::vector<GraphPoint> points;
    GraphView view;
    EXPECT_EQ(CGraphSource::FromHistory(&CStringTable::GetGeneralText, 0, header, rows.data(), 3, ChannelAvg,
                                        false, points, view),
              ChannelPeak);
    EXPECT_EQ(view.series.pointCount, 3);
    EXPECT_FLOAT_EQ(points[2].y, 47.0f);
    EXPECT_EQ(CGraphSource::FromHistory(&CStringTable::GetGeneralText, 0, header, rows.data(), 3, 17, false,
                                        points, view),
              ChannelPeak);
}

TEST_F(CGraphSourceTest, AxisLabelsByChannelAndModel) {
    EXPECT_EQ(CGraphSource::AxisLabel(&CStringTable::GetGeneralText, 0, ChannelRev, false),
              Text("S_GRAPH_POWER") + " (" + Text("S_MEASUREVIEW_REV") + ")");
    EXPECT_EQ(CGraphSource::AxisLabel(&CStringTable::GetGeneralText, 0, ChannelVswr, true),
              Text("S_MEASUREVIEW_RL"));
    EXPECT_EQ(CGraphSource::AxisLabel(&CStringTable::GetGeneralText, 0, ChannelVswr, false),
              Text("S_MEASUREVIEW_VSWR"));
    EXPECT_EQ(CGraphSource::AxisLabel(&CStringTable::GetGeneralText, 9, ChannelVswr, true),
              Text("S_MEASUREVIEW_PAR"));
}
