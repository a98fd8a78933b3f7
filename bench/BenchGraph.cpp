#include "CRatioReporter.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <vector>

#include "gui/history/CGraph.h"

namespace {

std::vector<GraphPoint> NoisySeries(int count) {
    std::vector<GraphPoint> points(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        points[static_cast<std::size_t>(i)] = {
            static_cast<float>(i),
            static_cast<float>(40.0 + 6.0 * std::sin(i / 900.0) + (i * 37 % 23) * 0.2)};
    return points;
}

// Paints the history graph of `count` points into an off-screen image, as the viewer does.
void PaintHistoryGraph(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::vector<GraphPoint> points = NoisySeries(count);
    GraphSeries series;
    series.xMinimum = 0.0f;
    series.xMaximum = static_cast<float>(count);
    series.yFirst = 30.0f;
    series.ySecond = 50.0f;
    series.points = points.data();
    series.pointCount = count;
    CGraph graph;
    graph.SetSeries(series);
    graph.SetAverage(41.0f, true);
    graph.Resize(0, 0, 1200, 600);
    QImage image(1200, 600, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        graph.Draw(painter);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * count);
}

} // namespace

BENCHMARK(PaintHistoryGraph)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return CRatioReporter::RunAll(argc, argv,
                                  {{"History graph paint, 100000 points vs 1000", "PaintHistoryGraph/100000",
                                    "PaintHistoryGraph/1000"}});
}
