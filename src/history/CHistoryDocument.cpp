#include "history/CHistoryDocument.h"

#include "history/CHistoryChannels.h"

#include <cmath>

namespace {
std::string TrimmedRight(const std::string& text) {
    const std::size_t end = text.find_last_not_of(" \t\r\n\f\v");
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

// At most `count` characters of UTF-8 text, cut at a character boundary.
std::string FirstCharacters(const std::string& utf8, std::size_t count) {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < utf8.size(); ++at) {
        const bool startsCharacter = (static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == count)
            return utf8.substr(0, at);
    }
    return utf8;
}
} // namespace

HistoryLoadResult CHistoryDocument::Load(const std::string& path) {
    CHistoryData loaded;
    HistoryLoadResult result = CHistoryFile::LoadHistory(path, loaded);
    if (!result.ok)
        return result;
    m_data.Swap(loaded);
    m_path = result.legacy ? std::string() : path;
    m_modelNumber = m_data.ModelNumber();
    m_channel = CHistoryChannels::FirstInMask(m_data.Header().Mask());
    m_returnLoss = false;
    m_modified = false;
    return result;
}

void CHistoryDocument::ShowChannel(int channel, bool returnLoss) {
    m_channel = channel;
    m_returnLoss = returnLoss;
    m_modified = true;
}

void CHistoryDocument::DetachFromFile() {
    m_path.clear();
    m_modified = true;
}

bool CHistoryDocument::SaveToNewFile(const std::string& path, std::string* error) {
    if (!CHistoryFile::SaveHistoryRaw(path, m_data, error))
        return false;
    m_path = path;
    m_modified = false;
    return true;
}

bool CHistoryDocument::Save(std::string* error) {
    if (m_path.empty()) {
        if (error)
            *error = "the history has no file to save to";
        return false;
    }
    if (!CHistoryFile::SaveHistoryRaw(m_path, m_data, error))
        return false;
    m_modified = false;
    return true;
}

bool CHistoryDocument::SaveAs(const std::string& path, std::string* error) const {
    return CHistoryFile::SaveHistoryRaw(path, m_data, error);
}

bool CHistoryDocument::ChangeTitle(const std::string& utf8) {
    const std::string title = TrimmedRight(FirstCharacters(utf8, kMaxTitleCharacters));
    if (title.empty())
        return false;
    m_data.Header().SetText(HistoryText::Title, title, kMaxTitleCharacters);
    m_modified = true;
    return true;
}

HistoryRange CHistoryDocument::ProposedScale() const {
    const HistoryStatistics statistics = Header().Statistics(m_channel);
    const float span = statistics.maximum - statistics.minimum;
    return {statistics.minimum - span / 10.0f, statistics.maximum + span / 10.0f};
}

CHistoryDocument::ScaleCheck CHistoryDocument::CheckScale(double lower, double upper) {
    if (!std::isfinite(lower) || !std::isfinite(upper))
        return ScaleCheck::NotANumber;
    if (std::fabs(lower) > kMaxScaleMagnitude || std::fabs(upper) > kMaxScaleMagnitude)
        return ScaleCheck::TooLarge;
    if (!(static_cast<float>(lower) < static_cast<float>(upper)))
        return ScaleCheck::NotAscending;
    return ScaleCheck::Valid;
}

bool CHistoryDocument::ChangeScale(double lower, double upper) {
    if (CheckScale(lower, upper) != ScaleCheck::Valid)
        return false;
    m_data.Header().SetDisplayRange(m_channel, {static_cast<float>(lower), static_cast<float>(upper)});
    return true;
}
