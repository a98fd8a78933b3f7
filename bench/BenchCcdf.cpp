// One acquisition-window update of the CCDF screen: the incremental sum against a full
// re-merge of the window, with the sensor's largest histograms (3000 bins) in a 100-deep window.
#include "CRatioReporter.h"
#include "ccdf/CCcdfStatistics.h"
#include "ccdf/CCcdfWindow.h"

#include <benchmark/benchmark.h>

#include <deque>
#include <map>
#include <random>
#include <vector>

namespace {

constexpr uint32_t kWindowLength = 100;
constexpr int kBins = 3000;

std::vector<CCcdfWindow::Histogram> Histograms(int count) {
    std::mt19937 random(1);
    std::uniform_int_distribution<int32_t> counts(1, 20);
    std::vector<CCcdfWindow::Histogram> histograms(static_cast<size_t>(count));
    for (auto& histogram : histograms)
        for (int32_t bin = 0; bin < kBins; ++bin)
            histogram.emplace_back(2176 + bin, counts(random));
    return histograms;
}

void IncrementalUpdate(benchmark::State& state) {
    const auto pool = Histograms(kWindowLength + 1);
    CCcdfWindow window;
    for (uint32_t i = 0; i < kWindowLength; ++i)
        window.Add(pool[i], kWindowLength);
    size_t next = 0;
    for (auto _ : state) {
        window.Add(pool[next], kWindowLength);
        next = (next + 1) % pool.size();
        benchmark::DoNotOptimize(window.Total());
    }
}
BENCHMARK(IncrementalUpdate)->Unit(benchmark::kMicrosecond);

// What the window did before it kept its sum: slide, then add up every histogram again.
void FullRemerge(benchmark::State& state) {
    const auto pool = Histograms(kWindowLength + 1);
    std::deque<CCcdfWindow::Histogram> window(pool.begin(), pool.begin() + kWindowLength);
    std::map<int32_t, int64_t> merged;
    size_t next = 0;
    for (auto _ : state) {
        window.pop_front();
        window.push_back(pool[next]);
        next = (next + 1) % pool.size();
        merged.clear();
        for (const auto& histogram : window)
            for (const auto& [key, count] : histogram)
                merged[key] += count;
        benchmark::DoNotOptimize(merged.size());
    }
}
BENCHMARK(FullRemerge)->Unit(benchmark::kMicrosecond);

// The whole work per histogram on the screen: update plus statistics and curve.
void UpdateAndStatistics(benchmark::State& state) {
    const auto pool = Histograms(kWindowLength + 1);
    CCcdfWindow window;
    for (uint32_t i = 0; i < kWindowLength; ++i)
        window.Add(pool[i], kWindowLength);
    size_t next = 0;
    for (auto _ : state) {
        window.Add(pool[next], kWindowLength);
        next = (next + 1) % pool.size();
        benchmark::DoNotOptimize(CCcdfStatistics::Compute(window.Merged(), window.Total(), 1));
    }
}
BENCHMARK(UpdateAndStatistics)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return CRatioReporter::RunAll(argc, argv,
                                  {{"CCDF window update as a running sum vs adding the window up again",
                                    "IncrementalUpdate", "FullRemerge"}});
}
