// Histogram replies: the first byte picks the format, the rest fills the reply.
#include "protocol/CHistogramDecoder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    static constexpr uint32_t kSizes[] = {CHistogramDecoder::kSmallReply, CHistogramDecoder::kMediumReply,
                                          CHistogramDecoder::kLargeReply, 1000};
    const uint32_t replySize = kSizes[data[0] % 4];
    std::vector<uint8_t> bytes(replySize, 0);
    std::copy_n(data + 1, std::min<size_t>(size - 1, replySize), bytes.begin());
    std::map<int32_t, int32_t> bins;
    const int32_t offset = static_cast<int32_t>(data[0]) * 0x01010101;
    CHistogramDecoder::Decode(bytes.data(), replySize, offset, bins);
    return 0;
}
