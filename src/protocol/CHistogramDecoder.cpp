#include "protocol/CHistogramDecoder.h"

#include "platform/CLittleEndian.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Consecutive words [first, end) of a reply that all carry samples.
struct SSampleRun {
    uint32_t first;
    uint32_t end;
};

uint32_t WordCount(uint32_t byteCount) {
    if (byteCount == CHistogramDecoder::kSmallReply)
        return (byteCount - 340) / 2;
    return (byteCount - 14) / 2;
}

std::vector<SSampleRun> FindSampleRuns(uint32_t byteCount) {
    std::vector<SSampleRun> runs;
    for (uint32_t w = 0; w < WordCount(byteCount); ++w) {
        if (CHistogramDecoder::IsSkippedWord(w, byteCount))
            continue;
        if (!runs.empty() && runs.back().end == w)
            runs.back().end = w + 1;
        else
            runs.push_back({w, w + 1});
    }
    return runs;
}

// The layout is fixed per size, so the skipped words are sorted out once rather than per word.
const std::vector<SSampleRun>& SampleRuns(uint32_t byteCount) {
    static const std::vector<SSampleRun> small = FindSampleRuns(CHistogramDecoder::kSmallReply);
    static const std::vector<SSampleRun> medium = FindSampleRuns(CHistogramDecoder::kMediumReply);
    static const std::vector<SSampleRun> large = FindSampleRuns(CHistogramDecoder::kLargeReply);
    if (byteCount == CHistogramDecoder::kSmallReply)
        return small;
    return byteCount == CHistogramDecoder::kMediumReply ? medium : large;
}

void AddCount(const uint8_t* word, uint32_t key, PowerHistogram& bins) {
    const uint16_t count = CLittleEndian::ReadUInt16(word);
    if (count != 0)
        bins.emplace_back(static_cast<int32_t>(key), count);
}

// The non-zero counts of consecutive sample words. Most bins of a histogram are empty, so four
// words are tested at once and passed over together when all are zero.
void AddCounts(const uint8_t* words, uint32_t wordCount, uint32_t& key, uint32_t step, PowerHistogram& bins) {
    uint32_t w = 0;
    for (; w + 4 <= wordCount; w += 4, key += 4 * step) {
        uint64_t four = 0;
        std::memcpy(&four, words + 2 * w, sizeof four);
        if (four == 0)
            continue;
        for (uint32_t i = 0; i < 4; ++i)
            AddCount(words + 2 * (w + i), key + i * step, bins);
    }
    for (; w < wordCount; ++w, key += step)
        AddCount(words + 2 * w, key, bins);
}

// Keys that wrapped past the top of the range (an absurd offset) come out below the others;
// moving them to the front keeps the keys ascending.
void PutWrappedKeysFirst(PowerHistogram& bins) {
    if (bins.empty() || bins.front().first < bins.back().first)
        return;
    const auto wrap = std::adjacent_find(bins.begin(), bins.end(),
                                         [](const auto& a, const auto& b) { return a.first > b.first; });
    if (wrap != bins.end())
        std::rotate(bins.begin(), std::next(wrap), bins.end());
}

} // namespace

CHistogramDecoder::SReplyFormat CHistogramDecoder::FormatFor(uint32_t firmwareVersion) {
    if (firmwareVersion >= 291 && firmwareVersion <= 294)
        return {kLargeReply, 50000};
    if (firmwareVersion > 294)
        return {kSmallReply, 10000};
    return {kMediumReply, 50000};
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
                               PowerHistogram& bins) {
    bins.clear();
    if (byteCount != kSmallReply && byteCount != kMediumReply && byteCount != kLargeReply)
        return false;
    // The samples are read at fixed offsets from the head, so it must open the reply.
    if (bytes[0] != '[' || bytes[1] != 'C')
        return false;

    const bool small = byteCount == kSmallReply;
    // Unsigned, so that keys wrap instead of overflowing when an absurd offset puts them near
    // the limit.
    uint32_t key = static_cast<uint32_t>(small ? offsetHundredths : 2176);
    const uint32_t step = small ? 10 : 1;
    for (const SSampleRun& run : SampleRuns(byteCount))
        AddCounts(bytes + 2 + 2 * run.first, run.end - run.first, key, step, bins);
    PutWrappedKeysFirst(bins);
    return true;
}
