#pragma once

#include <cstdint>

// The five recorded channels (0 AVG, 1 REV, 2 VSWR/PAR, 3 PEAK, 4 PULSE) and the three orders
// in which a history file lists them.
class CHistoryChannels {
public:
    static constexpr int Count = 5;
    static constexpr uint8_t KnownMaskBits = 0x1F;

    // Mask bit of a channel: AVG 0x01, REV 0x04, VSWR/PAR 0x10, PEAK 0x02, PULSE 0x08.
    static uint8_t MaskBit(int channel);
    // Position of a channel's statistics and display range in the header: AVG, REV, PEAK,
    // VSWR/PAR, PULSE.
    static int HeaderBlockIndex(int channel);
    // Number of known channels in a mask, i.e. values per row.
    static int CountInMask(uint8_t mask);
    // Index of a channel's value within a row of the given mask, or -1 when the mask lacks it.
    static int IndexInRow(uint8_t mask, int channel);
    // First channel present in the mask, in channel order; -1 when none.
    static int FirstInMask(uint8_t mask);
    static bool IsValid(int channel) { return channel >= 0 && channel < Count; }
};
