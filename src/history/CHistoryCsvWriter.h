#pragma once

#include "history/CHistoryData.h"

#include <string>

// The CSV export of a history: 8-bit text, CR LF line ends, values with two decimals.
class CHistoryCsvWriter {
public:
    // Plain is the established layout. WithTimeBase adds the offset, interval and row count to
    // the header lines and a first column with each row's time (ISO 8601, milliseconds; empty
    // when the history has no time base).
    enum class Layout { Plain, WithTimeBase };

    // The complete file contents. The column heading depends on the sensor model number.
    static std::string Format(const CHistoryData& data, int modelNumber, Layout layout = Layout::Plain);
    // Writes Format() to `path`; an existing file is replaced only on success.
    static bool Write(const std::string& path, const CHistoryData& data, int modelNumber,
                      std::string* error = nullptr, Layout layout = Layout::Plain);

private:
    static std::string ColumnHeading(int modelNumber, uint8_t mask);
    static void AppendConditions(std::string& out, const CHistoryData& data);
    static void AppendRows(std::string& out, const CHistoryData& data);
    static void AppendTimedRows(std::string& out, const CHistoryData& data);
};
