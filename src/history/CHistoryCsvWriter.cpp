#include "history/CHistoryCsvWriter.h"

#include "history/CAtomicFile.h"
#include "history/CHistoryChannels.h"
#include "model/CModelTable.h"
#include "platform/CAnsiText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>

namespace {
constexpr std::size_t kMaxHundredthsLength = 12; // "-21474836.48"

// "00" to "99", so that two digits take one copy.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

char* WriteDigitPair(char* out, uint64_t pair) {
    std::memcpy(out, &kDigitPairs[2 * pair], 2);
    return out + 2;
}

// A count of hundredths as "%.2f" prints it divided by 100: exact from the integer, so no
// rounding and no locale is involved. Returns the end of the text.
char* WriteHundredths(char* out, int64_t hundredths) {
    uint64_t magnitude = static_cast<uint64_t>(hundredths);
    if (hundredths < 0) {
        *out++ = '-';
        magnitude = 0 - magnitude;
    }
    const uint64_t whole = magnitude / 100;
    if (whole < 10)
        *out++ = static_cast<char>('0' + whole); // the usual case of a power level, kept short
    else if (whole < 100)
        out = WriteDigitPair(out, whole);
    else
        out = std::to_chars(out, out + kMaxHundredthsLength, whole).ptr;
    *out++ = '.';
    return WriteDigitPair(out, magnitude % 100);
}

void AppendHundredths(std::string& out, int64_t hundredths) {
    char buffer[kMaxHundredthsLength];
    out.append(buffer, WriteHundredths(buffer, hundredths));
}

void AppendLine(std::string& out, const char* label, const std::string& value) {
    out += label;
    out += ", ";
    out += value;
    out += "\r\n";
}

std::string Ansi(const HistoryHeader& header, HistoryText field) {
    return CAnsiText::FromUtf8(header.Text(field));
}
} // namespace

std::string CHistoryCsvWriter::Format(const CHistoryData& whole, int modelNumber, Layout layout,
                                      CsvRowRange range) {
    std::optional<CHistoryData> part;
    if (range.first != 0 || range.count >= 0)
        part = CHistoryTimeBase::Slice(whole, range.first, range.count < 0 ? whole.RowCount() : range.count);
    const CHistoryData& data = part ? *part : whole;
    const HistoryHeader& header = data.Header();
    std::string out;
    AppendLine(out, "Model", Ansi(header, HistoryText::ModelName));
    AppendLine(out, "SN", Ansi(header, HistoryText::SerialNumber));
    AppendLine(out, "Type", header.IsDirectional() ? "Directional" : "Terminating");
    out += "Frequency, ";
    AppendHundredths(out, header.FrequencyX100());
    out += "\r\n";
    AppendLine(out, "StartTime", Ansi(header, HistoryText::StartTime));
    AppendLine(out, "StopTime", Ansi(header, HistoryText::StopTime));
    AppendLine(out, "Title", Ansi(header, HistoryText::Title));
    if (layout == Layout::Plain) {
        out += ColumnHeading(modelNumber, header.Mask());
        AppendRows(out, data);
        return out;
    }
    AppendConditions(out, data);
    out += "Time, " + ColumnHeading(modelNumber, header.Mask());
    AppendTimedRows(out, data, CHistoryTimeBase::Of(whole.Header()), std::max(range.first, 0));
    return out;
}

void CHistoryCsvWriter::AppendConditions(std::string& out, const CHistoryData& data) {
    out += "Offset, ";
    AppendHundredths(out, std::llround(static_cast<double>(data.Header().ExternalOffset()) * 100.0));
    out += "\r\n";
    AppendLine(out, "Interval", Ansi(data.Header(), HistoryText::Interval));
    AppendLine(out, "Rows", std::to_string(data.RowCount()));
}

// The plain rows, each behind its time: the slow path of an option, kept simple.
void CHistoryCsvWriter::AppendTimedRows(std::string& out, const CHistoryData& data,
                                        const std::optional<CHistoryTimeBase>& times, int firstRow) {
    std::string rows;
    AppendRows(rows, data);
    std::size_t lineStart = 0;
    for (int64_t row = firstRow; lineStart < rows.size(); ++row) {
        const std::size_t lineEnd = rows.find("\r\n", lineStart) + 2;
        if (times)
            out += times->IsoAt(row);
        out += ',';
        out.append(rows, lineStart, lineEnd - lineStart);
        lineStart = lineEnd;
    }
}

bool CHistoryCsvWriter::Write(const std::string& path, const CHistoryData& data, int modelNumber,
                              std::string* error, Layout layout, CsvRowRange range) {
    const std::string contents = Format(data, modelNumber, layout, range);
    CAtomicFile file(path);
    const bool written = file.Open() && file.Write(contents.data(), contents.size()) && file.Commit();
    if (!written && error)
        *error = file.Error();
    return written;
}

std::string CHistoryCsvWriter::ColumnHeading(int modelNumber, uint8_t mask) {
    const std::string ratio = CModelTable::ReportsPar(modelNumber) ? "PAR" : "VSWR";
    if (CModelTable::IsAvgOnly(modelNumber))
        return "AVG\r\n";
    if (CModelTable::IsPeakOnly(modelNumber))
        return "PEAK\r\n";
    if (CModelTable::MeasuresAll(modelNumber) && !CModelTable::HasPulseAndCcdf(modelNumber))
        return "AVG, " + ratio + ", PEAK\r\n";
    // Models that record any channel (and unknown ones) name the columns the mask carries.
    const std::string ratioColumn = ratio + ",";
    const std::array<const char*, CHistoryChannels::Count> names = {"AVG,", "REV,", ratioColumn.c_str(),
                                                                    "PEAK,", "PULSE,"};
    std::string heading;
    for (int channel = 0; channel < CHistoryChannels::Count; ++channel) {
        if (mask & CHistoryChannels::MaskBit(channel))
            heading += names[static_cast<std::size_t>(channel)];
    }
    return heading + "\r\n";
}

// Rows and columns as two loops: a division per value to find the row's end showed in profiles.
void CHistoryCsvWriter::AppendRows(std::string& out, const CHistoryData& data) {
    const std::size_t perRow = static_cast<std::size_t>(data.ValuesPerRow());
    const std::vector<int32_t>& values = data.Values();
    const std::size_t start = out.size();
    out.resize(start + values.size() * (kMaxHundredthsLength + 2));
    char* end = out.data() + start;
    for (std::size_t rowStart = 0; rowStart + perRow <= values.size() && perRow > 0; rowStart += perRow) {
        for (std::size_t index = rowStart; index < rowStart + perRow; ++index) {
            if (index > rowStart)
                *end++ = ',';
            if (values[index] != CHistoryData::kNoValue) // a row without a reading leaves its field empty
                end = WriteHundredths(end, values[index]);
        }
        *end++ = '\r';
        *end++ = '\n';
    }
    out.resize(static_cast<std::size_t>(end - out.data()));
}
