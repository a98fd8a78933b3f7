#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Builds file images byte by byte, independently of the code under test.
class HistoryBytes {
public:
    explicit HistoryBytes(std::size_t size) : m_bytes(size, 0) {}

    HistoryBytes& Byte(std::size_t offset, uint8_t value) {
        m_bytes.at(offset) = value;
        return *this;
    }
    HistoryBytes& Int32(std::size_t offset, int32_t value) {
        for (int i = 0; i < 4; ++i)
            m_bytes.at(offset + i) = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
        return *this;
    }
    HistoryBytes& Float(std::size_t offset, float value) {
        int32_t bits;
        std::memcpy(&bits, &value, 4);
        return Int32(offset, bits);
    }
    HistoryBytes& Text(std::size_t offset, const std::string& text) {
        for (std::size_t i = 0; i < text.size(); ++i)
            m_bytes.at(offset + i) = static_cast<uint8_t>(text[i]);
        return *this;
    }
    HistoryBytes& AppendInt32(int32_t value) {
        m_bytes.resize(m_bytes.size() + 4);
        return Int32(m_bytes.size() - 4, value);
    }

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

    static int32_t Int32At(const std::vector<uint8_t>& bytes, std::size_t offset) {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= uint32_t(bytes.at(offset + i)) << (8 * i);
        return static_cast<int32_t>(value);
    }
    static float FloatAt(const std::vector<uint8_t>& bytes, std::size_t offset) {
        const int32_t bits = Int32At(bytes, offset);
        float value;
        std::memcpy(&value, &bits, 4);
        return value;
    }
    static std::string TextAt(const std::vector<uint8_t>& bytes, std::size_t offset, std::size_t size) {
        return std::string(bytes.begin() + offset, bytes.begin() + offset + size);
    }

private:
    std::vector<uint8_t> m_bytes;
};
