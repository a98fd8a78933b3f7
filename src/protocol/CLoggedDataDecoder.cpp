#include "protocol/CLoggedDataDecoder.h"

#include "platform/CLittleEndian.h"
#include "protocol/CReplyParser.h"

std::vector<int32_t> CLoggedDataDecoder::BuildCycle(int32_t channelMask) {
    struct SBitChannel {
        int32_t bit;
        int32_t channel;
    };
    static constexpr SBitChannel kOrder[] = {{0x01, 0}, {0x02, 3}, {0x04, 1}, {0x08, 4}};
    std::vector<int32_t> cycle;
    for (const SBitChannel& entry : kOrder) {
        if (channelMask & entry.bit)
            cycle.push_back(entry.channel);
    }
    return cycle;
}

int32_t CLoggedDataDecoder::BlocksFor(int32_t sampleCount) {
    return sampleCount / kSamplesPerBlock + 1;
}

// Byte offsets of the samples of block i: block 0 starts after the two-byte head and carries
// one extra sample at byte 502.
static uint32_t SampleOffset(int32_t block, int32_t index) {
    if (block == 0)
        return index < CLoggedDataDecoder::kSamplesPerBlock ? 2 + 2 * static_cast<uint32_t>(index) : 502;
    return CLoggedDataDecoder::kBlockBytes * static_cast<uint32_t>(block) + 2 * static_cast<uint32_t>(index);
}

bool CLoggedDataDecoder::Decode(const uint8_t* bytes, uint32_t byteCount, int32_t blockCount,
                                int32_t sampleLimit, const std::vector<int32_t>& cycle,
                                const SampleSink& sink, int32_t& sampleCount) {
    sampleCount = 0;
    if (cycle.empty() || blockCount <= 0)
        return false;
    if (static_cast<uint64_t>(blockCount) * kBlockBytes > byteCount)
        return false;
    if (!CReplyParser::StartsWithHead(bytes, byteCount, "[D"))
        return false;

    size_t position = 0;
    for (int32_t block = 0; block < blockCount; ++block) {
        const int32_t samplesInBlock = block == 0 ? kSamplesPerBlock + 1 : kSamplesPerBlock;
        for (int32_t index = 0; index < samplesInBlock && sampleCount < sampleLimit; ++index) {
            const uint16_t raw = CLittleEndian::ReadUInt16(bytes + SampleOffset(block, index));
            sink(cycle[position], static_cast<float>(raw) / 100.0f);
            position = (position + 1) % cycle.size();
            ++sampleCount;
        }
    }
    return true;
}
