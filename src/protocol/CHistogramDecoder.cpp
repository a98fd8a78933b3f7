#include "protocol/CHistogramDecoder.h"

#include "platform/CLittleEndian.h"

CHistogramDecoder::SReplyFormat CHistogramDecoder::FormatFor(uint32_t firmwareVersion) {
    if (firmwareVersion >= 291 && firmwareVersion <= 294)
        return {kLargeReply, 50000};
    if (firmwareVersion > 294)
        return {kSmallReply, 10000};
    return {kMediumReply, 50000};
}

static uint32_t WordCount(uint32_t byteCount) {
    if (byteCount == CHistogramDecoder::kSmallReply)
        return (byteCount - 340) / 2;
    return (byteCount - 14) / 2;
}

bool CHistogramDecoder::IsSkippedWord(uint32_t w, uint32_t byteCount) {
    const bool blockReplies = byteCount != kSmallReply;
    if (byteCount == kLargeReply) {
        if (w == 2046)
            return false;
        if (w >= 3827 && w <= 3832)
            return true;
    }
    if (blockReplies && w == 2554)
        return false;
    if (w >= 250 && w <= 254)
        return true;
    const uint32_t block = w / 256;
    const uint32_t inBlock = w % 256;
    return block >= 1 && inBlock >= 249 && inBlock <= 254;
}

bool CHistogramDecoder::Decode(const uint8_t* bytes, uint32_t byteCount, int32_t offsetHundredths,
                               std::map<int32_t, int32_t>& bins) {
    bins.clear();
    if (byteCount != kSmallReply && byteCount != kMediumReply && byteCount != kLargeReply)
        return false;
    // The samples are read at fixed offsets from the head, so it must open the reply.
    if (bytes[0] != '[' || bytes[1] != 'C')
        return false;

    const bool small = byteCount == kSmallReply;
    int32_t key = small ? offsetHundredths : 2176;
    const int32_t step = small ? 10 : 1;
    const uint32_t words = WordCount(byteCount);
    for (uint32_t w = 0; w < words; ++w) {
        if (IsSkippedWord(w, byteCount))
            continue;
        const uint16_t count = CLittleEndian::ReadUInt16(bytes + 2 + 2 * w);
        if (count != 0)
            bins.emplace(key, count);
        // Wraps instead of overflowing when an absurd offset puts the keys near the limit.
        key = static_cast<int32_t>(static_cast<uint32_t>(key) + static_cast<uint32_t>(step));
    }
    return true;
}
