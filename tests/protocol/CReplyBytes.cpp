#include "CReplyBytes.h"

#include <cstddef>

CReplyBytes::Bytes CReplyBytes::Short(char letter, int32_t value) {
    Bytes bytes{'[', static_cast<uint8_t>(letter), ',', 0, 0, 0, 0, ']', 0x0D};
    PutInt32(bytes, 3, value);
    return bytes;
}

CReplyBytes::Bytes CReplyBytes::Acknowledgement() {
    return {'[', 'T', ',', ']', 0x0D};
}

CReplyBytes::Bytes CReplyBytes::MultiValue(char letter, std::initializer_list<int32_t> values) {
    return MultiValue(letter, std::vector<int32_t>(values));
}

CReplyBytes::Bytes CReplyBytes::MultiValue(char letter, const std::vector<int32_t>& values) {
    Bytes bytes{'[', static_cast<uint8_t>(letter), ','};
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            bytes.push_back(',');
        bytes.resize(bytes.size() + 4);
        PutInt32(bytes, static_cast<uint32_t>(bytes.size() - 4), values[i]);
    }
    bytes.push_back(']');
    bytes.push_back(0x0D);
    return bytes;
}

CReplyBytes::Bytes CReplyBytes::Blocks(char headLetter, uint32_t byteCount) {
    Bytes bytes(byteCount, 0);
    bytes[0] = '[';
    bytes[1] = static_cast<uint8_t>(headLetter);
    return bytes;
}

void CReplyBytes::PutWord(Bytes& bytes, uint32_t offset, uint16_t word) {
    bytes[offset] = static_cast<uint8_t>(word & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>(word >> 8);
}

void CReplyBytes::PutInt32(Bytes& bytes, uint32_t offset, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (uint32_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
}
