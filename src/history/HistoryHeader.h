#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Text fields of the header; each is NUL-terminated 8-bit text within a fixed width.
enum class HistoryText { ModelName, SerialNumber, StartTime, StopTime, Interval, Title };

struct HistoryStatistics {
    float minimum = 0;
    float maximum = 0;
    float average = 0;
};

struct HistoryRange {
    float lower = 0;
    float upper = 0;
};

// The 216-byte header of a history file, kept as its byte image so that a loaded header is
// written back unchanged; the accessors read and write the fields in place.
class HistoryHeader {
public:
    static constexpr std::size_t Size = 216;
    using Bytes = std::array<uint8_t, Size>;

    HistoryHeader() { m_bytes.fill(0); }
    explicit HistoryHeader(const Bytes& bytes) : m_bytes(bytes) {}

    const Bytes& Image() const { return m_bytes; }
    Bytes& Image() { return m_bytes; }

    uint8_t Mask() const { return m_bytes[0]; }
    void SetMask(uint8_t mask) { m_bytes[0] = mask; }
    char SensorType() const { return static_cast<char>(m_bytes[21]); }
    void SetSensorType(char type) { m_bytes[21] = static_cast<uint8_t>(type); }
    bool IsDirectional() const { return SensorType() == 'A'; }

    // Frequency in MHz times 100.
    int32_t FrequencyX100() const;
    void SetFrequencyX100(int32_t frequency);
    float ExternalOffset() const;
    void SetExternalOffset(float offset);

    // Texts are UTF-8 here, Windows-1252 in the file; a text that does not fit is cut.
    std::string Text(HistoryText field) const;
    void SetText(HistoryText field, const std::string& utf8);
    // Like SetText, but keeps at most maxBytes bytes of text (never more than the field holds).
    void SetText(HistoryText field, const std::string& utf8, std::size_t maxBytes);

    HistoryStatistics Statistics(int channel) const;
    void SetStatistics(int channel, const HistoryStatistics& statistics);
    HistoryRange DisplayRange(int channel) const;
    void SetDisplayRange(int channel, const HistoryRange& range);

private:
    Bytes m_bytes;
};
