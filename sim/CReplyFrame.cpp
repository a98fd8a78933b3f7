#include "sim/CReplyFrame.h"

namespace {
constexpr uint8_t kCarriageReturn = 0x0D;
constexpr uint8_t kValueSeparator = ',';

void AppendInt32(std::vector<uint8_t>& bytes, int32_t value) {
    bytes.resize(bytes.size() + 4);
    CReplyFrame::PutInt32(bytes, bytes.size() - 4, value);
}
} // namespace

std::vector<uint8_t> CReplyFrame::Short(char letter, int32_t value) {
    const int32_t values[] = {value};
    return MultiValue(letter, values);
}

std::vector<uint8_t> CReplyFrame::Acknowledgement() {
    return {'[', 'T', ',', ']', kCarriageReturn};
}

std::vector<uint8_t> CReplyFrame::MultiValue(char letter, std::span<const int32_t> values) {
    std::vector<uint8_t> bytes{'[', static_cast<uint8_t>(letter), ','};
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            bytes.push_back(kValueSeparator);
        AppendInt32(bytes, values[i]);
    }
    bytes.push_back(']');
    bytes.push_back(kCarriageReturn);
    return bytes;
}

void CReplyFrame::PutInt32(std::vector<uint8_t>& bytes, size_t offset, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
}

void CReplyFrame::PutUint16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}
