#pragma once

#include <cstdint>

// Files are little-endian byte images whatever the host's byte order.
class CLittleEndian {
public:
    static int32_t ReadInt32(const uint8_t* bytes);
    static uint16_t ReadUInt16(const uint8_t* bytes);
    static void WriteInt32(uint8_t* bytes, int32_t value);
    static float ReadFloat(const uint8_t* bytes);
    static void WriteFloat(uint8_t* bytes, float value);
};
