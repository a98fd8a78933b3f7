#include "sim/CCommandParser.h"

#include <algorithm>

namespace {
constexpr size_t kPlainLength = 4;
constexpr size_t kParameterLength = 8;

bool IsCapital(uint8_t byte) {
    return byte >= 'A' && byte <= 'Z';
}

// Commands without an argument; the status request's trailing backslash is skipped as noise.
bool IsPlain(uint8_t first, uint8_t second) {
    static const char* const kPlain[] = {"GD", "GV", "GS", "GK", "AS"};
    return std::any_of(std::begin(kPlain), std::end(kPlain),
                       [&](const char* name) { return name[0] == first && name[1] == second; });
}

int32_t ReadInt32(const uint8_t* bytes) {
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = (bits << 8) | bytes[i];
    return static_cast<int32_t>(bits);
}
} // namespace

void CCommandParser::Feed(const uint8_t* bytes, size_t count, std::vector<SensorCommand>& commands) {
    m_buffer.insert(m_buffer.end(), bytes, bytes + count);
    while (TakeOne(commands)) {
    }
}

void CCommandParser::Reset() {
    m_buffer.clear();
}

bool CCommandParser::TakeOne(std::vector<SensorCommand>& commands) {
    auto start = std::find(m_buffer.begin(), m_buffer.end(), '[');
    m_buffer.erase(m_buffer.begin(), start);
    if (m_buffer.size() < 3)
        return false;
    if (!IsCapital(m_buffer[1]) || !IsCapital(m_buffer[2])) {
        m_buffer.erase(m_buffer.begin());
        return true;
    }
    const bool plain = IsPlain(m_buffer[1], m_buffer[2]);
    const size_t length = plain ? kPlainLength : kParameterLength;
    if (m_buffer.size() < length)
        return false;
    if (m_buffer[length - 1] != ']') {
        m_buffer.erase(m_buffer.begin());
        return true;
    }
    SensorCommand command;
    command.mnemonic.assign(m_buffer.begin() + 1, m_buffer.begin() + 3);
    command.hasArgument = !plain;
    if (!plain)
        command.argument = ReadInt32(m_buffer.data() + 3);
    commands.push_back(std::move(command));
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(length));
    return true;
}
