#pragma once

#include "history/CHistoryData.h"
#include "history/CHistoryTimeBase.h"

#include <optional>

#include <string>

// The rows a CSV export takes: from `first`, `count` of them (all to the end when negative).
struct CsvRowRange {
    int first = 0;
    int count = -1;
};

// The CSV export of a history: 8-bit text, CR LF line ends, values with two decimals.
class CHistoryCsvWriter {
public:
    // Plain is the established layout. WithTimeBase adds the offset, interval and row count to
    // the header lines and a first column with each row's time (ISO 8601, milliseconds; empty
    // when the history has no time base).
    enum class Layout { Plain, WithTimeBase };

    // The complete file contents. The column heading depends on the sensor model number; the
    // start and stop times of a part of the history are that part's.
    static std::string Format(const CHistoryData& data, int modelNumber, Layout layout = Layout::Plain,
                              CsvRowRange range = {});
    // Writes Format() to `path`; an existing file is replaced only on success.
    static bool Write(const std::string& path, const CHistoryData& data, int modelNumber,
                      std::string* error = nullptr, Layout layout = Layout::Plain, CsvRowRange range = {});

private:
    static std::string ColumnHeading(int modelNumber, uint8_t mask);
    static void AppendConditions(std::string& out, const CHistoryData& data);
    static void AppendRows(std::string& out, const CHistoryData& data);
    // Row i of `data` is row firstRow + i of the history whose time base is given.
    static void AppendTimedRows(std::string& out, const CHistoryData& data,
                                const std::optional<CHistoryTimeBase>& times, int firstRow);
};
