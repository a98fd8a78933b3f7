#include "platform/CLittleEndian.h"

#include <bit>

int32_t CLittleEndian::ReadInt32(const uint8_t* bytes) {
    const uint32_t value =
        uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    return static_cast<int32_t>(value);
}

uint16_t CLittleEndian::ReadUInt16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

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
