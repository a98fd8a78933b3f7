#include "history/CHistoryChannels.h"

#include <array>

namespace {
constexpr std::array<uint8_t, CHistoryChannels::Count> kMaskBits = {0x01, 0x04, 0x10, 0x02, 0x08};
constexpr std::array<int, CHistoryChannels::Count> kHeaderBlockIndex = {0, 1, 3, 2, 4};

constexpr std::size_t At(int channel) {
    return static_cast<std::size_t>(channel);
}
} // namespace

uint8_t CHistoryChannels::MaskBit(int channel) {
    return IsValid(channel) ? kMaskBits[At(channel)] : 0;
}

int CHistoryChannels::HeaderBlockIndex(int channel) {
    return IsValid(channel) ? kHeaderBlockIndex[At(channel)] : -1;
}

int CHistoryChannels::CountInMask(uint8_t mask) {
    int count = 0;
    for (uint8_t bit : kMaskBits)
        count += (mask & bit) ? 1 : 0;
    return count;
}

int CHistoryChannels::IndexInRow(uint8_t mask, int channel) {
    if (!IsValid(channel) || !(mask & kMaskBits[At(channel)]))
        return -1;
    int index = 0;
    for (int earlier = 0; earlier < channel; ++earlier)
        index += (mask & kMaskBits[At(earlier)]) ? 1 : 0;
    return index;
}

int CHistoryChannels::FirstInMask(uint8_t mask) {
    for (int channel = 0; channel < Count; ++channel) {
        if (mask & kMaskBits[At(channel)])
            return channel;
    }
    return -1;
}
