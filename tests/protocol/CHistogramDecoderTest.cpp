#include "protocol/CHistogramDecoder.h"

#include "CReplyBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

using Bytes = std::vector<uint8_t>;

TEST(HistogramDecoder, FirmwareChoosesTheReplySize) {
    EXPECT_EQ(CHistogramDecoder::FormatFor(290).byteCount, 6144u);
    EXPECT_EQ(CHistogramDecoder::FormatFor(0).byteCount, 6144u);
    EXPECT_EQ(CHistogramDecoder::FormatFor(291).byteCount, 7680u);
    EXPECT_EQ(CHistogramDecoder::FormatFor(294).byteCount, 7680u);
    EXPECT_EQ(CHistogramDecoder::FormatFor(295).byteCount, 1536u);
    // A negative firmware number compares as a huge unsigned one.
    EXPECT_EQ(CHistogramDecoder::FormatFor(static_cast<uint32_t>(-1)).byteCount, 1536u);
    EXPECT_EQ(CHistogramDecoder::FormatFor(290).timeoutMs, 50000u);
    EXPECT_EQ(CHistogramDecoder::FormatFor(295).timeoutMs, 10000u);
}

// Every word of the walk holds 1, so each sample position becomes one bin.
static PowerHistogram DecodeAllOnes(uint32_t size, int32_t offset = 0) {
    Bytes bytes = CReplyBytes::Blocks('C', size);
    for (uint32_t offsetByte = 2; offsetByte + 1 < size; offsetByte += 2)
        CReplyBytes::PutWord(bytes, offsetByte, 1);
    PowerHistogram bins;
    EXPECT_TRUE(CHistogramDecoder::Decode(bytes.data(), size, offset, bins));
    return bins;
}

TEST(HistogramDecoder, EachFormatYieldsItsNumberOfSamplePositions) {
    // Words walked minus the block heads and trailers of each layout.
    const auto medium = DecodeAllOnes(6144);
    EXPECT_EQ(medium.size(), 3065u - 64u);
    EXPECT_EQ(medium.begin()->first, 2176);
    EXPECT_EQ(medium.rbegin()->first, 2176 + 3000);

    EXPECT_EQ(DecodeAllOnes(7680).size(), 3833u - 87u);

    const auto small = DecodeAllOnes(1536, -250);
    EXPECT_EQ(small.size(), 598u - 11u);
    EXPECT_EQ(small.begin()->first, -250);
    EXPECT_EQ(std::next(small.begin())->first, -240);
}

TEST(HistogramDecoder, KeysWrappedByAnAbsurdOffsetStillAscend) {
    const auto bins = DecodeAllOnes(1536, INT32_MAX - 25);
    EXPECT_EQ(bins.size(), 598u - 11u);
    EXPECT_TRUE(std::is_sorted(bins.begin(), bins.end()));
    EXPECT_EQ(bins.front().first, INT32_MIN + 4);
    EXPECT_EQ(bins.back().first, INT32_MAX - 5);
}

TEST(HistogramDecoder, SkippedWordsCarryNoSampleAndDoNotAdvanceTheKey) {
    Bytes bytes = CReplyBytes::Blocks('C', 6144);
    CReplyBytes::PutWord(bytes, 2 + 2 * 249, 7);  // last sample before the first trailer
    CReplyBytes::PutWord(bytes, 2 + 2 * 252, 99); // trailer
    CReplyBytes::PutWord(bytes, 2 + 2 * 255, 8);  // first sample after it
    CReplyBytes::PutWord(bytes, 2 + 2 * 505, 99); // trailer of block 1 (256 + 249)
    PowerHistogram bins;
    ASSERT_TRUE(CHistogramDecoder::Decode(bytes.data(), 6144, 0, bins));
    EXPECT_EQ(bins, (PowerHistogram{{2176 + 249, 7}, {2176 + 250, 8}}));
}

TEST(HistogramDecoder, LayoutExceptionsOfTheLongReplies) {
    EXPECT_FALSE(CHistogramDecoder::IsSkippedWord(2554, 6144));
    EXPECT_TRUE(CHistogramDecoder::IsSkippedWord(2553, 6144));
    EXPECT_TRUE(CHistogramDecoder::IsSkippedWord(2046, 6144));
    EXPECT_FALSE(CHistogramDecoder::IsSkippedWord(2046, 7680));
    EXPECT_TRUE(CHistogramDecoder::IsSkippedWord(3827, 7680));
    EXPECT_FALSE(CHistogramDecoder::IsSkippedWord(3826, 7680));
    EXPECT_FALSE(CHistogramDecoder::IsSkippedWord(249, 1536));
}

TEST(HistogramDecoder, RejectsUnknownSizesAndMissingHead) {
    PowerHistogram bins{{1, 1}};
    Bytes bytes = CReplyBytes::Blocks('D', 1536);
    EXPECT_FALSE(CHistogramDecoder::Decode(bytes.data(), 1536, 0, bins));
    EXPECT_TRUE(bins.empty());
    bytes = CReplyBytes::Blocks('C', 2048);
    EXPECT_FALSE(CHistogramDecoder::Decode(bytes.data(), 2048, 0, bins));
    // A head further in would put every sample at the wrong offset.
    bytes = CReplyBytes::Blocks('C', 1536);
    bytes.insert(bytes.begin(), 'x');
    EXPECT_FALSE(CHistogramDecoder::Decode(bytes.data(), 1536, 0, bins));
}
