#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SensorCommand {
    std::string mnemonic; // two ASCII capitals
    int32_t argument = 0;
    bool hasArgument = false;
};

// Cuts the byte stream from the host into commands. Anything that is not a well-formed
// frame is skipped up to the next "[", so line noise and echoed replies are harmless.
class CCommandParser {
public:
    void Feed(const uint8_t* bytes, size_t count, std::vector<SensorCommand>& commands);
    // Forgets a partial frame (the host gave up on it).
    void Reset();
    bool HasPartialFrame() const { return !m_buffer.empty(); }

private:
    // Takes one command or one skipped byte off the buffer; false when more bytes are needed.
    bool TakeOne(std::vector<SensorCommand>& commands);

    std::vector<uint8_t> m_buffer;
};
