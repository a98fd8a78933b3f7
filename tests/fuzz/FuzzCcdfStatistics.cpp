// Histograms to CCDF statistics: the input is cut into histograms of (key, count) pairs, in any
// order and with keys repeated, that pass through the acquisition window. The window's running
// sum must equal a fresh sum of what it holds, and a measured result must be finite.
#include "ccdf/CCcdfAcquisition.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kPairBytes = 8;

int32_t Read32(const uint8_t* bytes) {
    int32_t value;
    std::memcpy(&value, bytes, sizeof(value));
    return value;
}

const CCcdfWindow::MergedHistogram& FreshSum(const CCcdfWindow& window) {
    static CCcdfWindow::MergedHistogram bins;
    static CCcdfWindow::MergedHistogram sum;
    bins.clear();
    sum.clear();
    for (const auto& histogram : window.Histograms())
        bins.insert(bins.end(), histogram.begin(), histogram.end());
    std::sort(bins.begin(), bins.end());
    for (const auto& [key, count] : bins) {
        if (!sum.empty() && sum.back().first == key)
            sum.back().second += count;
        else
            sum.emplace_back(key, count);
    }
    return sum;
}

void CheckResult(const CCcdfAcquisition& acquisition) {
    const CCcdfResult& result = acquisition.Result();
    if (result.measured && (!std::isfinite(result.averagePower) || !std::isfinite(result.crestFactor)))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const CCcdfAcquisition::SSettings settings{data[0] % 5, (data[0] & 0x80) != 0, data[1] % 9};
    // A fresh acquisition: one kept across runs would free in one run what it took in the
    // last, and libFuzzer would look for a leak after every run.
    CCcdfAcquisition acquisition;
    static CCcdfWindow::Histogram histogram;
    histogram.clear();
    // A pair whose key is 0x7fffffff ends a histogram.
    for (size_t at = 2; at + kPairBytes <= size; at += kPairBytes) {
        const int32_t key = Read32(data + at);
        if (key == INT32_MAX) {
            acquisition.Add(acquisition.Generation(), histogram, settings);
            CheckResult(acquisition);
            histogram.clear();
            continue;
        }
        histogram.emplace_back(key, Read32(data + at + 4));
    }
    acquisition.Add(acquisition.Generation(), histogram, settings);
    CheckResult(acquisition);
    // The settings hold for the whole run, so the window never starts again and a sum that went
    // wrong on the way is still wrong at the end.
    if (FreshSum(acquisition.Window()) != acquisition.Window().Merged())
        std::abort();
    return 0;
}
