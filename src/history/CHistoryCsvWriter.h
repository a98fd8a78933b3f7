#pragma once

#include "history/CHistoryData.h"

#include <string>

// The CSV export of a history: 8-bit text, CR LF line ends, values with two decimals.
class CHistoryCsvWriter {
public:
    // The complete file contents. The column heading depends on the sensor model number.
    static std::string Format(const CHistoryData& data, int modelNumber);
    // Writes Format() to `path`; an existing file is replaced only on success.
    static bool Write(const std::string& path, const CHistoryData& data, int modelNumber,
                      std::string* error = nullptr);

private:
    static std::string ColumnHeading(int modelNumber, uint8_t mask);
    static void AppendRows(std::string& out, const CHistoryData& data);
};
