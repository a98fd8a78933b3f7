#pragma once

#include "history/HistoryHeader.h"

#include <climits>
#include <cstdint>
#include <vector>

// One recorded history in memory: the header and the row block as stored in the file (one
// value in hundredths per channel of the mask, in channel order, row after row).
class CHistoryData {
public:
    // The stored value of a row that has no reading (the sensor was lost): far below any
    // display range, so that a reader that knows no better draws it at the bottom edge.
    static constexpr int32_t kNoValue = INT32_MIN;
    // A stored value as a quantity (hundredths / 100); NaN for kNoValue.
    static double Decode(int32_t stored);

    CHistoryData() = default;
    // Rows whose length is not a whole number of rows of the header's mask are cut to whole rows.
    CHistoryData(const HistoryHeader& header, std::vector<int32_t> values);

    const HistoryHeader& Header() const { return m_header; }
    HistoryHeader& Header() { return m_header; }
    const std::vector<int32_t>& Values() const { return m_values; }

    int ValuesPerRow() const;
    int RowCount() const;
    bool HasChannel(int channel) const;
    // The stored value of a channel in a row, in hundredths; 0 when the row or channel is absent.
    int32_t StoredValue(int row, int channel) const;
    // The decoded value; 0 when the row or channel is absent.
    double Value(int row, int channel) const { return Decode(StoredValue(row, channel)); }
    // Every decoded value of one channel; empty when the mask lacks it.
    std::vector<double> Series(int channel) const;
    // Sensor model number found from the header's model name; 0 when the name is unknown.
    int ModelNumber() const;

    void Swap(CHistoryData& other) noexcept;

private:
    HistoryHeader m_header;
    std::vector<int32_t> m_values;
};
