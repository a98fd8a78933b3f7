#pragma once

#include "protocol/CHistogramDecoder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// A histogram reply of the given size (one of the three, or any other as a wrong size) filled
// with the input's bytes and zeros after them. There is one buffer of exactly each size, kept
// across runs: a run allocates nothing, and a read past the reply still hits the sanitizer's
// guard zone.
inline const std::vector<uint8_t>& FillReply(uint32_t replySize, const uint8_t* data, size_t size) {
    static std::vector<std::vector<uint8_t>> buffers;
    auto buffer = std::find_if(buffers.begin(), buffers.end(),
                               [replySize](const std::vector<uint8_t>& b) { return b.size() == replySize; });
    if (buffer == buffers.end())
        buffer = buffers.emplace(buffers.end(), replySize);
    const size_t filled = std::min<size_t>(size, replySize);
    std::memcpy(buffer->data(), data, filled);
    std::memset(buffer->data() + filled, 0, replySize - filled);
    return *buffer;
}
