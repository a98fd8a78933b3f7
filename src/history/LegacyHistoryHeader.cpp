#include "history/LegacyHistoryHeader.h"

#include <algorithm>

namespace {
struct Move {
    std::size_t from;
    std::size_t to;
    std::size_t size;
};

// Model name, serial number, type, frequency, times, offset, interval and title keep their
// widths; three statistics triples and three ranges (AVG, PEAK, VSWR) land in their slots.
constexpr Move kMoves[] = {
    {1, 1, 21},     {24, 24, 44},  {136, 68, 4},   {140, 72, 10},  {152, 84, 12},
    {164, 108, 24}, {188, 144, 8}, {196, 160, 16}, {212, 184, 32},
};
} // namespace

bool LegacyHistoryHeader::IsLegacyFirstByte(uint8_t firstByte) {
    return firstByte == 'A' || firstByte == 'B' || firstByte == 'C' || firstByte == 0;
}

HistoryHeader LegacyHistoryHeader::ToCurrent() const {
    HistoryHeader header;
    HistoryHeader::Bytes& image = header.Image();
    for (const Move& move : kMoves)
        std::copy_n(m_bytes.begin() + move.from, move.size, image.begin() + move.to);
    header.SetMask(Mask);
    return header;
}
