#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Decodes the block reply to "[ADxxxx]": samples logged by the sensor itself, the channels
// interleaved in a fixed cycle given by the logged-channel mask.
class CLoggedDataDecoder {
public:
    static constexpr uint32_t kBlockBytes = 512;
    static constexpr int32_t kSamplesPerBlock = 250;

    using SampleSink = std::function<void(int32_t channel, float value)>;

    // History channels in cycle order for the mask bits 0x01 AVG, 0x02 PEAK, 0x04 REV, 0x08 PULSE.
    static std::vector<int32_t> BuildCycle(int32_t channelMask);

    // Blocks needed for a sample count (as the download asks for them).
    static int32_t BlocksFor(int32_t sampleCount);

    // Hands at most sampleLimit samples (value / 100) to the sink, walking the channel cycle.
    // False without calling the sink when the cycle is empty, the blocks do not fit in
    // byteCount, or the "[D" head does not open the reply. Returns the samples handed over in sampleCount.
    static bool Decode(const uint8_t* bytes, uint32_t byteCount, int32_t blockCount, int32_t sampleLimit,
                       const std::vector<int32_t>& cycle, const SampleSink& sink, int32_t& sampleCount);
};
