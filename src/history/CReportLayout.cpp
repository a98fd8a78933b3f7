#include "history/CReportLayout.h"

#include "history/HistoryHeader.h"

#include <cstdio>

CReportLayout::CReportLayout(int pageWidth, int pageHeight)
    : m_width(pageWidth), m_height(pageHeight), m_ux(pageWidth / 100), m_uy(pageHeight / 100) {}

std::string CReportLayout::DefaultTitle(const std::string& historyTitle) {
    return historyTitle.empty() ? "History Graph" : historyTitle;
}

std::string CReportLayout::DateText(const LocalTimeFields& time) {
    const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
    char text[64];
    std::snprintf(text, sizeof text, " %04d,%02d,%02d %s %d:%02d", time.year, time.month, time.day,
                  time.hour < 12 ? "AM" : "PM", hour12, time.minute);
    return text;
}

std::vector<ReportRect> CReportLayout::Frames() const {
    const int right = m_width - 3 * m_ux;
    return {
        {0, 0, m_width, m_height},
        {3 * m_ux, 10 * m_uy, right, 13 * m_uy},
        {3 * m_ux, 10 * m_uy, right, 16 * m_uy},
        {3 * m_ux, 10 * m_uy, right, 19 * m_uy},
        {3 * m_ux, 10 * m_uy, 22 * m_ux, 19 * m_uy},
        {69 * m_ux, 13 * m_uy, 75 * m_ux, 16 * m_uy},
        BoxAt(BoxPurpose),
        BoxAt(BoxResult),
        BoxAt(BoxRemark),
    };
}

ReportPoint CReportLayout::Heading() const {
    return {30 * m_ux, 5 * m_uy};
}

ReportPoint CReportLayout::LabelAt(Label label) const {
    static constexpr std::array<ReportPoint, LabelCount> kUnits = {
        {{5, 11}, {5, 14}, {70, 14}, {5, 17}, {3, 21}, {3, 31}, {3, 71}, {3, 91}}};
    const ReportPoint units = kUnits[static_cast<std::size_t>(label)];
    return {units.x * m_ux, units.y * m_uy};
}

const char* CReportLayout::LabelText(Label label) {
    static constexpr std::array<const char*, LabelCount> kTexts = {
        "Title",        "Engineer",         "Date",   "Site Information",
        "Test Purpose", "Measurement Data", "Result", "Remark"};
    return kTexts[static_cast<std::size_t>(label)];
}

ReportPoint CReportLayout::ValueAt(Value value) const {
    static constexpr std::array<ReportPoint, ValueCount> kUnits = {{{23, 11}, {23, 14}, {76, 14}, {23, 17}}};
    const ReportPoint units = kUnits[static_cast<std::size_t>(value)];
    return {units.x * m_ux, units.y * m_uy};
}

ReportRect CReportLayout::BoxAt(Box box) const {
    static constexpr std::array<std::array<int, 2>, BoxCount> kRows = {{{23, 30}, {73, 90}, {93, 100}}};
    const auto& rows = kRows[static_cast<std::size_t>(box)];
    return {3 * m_ux, rows[0] * m_uy, m_width - 3 * m_ux, rows[1] * m_uy};
}

ReportRect CReportLayout::TextArea(Box box) const {
    const ReportRect outer = BoxAt(box);
    return {outer.left + 2 * m_ux, outer.top + m_uy, outer.right - 2 * m_ux, outer.bottom - m_uy};
}

ReportRect CReportLayout::ConditionsArea() const {
    return {4 * m_ux, 32 * m_uy + m_uy / 2, m_width - 4 * m_ux, 34 * m_uy};
}

std::string CReportLayout::ConditionsText(const HistoryHeader& header, int rowCount) {
    char frequency[32];
    std::snprintf(frequency, sizeof frequency, "%.2f MHz", header.FrequencyX100() / 100.0);
    char offset[32];
    std::snprintf(offset, sizeof offset, "%.2f dB", static_cast<double>(header.ExternalOffset()));
    const std::string interval = header.Text(HistoryText::Interval);
    return "Model " + header.Text(HistoryText::ModelName) + ", S/N " +
           header.Text(HistoryText::SerialNumber) + ", " + frequency + ", offset " + offset + ", interval " +
           (interval.empty() ? "unknown" : interval) + ", " + header.Text(HistoryText::StartTime) + " to " +
           header.Text(HistoryText::StopTime) + ", " + std::to_string(rowCount) + " rows";
}

ReportRect CReportLayout::GraphArea() const {
    return {3 * m_ux, 33 * m_uy + m_uy, m_width - 3 * m_ux - m_ux, 70 * m_uy - m_uy};
}
