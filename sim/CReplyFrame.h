#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Byte images of the sensor's replies; numbers are little-endian.
class CReplyFrame {
public:
    // "[" letter "," value "]" CR: 9 bytes.
    static std::vector<uint8_t> Short(char letter, int32_t value);
    // "[T,]" CR: 5 bytes.
    static std::vector<uint8_t> Acknowledgement();
    // "[" letter "," then the values with one separator byte between them, "]" CR.
    static std::vector<uint8_t> MultiValue(char letter, std::span<const int32_t> values);

    static void PutInt32(std::vector<uint8_t>& bytes, size_t offset, int32_t value);
    static void PutUint16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value);
};
