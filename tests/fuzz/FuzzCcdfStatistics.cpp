// Histograms to CCDF statistics: the input is cut into histograms of (key, count) pairs that
// pass through the acquisition window. The window's running sum must equal a fresh sum of what
// it holds, and a measured result must be finite.
#include "ccdf/CCcdfAcquisition.h"

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

void Check(const CCcdfAcquisition& acquisition) {
    CCcdfWindow::MergedHistogram merged;
    for (const auto& histogram : acquisition.Window().Histograms())
        for (const auto& [key, count] : histogram)
            merged[key] += count;
    if (merged != acquisition.Window().Merged())
        std::abort();
    const CCcdfResult& result = acquisition.Result();
    if (result.measured && (!std::isfinite(result.averagePower) || !std::isfinite(result.crestFactor)))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const CCcdfAcquisition::SSettings settings{data[0] % 5, (data[0] & 0x80) != 0, data[1] % 9};
    CCcdfAcquisition acquisition;
    CCcdfWindow::Histogram histogram;
    // A pair whose key is 0x7fffffff ends a histogram.
    for (size_t at = 2; at + kPairBytes <= size; at += kPairBytes) {
        const int32_t key = Read32(data + at);
        if (key == INT32_MAX) {
            acquisition.Add(acquisition.Generation(), histogram, settings);
            Check(acquisition);
            histogram.clear();
            continue;
        }
        histogram[key] = Read32(data + at + 4);
    }
    acquisition.Add(acquisition.Generation(), histogram, settings);
    Check(acquisition);
    return 0;
}
