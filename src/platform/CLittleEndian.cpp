#include "platform/CLittleEndian.h"

#include <bit>

void CLittleEndian::WriteInt32(uint8_t* bytes, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}

float CLittleEndian::ReadFloat(const uint8_t* bytes) {
    return std::bit_cast<float>(ReadInt32(bytes));
}

void CLittleEndian::WriteFloat(uint8_t* bytes, float value) {
    WriteInt32(bytes, std::bit_cast<int32_t>(value));
}
