#pragma once

#include <cstdint>

// Files are little-endian byte images whatever the host's byte order.
class CLittleEndian {
public:
    // Inline, since decoders read every word of a reply or file through them.
    static int32_t ReadInt32(const uint8_t* bytes) {
        const uint32_t value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                               uint32_t(bytes[3]) << 24;
        return static_cast<int32_t>(value);
    }
    static uint16_t ReadUInt16(const uint8_t* bytes) {
        return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
    }
    static void WriteInt32(uint8_t* bytes, int32_t value);
    static float ReadFloat(const uint8_t* bytes);
    static void WriteFloat(uint8_t* bytes, float value);
};
