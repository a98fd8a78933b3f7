#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

// Builds sensor replies byte by byte, as the sensor lays them out.
class CReplyBytes {
public:
    using Bytes = std::vector<uint8_t>;

    static Bytes Short(char letter, int32_t value);
    static Bytes Acknowledgement();
    // "[" letter "," then the values separated by one byte each, "]" CR.
    static Bytes MultiValue(char letter, std::initializer_list<int32_t> values);
    static Bytes MultiValue(char letter, const std::vector<int32_t>& values);
    // A block reply of byteCount bytes with the head and 16-bit words at byte 2 + 2w.
    static Bytes Blocks(char headLetter, uint32_t byteCount);
    static void PutWord(Bytes& bytes, uint32_t offset, uint16_t word);
    static void PutInt32(Bytes& bytes, uint32_t offset, int32_t value);
};
