#include "history/CHistoryData.h"

#include "history/CHistoryChannels.h"
#include "model/CModelTable.h"

#include <cmath>
#include <utility>

CHistoryData::CHistoryData(const HistoryHeader& header, std::vector<int32_t> values)
    : m_header(header), m_values(std::move(values)) {
    const auto perRow = static_cast<std::size_t>(ValuesPerRow());
    m_values.resize(perRow == 0 ? 0 : m_values.size() - m_values.size() % perRow);
}

double CHistoryData::Decode(int32_t stored) {
    return stored == kNoValue ? std::nan("") : stored / 100.0;
}

int CHistoryData::ValuesPerRow() const {
    return CHistoryChannels::CountInMask(m_header.Mask());
}

int CHistoryData::RowCount() const {
    const auto perRow = static_cast<std::size_t>(ValuesPerRow());
    return perRow == 0 ? 0 : static_cast<int>(m_values.size() / perRow);
}

bool CHistoryData::HasChannel(int channel) const {
    return CHistoryChannels::IndexInRow(m_header.Mask(), channel) >= 0;
}

int32_t CHistoryData::StoredValue(int row, int channel) const {
    const int index = CHistoryChannels::IndexInRow(m_header.Mask(), channel);
    if (index < 0 || row < 0 || row >= RowCount())
        return 0;
    return m_values[static_cast<std::size_t>(row) * static_cast<std::size_t>(ValuesPerRow()) +
                    static_cast<std::size_t>(index)];
}

std::vector<double> CHistoryData::Series(int channel) const {
    const int index = CHistoryChannels::IndexInRow(m_header.Mask(), channel);
    if (index < 0)
        return {};
    const auto perRow = static_cast<std::size_t>(ValuesPerRow());
    std::vector<double> series;
    series.reserve(static_cast<std::size_t>(RowCount()));
    for (auto at = static_cast<std::size_t>(index); at < m_values.size(); at += perRow)
        series.push_back(Decode(m_values[at]));
    return series;
}

int CHistoryData::ModelNumber() const {
    const SensorModel* model = CModelTable::FindByName(m_header.Text(HistoryText::ModelName));
    return model ? model->number : 0;
}

void CHistoryData::Swap(CHistoryData& other) noexcept {
    std::swap(m_header, other.m_header);
    m_values.swap(other.m_values);
}
