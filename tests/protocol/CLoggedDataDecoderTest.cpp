#include "protocol/CLoggedDataDecoder.h"

#include "CReplyBytes.h"

#include <gtest/gtest.h>

using Bytes = std::vector<uint8_t>;

TEST(LoggedDataDecoder, CycleFollowsTheMaskBitOrder) {
    EXPECT_EQ(CLoggedDataDecoder::BuildCycle(0x0F), (std::vector<int32_t>{0, 3, 1, 4}));
    EXPECT_EQ(CLoggedDataDecoder::BuildCycle(0x05), (std::vector<int32_t>{0, 1}));
    EXPECT_TRUE(CLoggedDataDecoder::BuildCycle(0x10).empty());
    EXPECT_EQ(CLoggedDataDecoder::BlocksFor(249), 1);
    EXPECT_EQ(CLoggedDataDecoder::BlocksFor(250), 2);
}

struct SSample {
    int32_t channel;
    float value;
    bool operator==(const SSample&) const = default;
};

static std::vector<SSample> DecodeLogged(const Bytes& bytes, int32_t blocks, int32_t limit, int32_t mask,
                                         bool expectSuccess = true) {
    std::vector<SSample> samples;
    int32_t count = -1;
    const bool ok = CLoggedDataDecoder::Decode(
        bytes.data(), static_cast<uint32_t>(bytes.size()), blocks, limit,
        CLoggedDataDecoder::BuildCycle(mask),
        [&](int32_t channel, float value) {
            samples.push_back({channel, value});
        },
        count);
    EXPECT_EQ(ok, expectSuccess);
    EXPECT_EQ(count, static_cast<int32_t>(samples.size()));
    return samples;
}

TEST(LoggedDataDecoder, ForwardAndReverseAlternateStartingWithForward) {
    Bytes bytes = CReplyBytes::Blocks('D', 512);
    CReplyBytes::PutWord(bytes, 2, 4000);
    CReplyBytes::PutWord(bytes, 4, 1050);
    CReplyBytes::PutWord(bytes, 6, 65535);
    EXPECT_EQ(DecodeLogged(bytes, 1, 3, 0x05), (std::vector<SSample>{{0, 40.0f}, {1, 10.5f}, {0, 655.35f}}));
}

TEST(LoggedDataDecoder, BlockZeroCarriesAnExtraSampleAndLaterBlocksStartAtTheirFirstByte) {
    Bytes bytes = CReplyBytes::Blocks('D', 1024);
    CReplyBytes::PutWord(bytes, 500, 100);  // sample 250 (j = 249)
    CReplyBytes::PutWord(bytes, 502, 200);  // sample 251, the extra one
    CReplyBytes::PutWord(bytes, 512, 300);  // first sample of block 1
    CReplyBytes::PutWord(bytes, 1010, 400); // last sample of block 1 (j = 249)
    const auto samples = DecodeLogged(bytes, 2, 1000, 0x01);
    ASSERT_EQ(samples.size(), 501u);
    EXPECT_EQ(samples[249].value, 1.0f);
    EXPECT_EQ(samples[250].value, 2.0f);
    EXPECT_EQ(samples[251].value, 3.0f);
    EXPECT_EQ(samples[500].value, 4.0f);
}

TEST(LoggedDataDecoder, RefusesWhatCannotBeDecodedSafely) {
    const Bytes head = CReplyBytes::Blocks('D', 512);
    EXPECT_TRUE(DecodeLogged(head, 2, 10, 0x01, false).empty()); // two blocks in 512 bytes
    EXPECT_TRUE(DecodeLogged(head, 1, 10, 0x10, false).empty()); // no logged channel
    EXPECT_TRUE(DecodeLogged(CReplyBytes::Blocks('C', 512), 1, 10, 0x01, false).empty());
    // Samples sit at fixed offsets from the head: stray bytes before it would shift every value.
    Bytes shifted(head.size(), 0x55);
    std::copy(head.begin(), head.end() - 3, shifted.begin() + 3);
    EXPECT_TRUE(DecodeLogged(shifted, 1, 10, 0x01, false).empty());
    EXPECT_TRUE(DecodeLogged(head, 1, 0, 0x01).empty());
}
