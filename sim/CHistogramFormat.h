#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Where the histogram reply of a firmware generation carries its bins. Bin i covers the
// power FirstKey + i * KeyStep (hundredths of a dBm); the newest format counts from 0 dBm
// and the host shifts it by its external offset.
class CHistogramFormat {
public:
    explicit CHistogramFormat(int32_t firmwareVersion);

    size_t ReplyBytes() const { return m_replyBytes; }
    int32_t FirstKey() const { return m_firstKey; }
    int32_t KeyStep() const { return m_keyStep; }
    size_t BinCount() const { return m_sampleWords.size(); }
    // Bin of a power in hundredths of a dBm; powers outside the range fall into the edge bins.
    size_t BinOf(double centiDbm) const;

    // The reply: "[C" head, each bin's count in its word, every other word zero.
    std::vector<uint8_t> Encode(const std::vector<uint16_t>& binCounts) const;

private:
    bool IsSampleWord(size_t word) const;

    size_t m_replyBytes;
    int32_t m_firstKey;
    int32_t m_keyStep;
    std::vector<size_t> m_sampleWords; // word w sits at byte 2 + 2w
};
