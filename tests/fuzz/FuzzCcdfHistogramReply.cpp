// Histogram replies as the sensor sends them, decoded and counted into the CCDF window as the
// screen does: the statistics of whatever a reply decodes to must stay finite and ordered.
#include "FuzzCheck.h"
#include "FuzzReplyBuffer.h"

#include "ccdf/CCcdfAcquisition.h"
#include "protocol/CHistogramDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

// First byte: reply size and settings; then a few replies, each padded to its full size.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    static constexpr uint32_t kSizes[] = {CHistogramDecoder::kSmallReply, CHistogramDecoder::kMediumReply,
                                          CHistogramDecoder::kLargeReply};
    const uint32_t replySize = kSizes[data[0] % 3];
    const CCcdfAcquisition::SSettings settings{(data[0] >> 2) % 4, false, (data[0] >> 4) % 8};
    const int32_t offset = static_cast<int8_t>(data[1]) * 100;
    // A fresh acquisition: one kept across runs would free in one run what it took in the
    // last, and libFuzzer would look for a leak after every run.
    CCcdfAcquisition acquisition;
    static CCcdfWindow::Histogram histogram;
    for (size_t at = 2; at < size; at += replySize) {
        const auto& reply = FillReply(replySize, data + at, size - at);
        if (!CHistogramDecoder::Decode(reply.data(), replySize, offset, histogram))
            continue;
        acquisition.Add(acquisition.Generation(), histogram, settings);
        const CCcdfResult& result = acquisition.Result();
        if (!result.measured)
            continue;
        Check(std::isfinite(result.averagePower) && std::isfinite(result.peakPower) &&
              std::isfinite(result.crestFactor));
        for (double probability : result.probabilities)
            Check(probability >= 0.0 && probability <= 100.0);
        for (const CcdfPoint& point : result.curve)
            Check(std::isfinite(point.x) && std::isfinite(point.y));
    }
    return 0;
}
