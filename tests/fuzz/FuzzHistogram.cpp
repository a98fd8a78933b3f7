// Histogram replies: the first byte picks the format, the rest fills the reply.
#include "FuzzReplyBuffer.h"

#include "protocol/CHistogramDecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    static constexpr uint32_t kSizes[] = {CHistogramDecoder::kSmallReply, CHistogramDecoder::kMediumReply,
                                          CHistogramDecoder::kLargeReply, 1000};
    const uint32_t replySize = kSizes[data[0] % 4];
    const auto& reply = FillReply(replySize, data + 1, size - 1);
    // Kept across runs, so that a run allocates nothing.
    static PowerHistogram bins;
    // Offsets across the whole range, so that the keys also wrap past its top.
    const auto offset = static_cast<int32_t>(data[0] * 0x01010101u);
    CHistogramDecoder::Decode(reply.data(), replySize, offset, bins);
    return 0;
}
