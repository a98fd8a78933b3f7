#pragma once

#include "model/PowerHistogram.h"

#include <cstdint>

// Decodes the block reply to "[GK]" into a histogram (key in hundredths of a dB -> count).
// The reply's size, and with it the position of the samples, depends on the firmware.
class CHistogramDecoder {
public:
    struct SReplyFormat {
        uint32_t byteCount;
        uint32_t timeoutMs;
    };

    static constexpr uint32_t kSmallReply = 1536;
    static constexpr uint32_t kMediumReply = 6144;
    static constexpr uint32_t kLargeReply = 7680;

    static SReplyFormat FormatFor(uint32_t firmwareVersion);

    // Fills bins with the non-zero counts of a reply of one of the three sizes; offsetHundredths
    // is the first key of the small format. False (bins cleared) when the size is unknown or the
    // reply does not open with the "[C" head.
    static bool Decode(const uint8_t* bytes, uint32_t byteCount, int32_t offsetHundredths,
                       PowerHistogram& bins);

    // Whether word w carries no sample (block trailers and heads) in a reply of byteCount bytes.
    static bool IsSkippedWord(uint32_t w, uint32_t byteCount);
};
