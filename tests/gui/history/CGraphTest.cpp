#include "support/ProfileFixture.h"

#include <QPainter>

#include <cmath>
#include <utility>
#include <vector>

#include "gui/history/CGraph.h"
#include "gui/history/CGraphCtrl.h"
#include "history/HistoryHeader.h"

namespace {

const QColor kData(255, 255, 0);
const QColor kLimit(255, 0, 0);

// Exposes the curve drawing and compares it with drawing every segment.
class CurveGraph : public CGraph {
public:
    using CGraph::DrawCurve;

    QImage Blank() const {
        QImage image(Scale().Width(), Scale().Height(), QImage::Format_RGB32);
        image.fill(Qt::black);
        return image;
    }

    QImage EverySegment(const std::vector<GraphPoint>& points) const {
        QImage image = Blank();
        QPainter painter(&image);
        painter.setPen(QPen(Qt::white, 0));
        QPoint previous;
        bool first = true;
        for (const GraphPoint& point : points) {
            if (!Scale().InXRange(point.x))
                continue;
            if (std::isnan(point.y)) {
                first = true;
                continue;
            }
            const QPoint at(Scale().PixelX(point.x), Scale().PixelY(Scale().ClampY(point.y)));
            if (first)
                painter.drawPoint(at);
            else
                painter.drawLine(previous, at);
            previous = at;
            first = false;
        }
        return image;
    }

    QImage Compressed(const std::vector<GraphPoint>& points) const {
        QImage image = Blank();
        QPainter painter(&image);
        DrawCurve(painter, points.data(), static_cast<int>(points.size()), Qt::white);
        return image;
    }

    // Compressed() after a paint of the series, which keeps the min/max pyramid of long ones.
    QImage ThroughPyramid(const std::vector<GraphPoint>& points) {
        QImage scratch = Blank();
        QPainter painter(&scratch);
        DrawSeries(painter);
        return Compressed(points);
    }
};

GraphSeries Series(const std::vector<GraphPoint>& points, float yLow, float yHigh) {
    GraphSeries series;
    series.xMinimum = 0.0f;
    series.xMaximum = static_cast<float>(points.size());
    series.yFirst = yLow;
    series.ySecond = yHigh;
    series.points = points.data();
    series.pointCount = static_cast<int>(points.size());
    return series;
}

int CountInRow(const QImage& image, int y, const QColor& colour) {
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

} // namespace

TEST(CGraph, DenseSeriesLooksTheSameAsDrawingEverySegment) {
    std::vector<GraphPoint> points;
    for (int i = 0; i < 20000; ++i)
        points.push_back(
            {static_cast<float>(i), static_cast<float>(40.0 + 8.0 * std::sin(i / 700.0) + (i * 37 % 11))});
    CurveGraph graph;
    graph.Resize(0, 0, 800, 400);
    ASSERT_TRUE(graph.SetSeries(Series(points, 30.0f, 60.0f)));
    EXPECT_EQ(graph.Compressed(points), graph.EverySegment(points));

    // Rows without a reading break the line, one alone or a run across several columns.
    points[7001].y = std::nanf("");
    for (int i = 9000; i < 9100; ++i)
        points[static_cast<std::size_t>(i)].y = std::nanf("");
    EXPECT_EQ(graph.Compressed(points), graph.EverySegment(points));
    ASSERT_TRUE(graph.SetSeries(Series(points, 30.0f, 60.0f)));
    EXPECT_EQ(graph.ThroughPyramid(points), graph.EverySegment(points));
    for (const auto& [first, last] : {std::pair{5000.5f, 13000.0f}, {6990.0f, 7010.0f}, {-50.0f, 30000.0f}}) {
        graph.ShowXRange(first, last);
        EXPECT_EQ(graph.ThroughPyramid(points), graph.EverySegment(points)) << first << ".." << last;
    }

    // Sparse too: fewer points than columns, some outside the range.
    const std::vector<GraphPoint> sparse{
        {-3.0f, 50.0f}, {0.0f, 35.0f}, {1.0f, 70.0f}, {2.5f, 20.0f}, {3.0f, 45.0f}};
    ASSERT_TRUE(graph.SetSeries(Series(sparse, 30.0f, 60.0f)));
    EXPECT_EQ(graph.Compressed(sparse), graph.EverySegment(sparse));
}

TEST(CGraph, ValuesAboveTheRangeRunAlongTheTopEdge) {
    const std::vector<GraphPoint> points(50, GraphPoint{0.0f, 99.0f});
    std::vector<GraphPoint> spread = points;
    for (std::size_t i = 0; i < spread.size(); ++i)
        spread[i].x = static_cast<float>(i);
    CGraph graph;
    ASSERT_TRUE(graph.SetSeries(Series(spread, 0.0f, 10.0f)));
    const QImage image = graph.RenderImage(QSize(600, 400));
    EXPECT_GT(CountInRow(image, graph.Scale().PlotTop(), kData), graph.PlotWidth() / 2);
}

TEST(CGraph, LimitLinesOnlyInsideTheRangeAndWhenEnabled) {
    const std::vector<GraphPoint> none;
    CGraph graph;
    GraphSeries series = Series(none, 0.0f, 100.0f);
    series.xMaximum = 10.0f;
    ASSERT_TRUE(graph.SetSeries(series));
    graph.Resize(0, 0, 600, 400);
    graph.SetLimitLines(50.0f, 150.0f);
    const int row = graph.Scale().PixelY(50.0f);
    EXPECT_EQ(CountInRow(graph.RenderImage(QSize(600, 400)), row, kLimit), 0);
    graph.EnableLimitLines(true);
    const QImage image = graph.RenderImage(QSize(600, 400));
    EXPECT_GT(CountInRow(image, row, kLimit), graph.PlotWidth() / 2);
    EXPECT_EQ(CountInRow(image, graph.Scale().PlotTop(), kLimit), 0);
}

TEST(CGraph, RefusesUnknownKindsStylesAndMissingPoints) {
    CGraph graph;
    GraphSeries series;
    series.kind = 12;
    EXPECT_FALSE(graph.SetSeries(series));
    series.kind = kSeriesKindSampled;
    series.style = 4;
    EXPECT_FALSE(graph.SetSeries(series));
    series.style = kSeriesStyleLine;
    series.pointCount = 3;
    EXPECT_FALSE(graph.SetSeries(series));
    series.pointCount = 0;
    series.yFirst = 7.0f;
    series.ySecond = 7.0f;
    EXPECT_TRUE(graph.SetSeries(series));
    EXPECT_FLOAT_EQ(graph.Scale().YMaximum(), 7.1f);
}

TEST(CGraph, PrintingUsesPrintColoursAndRestoresTheScreenLayout) {
    CGraph graph;
    graph.Resize(0, 0, 500, 350);
    QImage page(1000, 800, QImage::Format_RGB32);
    page.fill(Qt::gray);
    {
        QPainter painter(&page);
        graph.Print(painter, QRect(100, 100, 800, 600));
    }
    EXPECT_EQ(page.pixelColor(110, 110), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(50, 50), QColor(Qt::gray));
    EXPECT_EQ(graph.Scale().Width(), 500);
    EXPECT_EQ(graph.ColourSet().background, QColor(28, 61, 114));
}

using CGraphCtrlTest = ProfileFixture;

TEST_F(CGraphCtrlTest, LiveWindowHasOneSamplePerPlotPixel) {
    for (int i = 0; i < 2000; ++i)
        Records().AddValue(ChannelPeak, 30.0f);
    CGraphCtrl ctrl;
    ctrl.BindProfile(&Profile());
    ctrl.BindRecords(&Records());
    ctrl.resize(900, 400);
    ctrl.SetChannel(0, ChannelPeak, false);
    ctrl.RefreshLive(true);
    EXPECT_EQ(ctrl.WindowLength(), ctrl.Graph().PlotWidth());
    EXPECT_EQ(ctrl.View().series.pointCount, ctrl.WindowLength());
    EXPECT_FLOAT_EQ(ctrl.View().series.xMaximum, 2000.0f);
    EXPECT_EQ(ctrl.View().series.yAxisLabel, Text("S_GRAPH_POWER") + " (" + Text("S_MEASUREVIEW_PEAK") + ")");

    ctrl.resize(200, 150);
    ctrl.RefreshLive(true);
    EXPECT_EQ(ctrl.Graph().Scale().Width(), 350);
    EXPECT_EQ(ctrl.Graph().Scale().Height(), 300);
}

TEST_F(CGraphCtrlTest, HistoryNeedsHeaderAndRows) {
    CGraphCtrl ctrl;
    const int32_t rows[] = {4000, 4100};
    HistoryHeader header;
    header.SetMask(0x01);
    ctrl.ShowHistory(0, nullptr, rows, 2, false);
    ctrl.ShowHistory(0, &header, nullptr, 2, false);
    EXPECT_EQ(ctrl.View().series.pointCount, 0);
    ctrl.ShowHistory(0, &header, rows, 2, false);
    EXPECT_EQ(ctrl.View().series.pointCount, 2);
    EXPECT_EQ(ctrl.RenderImage().size(), ctrl.size());
}

TEST_F(CGraphCtrlTest, TheWindowShowsWhatAFreshDrawingShowsAfterEveryChange) {
    Records().StartRecording(false);
    for (int i = 0; i < 1500; ++i)
        Records().AddValue(ChannelAvg, 20.0f + static_cast<float>(i % 17));
    CGraphCtrl ctrl;
    ctrl.BindProfile(&Profile());
    ctrl.BindRecords(&Records());
    ctrl.resize(700, 300);
    ctrl.SetChannel(0, ChannelAvg, false);
    ctrl.RefreshLive(true);
    const auto matchesFreshDrawing = [&](const char* step) {
        EXPECT_EQ(ctrl.grab().toImage().convertToFormat(QImage::Format_RGB32),
                  ctrl.RenderImage().convertToFormat(QImage::Format_RGB32))
            << step;
    };
    matchesFreshDrawing("first paint");
    Records().AddValue(ChannelAvg, 44.0f);
    ctrl.RefreshLive(false);
    matchesFreshDrawing("a new value");
    Profile().SetDisplayRange(ChannelAvg, 0.0f, 30.0f);
    ctrl.RefreshLive(false);
    matchesFreshDrawing("another value range");
    ctrl.SetChannel(0, ChannelPeak, false);
    matchesFreshDrawing("another channel");
    ctrl.resize(500, 260);
    ctrl.RefreshLive(true);
    matchesFreshDrawing("another size");
}
