#include "history/HistoryHeader.h"

#include "history/CHistoryChannels.h"
#include "platform/CAnsiText.h"
#include "platform/CLittleEndian.h"

#include <algorithm>

namespace {
constexpr std::size_t kFrequencyOffset = 24;
constexpr std::size_t kExternalOffsetOffset = 68;
constexpr std::size_t kStatisticsOffset = 84;
constexpr std::size_t kStatisticsSize = 12;
constexpr std::size_t kRangesOffset = 144;
constexpr std::size_t kRangeSize = 8;

struct TextField {
    std::size_t offset;
    std::size_t size;
};

TextField FieldOf(HistoryText field) {
    switch (field) {
    case HistoryText::ModelName:
        return {1, 10};
    case HistoryText::SerialNumber:
        return {11, 10};
    case HistoryText::StartTime:
        return {28, 20};
    case HistoryText::StopTime:
        return {48, 20};
    case HistoryText::Interval:
        return {72, 10};
    case HistoryText::Title:
        return {184, 32};
    }
    return {184, 32};
}
} // namespace

int32_t HistoryHeader::FrequencyX100() const {
    return CLittleEndian::ReadInt32(&m_bytes[kFrequencyOffset]);
}

void HistoryHeader::SetFrequencyX100(int32_t frequency) {
    CLittleEndian::WriteInt32(&m_bytes[kFrequencyOffset], frequency);
}

float HistoryHeader::ExternalOffset() const {
    return CLittleEndian::ReadFloat(&m_bytes[kExternalOffsetOffset]);
}

void HistoryHeader::SetExternalOffset(float offset) {
    CLittleEndian::WriteFloat(&m_bytes[kExternalOffsetOffset], offset);
}

std::string HistoryHeader::Text(HistoryText field) const {
    const TextField where = FieldOf(field);
    return CAnsiText::ReadField(reinterpret_cast<const char*>(&m_bytes[where.offset]), where.size);
}

void HistoryHeader::SetText(HistoryText field, const std::string& utf8) {
    SetText(field, utf8, FieldOf(field).size - 1);
}

void HistoryHeader::SetText(HistoryText field, const std::string& utf8, std::size_t maxBytes) {
    const TextField where = FieldOf(field);
    char* text = reinterpret_cast<char*>(&m_bytes[where.offset]);
    std::fill_n(text, where.size, '\0');
    CAnsiText::CopyToField(text, std::min(where.size - 1, maxBytes) + 1, utf8);
}

HistoryStatistics HistoryHeader::Statistics(int channel) const {
    const int block = CHistoryChannels::HeaderBlockIndex(channel);
    if (block < 0)
        return {};
    const uint8_t* triple = &m_bytes[kStatisticsOffset + static_cast<std::size_t>(block) * kStatisticsSize];
    return {CLittleEndian::ReadFloat(triple), CLittleEndian::ReadFloat(triple + 4),
            CLittleEndian::ReadFloat(triple + 8)};
}

void HistoryHeader::SetStatistics(int channel, const HistoryStatistics& statistics) {
    const int block = CHistoryChannels::HeaderBlockIndex(channel);
    if (block < 0)
        return;
    uint8_t* triple = &m_bytes[kStatisticsOffset + static_cast<std::size_t>(block) * kStatisticsSize];
    CLittleEndian::WriteFloat(triple, statistics.minimum);
    CLittleEndian::WriteFloat(triple + 4, statistics.maximum);
    CLittleEndian::WriteFloat(triple + 8, statistics.average);
}

HistoryRange HistoryHeader::DisplayRange(int channel) const {
    const int block = CHistoryChannels::HeaderBlockIndex(channel);
    if (block < 0)
        return {};
    const uint8_t* pair = &m_bytes[kRangesOffset + static_cast<std::size_t>(block) * kRangeSize];
    return {CLittleEndian::ReadFloat(pair), CLittleEndian::ReadFloat(pair + 4)};
}

void HistoryHeader::SetDisplayRange(int channel, const HistoryRange& range) {
    const int block = CHistoryChannels::HeaderBlockIndex(channel);
    if (block < 0)
        return;
    uint8_t* pair = &m_bytes[kRangesOffset + static_cast<std::size_t>(block) * kRangeSize];
    CLittleEndian::WriteFloat(pair, range.lower);
    CLittleEndian::WriteFloat(pair + 4, range.upper);
}
