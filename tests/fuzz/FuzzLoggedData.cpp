// Logged-data replies with any mask, block count and sample limit against the bytes received.
#include "protocol/CLoggedDataDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 9)
        return 0;
    const int32_t mask = data[0];
    int32_t blocks = 0;
    int32_t limit = 0;
    std::memcpy(&blocks, data + 1, 4);
    std::memcpy(&limit, data + 5, 4);
    const std::vector<uint8_t> bytes(data + 9, data + size);
    int32_t taken = 0;
    float sum = 0;
    CLoggedDataDecoder::Decode(
        bytes.data(), static_cast<uint32_t>(bytes.size()), blocks, limit,
        CLoggedDataDecoder::BuildCycle(mask),
        [&sum](int32_t channel, float value) { sum += value * static_cast<float>(channel); }, taken);
    return 0;
}
