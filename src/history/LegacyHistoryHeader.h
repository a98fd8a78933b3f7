#pragma once

#include "history/HistoryHeader.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The 244-byte header of the older history layout, which is read and converted, never written.
// Its rows hold AVG, PEAK, VSWR.
class LegacyHistoryHeader {
public:
    static constexpr std::size_t Size = 244;
    static constexpr std::size_t RowSize = 12;
    static constexpr uint8_t Mask = 0x13;
    using Bytes = std::array<uint8_t, Size>;

    explicit LegacyHistoryHeader(const Bytes& bytes) : m_bytes(bytes) {}

    // True when a file's first byte marks the older layout.
    static bool IsLegacyFirstByte(uint8_t firstByte);
    // The same description in the current layout, with mask 0x13; REV and PULSE stay zero.
    HistoryHeader ToCurrent() const;

private:
    Bytes m_bytes;
};
