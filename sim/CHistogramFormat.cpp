#include "sim/CHistogramFormat.h"

#include <algorithm>
#include <cmath>

#include "sim/CReplyFrame.h"

namespace {
constexpr size_t kBlockWords = 256;
constexpr size_t kCompactBytes = 1536;
constexpr size_t kMediumBytes = 7680;
constexpr size_t kLargeBytes = 6144;
// The compact reply stops its walk early: the end of its last block carries no bins.
constexpr size_t kCompactTrailerBytes = 340;
constexpr size_t kTrailerBytes = 14;

size_t ReplyBytesOf(int32_t firmware) {
    const auto version = static_cast<uint32_t>(firmware);
    if (version >= 291 && version <= 294)
        return kMediumBytes;
    return version > 294 ? kCompactBytes : kLargeBytes;
}
} // namespace

CHistogramFormat::CHistogramFormat(int32_t firmwareVersion)
    : m_replyBytes(ReplyBytesOf(firmwareVersion)), m_firstKey(m_replyBytes == kCompactBytes ? 0 : 2176),
      m_keyStep(m_replyBytes == kCompactBytes ? 10 : 1) {
    const size_t trailer = m_replyBytes == kCompactBytes ? kCompactTrailerBytes : kTrailerBytes;
    const size_t walkedWords = (m_replyBytes - trailer) / 2;
    for (size_t word = 0; word < walkedWords; ++word)
        if (IsSampleWord(word))
            m_sampleWords.push_back(word);
}

// Each 512-byte block ends in six words without bins (five in the first, which starts
// with the head). The longer formats have a few words that break this rule.
bool CHistogramFormat::IsSampleWord(size_t word) const {
    const bool longFormat = m_replyBytes != kCompactBytes;
    if (longFormat && word == 2554)
        return true;
    if (m_replyBytes == kMediumBytes && word == 2046)
        return true;
    if (m_replyBytes == kMediumBytes && word >= 3827 && word <= 3832)
        return false;
    if (word >= 250 && word <= 254)
        return false;
    const size_t inBlock = (word + kBlockWords - 249) % kBlockWords;
    const bool blockTrailer = word >= kBlockWords + 249 && inBlock <= 5;
    return !blockTrailer;
}

size_t CHistogramFormat::BinOf(double centiDbm) const {
    const double index = std::round((centiDbm - m_firstKey) / m_keyStep);
    const double last = static_cast<double>(BinCount() - 1);
    return static_cast<size_t>(std::clamp(index, 0.0, last));
}

std::vector<uint8_t> CHistogramFormat::Encode(const std::vector<uint16_t>& binCounts) const {
    std::vector<uint8_t> bytes(m_replyBytes, 0);
    bytes[0] = '[';
    bytes[1] = 'C';
    const size_t bins = std::min(binCounts.size(), m_sampleWords.size());
    for (size_t i = 0; i < bins; ++i)
        CReplyFrame::PutUint16(bytes, 2 + 2 * m_sampleWords[i], binCounts[i]);
    return bytes;
}
